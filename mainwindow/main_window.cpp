#include "mainwindow/main_window.h"

#include "model/app_state.h"

using namespace Qt::Literals::StringLiterals;

MainWindow::MainWindow(AppState &state, QWidget *parent)
    : QMainWindow(parent), m_state(state)
{
    setObjectName(u"F_Main"_s);
    setWindowTitle(u"Yuzaribo(Ver1.0)"_s);
    // 15360 x 11520 twips at 15 twips a pixel.
    resize(1024, 768);
}

#include "mainwindow/main_window.h"
#include "model/app_state.h"

#include <QApplication>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Yuzaribo"_s);
    QApplication::setOrganizationName(u"Yuzaribo"_s);

    AppState state;
    MainWindow window(state);
    window.show();
    return app.exec();
}

#pragma once

#include <QMainWindow>

struct AppState;

// F_Main: the program's one main window.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppState &state, QWidget *parent = nullptr);

    AppState &state() { return m_state; }

private:
    AppState &m_state;
};

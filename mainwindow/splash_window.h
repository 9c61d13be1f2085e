#pragma once

#include <QWidget>

// F_SpWindow: shown while the main window loads.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget *parent = nullptr);
};

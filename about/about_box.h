#pragma once

#include <QDialog>

class MainWindow;

// F_Ver: the about box.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    static AboutBox *Open(MainWindow &main);
};

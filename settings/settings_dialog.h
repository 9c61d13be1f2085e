#pragma once

#include <QDialog>

class MainWindow;

// F_Kankyo: the settings dialog.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    // The whole opening: the preparation under F_KankyoKD, then the dialog.
    static void Open(MainWindow &main);
};

#pragma once

#include <QDialog>

struct AppState;

// F_Print選択: picks the application's current printer for the rest of the
// run and, when asked, makes it the default printer for all programs.
class PrinterChoiceDialog : public QDialog {
    Q_OBJECT
public:
    PrinterChoiceDialog(AppState &state, QWidget *owner);
};

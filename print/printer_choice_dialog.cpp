#include "print/printer_choice_dialog.h"

PrinterChoiceDialog::PrinterChoiceDialog(AppState &state, QWidget *owner) : QDialog(owner)
{
    Q_UNUSED(state);
}

#include "print/print_dialog.h"

#include "mainwindow/main_window.h"
#include "print/print_progress_window.h"

PrintDialog::PrintDialog(MainWindow &main) : QDialog(&main) {}
AppState &PrintDialog::state() { return static_cast<MainWindow *>(parentWidget())->state(); }
MainWindow &PrintDialog::mainWindow() { return *static_cast<MainWindow *>(parentWidget()); }
int PrintDialog::Count() const { return 0; }
qint32 PrintDialog::KeyNumber(int) const { return 0; }
void RunPrintout(PrintProgressWindow &, PrintDialog &, int, int) {}

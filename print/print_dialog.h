#pragma once

#include "print/print_job.h"

#include <QDialog>

class MainWindow;
class PrintProgressWindow;
class QListWidget;
struct AppState;

// F_Print: which entries to print, in which order and form; print or preview.
// Its to-print list is what every printout reads.
class PrintDialog : public QDialog, public PrintEntries {
    Q_OBJECT
public:
    explicit PrintDialog(MainWindow &main);

    AppState &state();
    MainWindow &mainWindow();

    int Count() const override;
    qint32 KeyNumber(int index) const override;
};

// The dispatcher: runs the kind's printout on the printer (previewFlag 0) or
// on the preview (the preview window is made if there is none, and shown
// after a run that was not cancelled).
void RunPrintout(PrintProgressWindow &progressWindow, PrintDialog &printDialog, int kind, int previewFlag);

#pragma once

#include "entry/picture_dialog.h"
#include "print/print_job.h"

#include <QPointer>

class PictureButton;
class QLabel;
class QProgressBar;
class PreviewWindow;
struct PrintRunState;

// F_PrintSy: what the running printout is doing, how far it has got, and
// the only way to stop it. Shown modeless by whoever starts the run.
class PrintProgressWindow : public PictureDialog, public PrintProgress {
    Q_OBJECT
public:
    PrintProgressWindow(PrintRunState &run, QWidget *owner);

    // Captions and scale for a run: mode 0 print, 1 preview; entries to print.
    void Prepare(const QString &kindName, int mode, int entries);
    // The preview a cancelled preview run from the print dialog must remove.
    void SetPreviewToCancel(PreviewWindow *preview);

    void SetStatus(const QString &text) override;
    void SetValue(int value) override;
    void PumpEvents() override;

    // The cancel button's action.
    void Cancel();

    // Closing, for any reason, hands the focus back to the starter.
    void done(int result) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    PrintRunState &m_run;
    QPointer<PreviewWindow> m_preview;
    QLabel *m_title = nullptr;          // lbl_Titol
    QLabel *m_status = nullptr;         // lbl_印刷中
    QProgressBar *m_bar = nullptr;      // pbr_進行
    PictureButton *m_cancel = nullptr;  // cmd_Cancel
};

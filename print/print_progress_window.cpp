#include "print/print_progress_window.h"

PrintProgressWindow::PrintProgressWindow(AppState &state, QWidget *owner) : QDialog(owner), m_state(state) {}
void PrintProgressWindow::Prepare(const QString &, int, int) {}
void PrintProgressWindow::SetPreviewToCancel(PreviewWindow *preview) { m_preview = preview; }
void PrintProgressWindow::SetStatus(const QString &) {}
void PrintProgressWindow::SetValue(int) {}
void PrintProgressWindow::PumpEvents() {}
void PrintProgressWindow::Cancel() {}

#include "print/preview_window.h"

#include "print/picture_surface.h"
#include "print/print_dialog.h"

PreviewWindow::PreviewWindow(AppState &, PrintDialog &printDialog) : QWidget(&printDialog, Qt::Window) {}
PreviewWindow::~PreviewWindow() = default;
PictureSurface &PreviewWindow::FirstPage() { static PictureSurface s(QSize(1, 1), 1); return s; }
PrintSurface &PreviewWindow::AddPage(int) { return FirstPage(); }
void PreviewWindow::RemoveAddedPages() {}
int PreviewWindow::PageCount() const { return 1; }

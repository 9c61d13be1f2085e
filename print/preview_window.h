#pragma once

#include "print/print_job.h"

#include <QWidget>
#include <memory>
#include <vector>

class PictureSurface;
class PrintDialog;
struct AppState;

// F_Prevew: the pages of a preview run, one at a time, at one of five zoom
// levels; its print button runs the same printout on the printer.
class PreviewWindow : public QWidget, public PreviewPages {
    Q_OBJECT
public:
    // Owned by the print dialog; sets the printer up for PreviewKind and
    // sizes the first page picture to match.
    PreviewWindow(AppState &state, PrintDialog &printDialog);
    ~PreviewWindow() override;

    // Pic_drw(0), the surface of page 1.
    PictureSurface &FirstPage();
    PrintSurface &AddPage(int index) override;
    // Drops every page picture but the first (a cancelled run).
    void RemoveAddedPages();
    int PageCount() const;
};

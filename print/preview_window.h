#pragma once

#include "print/print_job.h"
#include "print/print_run_state.h"

#include <QWidget>
#include <memory>
#include <vector>

class PictureButton;
class PictureSurface;
class PrintDialog;
class QComboBox;
class QFrame;
class QLabel;
class QScrollBar;
class ZoomedPage;
struct PrintoutKind;
struct PrintRunState;

// F_Prevew: the pages of a preview run, one at a time, at one of five zoom
// levels; its print button runs the same printout on the printer.
//
// Every page is kept as a vector recording; only the page on show is drawn
// into a bitmap, once per page or zoom change. The scroll bars count twips
// of the zoomed page and only move that bitmap.
class PreviewWindow : public QWidget, public PreviewPages {
    Q_OBJECT
public:
    // Owned by the print dialog; sets the printer up for the run's
    // PreviewKind and sizes the first page picture to match. Its print
    // button prints that kind, with or without the sender as the run had
    // it. Deletes itself when closed.
    explicit PreviewWindow(PrintDialog &printDialog);
    ~PreviewWindow() override;

    // Pic_drw(0), the surface of page 1.
    PictureSurface &FirstPage();
    PrintSurface &AddPage(int index) override;
    // Drops every page picture but the first (a cancelled run).
    void RemoveAddedPages();
    int PageCount() const;
    // Pic_drw(index).
    PictureSurface &Page(int index);

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void buildControls();
    void layoutControls();
    void SetupPreviewPage(int pageIndex);
    void FitPageToPrinter(int pageIndex);
    void FillZoomList();
    void ShowPreviewPage(int zoomIndex);
    void placeZoomedPage(bool resetBars);
    void activated();
    void pageSelected(int index);
    void zoomSelected(int index);
    void scrolled();
    void printFromPreview();

    PrintDialog &m_dialog;
    PrintRunState &m_run;
    const PrintoutKind &m_kind;   // what the pages show
    bool m_sender = false;        // postcards: with the sender
    LabelRunChoice m_labels;      // labels: the sheet, start and outlines previewed
    std::vector<std::unique_ptr<PictureSurface>> m_pages;

    QFrame *m_coolBar = nullptr;
    QWidget *m_toolPanel = nullptr;
    PictureButton *m_print = nullptr;
    QComboBox *m_pageList = nullptr;
    QComboBox *m_zoomList = nullptr;
    QWidget *m_viewport = nullptr;
    ZoomedPage *m_zoomed = nullptr;
    QScrollBar *m_hs = nullptr;
    QScrollBar *m_vs = nullptr;

    bool m_pagesListed = false;
    bool m_zoomArmed = false;
    bool m_printing = false;
    // The page on show, in twips at its zoom (not rounded).
    double m_zoomedWidthTwips = 0;
    double m_zoomedHeightTwips = 0;
};

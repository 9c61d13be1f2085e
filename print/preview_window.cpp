#include "print/preview_window.h"

#include "entry/picture_button.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/message_box.h"
#include "mainwindow/twips.h"
#include "mainwindow/wait_cursor.h"
#include "model/app_error.h"
#include "print/picture_surface.h"
#include "print/print_dialog.h"
#include "print/print_progress_window.h"
#include "print/print_run_state.h"
#include "print/printer_surface.h"
#include "print/printers.h"
#include "print/printout_kinds.h"
#include "print/printouts.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

// Pic_Ritu: the page on show, drawn once into a bitmap at its zoom, so that
// scrolling only moves this widget and never replays the page.
class ZoomedPage : public QWidget {
public:
    explicit ZoomedPage(QWidget *parent) : QWidget(parent) {}

    void Render(PictureSurface &page, double ratio)
    {
        const QSize size(int(std::lround(page.PageTwips().width() * ratio / TwipsPerPixel)),
                         int(std::lround(page.PageTwips().height() * ratio / TwipsPerPixel)));
        const qreal dpr = devicePixelRatioF();
        QPixmap pixmap(QSize(int(std::ceil(size.width() * dpr)), int(std::ceil(size.height() * dpr))));
        pixmap.setDevicePixelRatio(dpr);
        pixmap.fill(Qt::white);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::TextAntialiasing);
        page.Play(painter, ratio / TwipsPerPixel);
        painter.end();
        m_pixmap = pixmap;
        resize(size);
        update();
    }

    void Clear()
    {
        m_pixmap = QPixmap();
        resize(0, 0);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.drawPixmap(0, 0, m_pixmap);
    }

private:
    QPixmap m_pixmap;
};

namespace {

// The tool band and the controls on its panel, in twips from the panel's
// top-left corner, left to right.
constexpr int kCoolBarHeight = 600;
constexpr int kPanelInset = 30;
const TwipsPlace kPrintButton = {u"cmd_印刷", 60, 45, 1500, 450};
const TwipsPlace kPageLabel = {u"lbl_Page", 1800, 150, 2100, 240};
const TwipsPlace kPageList = {u"cmb_Page", 3960, 75, 1500, 390};
const TwipsPlace kZoomLabel = {u"lbl_倍率", 5700, 150, 2100, 240};
const TwipsPlace kZoomList = {u"cmb_倍率", 7860, 75, 1200, 390};

struct ZoomLevel {
    const char16_t *text;
    int percent;
};
const ZoomLevel kZoomLevels[] = {
    {u"５０％", 50}, {u"７５％", 75}, {u"１００％", 100}, {u"１５０％", 150}, {u"２００％", 200},
};
constexpr int kDefaultZoom = 2;   // 100%

QPageSize PortraitPaper(const PrinterSetup &printer)
{
    if (printer.PaperSize == PaperUser && printer.PaperWidthTwips > 0 && printer.PaperHeightTwips > 0)
        return QPageSize(QSizeF(printer.PaperWidthTwips / 1440.0, printer.PaperHeightTwips / 1440.0),
                         QPageSize::Inch, QString(), QPageSize::ExactMatch);
    return QPageSize(QPageSize::A4);
}

// The whole paper of the current printer with its set-up, in whole twips.
// A printer that refuses a size keeps its own, and the page follows it;
// without any printer the set-up's own paper is used.
QSize PaperTwips(const PrinterSetup &setup)
{
    const QPageSize paper = PortraitPaper(setup);
    const QPageLayout::Orientation orientation =
        setup.Orientation == OrientationLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    QRectF full = QPageLayout(paper, orientation, QMarginsF()).fullRect(QPageLayout::Millimeter);
    const QPrinterInfo info = QPrinterInfo::printerInfo(Printers::PrinterForPrint(setup.Name));
    if (!info.isNull()) {
        QPrinter printer(info, QPrinter::HighResolution);
        printer.setPageSize(paper);
        printer.setPageOrientation(orientation);
        const QRectF reported = printer.pageLayout().fullRect(QPageLayout::Millimeter);
        if (!reported.isEmpty())
            full = reported;
    }
    constexpr double twipsPerMillimetre = 1440.0 / 25.4;
    return QSize(int(std::nearbyint(full.width() * twipsPerMillimetre)),
                 int(std::nearbyint(full.height() * twipsPerMillimetre)));
}

// A bar over an overhang in twips: a negative one needs no scrolling.
void SetUpBar(QScrollBar *bar, double overhangTwips, bool resetValue)
{
    const double maximum = std::nearbyint(overhangTwips);
    if (maximum >= 0) {
        const int max = int(std::min(maximum, 32767.0));
        // Steps of at least one, or a small overhang could not be scrolled.
        const int pageStep = std::max(1, int(std::nearbyint(max / 10.0)));
        bar->setRange(0, max);
        bar->setPageStep(pageStep);
        bar->setSingleStep(std::max(1, int(std::nearbyint(pageStep / 10.0))));
        bar->setEnabled(true);
    } else {
        bar->setRange(0, 0);
        bar->setEnabled(false);
    }
    if (resetValue)
        bar->setValue(0);
}

// The bar's value (twips) as pixels of the zoomed page, so that the end of
// the bar always brings the page's far edge to the viewport's edge.
int ScrolledPixels(const QScrollBar *bar, int overhangPixels)
{
    if (bar->maximum() <= 0 || overhangPixels <= 0)
        return 0;
    return int(std::lround(double(bar->value()) * overhangPixels / bar->maximum()));
}

QWidget *PaintedPanel(QWidget *parent, const QString &name, const QColor &colour)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(name);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, colour);
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    return panel;
}

} // namespace

PreviewWindow::PreviewWindow(PrintDialog &printDialog)
    : QWidget(&printDialog, Qt::Window), m_dialog(printDialog), m_run(printDialog.run()),
      m_kind(FindPrintoutKind(m_run.PreviewKind) ? *FindPrintoutKind(m_run.PreviewKind) : PrintoutKinds().front()),
      m_sender(m_run.PrintSender), m_labels(m_run.Labels)
{
    setObjectName(u"F_Prevew"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"プレビュー"_s);
    setFont(DesignFont(DialogFace, 9));
    buildControls();

    m_pages.push_back(std::make_unique<PictureSurface>(QSize(11906, 16838), ScaleTwips));
    SetupPreviewPage(0);
    m_pagesListed = false;
    m_zoomArmed = false;
    FillZoomList();
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::buildControls()
{
    m_coolBar = new QFrame(this);
    m_coolBar->setObjectName(u"CoolBar1"_s);
    m_coolBar->setFrameStyle(QFrame::Panel | QFrame::Raised);

    m_toolPanel = PaintedPanel(m_coolBar, u"Picture1"_s, QColor(192, 192, 192));

    m_print = new PictureButton(m_toolPanel);
    m_print->setObjectName(QString::fromUtf16(kPrintButton.name));
    m_print->setGeometry(kPrintButton.rect());
    m_print->setPictures(u":/print/preview_print.svg"_s, u":/print/preview_print_hover.svg"_s);
    m_print->setCaption(u"印刷"_s);
    m_print->setCursor(Qt::PointingHandCursor);

    auto *pageLabel = new QLabel(u"ページを指定して下さい"_s, m_toolPanel);
    pageLabel->setObjectName(QString::fromUtf16(kPageLabel.name));
    pageLabel->setGeometry(kPageLabel.rect());

    m_pageList = new QComboBox(m_toolPanel);
    m_pageList->setObjectName(QString::fromUtf16(kPageList.name));
    m_pageList->setGeometry(kPageList.rect());
    pageLabel->setBuddy(m_pageList);

    auto *zoomLabel = new QLabel(u"倍率を指定して下さい"_s, m_toolPanel);
    zoomLabel->setObjectName(QString::fromUtf16(kZoomLabel.name));
    zoomLabel->setGeometry(kZoomLabel.rect());

    m_zoomList = new QComboBox(m_toolPanel);
    m_zoomList->setObjectName(QString::fromUtf16(kZoomList.name));
    m_zoomList->setGeometry(kZoomList.rect());
    zoomLabel->setBuddy(m_zoomList);

    m_viewport = PaintedPanel(this, u"Pic_pre"_s, QColor(128, 128, 128));
    m_zoomed = new ZoomedPage(m_viewport);
    m_zoomed->setObjectName(u"Pic_Ritu"_s);
    m_zoomed->hide();

    m_hs = new QScrollBar(Qt::Horizontal, this);
    m_hs->setObjectName(u"HS1"_s);
    m_vs = new QScrollBar(Qt::Vertical, this);
    m_vs->setObjectName(u"VS1"_s);
    SetUpBar(m_hs, -1, true);
    SetUpBar(m_vs, -1, true);

    // Moves over these reach the window, which puts the button's picture back.
    for (QWidget *w : {static_cast<QWidget *>(this), static_cast<QWidget *>(m_coolBar), m_toolPanel, m_viewport,
                       static_cast<QWidget *>(m_zoomed)})
        w->setMouseTracking(true);

    connect(m_print, &QPushButton::clicked, this, &PreviewWindow::printFromPreview);
    connect(m_pageList, &QComboBox::currentIndexChanged, this, &PreviewWindow::pageSelected);
    connect(m_zoomList, &QComboBox::currentIndexChanged, this, &PreviewWindow::zoomSelected);
    connect(m_hs, &QScrollBar::valueChanged, this, &PreviewWindow::scrolled);
    connect(m_vs, &QScrollBar::valueChanged, this, &PreviewWindow::scrolled);
}

void PreviewWindow::layoutControls()
{
    const int coolBarHeight = TwipsToPixels(kCoolBarHeight);
    const int inset = TwipsToPixels(kPanelInset);
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_hs);
    m_coolBar->setGeometry(0, 0, width(), coolBarHeight);
    m_toolPanel->setGeometry(inset, inset, std::max(0, width() - 2 * inset), coolBarHeight - 2 * inset);
    const int viewWidth = std::max(0, width() - bar);
    const int viewHeight = std::max(0, height() - (bar + coolBarHeight));
    m_viewport->setGeometry(0, coolBarHeight, viewWidth, viewHeight);
    m_vs->setGeometry(viewWidth, coolBarHeight, bar, viewHeight);
    m_hs->setGeometry(0, coolBarHeight + viewHeight, viewWidth, bar);
}

void PreviewWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutControls();
    // The overhang changes with the viewport; keep the bars' ends exact.
    if (m_zoomedWidthTwips > 0)
        placeZoomedPage(false);
}

void PreviewWindow::SetupPreviewPage(int pageIndex)
{
    ApplyKindPaper(m_dialog.CurrentPrinter(), PaperOfRun(m_kind, m_labels));
    QScreen *screen = m_dialog.screen();
    if (screen) {
        const QRect available = screen->availableGeometry();
        resize(available.size());
        move(available.topLeft());
    }
    // With a window manager the frame must fit on the screen as well.
    setWindowState(windowState() | Qt::WindowMaximized);
    layoutControls();
    FitPageToPrinter(pageIndex);
}

void PreviewWindow::FitPageToPrinter(int pageIndex)
{
    m_pages[size_t(pageIndex)] =
        std::make_unique<PictureSurface>(PaperTwips(m_dialog.CurrentPrinter()), PaperOfRun(m_kind, m_labels).scaleMode);
}

void PreviewWindow::FillZoomList()
{
    {
        const QSignalBlocker quiet(m_zoomList);
        m_zoomList->clear();
        for (const ZoomLevel &level : kZoomLevels)
            m_zoomList->addItem(QString::fromUtf16(level.text), level.percent);
        m_zoomList->setCurrentIndex(-1);
    }
    // Only arms the list: nothing is on show yet.
    m_zoomList->setCurrentIndex(kDefaultZoom);
}

PictureSurface &PreviewWindow::FirstPage() { return *m_pages.front(); }

PictureSurface &PreviewWindow::Page(int index) { return *m_pages.at(size_t(index)); }

PrintSurface &PreviewWindow::AddPage(int index)
{
    if (index <= 0)
        return FirstPage();
    if (size_t(index) < m_pages.size()) {
        m_pages[size_t(index)]->Clear();
        return *m_pages[size_t(index)];
    }
    const PictureSurface &first = FirstPage();
    while (m_pages.size() <= size_t(index)) {
        // The page before is finished: it keeps only the room it uses, and
        // the new one starts with as much.
        m_pages.back()->Squeeze();
        auto page = std::make_unique<PictureSurface>(first.PageTwips(), first.ScaleMode());
        page->ReserveLike(*m_pages.back());
        m_pages.push_back(std::move(page));
    }
    return *m_pages.back();
}

void PreviewWindow::RemoveAddedPages() { m_pages.resize(1); }

int PreviewWindow::PageCount() const { return int(m_pages.size()); }

bool PreviewWindow::event(QEvent *event)
{
    const bool result = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate)
        activated();
    return result;
}

void PreviewWindow::activated()
{
    if (!m_pagesListed) {
        // No more entries than pages exist, whatever count the run left.
        const int count = std::clamp(int(m_run.PreviewPageCount), 0, PageCount());
        {
            const QSignalBlocker quiet(m_pageList);
            m_pageList->clear();
            for (int i = 1; i <= count; ++i)
                m_pageList->addItem(u"%1 ページ"_s.arg(i), i - 1);
            m_pageList->setCurrentIndex(-1);
        }
        m_pageList->setCurrentIndex(count > 0 ? 0 : -1);
        m_pagesListed = true;
    }
    m_hs->setValue(0);
    m_vs->setValue(0);
}

void PreviewWindow::pageSelected(int index)
{
    if (index < 0)
        return;
    WaitCursor wait;
    ShowPreviewPage(m_zoomList->currentIndex());
    m_hs->setValue(0);
    m_vs->setValue(0);
}

void PreviewWindow::zoomSelected(int index)
{
    if (index < 0)
        return;
    if (!m_zoomArmed) {
        m_zoomArmed = true;
        return;
    }
    ShowPreviewPage(index);
}

void PreviewWindow::ShowPreviewPage(int zoomIndex)
{
    WaitCursor wait;
    const int pageIndex = m_pageList->currentIndex() >= 0 ? m_pageList->currentData().toInt() : -1;
    if (zoomIndex < 0 || pageIndex < 0 || pageIndex >= PageCount())
        return;
    const double ratio = m_zoomList->itemData(zoomIndex).toInt() / 100.0;
    PictureSurface &page = *m_pages[size_t(pageIndex)];
    m_zoomedWidthTwips = page.PageTwips().width() * ratio;
    m_zoomedHeightTwips = page.PageTwips().height() * ratio;
    m_zoomed->Clear();
    m_zoomed->Render(page, ratio);
    placeZoomedPage(true);
    m_zoomed->raise();
    m_zoomed->show();
}

void PreviewWindow::placeZoomedPage(bool resetBars)
{
    SetUpBar(m_vs, m_zoomedHeightTwips - PixelsToTwips(m_viewport->height()), resetBars);
    SetUpBar(m_hs, m_zoomedWidthTwips - PixelsToTwips(m_viewport->width()), resetBars);
    scrolled();
}

void PreviewWindow::scrolled()
{
    // Wider than the viewport: at the left edge, moved by the bar;
    // narrower: centred on the grey. Likewise for the height.
    const QSize view = m_viewport->size();
    const QSize page = m_zoomed->size();
    const int x = m_zoomedWidthTwips >= PixelsToTwips(view.width())
                      ? -ScrolledPixels(m_hs, page.width() - view.width())
                      : (view.width() - page.width()) / 2;
    const int y = m_zoomedHeightTwips >= PixelsToTwips(view.height())
                      ? -ScrolledPixels(m_vs, page.height() - view.height())
                      : (view.height() - page.height()) / 2;
    m_zoomed->move(x, y);
}

void PreviewWindow::wheelEvent(QWheelEvent *event)
{
    // The wheel over the page scrolls it, as the bars do.
    QScrollBar *bar = (event->modifiers() & Qt::AltModifier) ? m_hs : m_vs;
    if (bar->isEnabled())
        QCoreApplication::sendEvent(bar, event);
    event->accept();
}

void PreviewWindow::mouseMoveEvent(QMouseEvent *event)
{
    // The mouse has left the button for the background, the band or the page.
    m_print->showNormal();
    QWidget::mouseMoveEvent(event);
}

void PreviewWindow::printFromPreview()
{
    // One run at a time: the progress window lets clicks through.
    if (m_printing)
        return;
    m_print->showNormal();
    if (!m_dialog.AskPdfFile(this))
        return;
    m_run.RunFromDialog = false;
    m_run.RunFromPreview = true;
    // What the pages show, whatever the dialog printed meanwhile.
    m_run.PrintKindName = m_kind.name;
    m_run.PrintSender = m_sender;
    // The labels as previewed; the dialog's own choice comes back afterwards.
    const LabelRunChoice dialogLabels = m_run.Labels;
    m_run.Labels = m_labels;

    // Deleted here, after the run, never while the printout still uses it.
    QPointer<PrintProgressWindow> progress = new PrintProgressWindow(m_run, this);
    progress->Prepare(m_run.PrintKindName, 0, m_dialog.Count());
    progress->show();
    m_run.PrintCancelled = false;

    m_printing = true;
    try {
        std::unique_ptr<PrintSurface> printer =
            PrinterSurfaces::Create(m_dialog.CurrentPrinter(), m_dialog.DocumentName(m_kind.kind));
        const PrintEntriesSnapshot entries(m_dialog);
        PrintJob job = m_dialog.MakeJob(*progress, entries);
        job.reportFailure = ReportEachFailureOnce([this](const QString &description) {
            MessageBoxes::ReportError(this, description);
        });
        m_kind.print(printer.get(), job, 0);
    } catch (const AppError &e) {
        MessageBoxes::ReportError(this, e.description());
    } catch (const std::exception &e) {
        MessageBoxes::ReportError(this, QString::fromUtf8(e.what()));
    }
    m_printing = false;
    m_run.Labels = dialogLabels;
    if (!m_run.PrintCancelled)
        m_dialog.LabelRunPrinted(m_kind.kind);
    // Closing, not only discarding, hands the focus back to this window
    // (the cancel button has closed it already).
    if (!m_run.PrintCancelled && progress)
        progress->close();
    delete progress.data();
}

void PreviewWindow::closeEvent(QCloseEvent *event)
{
    // The running printout reports to a progress window this window owns.
    if (m_printing) {
        event->ignore();
        return;
    }
    RemoveAddedPages();
    m_dialog.setEnabled(true);
    m_dialog.raise();
    m_dialog.activateWindow();
    QWidget::closeEvent(event);
}

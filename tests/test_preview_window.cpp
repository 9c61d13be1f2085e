// The preview window: page and zoom lists, the scroll bars over the zoomed
// page, activation, closing, and printing again from the preview.

#include "window_fixture.h"

#include "model/app_error.h"
#include "print/picture_surface.h"
#include "print/preview_window.h"
#include "print/print_dialog.h"
#include "print/print_progress_window.h"
#include "print/printer_surface.h"
#include "print/printouts.h"
#include "print/recording_surface.h"

#include <QComboBox>
#include <QListWidget>
#include <QPointer>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// A4 in whole twips.
constexpr int kA4Short = 11906, kA4Long = 16838;

class QuietProgress : public PrintProgress {
public:
    void SetStatus(const QString &) override {}
    void SetValue(int) override {}
    void PumpEvents() override {}
};

// A printer recording that hands its operations back when the run drops it.
class KeptRecording : public RecordingSurface {
public:
    explicit KeptRecording(QList<RecordedOp> &out) : RecordingSurface(true), m_out(out) {}
    ~KeptRecording() override { m_out = ops; }

private:
    QList<RecordedOp> &m_out;
};

// A printer that fails every drawing, as one that was removed does.
class BrokenPrinter : public RecordingSurface {
public:
    static inline const QString Message = u"プリンタが見つかりません。"_s;

protected:
    void drawText(const QPointF &, const QString &) override { throw AppError(Message); }
    void drawLine(const QPointF &, const QPointF &) override { throw AppError(Message); }
    void drawBox(const QPointF &, const QPointF &) override { throw AppError(Message); }
    void drawRoundedBox(const QPointF &, const QPointF &, double) override { throw AppError(Message); }
};

bool isDark(QRgb pixel) { return qGray(pixel) < 100; }

// Whether column x of the image has a dark pixel in its middle third.
bool darkColumnNear(const QImage &image, int x, int tolerance = 1)
{
    for (int c = std::max(0, x - tolerance); c <= std::min(image.width() - 1, x + tolerance); ++c)
        for (int y = image.height() / 3; y < 2 * image.height() / 3; ++y)
            if (isDark(image.pixel(c, y)))
                return true;
    return false;
}

} // namespace

class TestPreviewWindow : public QObject {
    Q_OBJECT

private:
    WindowFixture fixture;
    QPointer<PrintDialog> dialog;
    QPointer<PreviewWindow> preview;

    PrintRunState &run() { return dialog->run(); }

    template <typename T>
    T *control(const QString &name)
    {
        T *object = preview->findChild<T *>(name);
        if (!object)
            qWarning("no control named %s", qPrintable(name));
        return object;
    }
    QComboBox *pageList() { return control<QComboBox>(u"cmb_Page"_s); }
    QComboBox *zoomList() { return control<QComboBox>(u"cmb_倍率"_s); }
    QScrollBar *hs() { return control<QScrollBar>(u"HS1"_s); }
    QScrollBar *vs() { return control<QScrollBar>(u"VS1"_s); }
    QWidget *viewport() { return control<QWidget>(u"Pic_pre"_s); }
    QWidget *zoomed() { return control<QWidget>(u"Pic_Ritu"_s); }

    // A preview of `kind` with `pages` pages; page k (from 1) carries a
    // vertical rule k inches from its left edge, the last one also a rule
    // 30 twips inside its right edge.
    void makePreview(int kind, int pages)
    {
        run().PreviewKind = qint16(kind);
        preview = new PreviewWindow(*dialog);
        for (int k = 1; k <= pages; ++k) {
            PrintSurface &page = k == 1 ? preview->FirstPage() : preview->AddPage(k - 1);
            const QSize size = preview->Page(0).PageTwips();
            page.Line(1440.0 * k, 0, 0, size.height());
            if (k == pages)
                page.Line(size.width() - 30, 0, 0, size.height());
        }
        run().PreviewPageCount = qint16(pages);
    }

    void showPreview()
    {
        preview->show();
        preview->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(preview));
    }

    // The whole 41-entry book previewed as an address list and shown.
    void previewWholeList()
    {
        dialog->MoveEntries(1);
        run().PreviewKind = 1;
        run().PrintKindName = u"住所録一覧表"_s;
        preview = new PreviewWindow(*dialog);
        QuietProgress quiet;
        PrintJob job = dialog->MakeJob(quiet, *dialog);
        job.pages = preview.data();
        RunKindPrintout(1, &preview->FirstPage(), job, 1);
        showPreview();
    }

    // What the next printer runs draw goes into printed.
    static void printInto(QList<RecordedOp> &printed)
    {
        PrinterSurfaces::SetFactory([&printed](PrinterSetup &, const QString &) -> std::unique_ptr<PrintSurface> {
            return std::make_unique<KeptRecording>(printed);
        });
    }

    static QStringList textsOf(const QList<RecordedOp> &printed)
    {
        QStringList texts;
        for (const RecordedOp &op : printed)
            texts << op.text;
        return texts;
    }

    void chooseZoom(int percent)
    {
        const int index = zoomList()->findData(percent);
        QVERIFY(index >= 0);
        zoomList()->setCurrentIndex(index);
    }

    // The page twips of the preview's first page.
    QSize pageTwips() { return preview->Page(0).PageTwips(); }

    QImage grabbed(QWidget *w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }

private Q_SLOTS:
    void init()
    {
        MessageBoxes::SetScripted(true);
        FileDialogs::SetScripted(true);
        MessageBoxes::TakeShown();
        PrinterSurfaces::SetFactory({});
        fixture.startWithBook(41);
        dialog = new PrintDialog(*fixture.window);
    }

    void cleanup()
    {
        PrinterSurfaces::SetFactory({});
        delete preview.data();
        delete dialog.data();
        fixture.window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(MessageBoxes::PendingAnswers(), 0);
    }

    void loadSetsUpThePrinterForTheKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("scaleMode");
        QTest::addColumn<int>("paperSize");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("page");
        QTest::newRow("address list") << 1 << 1 << 9 << 2 << QSize(kA4Long, kA4Short);
        QTest::newRow("labels") << 2 << 1 << 9 << 1 << QSize(kA4Short, kA4Long);
        QTest::newRow("telephone list") << 3 << 1 << 9 << 2 << QSize(kA4Long, kA4Short);
        QTest::newRow("postcard") << 4 << 6 << 256 << 1 << QSize(5670, 8392);
    }

    void loadSetsUpThePrinterForTheKind()
    {
        QFETCH(int, kind);
        QFETCH(int, scaleMode);
        QFETCH(int, paperSize);
        QFETCH(int, orientation);
        QFETCH(QSize, page);
        makePreview(kind, 1);

        const PrinterSetup &printer = (*fixture.printer);
        QCOMPARE(printer.ScaleMode, scaleMode);
        QCOMPARE(printer.PaperSize, paperSize);
        QCOMPARE(printer.Orientation, orientation);
        QCOMPARE(preview->Page(0).ScaleMode(), scaleMode);
        if (kind == 4) {
            QCOMPARE(printer.PaperWidthTwips, 5670);
            QCOMPARE(printer.PaperHeightTwips, 8392);
        }
        // Without a printer the paper is exact; a printer may report its own
        // idea of the same paper to within a point or so.
        const int tolerance = QPrinterInfo::defaultPrinter().isNull() ? 0 : 30;
        QVERIFY2(std::abs(pageTwips().width() - page.width()) <= tolerance, qPrintable(u"%1"_s.arg(pageTwips().width())));
        QVERIFY2(std::abs(pageTwips().height() - page.height()) <= tolerance, qPrintable(u"%1"_s.arg(pageTwips().height())));

        // An added page is like the first.
        QCOMPARE(static_cast<PictureSurface &>(preview->AddPage(1)).PageTwips(), pageTwips());
        QCOMPARE(preview->Page(1).ScaleMode(), scaleMode);

        QCOMPARE(preview->windowTitle(), u"プレビュー"_s);
        QStringList zooms;
        QList<int> percents;
        for (int i = 0; i < zoomList()->count(); ++i) {
            zooms << zoomList()->itemText(i);
            percents << zoomList()->itemData(i).toInt();
        }
        QCOMPARE(zooms, (QStringList{u"５０％"_s, u"７５％"_s, u"１００％"_s, u"１５０％"_s, u"２００％"_s}));
        QCOMPARE(percents, (QList<int>{50, 75, 100, 150, 200}));
        QCOMPARE(zoomList()->currentIndex(), 2);
        // Nothing is listed or painted before the window is first shown.
        QCOMPARE(pageList()->count(), 0);
        QVERIFY(zoomed()->isHidden());
    }

    void firstActivationShowsPageOneAtFullSize()
    {
        makePreview(1, 1);
        showPreview();

        QCOMPARE(pageList()->count(), 1);
        QCOMPARE(pageList()->itemText(0), u"1 ページ"_s);
        QCOMPARE(pageList()->itemData(0).toInt(), 0);
        QCOMPARE(pageList()->currentIndex(), 0);
        QCOMPARE(zoomList()->currentData().toInt(), 100);

        // 100%: the page at its real size on a 96-dpi screen, 15 twips a pixel.
        QVERIFY(zoomed()->isVisible());
        QCOMPARE(zoomed()->size(), QSize(qRound(pageTwips().width() / 15.0), qRound(pageTwips().height() / 15.0)));
        // The rule one inch from the left edge is 96 pixels in.
        const QImage page = grabbed(zoomed());
        QVERIFY(darkColumnNear(page, 96));
        QVERIFY(!darkColumnNear(page, 48, 5));
        QCOMPARE(hs()->value(), 0);
        QCOMPARE(vs()->value(), 0);
    }

    void zoomLargerThanViewportScrollsToTheFarEdge()
    {
        makePreview(1, 1);
        showPreview();
        chooseZoom(200);

        const QSize view = viewport()->size();
        const int hMax = int(std::nearbyint(pageTwips().width() * 2.0 - view.width() * 15));
        const int vMax = int(std::nearbyint(pageTwips().height() * 2.0 - view.height() * 15));
        QVERIFY(hMax > 0 && vMax > 0);
        QCOMPARE(hs()->maximum(), hMax);
        QCOMPARE(vs()->maximum(), vMax);
        for (QScrollBar *bar : {hs(), vs()}) {
            QVERIFY(bar->isEnabled());
            QCOMPARE(bar->value(), 0);
            QVERIFY(bar->pageStep() >= 1 && bar->singleStep() >= 1);
        }
        QCOMPARE(zoomed()->pos(), QPoint(0, 0));
        // The rule near the right edge is beyond the viewport.
        QVERIFY(!darkColumnNear(grabbed(viewport()), view.width() - 4, 3));

        hs()->setValue(hs()->maximum());
        vs()->setValue(vs()->maximum());
        const QRect page = zoomed()->geometry();
        QCOMPARE(page.right(), view.width() - 1);
        QCOMPARE(page.bottom(), view.height() - 1);
        const QImage shown = grabbed(viewport());
        QVERIFY(darkColumnNear(shown, view.width() - 4, 3));
        // No grey beyond the page's edge.
        QVERIFY(qGray(shown.pixel(view.width() - 1, view.height() - 1)) > 200);
    }

    void zoomSmallerThanViewportIsCentred()
    {
        makePreview(1, 1);
        showPreview();
        chooseZoom(50);

        const QSize view = viewport()->size();
        const QSize page(qRound(pageTwips().width() * 0.5 / 15), qRound(pageTwips().height() * 0.5 / 15));
        QVERIFY(page.width() < view.width() && page.height() < view.height());
        QCOMPARE(zoomed()->size(), page);
        QCOMPARE(zoomed()->pos(), QPoint((view.width() - page.width()) / 2, (view.height() - page.height()) / 2));
        QVERIFY(!hs()->isEnabled());
        QVERIFY(!vs()->isEnabled());
        // Grey around the page.
        QCOMPARE(grabbed(viewport()).pixel(1, 1), qRgb(128, 128, 128));
    }

    void changingThePageKeepsTheZoomAndResetsTheBars()
    {
        makePreview(1, 3);
        showPreview();
        QCOMPARE(pageList()->count(), 3);
        QCOMPARE(pageList()->itemText(2), u"3 ページ"_s);
        QCOMPARE(pageList()->itemData(2).toInt(), 2);
        chooseZoom(200);
        hs()->setValue(hs()->maximum() / 2);
        vs()->setValue(vs()->maximum() / 2);

        pageList()->setCurrentIndex(1);
        QCOMPARE(zoomList()->currentData().toInt(), 200);
        QCOMPARE(zoomed()->width(), qRound(pageTwips().width() * 2 / 15.0));
        QCOMPARE(hs()->value(), 0);
        QCOMPARE(vs()->value(), 0);
        QCOMPARE(zoomed()->pos(), QPoint(0, 0));
        // Page 2's rule is two inches in: 384 pixels at 200%; page 1's is not there.
        const QImage page = grabbed(zoomed());
        QVERIFY(darkColumnNear(page, 384));
        QVERIFY(!darkColumnNear(page, 192, 3));
    }

    void reactivationReturnsToTheTopLeft()
    {
        makePreview(1, 2);
        showPreview();
        chooseZoom(200);
        hs()->setValue(hs()->maximum());
        vs()->setValue(vs()->maximum());
        QVERIFY(zoomed()->pos() != QPoint(0, 0));

        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!preview->isActiveWindow());
        // A later count does not renew the list: it is filled once.
        run().PreviewPageCount = 1;
        preview->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(preview));

        QCOMPARE(hs()->value(), 0);
        QCOMPARE(vs()->value(), 0);
        QCOMPARE(zoomed()->pos(), QPoint(0, 0));
        QCOMPARE(pageList()->count(), 2);
        QCOMPARE(zoomList()->currentData().toInt(), 200);
    }

    void resizingKeepsTheBarsExact()
    {
        makePreview(1, 1);
        showPreview();
        chooseZoom(200);
        preview->setWindowState(Qt::WindowNoState);
        preview->resize(preview->width() - 100, preview->height() - 50);
        QTRY_COMPARE(hs()->maximum(),
                     int(std::nearbyint(pageTwips().width() * 2.0 - viewport()->width() * 15)));
        QCOMPARE(vs()->maximum(), int(std::nearbyint(pageTwips().height() * 2.0 - viewport()->height() * 15)));
    }

    void closingRemovesAddedPagesAndFocusesTheDialog()
    {
        makePreview(1, 3);
        dialog->show();
        showPreview();
        QCOMPARE(preview->PageCount(), 3);

        preview->close();
        QCOMPARE(preview->PageCount(), 1);
        QVERIFY(dialog->isEnabled());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(dialog.data()));
        QTRY_VERIFY(preview.isNull());
    }

    // The print button runs the whole printout again on the printer,
    // whatever page is on show.
    void printButtonPrintsEveryPageAgain()
    {
        QListWidget *toPrint = dialog->findChild<QListWidget *>(u"lst_印刷者"_s);
        QVERIFY(toPrint);
        previewWholeList();
        QCOMPARE(dialog->Count(), 41);
        QCOMPARE(run().PreviewPageCount, 2);
        QCOMPARE(preview->PageCount(), 2);
        pageList()->setCurrentIndex(1);

        QList<RecordedOp> printed;
        int printers = 0;
        PrinterSurfaces::SetFactory([&](PrinterSetup &setup, const QString &name) -> std::unique_ptr<PrintSurface> {
            ++printers;
            // The paper the preview was made for.
            if (setup.Orientation != OrientationLandscape || name != u"住所録一覧表"_s)
                qWarning("printer not set up for the previewed kind");
            return std::make_unique<KeptRecording>(printed);
        });
        auto *button = control<QPushButton>(u"cmd_印刷"_s);
        QVERIFY(button && button->isEnabled());
        QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
        button->click();

        QCOMPARE(printers, 1);
        QVERIFY(!run().RunFromDialog);
        QVERIFY(run().RunFromPreview);
        QVERIFY(!run().PrintCancelled);
        QCOMPARE(printed.last().kind, RecordedOp::EndDoc);
        QCOMPARE(printed.last().page, 2);
        const QStringList texts = textsOf(printed);
        for (int i = 1; i <= 41; ++i)
            QVERIFY(texts.contains(u"名前%1"_s.arg(i)));
        // The progress window is gone and hands the focus back; the preview
        // and its pages stay.
        QTRY_VERIFY(preview->findChildren<PrintProgressWindow *>().isEmpty());
        QVERIFY(preview->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(preview.data()));
        QCOMPARE(preview->PageCount(), 2);
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }

    // The print dialog stays usable while the preview prints; emptying its
    // list meanwhile must not change what is being printed.
    void listChangesDuringAPrintDoNotChangeIt()
    {
        previewWholeList();
        QList<RecordedOp> printed;
        printInto(printed);
        bool moved = false;
        QTimer::singleShot(0, dialog, [&] {
            dialog->MoveEntries(3);   // every entry back to the candidates
            moved = true;
        });
        control<QPushButton>(u"cmd_印刷"_s)->click();

        QVERIFY(moved);
        QCOMPARE(dialog->Count(), 0);
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
        QCOMPARE(printed.last().kind, RecordedOp::EndDoc);
        const QStringList texts = textsOf(printed);
        for (int i = 1; i <= 41; ++i)
            QVERIFY(texts.contains(u"名前%1"_s.arg(i)));
    }

    // A printer that fails fails every drawing of the run; the user is told once.
    void aBrokenPrinterIsReportedOnce()
    {
        dialog->MoveEntries(1);
        run().PreviewKind = 1;
        preview = new PreviewWindow(*dialog);
        showPreview();
        PrinterSurfaces::SetFactory([](PrinterSetup &, const QString &) -> std::unique_ptr<PrintSurface> {
            return std::make_unique<BrokenPrinter>();
        });
        for (int run = 0; run < 2; ++run) {
            control<QPushButton>(u"cmd_印刷"_s)->click();
            const QList<ShownMessage> shown = MessageBoxes::TakeShown();
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown[0].text, BrokenPrinter::Message);
            QCOMPARE(shown[0].icon, MsgIcon::Critical);
        }
        QVERIFY(preview->isVisible());
    }

    void cancellingThePrintKeepsThePreview()
    {
        previewWholeList();
        QList<RecordedOp> printed;
        printInto(printed);
        // The cancel button, pressed while the printout lets events run.
        QTimer::singleShot(0, preview.data(), [this] {
            const auto windows = preview->findChildren<PrintProgressWindow *>();
            if (!windows.isEmpty())
                windows.first()->Cancel();
        });
        control<QPushButton>(u"cmd_印刷"_s)->click();

        QVERIFY(run().PrintCancelled);
        QVERIFY(!printed.isEmpty());
        QCOMPARE(printed.last().kind, RecordedOp::KillDoc);
        QVERIFY(preview);
        QVERIFY(preview->isVisible());
        QCOMPARE(preview->PageCount(), 2);
        QTRY_VERIFY(preview->findChildren<PrintProgressWindow *>().isEmpty());
    }
};

QTEST_MAIN(TestPreviewWindow)
#include "test_preview_window.moc"

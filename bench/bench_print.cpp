// Timings of printing a full book as an address list (32767 entries, 820 pages).
//
//   yuzaribo-bench-print            every figure
//   yuzaribo-bench-print --runs 5   more runs per figure (default 3)
//
// One "name value" line per figure, times in milliseconds (the median of the
// runs), memory in megabytes:
//   preview_ms             the print dialog's preview button to the preview
//                          window showing page 1: every page drawn, the page
//                          list filled and page 1 painted at 100%
//   preview_rss_added_mb   resident memory the open preview adds (first run)
//   pdf_ms                 the same printout printed into a PDF file

#include "bench/bench_book.h"
#include "bench/bench_measure.h"
#include "files/csv_writer.h"
#include "files/file_commands.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/file_dialog.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "model/app_state.h"
#include "model/record_keys.h"
#include "print/printer_surface.h"
#include "print/printouts.h"
#include "settings/settings_store.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

using Clock = BenchClock;

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "%s\n", what);
    std::exit(1);
}

template <typename T>
T *named(QObject *parent, const QString &name)
{
    T *child = parent ? parent->findChild<T *>(name) : nullptr;
    if (!child)
        fail(qPrintable(u"missing "_s + name));
    return child;
}

struct RunFigures {
    double preview = 0, rssAdded = 0;
};

RunFigures previewOnce(const QString &bookPath, const QString &settingsPath)
{
    RunFigures f;
    AppState state;
    SettingsStore store(settingsPath);
    MainWindow window(state, store);
    MainWindowOptions options;
    options.screenWidthTwips = 15360;
    window.Load(options);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        fail("the window was not shown");
    FileDialogs::QueuePath(bookPath);
    window.fileCommands().FileOpen();
    if (state.OpenBook->Count() != MaxBookRecords)
        fail("the book did not open");

    named<QAbstractButton>(&window, u"cmd_印刷"_s)->click();
    QCoreApplication::processEvents();
    QWidget *dialog = named<QWidget>(&window, u"F_Print"_s);
    named<QAbstractButton>(dialog, u"cmd_選択(1)"_s)->click();
    if (named<QListWidget>(dialog, u"lst_印刷者"_s)->count() != MaxBookRecords)
        fail("the entries did not move to the print list");
    QCoreApplication::processEvents();

    const double rssBefore = residentMegabytes();
    const auto start = Clock::now();
    named<QAbstractButton>(dialog, u"cmd_Go(1)"_s)->click();
    QWidget *preview = named<QWidget>(dialog, u"F_Prevew"_s);
    preview->activateWindow();
    QCoreApplication::processEvents();
    QWidget *page = named<QWidget>(preview, u"Pic_Ritu"_s);
    page->repaint();
    f.preview = msSince(start);
    if (named<QComboBox>(preview, u"cmb_Page"_s)->count() != 820)
        fail("the preview does not list 820 pages");
    f.rssAdded = residentMegabytes() - rssBefore;

    preview->close();
    dialog->close();
    QCoreApplication::processEvents();
    window.hide();
    return f;
}

// Print list for the PDF figure: every record of the book in book order.
class AllEntries : public PrintEntries {
public:
    explicit AllEntries(int count) : m_count(count) {}
    int Count() const override { return m_count; }
    qint32 KeyNumber(int index) const override { return index + 1; }

private:
    int m_count;
};

class QuietProgress : public PrintProgress {
public:
    void SetStatus(const QString &) override {}
    void SetValue(int) override {}
    void PumpEvents() override { QCoreApplication::processEvents(); }
};

double pdfOnce(const QString &pdfPath)
{
    AppState state;
    state.OpenBook = MakeBook(MaxBookRecords, 20240601);
    state.BookFileName = u"/home/user/住所録.csv"_s;
    state.AppSettings.PrintFontName.fill(u"ＭＳ ゴシック"_s);
    AllEntries entries(MaxBookRecords);
    QuietProgress progress;
    QString failure;
    PrintJob job{state, progress, entries, nullptr, [&failure](const QString &text) { failure = text; }};
    QFile::remove(pdfPath);
    const auto start = Clock::now();
    {
        PrinterSurface surface(state.CurrentPrinter, u"住所録一覧表"_s, pdfPath);
        PrintAddressList(&surface, job, 0);
    }
    const double ms = msSince(start);
    if (!failure.isEmpty())
        fail(qPrintable(failure));
    if (QFileInfo(pdfPath).size() == 0)
        fail("no PDF was written");
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutes();

    const int runs = RunsFromArguments(argc, argv, 3);

    QTemporaryDir dir;
    const QString bookPath = dir.filePath(u"book.csv"_s);
    SaveBookToFile(bookPath, *MakeBook(MaxBookRecords, 20240601));
    MessageBoxes::SetScripted(true);
    FileDialogs::SetScripted(true);

    std::vector<double> previews, pdfs;
    double rssAdded = 0;
    for (int r = 0; r < runs; ++r) {
        const RunFigures f = previewOnce(bookPath, dir.filePath(u"settings.ini"_s));
        previews.push_back(f.preview);
        if (r == 0)
            rssAdded = f.rssAdded;   // later runs reuse the freed heap
    }
    for (int r = 0; r < runs; ++r)
        pdfs.push_back(pdfOnce(dir.filePath(u"list.pdf"_s)));
    std::printf("preview_ms %.1f\n", median(previews));
    std::printf("preview_rss_added_mb %.1f\n", rssAdded);
    std::printf("pdf_ms %.1f\n", median(pdfs));
    return 0;
}

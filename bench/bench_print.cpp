// Timings of printing a full book (32767 entries) as an address list (820
// pages) and as postcards (32767 cards, each with the sender).
//
//   yuzaribo-bench-print            every figure
//   yuzaribo-bench-print --runs 5   more runs per figure (default 3)
//   yuzaribo-bench-print --only postcard_   only the figures with that prefix
//   yuzaribo-bench-print --no-pdf           only the preview figures
//   yuzaribo-bench-print --no-preview       only the PDF figures
//
// One "name value" line per figure, times in milliseconds (the median of the
// runs), memory in megabytes:
//   preview_ms             the print dialog's preview button to the preview
//                          window showing page 1: every page drawn, the page
//                          list filled and page 1 painted at 100%
//   preview_rss_added_mb   resident memory the open preview adds (first run)
//   pdf_ms                 the same printout printed into a PDF file
//   postcard_preview_ms, postcard_preview_rss_added_mb, postcard_pdf_ms
//                          the same for postcards

#include "bench/bench_book.h"
#include "bench/bench_measure.h"
#include "files/csv_writer.h"
#include "files/file_commands.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/file_dialog.h"
#include "mainwindow/heap_tuning.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "model/app_state.h"
#include "model/book_document.h"
#include "print/print_run_state.h"
#include "settings/app_settings.h"
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

void fillSender(SenderInfo &sender)
{
    sender = {u"由佐 里穂"_s, u"03-1234-5678"_s, u"riho@example.jp"_s, u"123-4567"_s,
              u"東京都千代田区丸の内1-2-3"_s, u"ゆざりぼビル405号"_s};
}

// kind 1: the address list; kind 4: postcards.
RunFigures previewOnce(const QString &bookPath, const QString &settingsPath, int kind, int pages)
{
    RunFigures f;
    BookDocument document;
    AppState state;
    SettingsRecord settings;
    PrinterSetup printer;
    SettingsStore store(settingsPath);
    MainWindow window(document, state, settings, printer, store);
    MainWindowOptions options;
    options.screenWidthTwips = 15360;
    options.availableSize = QSize(1920, 1050);
    window.Load(options);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        fail("the window was not shown");
    FileDialogs::QueuePath(bookPath);
    window.fileCommands().FileOpen();
    if (document.Count() != MaxBookRecords)
        fail("the book did not open");
    fillSender(settings.Sender);

    named<QAbstractButton>(&window, u"cmd_印刷"_s)->click();
    QCoreApplication::processEvents();
    QWidget *dialog = named<QWidget>(&window, u"F_Print"_s);
    named<QAbstractButton>(dialog, u"cmd_選択(1)"_s)->click();
    if (named<QListWidget>(dialog, u"lst_印刷者"_s)->count() != MaxBookRecords)
        fail("the entries did not move to the print list");
    named<QAbstractButton>(dialog, u"opt_印刷形式(%1)"_s.arg(kind - 1))->click();
    if (kind == 4)
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);   // print the sender
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
    if (named<QComboBox>(preview, u"cmb_Page"_s)->count() != pages)
        fail("the preview does not list every page");
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

double pdfOnce(const QString &pdfPath, int kind)
{
    BookDocument document;
    document.ReplaceBook(MakeBook(MaxBookRecords, 20240601), MaxBookRecords + 1);
    document.SetBookFileName(u"/home/user/住所録.csv"_s);
    SettingsRecord settings;
    settings.PrintFontName.fill(u"ＭＳ ゴシック"_s);
    fillSender(settings.Sender);
    PrintRunState flags;
    flags.PrintSender = true;
    PrinterSetup printer;
    AllEntries entries(MaxBookRecords);
    QuietProgress progress;
    QString failure;
    PrintJob job{document, settings, flags, progress, entries, nullptr,
                 [&failure](const QString &text) { failure = text; }};
    QFile::remove(pdfPath);
    const auto start = Clock::now();
    {
        PrinterSurface surface(printer, kind == 4 ? u"はがき(表)"_s : u"住所録一覧表"_s, pdfPath);
        RunKindPrintout(kind, &surface, job, 0);
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
    TuneHeapForLargeBuffers();   // as the program does
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

    struct Printout {
        int kind, pages;
        const char *prefix;
    };
    const char *only = nullptr;
    bool pdf = true, preview = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-pdf") == 0)
            pdf = false;
        if (std::strcmp(argv[i], "--no-preview") == 0)
            preview = false;
    }
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--only") == 0)
            only = argv[i + 1];
    for (const Printout &p : {Printout{1, 820, "list_"}, Printout{4, MaxBookRecords, "postcard_"}}) {
        if (only && std::strcmp(only, p.prefix) != 0)
            continue;
        std::vector<double> previews, pdfs;
        double rssAdded = 0;
        for (int r = 0; preview && r < runs; ++r) {
            const RunFigures f = previewOnce(bookPath, dir.filePath(u"settings.ini"_s), p.kind, p.pages);
            previews.push_back(f.preview);
            if (r == 0)
                rssAdded = f.rssAdded;   // later runs reuse the freed heap
        }
        for (int r = 0; pdf && r < runs; ++r)
            pdfs.push_back(pdfOnce(dir.filePath(u"printout.pdf"_s), p.kind));
        // The address list's figures keep their first names.
        const char *prefix = p.kind == 1 ? "" : p.prefix;
        if (preview) {
            std::printf("%spreview_ms %.1f\n", prefix, median(previews));
            std::printf("%spreview_rss_added_mb %.1f\n", prefix, rssAdded);
        }
        if (pdf)
            std::printf("%spdf_ms %.1f\n", prefix, median(pdfs));
        std::fflush(stdout);
    }
    return 0;
}

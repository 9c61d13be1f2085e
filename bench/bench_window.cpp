// Timings of the main window on a full book (32767 generated records).
//
//   yuzaribo-bench-window            every figure
//   yuzaribo-bench-window --runs 9   more runs per figure (default 5)
//
// One "name value" line per figure, times in milliseconds (the median of the
// runs), memory in megabytes:
//   open_view_ms      the open command to the book shown in the report view:
//                     file read, model filled, view laid out and painted
//   view_floor_ms     the least any program could do for that: the file's
//                     bytes read and decoded with ICU, split into lines, and
//                     a bare QTreeView with uniform rows over a trivial model
//                     of the lines, reset and painted, at the same size
//   open_view_over_floor   open_view_ms / view_floor_ms, measured in the same
//                     run, so it does not move with the machine's speed
//   icon_switch_ms    the report view to large icons, laid out and painted
//   report_switch_ms  and back
//   small_switch_ms, list_switch_ms   the report view to small icons and to
//                     the name list (each followed by a switch back)
//   rss_mb            resident memory of the program with that book open
//   delete_ms         deleting the middle entry (answered yes), list painted
//   paste_ms          copying an entry and pasting it in front of the middle one
//   move_ms           moving the first entry in front of the last (a drop)
//   search_ms         a width- and case-blind search that finds only the last
//                     entry's memo, from the top of the list
//   undo_move_ms, undo_paste_ms, undo_delete_ms   undoing the move, the paste
//                     and the delete above, in that order, list painted
//   redo_delete_ms    redoing the delete
//   sort_ms           sorting the whole book by postal code (one step)
//   undo_sort_ms      undoing that sort
//   undo_delete_over_floor, undo_sort_over_floor   those two over view_floor_ms
//   history_100_steps_kb   the heap the history holds after 100 deletes of
//                     one entry each (freed when it is cleared)
//   history_sort_kb   the heap one sort step holds
//   import_vcard_10k_preview_ms   インポート of a 10,000-card vCard file to its
//                     preview painted: read, checked, duplicates looked up
//                     among the book's entries (target under 500), also over
//                     view_floor_ms

#include "bench/bench_book.h"
#include "bench/bench_measure.h"
#include "entry/search_dialog.h"
#include "files/cp932_codec.h"
#include "files/csv_writer.h"
#include "files/file_commands.h"
#include "files/vcard_writer.h"
#include "importexport/import_preview_dialog.h"
#include "importexport/import_preview_model.h"
#include "mainwindow/address_list_view.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/file_dialog.h"
#include "mainwindow/heap_tuning.h"
#include "mainwindow/list_commands.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "model/app_state.h"
#include "model/book_document.h"
#include "model/record_keys.h"
#include "print/printer_setup.h"
#include "settings/app_settings.h"
#include "settings/settings_store.h"

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

using Clock = BenchClock;

constexpr int ImportCards = 10000;

// The heap's bytes in use, in kilobytes.
double heapInUseKb() { return double(mallinfo2().uordblks) / 1024.0; }

// Lets the view lay itself out and paints the visible part now.
void settleAndPaint(MainWindow &window)
{
    QCoreApplication::processEvents();
    QAbstractItemView *view = window.listView()->currentView();
    view->viewport()->repaint();
    QCoreApplication::processEvents();
}

// The floor's model: the decoded lines, one row each, nothing more.
class LinesModel : public QAbstractListModel {
public:
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_lines.size()); }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return m_lines.at(index.row()).toString();
    }
    void setText(QString text)
    {
        beginResetModel();
        m_text = std::move(text);
        m_lines = QStringView(m_text).split(u"\r\n", Qt::SkipEmptyParts);
        endResetModel();
    }

private:
    QString m_text;
    QList<QStringView> m_lines;
};

double viewFloorOnce(const QString &bookPath, QSize size)
{
    LinesModel model;
    QTreeView view;
    view.setUniformRowHeights(true);
    view.setRootIsDecorated(false);
    view.setModel(&model);
    view.resize(size);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        std::fprintf(stderr, "the floor's view was not shown\n");
    QCoreApplication::processEvents();

    const auto start = Clock::now();
    QFile file(bookPath);
    if (!file.open(QIODevice::ReadOnly))
        std::exit(1);
    model.setText(DecodeCp932(file.readAll()).text);
    QCoreApplication::processEvents();
    view.viewport()->repaint();
    QCoreApplication::processEvents();
    const double ms = msSince(start);
    if (model.rowCount() != MaxBookRecords + 1)
        std::fprintf(stderr, "the floor shows %d lines\n", model.rowCount());
    return ms;
}

struct RunFigures {
    double openView = 0, iconSwitch = 0, reportSwitch = 0, smallSwitch = 0, listSwitch = 0, rss = 0;
    double deleteEntry = 0, paste = 0, move = 0, search = 0;
    double undoMove = 0, undoPaste = 0, undoDelete = 0, redoDelete = 0, sort = 0, undoSort = 0;
    double history100Kb = 0, historySortKb = 0;
    double importPreview = 0;
    QSize windowSize;
};

RunFigures runOnce(const QString &bookPath, const QString &settingsPath, const QString &cardsPath)
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
        std::fprintf(stderr, "the window was not shown\n");
    settleAndPaint(window);

    FileDialogs::QueuePath(bookPath);
    auto start = Clock::now();
    window.fileCommands().FileOpen();
    settleAndPaint(window);
    f.openView = msSince(start);
    if (document.Count() != MaxBookRecords) {
        std::fprintf(stderr, "the book did not open (%d records)\n", document.Count());
        std::exit(1);
    }
    f.rss = residentMegabytes();
    f.windowSize = window.size();

    auto *combo = window.findChild<QComboBox *>(u"cmb_表示形式"_s);
    // As the user chooses in the combo.
    auto choose = [combo](int mode) {
        combo->setCurrentIndex(mode);
        Q_EMIT combo->activated(mode);
    };
    start = Clock::now();
    choose(AddressListView::LargeIcons);
    settleAndPaint(window);
    f.iconSwitch = msSince(start);

    start = Clock::now();
    choose(AddressListView::Report);
    settleAndPaint(window);
    f.reportSwitch = msSince(start);

    for (auto [mode, figure] : {std::pair{AddressListView::SmallIcons, &f.smallSwitch},
                                std::pair{AddressListView::List, &f.listSwitch}}) {
        start = Clock::now();
        choose(mode);
        settleAndPaint(window);
        *figure = msSince(start);
        choose(AddressListView::Report);
        settleAndPaint(window);
    }

    // Editing the full book.
    ListCommands &commands = window.listCommands();
    const int middle = MaxBookRecords / 2;
    window.listView()->setCurrentRow(middle);
    MessageBoxes::QueueAnswer(MsgAnswer::Yes);
    start = Clock::now();
    commands.EditCommand(2);
    settleAndPaint(window);
    f.deleteEntry = msSince(start);

    window.listView()->setCurrentRow(middle);
    start = Clock::now();
    commands.ClipboardCommand(1);
    commands.ClipboardCommand(2);
    settleAndPaint(window);
    f.paste = msSince(start);

    MessageBoxes::QueueAnswer(MsgAnswer::Yes);
    start = Clock::now();
    commands.DropEntry(0, MaxBookRecords - 1);
    settleAndPaint(window);
    f.move = msSince(start);

    // Back through the three steps, and the delete again.
    const auto undoTimed = [&window](bool back) {
        QUndoStack &history = window.document().History();
        const auto begin = Clock::now();
        back ? history.undo() : history.redo();
        settleAndPaint(window);
        return msSince(begin);
    };
    f.undoMove = undoTimed(true);
    f.undoPaste = undoTimed(true);
    f.undoDelete = undoTimed(true);
    f.redoDelete = undoTimed(false);

    QUndoStack &history = document.History();
    history.clear();
    start = Clock::now();
    commands.SortBook({SortKey::Yubin, false});
    settleAndPaint(window);
    f.sort = msSince(start);
    f.undoSort = undoTimed(true);
    undoTimed(false);
    double heapBefore = heapInUseKb();
    history.clear();
    f.historySortKb = heapBefore - heapInUseKb();

    for (int i = 0; i < 100; ++i) {
        window.listView()->setCurrentRow(middle);
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        commands.EditCommand(2);
    }
    QCoreApplication::processEvents();
    heapBefore = heapInUseKb();
    history.clear();
    f.history100Kb = heapBefore - heapInUseKb();
    if (history.count() != 0 || document.Count() != MaxBookRecords - 101) {
        std::fprintf(stderr, "the steps did not come out as expected\n");
        std::exit(1);
    }

    MessageBoxes::TakeShown();
    Cls_住所 marked = document.Record(document.Count());
    marked.PMemo = u"目印ＸＹＺ"_s;
    document.SetRecordFields(document.Count(), marked);
    SearchDialog *search = SearchDialog::Open(window, false);
    search->findChild<QComboBox *>(u"cmb_項目"_s)->setCurrentIndex(6);
    search->findChild<QComboBox *>(u"cmb_氏名"_s)->setEditText(u"xyz"_s);
    start = Clock::now();
    search->Search();
    settleAndPaint(window);
    f.search = msSince(start);
    if (window.listView()->currentRow() != document.Count() - 1 || !MessageBoxes::TakeShown().isEmpty()) {
        std::fprintf(stderr, "the search did not find the last entry\n");
        std::exit(1);
    }
    search->close();

    // Import: a file of 10,000 cards read and shown in the preview, every
    // card looked up among the book's entries for duplicates and checked.
    FileDialogs::QueuePath(cardsPath);
    start = Clock::now();
    window.findChild<QAction *>(u"mm_インポート"_s)->trigger();
    auto *preview = window.findChild<ImportPreviewDialog *>(u"F_取込確認"_s);
    if (!preview || preview->model()->rowCount() != ImportCards) {
        std::fprintf(stderr, "the import preview did not show the cards\n");
        std::exit(1);
    }
    QCoreApplication::processEvents();
    preview->repaint();
    QCoreApplication::processEvents();
    f.importPreview = msSince(start);
    preview->close();

    window.hide();
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    TuneHeapForLargeBuffers();   // as the program does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutes();

    const int runs = RunsFromArguments(argc, argv, 5);

    QTemporaryDir dir;
    const QString bookPath = dir.filePath(u"book.csv"_s);
    SaveBookToFile(bookPath, *MakeBook(MaxBookRecords, 20240601));

    MessageBoxes::SetScripted(true);
    FileDialogs::SetScripted(true);

    std::vector<double> open, floor, icon, report, small, list, deletes, pastes, moves, searches;
    std::vector<double> undoMoves, undoPastes, undoDeletes, redoDeletes, sorts, undoSorts, history100, historySort;
    std::vector<double> importPreviews;
    const QString cardsPath = dir.filePath(u"cards.vcf"_s);
    {
        QFile cards(cardsPath);
        if (!cards.open(QIODevice::WriteOnly) || cards.write(WriteVCards(*MakeBook(ImportCards, 20241210))) <= 0) {
            std::fprintf(stderr, "cannot write the cards\n");
            return 1;
        }
    }
    double rss = 0;
    QSize windowSize;
    for (int r = 0; r < runs; ++r) {
        const RunFigures f = runOnce(bookPath, dir.filePath(u"settings.ini"_s), cardsPath);
        windowSize = f.windowSize;
        open.push_back(f.openView);
        icon.push_back(f.iconSwitch);
        report.push_back(f.reportSwitch);
        small.push_back(f.smallSwitch);
        list.push_back(f.listSwitch);
        deletes.push_back(f.deleteEntry);
        pastes.push_back(f.paste);
        moves.push_back(f.move);
        searches.push_back(f.search);
        undoMoves.push_back(f.undoMove);
        undoPastes.push_back(f.undoPaste);
        undoDeletes.push_back(f.undoDelete);
        redoDeletes.push_back(f.redoDelete);
        sorts.push_back(f.sort);
        undoSorts.push_back(f.undoSort);
        history100.push_back(f.history100Kb);
        historySort.push_back(f.historySortKb);
        importPreviews.push_back(f.importPreview);
        if (r == 0)
            rss = f.rss;   // the first window alone: later runs reuse the heap
    }
    // The floor after the window's runs, so its heap does not meet theirs.
    for (int r = 0; r < runs; ++r)
        floor.push_back(viewFloorOnce(bookPath, windowSize));
    std::printf("open_view_ms %.1f\n", median(open));
    std::printf("view_floor_ms %.1f\n", median(floor));
    std::printf("open_view_over_floor %.2f\n", median(open) / median(floor));
    std::printf("icon_switch_ms %.1f\n", median(icon));
    std::printf("report_switch_ms %.1f\n", median(report));
    std::printf("rss_mb %.1f\n", rss);
    std::printf("small_switch_ms %.1f\n", median(small));
    std::printf("list_switch_ms %.1f\n", median(list));
    std::printf("delete_ms %.1f\n", median(deletes));
    std::printf("paste_ms %.1f\n", median(pastes));
    std::printf("move_ms %.1f\n", median(moves));
    std::printf("search_ms %.1f\n", median(searches));
    std::printf("undo_move_ms %.1f\n", median(undoMoves));
    std::printf("undo_paste_ms %.1f\n", median(undoPastes));
    std::printf("undo_delete_ms %.1f\n", median(undoDeletes));
    std::printf("redo_delete_ms %.1f\n", median(redoDeletes));
    std::printf("sort_ms %.1f\n", median(sorts));
    std::printf("undo_sort_ms %.1f\n", median(undoSorts));
    std::printf("undo_delete_over_floor %.3f\n", median(undoDeletes) / median(floor));
    std::printf("undo_sort_over_floor %.3f\n", median(undoSorts) / median(floor));
    std::printf("history_100_steps_kb %.1f\n", median(history100));
    std::printf("history_sort_kb %.1f\n", median(historySort));
    std::printf("import_vcard_10k_preview_ms %.1f\n", median(importPreviews));
    std::printf("import_vcard_10k_preview_over_floor %.2f\n", median(importPreviews) / median(floor));
    return 0;
}

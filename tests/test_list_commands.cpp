#include "window_fixture.h"

#include "entry/entry_dialog.h"
#include "entry/search_dialog.h"
#include "mainwindow/list_commands.h"
#include "mainwindow/url_opener.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>
#include <QTreeView>
#include <QAbstractItemModelTester>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestListCommands : public QObject {
    Q_OBJECT

    WindowFixture f;
    MainWindow &window() { return *f.window; }
    AppState &state() { return *f.state; }
    BookDocument &document() { return *f.document; }
    ListCommands &commands() { return f.window->listCommands(); }

    EntryDialog *entryDialog() { return window().findChild<EntryDialog *>(); }

    // The window shown with the first name open for renaming in the report.
    QLineEdit *renameFirst()
    {
        window().show();
        if (!QTest::qWaitForWindowExposed(&window()))
            return nullptr;
        QTreeView *view = window().listView()->reportView();
        const QModelIndex first = window().listModel()->index(0, 0);
        view->setCurrentIndex(first);
        view->edit(first);
        return qobject_cast<QLineEdit *>(view->indexWidget(first));
    }

private Q_SLOTS:
    void init()
    {
        MessageBoxes::SetScripted(true);
        FileDialogs::SetScripted(true);
        UrlOpener::SetScripted(true);
        QGuiApplication::clipboard()->clear();
    }

    void cleanup()
    {
        f.closeDialogs();
        f.window.reset();
        QCOMPARE(MessageBoxes::PendingAnswers(), 0);
        QCOMPARE(FileDialogs::PendingPaths(), 0);
        MessageBoxes::TakeShown();
        UrlOpener::TakeOpened();
    }

    void deleteSelectsTheFollowingEntry_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<int>("selectedAfter");
        QTest::newRow("third of five") << 5 << 2 << QStringList{u"名前1"_s, u"名前2"_s, u"名前4"_s, u"名前5"_s} << 2;
        QTest::newRow("last of three") << 3 << 2 << QStringList{u"名前1"_s, u"名前2"_s} << 1;
    }

    void deleteSelectsTheFollowingEntry()
    {
        QFETCH(int, count);
        QFETCH(int, row);
        QFETCH(QStringList, left);
        QFETCH(int, selectedAfter);
        f.startWithBook(count);
        f.select(row);
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        commands().EditCommand(2);

        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, u"該当の項目を削除しますか？"_s);
        QCOMPARE(shown[0].icon, MsgIcon::Question);
        QCOMPARE(shown[0].buttons, MsgButtons::YesNo);
        QCOMPARE(shown[0].defaultButton, MsgAnswer::Yes);
        QCOMPARE(f.names(), left);
        QCOMPARE(f.selectedRow(), selectedAfter);
        QVERIFY(f.markedRows().contains(selectedAfter));
        QCOMPARE(window().countText(), u"%1件"_s.arg(count - 1));
        QVERIFY(document().BookChanged());
    }

    void deletingTheOnlyEntryForgetsTheFile()
    {
        f.startWithBook(1);
        f.select(0);
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        commands().EditCommand(2);
        QCOMPARE(document().OpenBook().Count(), 0);
        QCOMPARE(window().countText(), u"0件"_s);
        QCOMPARE(window().statusText(), u"ファイル名は「無題 」"_s);
        QVERIFY(document().BookFileName().isEmpty());
        QVERIFY(!document().BookChanged());
        for (const QString &name : {u"cmd_File(2)"_s, u"cmd_修正(0)"_s, u"cmd_修正(2)"_s, u"mm_Copy(1)"_s})
            QVERIFY2(!f.enabled(name), qPrintable(name));
        MessageBoxes::TakeShown();
        FileDialogs::TakeShown();
        // With no name left, saving asks for one.
        FileDialogs::QueuePath(QString());
        window().fileCommands().FileSaveAs();
        QCOMPARE(FileDialogs::TakeShown().size(), 1);
    }

    // The record commands have an entry to work on as soon as a book is open.
    void openingSelectsTheMarkedEntry()
    {
        f.startWithBook(3);
        QCOMPARE(f.selectedRow(), 0);
        QCOMPARE(f.markedRows(), QList<int>{0});
    }

    void deleteAskedAndRefusedOrNothingToDelete()
    {
        f.start();
        commands().EditCommand(2);
        QVERIFY(MessageBoxes::TakeShown().isEmpty());   // not even the question

        f.startWithBook(2);
        f.select(0);
        MessageBoxes::QueueAnswer(MsgAnswer::No);
        commands().EditCommand(2);
        QCOMPARE(f.names().size(), 2);
        QVERIFY(!document().BookChanged());

        // Nothing selected: said at once, not after the question.
        MessageBoxes::TakeShown();
        f.select(-1);
        commands().EditCommand(2);
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, MsgIcon::Critical);
        QCOMPARE(f.names().size(), 2);
    }

    void cutOfTheLastEntryLeavesAnEmptyChangedBook()
    {
        f.startWithBook(1);
        f.select(0);
        commands().ClipboardCommand(0);
        QCOMPARE(document().OpenBook().Count(), 0);
        QCOMPARE(window().listModel()->rowCount(), 0);
        QVERIFY(document().BookChanged());
        QVERIFY(f.enabled(u"mm_Copy(2)"_s));
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 u"名前1,tel 名前1,mail 名前1,100-0001,ju1 名前1,ju2 名前1,memo 名前1"_s);
        // Closing asks whether to save.
        MessageBoxes::QueueAnswer(MsgAnswer::Cancel);
        QVERIFY(!window().close());
        QCOMPARE(MessageBoxes::TakeShown().size(), 1);
    }

    void copyThenPasteInFrontOfTheSelection()
    {
        f.startWithBook(3);
        f.select(0);
        commands().ClipboardCommand(1);
        QVERIFY(f.enabled(u"mm_Copy(2)"_s));
        QVERIFY(!document().BookChanged());
        const qint32 counter = document().KeyCounter();

        f.select(1);
        commands().ClipboardCommand(2);
        QCOMPARE(f.names(), (QStringList{u"名前1"_s, u"名前1"_s, u"名前2"_s, u"名前3"_s}));
        QCOMPARE(document().OpenBook().Item(2).PSkey, u"s%1"_s.arg(counter + 1));
        QCOMPARE(document().OpenBook().Item(2).PMemo, u"memo 名前1"_s);
        QCOMPARE(f.selectedRow(), 1);
        QCOMPARE(f.markedRows(), QList<int>{1});
        QCOMPARE(document().MarkedIndex(), 2);
        QVERIFY(!f.enabled(u"mm_Copy(2)"_s));   // one copy, one paste
        QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
        QCOMPARE(window().countText(), u"4件"_s);
        QVERIFY(document().BookChanged());
    }

    void pasteIntoAnEmptyBookAppends()
    {
        f.start();
        QGuiApplication::clipboard()->setText(u"山田,03,m,100-0001,東京,千代田,メモ"_s);
        commands().ClipboardCommand(2);
        QCOMPARE(f.names(), QStringList{u"山田"_s});
        QCOMPARE(document().MarkedIndex(), 1);
        QCOMPARE(f.markedRows(), QList<int>{0});
        QCOMPARE(window().countText(), u"1件"_s);
        QVERIFY(f.enabled(u"cmd_修正(0)"_s));
    }

    // Entries read from quoted files may hold commas and line breaks; a cut
    // and paste must give back the same entry.
    // The skip a cut leaves for the next pick belongs to its book: after
    // another book is opened or started, a pick moves the one marker.
    void aCutDoesNotReachIntoTheNextBook_data()
    {
        QTest::addColumn<bool>("open");
        QTest::newRow("open") << true;
        QTest::newRow("new") << false;
    }

    void aCutDoesNotReachIntoTheNextBook()
    {
        QFETCH(bool, open);
        f.startWithBook(4);
        f.select(1);
        commands().ClipboardCommand(0);
        MessageBoxes::QueueAnswer(MsgAnswer::No);   // the cut book is not saved
        if (open) {
            FileDialogs::QueuePath(f.writeBook(u"other.csv"_s, {u"甲"_s, u"乙"_s, u"丙"_s}));
            window().fileCommands().FileOpen();
            QCOMPARE(f.markedRows(), QList<int>{0});
        } else {
            window().fileCommands().FileNew();
            for (const QString &name : {u"甲"_s, u"乙"_s, u"丙"_s})
                document().AddRecord([&] { Cls_住所 r; r.PName = name; return r; }(), -1, document().NextRecordKey());
            document().MarkItem(1, false);
        }
        f.pick(2);
        QCOMPARE(f.markedRows(), QList<int>{2});
        QCOMPARE(document().MarkedIndex(), 3);
    }

    // The entry picked last may lie beyond the end of the next book; the
    // first entry is then picked, so the enabled commands have one to act on.
    void aLoadPicksAnEntryTheCommandsCanUse()
    {
        f.startWithBook(20);
        f.pick(14);
        QCOMPARE(document().MarkedIndex(), 15);
        FileDialogs::QueuePath(f.writeBook(u"short.csv"_s, {u"甲"_s, u"乙"_s, u"丙"_s}));
        window().fileCommands().FileOpen();
        QVERIFY(f.enabled(u"cmd_修正(2)"_s));
        QCOMPARE(f.selectedRow(), 0);
        QCOMPARE(f.markedRows(), QList<int>{0});
        QCOMPARE(document().MarkedIndex(), 1);
        MessageBoxes::QueueAnswer(MsgAnswer::No);
        commands().EditCommand(2);
        QCOMPARE(f.shownTexts(), QStringList{u"該当の項目を削除しますか？"_s});
    }

    // Every editing command keeps the list model sound for Qt's views.
    void modelStaysSoundThroughTheEdits()
    {
        f.startWithBook(5);
        QAbstractItemModelTester tester(window().listModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        f.select(1);
        commands().ClipboardCommand(0);   // cut
        f.select(2);
        commands().ClipboardCommand(2);   // paste
        f.select(0);
        commands().ClipboardCommand(1);   // copy
        commands().ClipboardCommand(2);   // paste in front of the first
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        f.select(3);
        commands().EditCommand(2);        // delete
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        commands().DropEntry(0, 3);       // move
        QCOMPARE(window().listModel()->rowCount(), 5);
        QCOMPARE(f.shownTexts().size(), 2);
        // The last entry goes too: an empty book.
        for (int i = 0; i < 5; ++i) {
            MessageBoxes::QueueAnswer(MsgAnswer::Yes);
            f.select(0);
            commands().EditCommand(2);
        }
        QCOMPARE(window().listModel()->rowCount(), 0);
        MessageBoxes::TakeShown();
    }

    void cutAndPasteKeepsValuesWithCommasAndLineBreaks()
    {
        f.start();
        document().AddRecord([] {
            Cls_住所 r;
            r.PName = u"山田, 太郎"_s;
            r.PJu1 = u"東京都\r\n千代田区"_s;
            r.PMemo = u" 先頭に空白"_s;
            return r;
        }(), -1, document().NextRecordKey());
        f.select(0);
        const Cls_住所 before = document().OpenBook().Item(1);

        commands().ClipboardCommand(0);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"\"山田, 太郎\",,,,\"東京都\r\n千代田区\",,\" 先頭に空白\""_s);
        commands().ClipboardCommand(2);
        QCOMPARE(document().OpenBook().Count(), 1);
        QVERIFY(document().OpenBook().Item(1).sameFields(before));
    }

    void pasteRefusesWhatTheFileCannotStore()
    {
        f.startWithBook(1);
        f.select(0);
        QGuiApplication::clipboard()->setText(u"😀,03"_s);
        commands().ClipboardCommand(2);
        const QStringList shown = f.shownTexts();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].contains(u"Shift_JIS"_s), qPrintable(shown[0]));
        QCOMPARE(f.names(), QStringList{u"名前1"_s});
        QVERIFY(!document().BookChanged());
    }

    void dropMovesInFrontOfTheTarget()
    {
        f.startWithBook(3);
        const QString movedKey = document().OpenBook().Item(1).PSkey;
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        commands().DropEntry(0, 2);
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, u"こちらへ移動しますか？"_s);
        QCOMPARE(shown[0].defaultButton, MsgAnswer::Yes);
        QCOMPARE(f.names(), (QStringList{u"名前2"_s, u"名前1"_s, u"名前3"_s}));
        QVERIFY(document().OpenBook().Item(2).PSkey != movedKey);
        QVERIFY(!document().OpenBook().Contains(movedKey));
        QCOMPARE(document().OpenBook().Item(2).PMemo, u"memo 名前1"_s);
        QCOMPARE(f.selectedRow(), 1);
        QCOMPARE(f.markedRows(), QList<int>{1});
        QVERIFY(document().BookChanged());
        QCOMPARE(window().listView()->dropHighlightRow(), -1);
        QVERIFY(!window().listView()->isDragging());
    }

    void dropMovingDownwards()
    {
        f.startWithBook(4);
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        commands().DropEntry(3, 0);
        QCOMPARE(f.names(), (QStringList{u"名前4"_s, u"名前1"_s, u"名前2"_s, u"名前3"_s}));
        QCOMPARE(f.selectedRow(), 0);
        MessageBoxes::TakeShown();
    }

    // A move never changes the count, so a full book can still be reordered.
    void moveInAFullBook()
    {
        f.start();
        f.fillBook(MaxBookRecords);
        const Cls_管理 &book = document().OpenBook();
        window().listCommands().MoveItem(MaxBookRecords - 1, 0);
        QVERIFY(f.shownTexts().isEmpty());
        QCOMPARE(book.Count(), MaxBookRecords);
        QCOMPARE(book.Item(1).PName, u"名前%1"_s.arg(MaxBookRecords));
        QCOMPARE(book.Item(2).PName, u"名前1"_s);
        QCOMPARE(window().listModel()->rowCount(), MaxBookRecords);
    }

    void dropThatMovesNothing()
    {
        f.startWithNames({u"山田"_s, u"田中"_s, u"山田"_s});
        commands().DropEntry(0, 2);   // same name: no question
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
        commands().DropEntry(0, -1);  // dropped beside the entries
        QVERIFY(MessageBoxes::TakeShown().isEmpty());

        MessageBoxes::QueueAnswer(MsgAnswer::No);
        commands().DropEntry(0, 1);
        QCOMPARE(MessageBoxes::TakeShown().size(), 1);
        QCOMPARE(f.names(), (QStringList{u"山田"_s, u"田中"_s, u"山田"_s}));
        QCOMPARE(f.selectedRow(), 0);   // the dragged entry again
        QVERIFY(!document().BookChanged());
    }

    void dragStartsOnlyWithTwoOrMoreEntries_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("starts");
        QTest::newRow("one entry") << 1 << false;
        QTest::newRow("two entries") << 2 << true;
    }

    void dragStartsOnlyWithTwoOrMoreEntries()
    {
        QFETCH(int, count);
        QFETCH(bool, starts);
        f.startWithBook(count);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QTreeView *view = window().listView()->reportView();
        QSignalSpy started(window().listView(), &AddressListView::dragStarted);
        const QPoint at = view->visualRect(window().listModel()->index(0, 0)).center();
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
        QMouseEvent move(QEvent::MouseMove, at + QPoint(0, 30), view->viewport()->mapToGlobal(at + QPoint(0, 30)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &move);
        QCOMPARE(started.size(), starts ? 1 : 0);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    }

    // Every view mode takes drops: the icon modes' list view switches them
    // off whenever its layout is set.
    void everyViewTakesDrops()
    {
        f.startWithBook(2);
        AddressListView *list = window().listView();
        for (int mode : {AddressListView::LargeIcons, AddressListView::SmallIcons, AddressListView::List,
                         AddressListView::Report}) {
            list->setViewMode(mode);
            QVERIFY2(list->currentView()->viewport()->acceptDrops(), qPrintable(QString::number(mode)));
        }
    }

    // Resting on the top visible entry scrolls up by one; on the bottom one, down.
    void dragOverScrollsAtTheEdges()
    {
        f.startWithBook(200);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        AddressListView *list = window().listView();
        QTreeView *view = list->reportView();
        view->scrollTo(window().listModel()->index(100, 0), QAbstractItemView::PositionAtTop);
        const int top = view->indexAt(QPoint(1, 1)).row();
        QVERIFY(top > 0);

        QVERIFY(list->dragOverAt(QPoint(5, view->visualRect(window().listModel()->index(top, 0)).center().y())));
        QCOMPARE(list->dropHighlightRow(), top);
        QCOMPARE(view->indexAt(QPoint(1, 1)).row(), top - 1);

        // The last row wholly in view: resting there brings the next one wholly in.
        const int height = view->viewport()->height();
        int bottom = view->indexAt(QPoint(1, height - 2)).row();
        if (view->visualRect(window().listModel()->index(bottom, 0)).bottom() >= height)
            --bottom;
        auto wholeInView = [&](int row) {
            return view->visualRect(window().listModel()->index(row, 0)).bottom() < height;
        };
        QVERIFY(!wholeInView(bottom + 1));
        QVERIFY(list->dragOverAt(QPoint(5, view->visualRect(window().listModel()->index(bottom, 0)).center().y())));
        QVERIFY(wholeInView(bottom + 1));


        // Below the last entry there is nothing to drop on.
        f.startWithBook(3);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QTreeView *small = window().listView()->reportView();
        QVERIFY(!window().listView()->dragOverAt(QPoint(5, small->viewport()->height() - 5)));
        QCOMPARE(window().listView()->dropHighlightRow(), -1);
    }

    void keyMap_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Enter changes") << 2 << int(Qt::Key_Return) << u"entry 1"_s;
        QTest::newRow("F6 changes") << 2 << int(Qt::Key_F6) << u"entry 1"_s;
        QTest::newRow("F7 adds") << 2 << int(Qt::Key_F7) << u"entry 2"_s;
        QTest::newRow("F7 adds to an empty book") << 0 << int(Qt::Key_F7) << u"entry 2"_s;
        QTest::newRow("Delete asks") << 2 << int(Qt::Key_Delete) << u"question"_s;
        QTest::newRow("F8 asks") << 2 << int(Qt::Key_F8) << u"question"_s;
        QTest::newRow("F9 searches") << 2 << int(Qt::Key_F9) << u"search"_s;
        QTest::newRow("F10 mails") << 2 << int(Qt::Key_F10) << u"mail"_s;
        QTest::newRow("F3 with Save disabled") << 2 << int(Qt::Key_F3) << u"nothing"_s;
        QTest::newRow("F1 starts a new book") << 2 << int(Qt::Key_F1) << u"new"_s;
        QTest::newRow("F2 opens") << 2 << int(Qt::Key_F2) << u"file dialog"_s;
        QTest::newRow("F4 saves under a name") << 2 << int(Qt::Key_F4) << u"file dialog"_s;
        QTest::newRow("F4 with nothing to save") << 0 << int(Qt::Key_F4) << u"nothing"_s;
        QTest::newRow("F8 on an empty list") << 0 << int(Qt::Key_F8) << u"nothing"_s;
        QTest::newRow("Enter on an empty list") << 0 << int(Qt::Key_Return) << u"nothing"_s;
        QTest::newRow("Delete on an empty list") << 0 << int(Qt::Key_Delete) << u"nothing"_s;
        QTest::newRow("F6 on an empty list") << 0 << int(Qt::Key_F6) << u"nothing"_s;
        QTest::newRow("F9 on an empty list") << 0 << int(Qt::Key_F9) << u"nothing"_s;
        QTest::newRow("F10 on an empty list") << 0 << int(Qt::Key_F10) << u"nothing"_s;
    }

    void keyMap()
    {
        QFETCH(int, count);
        QFETCH(int, key);
        QFETCH(QString, expected);
        if (count > 0)
            f.startWithBook(count);
        else
            f.start();
        f.select(0);
        if (expected == u"question"_s)
            MessageBoxes::QueueAnswer(MsgAnswer::No);
        FileDialogs::TakeShown();
        if (expected == u"file dialog"_s)
            FileDialogs::QueuePath(QString());   // cancelled

        QTest::keyClick(window().listView()->reportView(), Qt::Key(key));

        EntryDialog *dialog = entryDialog();
        QCOMPARE(dialog ? u"entry %1"_s.arg(dialog->mode()) : QString(),
                 expected.startsWith(u"entry"_s) ? expected : QString());
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), expected == u"question"_s ? 1 : 0);
        QCOMPARE(window().findChild<SearchDialog *>() != nullptr, expected == u"search"_s);
        QCOMPARE(UrlOpener::TakeOpened().size(), expected == u"mail"_s ? 1 : 0);
        QCOMPARE(FileDialogs::TakeShown().size(), expected == u"file dialog"_s ? 1 : 0);
        QCOMPARE(document().OpenBook().Count(), expected == u"new"_s ? 0 : count);
    }

    void keysFromOtherControlsAreNotTheList()
    {
        f.startWithBook(2);
        f.select(0);
        QTest::keyClick(f.named<QWidget>(u"cmb_表示形式"_s), Qt::Key_F7);
        QVERIFY(!entryDialog());
    }

    void doubleClickOpensTheChange()
    {
        f.startWithBook(2);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QTreeView *view = window().listView()->reportView();
        const QPoint at = view->visualRect(window().listModel()->index(1, 0)).center();
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        QTRY_VERIFY(entryDialog());
        QCOMPARE(entryDialog()->mode(), 1);
        QCOMPARE(entryDialog()->field(0)->text(), u"名前2"_s);
    }

    void rightButtonShowsTheEditMenu()
    {
        f.startWithBook(2);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QTreeView *view = window().listView()->reportView();
        QTest::mousePress(view->viewport(), Qt::RightButton, {}, QPoint(20, 5));
        auto *menu = f.named<QMenu>(u"mm_編集"_s);
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
    }

    void mailAddressIsThePathUnchanged_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("plain") << u"taro@example.jp"_s;
        QTest::newRow("blanks and non-ASCII") << u"山田 太郎 <taro@example.jp>"_s;
        QTest::newRow("query-like text") << u"a@b.jp?attach=/home/user/.ssh/id_rsa&body=x"_s;
        QTest::newRow("command-like text") << u"a@b & del *"_s;
    }

    void mailAddressIsThePathUnchanged()
    {
        QFETCH(QString, address);
        f.startWithBook(1);
        document().OpenBook().Item(1).PMail = address;
        f.select(0);
        commands().SendMail();
        const QList<QUrl> opened = UrlOpener::TakeOpened();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0].scheme(), u"mailto"_s);
        QCOMPARE(opened[0].path(QUrl::FullyDecoded), address);
        QVERIFY(!opened[0].hasQuery());
        QVERIFY(!opened[0].hasFragment());
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }

    void mailWithoutAddressOrWhenNothingOpens()
    {
        f.startWithBook(1);
        document().OpenBook().Item(1).PMail.clear();
        f.select(0);
        commands().SendMail();
        QVERIFY(UrlOpener::TakeOpened().isEmpty());
        QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, u"該当の方のメールアドレスは入力されていません。"_s);
        QCOMPARE(shown[0].icon, MsgIcon::Information);

        document().OpenBook().Item(1).PMail = u"a@example.jp"_s;
        UrlOpener::SetNextResult(false);
        commands().SendMail();
        shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, MsgIcon::Critical);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        UrlOpener::TakeOpened();

        // No link can be made of this; nothing is handed on, and the user is told.
        document().OpenBook().Item(1).PMail = u"//a@example.jp"_s;
        commands().SendMail();
        QVERIFY(UrlOpener::TakeOpened().isEmpty());
        QCOMPARE(MessageBoxes::TakeShown().size(), 1);
    }

    // A rename the file could not carry is refused; the editor stays open.
    void renameRefusesCommasAndKeepsTheEditor()
    {
        f.startWithBook(2);
        QLineEdit *editor = renameFirst();
        QVERIFY(editor);
        QTreeView *view = window().listView()->reportView();
        const QModelIndex first = window().listModel()->index(0, 0);
        editor->setText(u"山田,太郎"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        const QStringList shown = f.shownTexts();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].contains(u"カンマ"_s), qPrintable(shown[0]));
        QCOMPARE(view->indexWidget(first), editor);
        QCOMPARE(document().OpenBook().Item(1).PName, u"名前1"_s);

        // Tab, a click elsewhere in the list, and a command that needs the
        // book: each is refused in the same way.
        QTest::keyClick(editor, Qt::Key_Tab);
        QCoreApplication::processEvents();
        QCOMPARE(f.shownTexts().size(), 1);
        QCOMPARE(view->indexWidget(first), editor);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(window().listModel()->index(1, 0)).center());
        QCOMPARE(f.shownTexts().size(), 1);
        QCOMPARE(view->indexWidget(first), editor);
        QCoreApplication::processEvents();
        window().fileCommands().FileSave();
        QCOMPARE(f.shownTexts().size(), 1);
        QCOMPARE(view->indexWidget(first), editor);
        QCoreApplication::processEvents();
        // Another view would hide the editor with the keyboard in it.
        window().chooseViewFromCombo(AddressListView::LargeIcons);
        QCOMPARE(f.shownTexts().size(), 1);
        QCOMPARE(window().listView()->viewMode(), int(AddressListView::Report));
        QCOMPARE(f.named<QComboBox>(u"cmb_表示形式"_s)->currentIndex(), int(AddressListView::Report));
        QCOMPARE(view->indexWidget(first), editor);
        QCOMPARE(document().OpenBook().Item(1).PName, u"名前1"_s);

        editor->setText(u"山田、太郎"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(document().OpenBook().Item(1).PName, u"山田、太郎"_s);
        QVERIFY(f.shownTexts().isEmpty());
        // The Enter that ends a rename is the editor's, not the list's change command.
        QVERIFY(!window().findChild<EntryDialog *>());
    }

    // A name the entry already has passes, comma or not: it came from the file.
    void renameKeepsAStoredCommaName()
    {
        f.startWithBook(1);
        document().OpenBook().Item(1).PName = u"山田, 太郎"_s;
        QLineEdit *editor = renameFirst();
        QVERIFY(editor);
        QTreeView *view = window().listView()->reportView();
        const QModelIndex first = window().listModel()->index(0, 0);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!view->indexWidget(first));
        QVERIFY(f.shownTexts().isEmpty());
        QCOMPARE(document().OpenBook().Item(1).PName, u"山田, 太郎"_s);
    }
};

QTEST_MAIN(TestListCommands)
#include "test_list_commands.moc"

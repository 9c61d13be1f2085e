#include "window_fixture.h"

#include "entry/entry_dialog.h"
#include "entry/picture_button.h"
#include "entry/sort_dialog.h"
#include "mainwindow/history_commands.h"
#include "mainwindow/list_commands.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QClipboard>
#include <QMenu>
#include <QRadioButton>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

// Undo and redo of the main window's commands, and sorting the book.
class TestHistory : public QObject {
    Q_OBJECT

    WindowFixture f;
    MainWindow &window() { return *f.window; }
    BookDocument &document() { return *f.document; }
    ListCommands &commands() { return f.window->listCommands(); }
    QAction *action(const QString &name) { return f.named<QAction>(name); }

    // What a step must give back: the entries with their keys, the selected
    // row, the rows with the marker, the unsaved-changes flag and the file.
    struct Seen {
        QStringList entries;
        int selected;
        QList<int> marked;
        bool changed;
        QString fileName;
        bool operator==(const Seen &) const = default;
    };

    Seen seen()
    {
        QStringList entries;
        for (const auto &record : document().OpenBook())
            entries << record->PName + u'/' + record->PSkey;
        return {entries, f.selectedRow(), f.markedRows(), document().BookChanged(), document().BookFileName()};
    }

    static QString describe(const Seen &s)
    {
        QStringList marked;
        for (int row : s.marked)
            marked << QString::number(row);
        return u"[%1] selected %2 marked {%3} %4 %5"_s.arg(s.entries.join(u", "_s))
            .arg(s.selected)
            .arg(marked.join(u',')).arg(s.changed ? u"changed"_s : u"unchanged"_s, s.fileName);
    }

    // The selection a command starts from; it is not part of the step.
    void prepare(const QString &command)
    {
        if (command == u"add" || command == u"delete" || command == u"cut" || command == u"sort")
            f.pick(1);
        else if (command == u"change" || command == u"paste")
            f.pick(2);
    }

    void run(const QString &command)
    {
        if (command == u"add") {
            commands().EditCommand(1);
            auto *dialog = window().findChild<EntryDialog *>();
            QVERIFY(dialog);
            dialog->findChild<QCheckBox *>(u"Chk1"_s)->setChecked(false);   // in front of the selection
            dialog->field(0)->setText(u"追加した人"_s);
            dialog->Commit();
            f.closeDialogs();
        } else if (command == u"change") {
            commands().EditCommand(0);
            auto *dialog = window().findChild<EntryDialog *>();
            QVERIFY(dialog);
            dialog->field(0)->setText(u"変えた人"_s);
            dialog->Commit();
        } else if (command == u"rename") {
            window().listModel()->setData(window().listModel()->index(0, 0), u"新しい名前"_s);
        } else if (command == u"delete") {
            MessageBoxes::QueueAnswer(MsgAnswer::Yes);
            commands().EditCommand(2);
        } else if (command == u"cut") {
            commands().ClipboardCommand(0);
        } else if (command == u"paste") {
            QGuiApplication::clipboard()->setText(u"名前1,tel,mail,100-0001,ju1,ju2,memo"_s);
            commands().ClipboardCommand(2);
        } else if (command == u"move") {
            MessageBoxes::QueueAnswer(MsgAnswer::Yes);
            commands().DropEntry(0, 2);
        } else if (command == u"sort") {
            commands().SortBook({SortKey::Name, true});
        }
    }

private Q_SLOTS:
    void init()
    {
        MessageBoxes::SetScripted(true);
        FileDialogs::SetScripted(true);
        QGuiApplication::clipboard()->clear();
    }

    void cleanup()
    {
        f.closeDialogs();
        f.window.reset();
        QCOMPARE(MessageBoxes::PendingAnswers(), 0);
        QCOMPARE(FileDialogs::PendingPaths(), 0);
        MessageBoxes::TakeShown();
        FileDialogs::TakeShown();
    }

    void everyCommandIsOneStep_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("add") << u"add"_s << u"追加"_s
                             << QStringList{u"名前1/s1"_s, u"追加した人/s6"_s, u"名前2/s2"_s, u"名前3/s3"_s, u"名前4/s4"_s};
        QTest::newRow("change") << u"change"_s << u"修正"_s
                                << QStringList{u"名前1/s1"_s, u"名前2/s2"_s, u"変えた人/s3"_s, u"名前4/s4"_s};
        QTest::newRow("rename") << u"rename"_s << u"氏名の変更"_s
                                << QStringList{u"新しい名前/s1"_s, u"名前2/s2"_s, u"名前3/s3"_s, u"名前4/s4"_s};
        QTest::newRow("delete") << u"delete"_s << u"削除"_s
                                << QStringList{u"名前1/s1"_s, u"名前3/s3"_s, u"名前4/s4"_s};
        QTest::newRow("cut") << u"cut"_s << u"切り取り"_s << QStringList{u"名前1/s1"_s, u"名前3/s3"_s, u"名前4/s4"_s};
        QTest::newRow("paste") << u"paste"_s << u"貼り付け"_s
                               << QStringList{u"名前1/s1"_s, u"名前2/s2"_s, u"名前1/s6"_s, u"名前3/s3"_s, u"名前4/s4"_s};
        QTest::newRow("move") << u"move"_s << u"移動"_s
                              << QStringList{u"名前2/s2"_s, u"名前1/s6"_s, u"名前3/s3"_s, u"名前4/s4"_s};
        QTest::newRow("sort") << u"sort"_s << u"並べ替え"_s
                              << QStringList{u"名前4/s4"_s, u"名前3/s3"_s, u"名前2/s2"_s, u"名前1/s1"_s};
    }

    void everyCommandIsOneStep()
    {
        QFETCH(QString, command);
        QFETCH(QString, name);
        QFETCH(QStringList, after);
        f.startWithBook(4);
        f.pick(3);
        prepare(command);
        const Seen before = seen();
        run(command);
        const Seen done = seen();
        QCOMPARE(done.entries, after);
        QVERIFY(done.changed);
        QCOMPARE(action(u"mm_元に戻す"_s)->text(), u"元に戻す（%1）(&U)"_s.arg(name));
        QVERIFY(action(u"mm_元に戻す"_s)->isEnabled());
        QVERIFY(!action(u"mm_やり直し"_s)->isEnabled());

        action(u"mm_元に戻す"_s)->trigger();
        QVERIFY2(seen() == before, qPrintable(describe(seen()) + u" instead of "_s + describe(before)));
        QCOMPARE(action(u"mm_やり直し"_s)->text(), u"やり直し（%1）(&R)"_s.arg(name));
        QVERIFY(!action(u"mm_元に戻す"_s)->isEnabled());
        QVERIFY(!f.enabled(u"cmd_File(2)"_s));

        action(u"mm_やり直し"_s)->trigger();
        QVERIFY2(seen() == done, qPrintable(describe(seen()) + u" instead of "_s + describe(done)));
        QVERIFY(f.enabled(u"cmd_File(2)"_s));
        QCOMPARE(window().countText(), u"%1件"_s.arg(after.size()));
        MessageBoxes::TakeShown();
    }

    // Two changes, a save between them: the saved state is unchanged from
    // either side, and the file name and Save follow.
    void saveInTheMiddleIsTheCleanPoint()
    {
        f.startWithBook(3);
        prepare(u"delete"_s);
        run(u"delete"_s);
        window().fileCommands().FileSave();
        QVERIFY(!document().BookChanged());
        run(u"rename"_s);
        QVERIFY(f.enabled(u"mm_保存"_s));
        action(u"mm_元に戻す"_s)->trigger();
        QVERIFY(!document().BookChanged());
        QVERIFY(!f.enabled(u"mm_保存"_s));
        action(u"mm_元に戻す"_s)->trigger();
        QVERIFY(document().BookChanged());
        QCOMPARE(document().Count(), 3);
        action(u"mm_やり直し"_s)->trigger();
        QVERIFY(!document().BookChanged());
        QCOMPARE(document().Count(), 2);
        MessageBoxes::TakeShown();
    }

    // Deleting the only entry forgets the file; undoing it brings the
    // entry, the file name and the status text back.
    void undoingTheLastDeleteBringsTheFileBack()
    {
        f.startWithBook(1);
        const QString file = document().BookFileName();
        f.pick(0);
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        commands().EditCommand(2);
        QCOMPARE(window().statusText(), u"ファイル名は「無題 」"_s);
        action(u"mm_元に戻す"_s)->trigger();
        QCOMPARE(document().BookFileName(), file);
        QCOMPARE(window().statusText(), file);
        QCOMPARE(f.names(), QStringList{u"名前1"_s});
        QVERIFY(!document().BookChanged());
        QCOMPARE(f.selectedRow(), 0);
        action(u"mm_やり直し"_s)->trigger();
        QCOMPARE(window().statusText(), u"ファイル名は「無題 」"_s);
        QCOMPARE(document().Count(), 0);
        MessageBoxes::TakeShown();
    }

    void continuousEntryIsOneStepPerEntry()
    {
        f.startWithBook(1);
        f.select(0);
        commands().EditCommand(1);
        auto *dialog = window().findChild<EntryDialog *>();
        for (const QString &name : {u"一"_s, u"二"_s}) {
            dialog->field(0)->setText(name);
            dialog->Commit();
        }
        f.closeDialogs();
        action(u"mm_元に戻す"_s)->trigger();
        QCOMPARE(f.names(), (QStringList{u"名前1"_s, u"一"_s}));
    }

    void newAndOpenStartANewHistory_data()
    {
        QTest::addColumn<bool>("open");
        QTest::newRow("new") << false;
        QTest::newRow("open") << true;
    }

    void newAndOpenStartANewHistory()
    {
        QFETCH(bool, open);
        f.startWithBook(3);
        run(u"rename"_s);
        MessageBoxes::QueueAnswer(MsgAnswer::No);   // do not save the rename
        if (open) {
            FileDialogs::QueuePath(f.writeBook(u"other.csv"_s, {u"他"_s}));
            window().fileCommands().FileOpen();
        } else {
            window().fileCommands().FileNew();
        }
        QVERIFY(!action(u"mm_元に戻す"_s)->isEnabled());
        QCOMPARE(action(u"mm_元に戻す"_s)->text(), u"元に戻す(&U)"_s);
        QVERIFY(!document().History().canUndo());
        MessageBoxes::TakeShown();
    }

    // The undo commands sit in the edit menu, which is also the list's
    // pop-up menu, with the keys users know.
    void keysAndMenus()
    {
        f.start();
        auto *edit = f.named<QMenu>(u"mm_編集"_s);
        QVERIFY(edit->actions().contains(action(u"mm_元に戻す"_s)));
        QVERIFY(edit->actions().contains(action(u"mm_やり直し"_s)));
        QCOMPARE(action(u"mm_元に戻す"_s)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(action(u"mm_やり直し"_s)->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
        QVERIFY(!action(u"mm_元に戻す"_s)->isEnabled());
        QVERIFY(!action(u"mm_やり直し"_s)->isEnabled());
        // Nothing to sort in an empty book.
        QVERIFY(!action(u"mm_並べ替え"_s)->isEnabled());
    }

    void theSortDialogSortsOrLeavesAlone_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("sort by code") << u"cmd_Go"_s << QStringList{u"b"_s, u"c"_s, u"a"_s};
        QTest::newRow("close") << u"cmd_閉じる"_s << QStringList{u"a"_s, u"b"_s, u"c"_s};
    }

    void theSortDialogSortsOrLeavesAlone()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, after);
        f.start();
        auto book = std::make_unique<Cls_管理>();
        book->Add(u"a"_s, {}, {}, {}, {}, {}, {}, book.get(), -1, u"s1"_s);                  // no code: last
        book->Add(u"b"_s, {}, {}, u"１００－０００１"_s, {}, {}, {}, book.get(), -1, u"s2"_s);
        book->Add(u"c"_s, {}, {}, u"150-0001"_s, {}, {}, {}, book.get(), -1, u"s3"_s);
        document().ReplaceBook(std::move(book), 3);
        action(u"mm_並べ替え"_s)->trigger();
        auto *dialog = window().findChild<SortDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        dialog->findChild<QRadioButton *>(u"opt_項目(0)"_s)->setChecked(true);
        dialog->findChild<PictureButton *>(button)->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(f.names(), after);
        QCOMPARE(document().History().count(), button == u"cmd_Go" ? 1 : 0);
        // A book already in order is left as it is: no second step.
        commands().SortBook({SortKey::Yubin, false});
        QCOMPARE(document().History().count(), 1);
    }
};

QTEST_MAIN(TestHistory)
#include "test_history.moc"

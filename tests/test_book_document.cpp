#include "model/app_error.h"
#include "model/book_document.h"
#include "model/record_keys.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// A book of entries named by the texts, keyed s1, s2, ... as a load keys them.
std::unique_ptr<Cls_管理> bookOf(const QStringList &names)
{
    auto book = std::make_unique<Cls_管理>();
    for (int i = 0; i < names.size(); ++i)
        book->Add(names[i], {}, {}, {}, {}, {}, {}, book.get(), -1, MakeRecordKey(i + 1));
    return book;
}

Cls_住所 named(const QString &name)
{
    Cls_住所 r;
    r.PName = name;
    return r;
}

QStringList namesAndKeys(const BookDocument &d)
{
    QStringList entries;
    for (const auto &record : d.OpenBook())
        entries << record->PName + u'/' + record->PSkey;
    return entries;
}

// Named changes a step can be made of, on a book of a, b, c keyed s1 … s3.
void change(BookDocument &d, const QString &what)
{
    if (what == u"add")
        d.AddRecord(named(u"new"_s), 2, d.NextRecordKey());
    else if (what == u"remove")
        d.RemoveRecord(2);
    else if (what == u"fields")
        d.SetRecordFields(3, named(u"changed"_s));
    else if (what == u"rename")
        d.RenameRecord(1, u"renamed"_s);
    else if (what == u"reorder")
        d.ReorderRecords({2, 0, 1});
    else if (what == u"move") {
        // A move is a removal and an addition under a new key: one step.
        BookDocument::Step step(d, u"移動"_s);
        const Cls_住所 moved = d.Record(1);
        const QString key = d.NextRecordKey();
        d.RemoveRecord(1);
        d.AddRecord(moved, -1, key);
    }
}

QList<int> markedPositions(const BookDocument &d)
{
    QList<int> marked;
    for (int p = 1; p <= d.Count(); ++p) {
        if (d.IsMarked(p))
            marked << p;
    }
    return marked;
}

} // namespace

class TestBookDocument : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void replacingTheBookIsBracketed()
    {
        BookDocument d;
        d.ReplaceBook(bookOf({u"a"_s, u"b"_s}), 3);
        // What the list sees at each signal: the old book before, the new one after.
        QList<int> seen;
        connect(&d, &BookDocument::bookAboutToBeReplaced, this, [&] { seen << d.Count(); });
        connect(&d, &BookDocument::bookReplaced, this, [&] { seen << d.Count(); });
        QSignalSpy counts(&d, &BookDocument::countChanged);
        d.ReplaceBook(bookOf({u"x"_s, u"y"_s, u"z"_s}), 4);
        QCOMPARE(seen, (QList<int>{2, 3}));
        QCOMPARE(counts.size(), 1);
        QCOMPARE(counts.at(0).at(0).toInt(), 3);
        QCOMPARE(d.KeyCounter(), 4);
        QCOMPARE(d.NextRecordKey(), u"s5"_s);
    }

    void newBookKeepsTheKeyCounter()
    {
        BookDocument d;
        d.ReplaceBook(bookOf({u"a"_s}), 2);
        d.NextRecordKey();
        d.ReplaceBook(nullptr);
        QCOMPARE(d.Count(), 0);
        // Keys are never reused in a run.
        QCOMPARE(d.NextRecordKey(), u"s4"_s);
    }

    void addAndRemoveAreAnnounced()
    {
        BookDocument d;
        d.ReplaceBook(bookOf({u"a"_s, u"b"_s}), 3);
        QStringList log;
        connect(&d, &BookDocument::recordAboutToBeInserted, this,
                [&](int p) { log << u"+%1 of %2"_s.arg(p).arg(d.Count()); });
        connect(&d, &BookDocument::recordInserted, this, [&](int p) { log << u"+%1 now %2"_s.arg(p).arg(d.Count()); });
        connect(&d, &BookDocument::recordAboutToBeRemoved, this,
                [&](int p) { log << u"-%1 of %2"_s.arg(p).arg(d.Count()); });
        connect(&d, &BookDocument::recordRemoved, this, [&](int p) { log << u"-%1 now %2"_s.arg(p).arg(d.Count()); });
        QCOMPARE(d.AddRecord(named(u"new"_s), 2, d.NextRecordKey()), 2);
        d.RemoveRecord(1);
        QCOMPARE(log, (QStringList{u"+2 of 2"_s, u"+2 now 3"_s, u"-1 of 3"_s, u"-1 now 2"_s}));
        QCOMPARE(d.Record(1).PName, u"new"_s);
    }

    void refusedAddSaysNothing()
    {
        BookDocument d;
        d.ReplaceBook(bookOf({u"a"_s}), 2);
        QSignalSpy inserted(&d, &BookDocument::recordAboutToBeInserted);
        QVERIFY_THROWS_EXCEPTION(AppError, d.AddRecord(named(u"b"_s), -1, u"s1"_s));   // the key is taken
        QVERIFY_THROWS_EXCEPTION(AppError, d.AddRecord(named(u"b"_s), 5, u"s9"_s));    // no such place
        QVERIFY_THROWS_EXCEPTION(AppError, d.RemoveRecord(2));
        QCOMPARE(inserted.size(), 0);
        QCOMPARE(d.Count(), 1);
    }

    void changedFlagIsAnnouncedWhenItChanges()
    {
        BookDocument d;
        QSignalSpy spy(&d, &BookDocument::modificationChanged);
        d.SetChanged(true);
        d.SetChanged(true);
        d.SetChanged(false);
        QCOMPARE(spy.size(), 2);
        QVERIFY(!d.BookChanged());
    }

    void markerFollowsPicks()
    {
        BookDocument d;
        d.ReplaceBook(bookOf({u"a"_s, u"b"_s, u"c"_s, u"d"_s}), 5);
        d.MarkItem(1, false);
        d.ItemClick(3);
        QCOMPARE(markedPositions(d), QList<int>{3});
        QCOMPARE(d.MarkedIndex(), 3);
        // The first pick after a cut leaves the old marker where it is.
        d.SetSkipUnmark(true);
        d.ItemClick(1);
        QCOMPARE(markedPositions(d), (QList<int>{1, 3}));
        QVERIFY(!d.SkipUnmark());
        // A removed entry takes its marker with it.
        d.RemoveRecord(3);
        QCOMPARE(markedPositions(d), QList<int>{1});
    }

    void everyChangeIsUndoneAndRedone_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("add") << u"add"_s << QStringList{u"a/s1"_s, u"new/s4"_s, u"b/s2"_s, u"c/s3"_s};
        QTest::newRow("remove") << u"remove"_s << QStringList{u"a/s1"_s, u"c/s3"_s};
        QTest::newRow("fields") << u"fields"_s << QStringList{u"a/s1"_s, u"b/s2"_s, u"changed/s3"_s};
        QTest::newRow("rename") << u"rename"_s << QStringList{u"renamed/s1"_s, u"b/s2"_s, u"c/s3"_s};
        QTest::newRow("reorder") << u"reorder"_s << QStringList{u"c/s3"_s, u"a/s1"_s, u"b/s2"_s};
        QTest::newRow("move") << u"move"_s << QStringList{u"b/s2"_s, u"c/s3"_s, u"a/s4"_s};
    }

    void everyChangeIsUndoneAndRedone()
    {
        QFETCH(QString, what);
        QFETCH(QStringList, after);
        BookDocument d;
        d.ReplaceBook(bookOf({u"a"_s, u"b"_s, u"c"_s}), 3);
        const QStringList before = namesAndKeys(d);
        change(d, what);
        QCOMPARE(namesAndKeys(d), after);
        QVERIFY(d.BookChanged());
        QCOMPARE(d.History().count(), 1);

        d.History().undo();
        QCOMPARE(namesAndKeys(d), before);
        QVERIFY(!d.BookChanged());
        d.History().redo();
        QCOMPARE(namesAndKeys(d), after);
        QVERIFY(d.BookChanged());
        // Keys handed out are never handed out again, undone or not.
        d.History().undo();
        QCOMPARE(d.NextRecordKey(), what == u"add" || what == u"move" ? u"s5"_s : u"s4"_s);
    }

    // Save marks the clean point: stepping back or forward to it makes the
    // book unchanged again, stepping away from it changed.
    void theSavedStateIsUnchangedFromEitherSide()
    {
        BookDocument d;
        d.SetBookFileName(u"book.csv"_s);
        d.ReplaceBook(bookOf({u"a"_s, u"b"_s, u"c"_s}), 3);
        QSignalSpy flags(&d, &BookDocument::modificationChanged);
        d.RemoveRecord(1);
        d.MarkSaved();
        d.RenameRecord(1, u"x"_s);
        QVERIFY(d.BookChanged());
        d.History().undo();
        QVERIFY(!d.BookChanged());
        d.History().undo();
        QVERIFY(d.BookChanged());
        d.History().redo();
        QVERIFY(!d.BookChanged());
        QCOMPARE(flags.size(), 6);   // once per change of the flag, never more
        // A new branch from before the save can never come back to it.
        d.History().undo();
        d.RenameRecord(1, u"y"_s);
        QVERIFY(d.BookChanged());
        d.History().undo();
        QVERIFY(d.BookChanged());
    }

    // Deleting the last entry forgets the file: an empty book without a
    // name is a new one, with nothing to save.
    void anEmptiedBookWithoutNameIsUnchanged()
    {
        BookDocument d;
        d.SetBookFileName(u"book.csv"_s);
        d.ReplaceBook(bookOf({u"a"_s}), 1);
        d.RenameRecord(1, u"b"_s);
        d.MarkSaved();
        {
            BookDocument::Step step(d, u"削除"_s);
            d.RemoveRecord(1);
            d.SetBookFileName(QString());
        }
        QVERIFY(!d.BookChanged());
        d.History().undo();
        QCOMPARE(d.BookFileName(), u"book.csv"_s);
        QCOMPARE(namesAndKeys(d), QStringList{u"b/s1"_s});
        QVERIFY(!d.BookChanged());
        d.History().undo();
        QVERIFY(d.BookChanged());
        // Saved under another name since: stepping back through an edit keeps it.
        d.SetBookFileName(u"other.csv"_s);
        d.History().redo();
        d.History().undo();
        QCOMPARE(d.BookFileName(), u"other.csv"_s);
    }

    void stepsGroupChangesAndDropEmptyOnes()
    {
        BookDocument d;
        d.ReplaceBook(bookOf({u"a"_s, u"b"_s, u"c"_s}), 3);
        {
            BookDocument::Step outer(d, u"外"_s);
            {
                BookDocument::Step inner(d, u"内"_s);
                d.RemoveRecord(1);
            }
            d.RenameRecord(1, u"x"_s);
        }
        {
            BookDocument::Step nothing(d, u"空"_s);
        }
        QCOMPARE(d.History().count(), 1);
        QCOMPARE(d.History().undoText(), u"外"_s);
        // A step left by a failure keeps what was done before it, so it can be undone.
        try {
            BookDocument::Step failing(d, u"失敗"_s);
            d.RemoveRecord(1);
            d.RemoveRecord(9);
        } catch (const AppError &) {
        }
        QCOMPARE(d.History().count(), 2);
        d.History().undo();
        d.History().undo();
        QCOMPARE(namesAndKeys(d), (QStringList{u"a/s1"_s, u"b/s2"_s, u"c/s3"_s}));
    }

    void replacingTheBookStartsANewHistory()
    {
        BookDocument d;
        d.ReplaceBook(bookOf({u"a"_s, u"b"_s}), 2);
        d.RemoveRecord(1);
        d.ReplaceBook(bookOf({u"x"_s}), 1);
        QVERIFY(!d.History().canUndo());
        QVERIFY(!d.BookChanged());
    }

    // Undo and redo give back the marker and the selection of their moment.
    void theMarkerAndTheSelectionComeBack()
    {
        BookDocument d;
        d.ReplaceBook(bookOf({u"a"_s, u"b"_s, u"c"_s, u"d"_s}), 4);
        int selected = 2;
        d.SetSelectionSource([&selected] { return selected; });
        QSignalSpy restored(&d, &BookDocument::selectionRestored);
        d.MarkItem(2, false);
        {
            BookDocument::Step step(d, u"削除"_s);
            d.RemoveRecord(2);
            d.MarkItem(2, true);
            selected = 2;
        }
        {
            BookDocument::Step step(d, u"並べ替え"_s);
            d.ReorderRecords({2, 1, 0});   // d c a
            selected = 2;
        }
        // MarkedIndex goes with its entry.
        QCOMPARE(markedPositions(d), QList<int>{2});
        QCOMPARE(d.MarkedIndex(), 2);
        d.History().undo();
        QCOMPARE(markedPositions(d), QList<int>{2});
        QCOMPARE(d.Record(2).PName, u"c"_s);
        d.History().undo();
        QCOMPARE(markedPositions(d), QList<int>{2});
        QCOMPARE(d.Record(2).PName, u"b"_s);
        QCOMPARE(d.MarkedIndex(), 2);
        d.History().redo();
        QCOMPARE(markedPositions(d), QList<int>{2});
        QCOMPARE(d.Record(2).PName, u"c"_s);
        QCOMPARE(restored.size(), 3);
        QCOMPARE(restored.at(1).at(0).toInt(), 2);
    }

    void replacingTheBookEndsAPendingSkip()
    {
        // A cut sets the skip; the next book must not inherit it, or the
        // first pick there leaves a second marker.
        BookDocument d;
        d.ReplaceBook(bookOf({u"a"_s, u"b"_s}), 3);
        d.SetSkipUnmark(true);
        d.ReplaceBook(bookOf({u"x"_s, u"y"_s, u"z"_s}), 4);
        QVERIFY(!d.SkipUnmark());
        QVERIFY(markedPositions(d).isEmpty());
        d.MarkItem(1, false);
        d.ItemClick(2);
        QCOMPARE(markedPositions(d), QList<int>{2});
    }
};

QTEST_GUILESS_MAIN(TestBookDocument)
#include "test_book_document.moc"

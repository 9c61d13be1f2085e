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

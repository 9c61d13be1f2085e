#include "model/address_book.h"
#include "model/app_error.h"
#include "model/record_keys.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList fieldsOf(const Cls_住所 &r)
{
    QStringList out;
    for (int i = 0; i < FieldCount; ++i)
        out << r.field(Field(i));
    return out;
}

Cls_住所 &addNamed(Cls_管理 &book, const QString &name, int before, const QString &key)
{
    return book.Add(name, {}, {}, {}, {}, {}, {}, &book, before, key);
}

QStringList namesOf(const Cls_管理 &book)
{
    QStringList out;
    for (const auto &r : book)
        out << r->PName;
    return out;
}

} // namespace

class TestAddressModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void getRecordJoinsSevenFieldsUnquoted()
    {
        Cls_住所 r;
        QCOMPARE(r.GetRecord(), u",,,,,,"_s);
        r.PName = u"山田 太郎"_s;
        r.PTel = u"03-1234-5678"_s;
        r.PMemo = u"メモ"_s;
        r.PSkey = u"s9"_s;
        QCOMPARE(r.GetRecord(), u"山田 太郎,03-1234-5678,,,,,メモ"_s);
    }

    void setRecord_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("three items drop the third")
            << u"A,B,C"_s << QStringList{u"A"_s, u"B"_s, u""_s, u""_s, u""_s, u""_s, u""_s};
        QTest::newRow("eight items leave the memo")
            << u"A,B,C,D,E,F,G,H"_s << QStringList{u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s, u"F"_s, u""_s};
        QTest::newRow("seven items set all")
            << u"A,B,C,D,E,F,G"_s << QStringList{u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s, u"F"_s, u"G"_s};
        QTest::newRow("no comma changes nothing")
            << u"山田"_s << QStringList{u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s};
        QTest::newRow("name and six commas")
            << u"A,,,,,,"_s << QStringList{u"A"_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s};
        QTest::newRow("full-width comma, tab and line breaks are data")
            << u"A，B\tC\r\n,x,,,,,m"_s
            << QStringList{u"A，B\tC\r\n"_s, u"x"_s, u""_s, u""_s, u""_s, u""_s, u"m"_s};
    }

    void setRecord()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        Cls_住所 r;
        r.PSkey = u"s3"_s;
        r.SetRecord(line);
        QCOMPARE(fieldsOf(r), fields);
        QCOMPARE(r.PSkey, u"s3"_s);
    }

    void setRecordKeepsFieldsItDoesNotReach()
    {
        Cls_住所 r;
        r.SetRecord(u"A,B,C,D,E,F,G"_s);
        r.SetRecord(u"x,y"_s);
        QCOMPARE(fieldsOf(r), (QStringList{u"x"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s, u"F"_s, u"G"_s}));
        r.SetRecord(u"1,2,3,4,5,6,7,8"_s);
        QCOMPARE(r.PMemo, u"G"_s);

        Cls_住所 copy;
        copy.SetRecord(r.GetRecord());
        QVERIFY(copy.sameFields(r));
    }

    void setRecordRefusesOverlongText()
    {
        Cls_住所 r;
        r.SetRecord(QString(32767, u'x'));      // the longest text it converts
        QVERIFY_THROWS_EXCEPTION(AppError, r.SetRecord(QString(32768, u',')));
        QCOMPARE(r.PName, QString());
    }

    void loneRecordGetsItsOwnEmptyCollection()
    {
        Cls_住所 r;
        Cls_管理 &first = r.管理();
        QCOMPARE(first.Count(), 0);
        QCOMPARE(&r.管理(), &first);

        Cls_管理 book;
        Cls_住所 &added = addNamed(book, u"a"_s, -1, u"s1"_s);
        QCOMPARE(&added.管理(), &book);
    }

    void addAppendsAndInsertsInFront()
    {
        Cls_管理 book;
        addNamed(book, u"a"_s, -1, u"s1"_s);
        addNamed(book, u"b"_s, -1, u"s2"_s);
        addNamed(book, u"c"_s, -1, u"s3"_s);
        addNamed(book, u"new"_s, 1, u"s4"_s);
        QCOMPARE(namesOf(book), (QStringList{u"new"_s, u"a"_s, u"b"_s, u"c"_s}));
        addNamed(book, u"mid"_s, 4, u"s5"_s);
        QCOMPARE(namesOf(book), (QStringList{u"new"_s, u"a"_s, u"b"_s, u"mid"_s, u"c"_s}));
        QCOMPARE(book.Item(u"s5"_s).PName, u"mid"_s);
        QCOMPARE(book.Item(4).PSkey, u"s5"_s);
        QCOMPARE(book.PositionOf(u"s3"_s), 5);
    }

    void removeRenumbersAndKeepsKeys()
    {
        Cls_管理 book;
        addNamed(book, u"a"_s, -1, u"s1"_s);
        addNamed(book, u"b"_s, -1, u"s2"_s);
        addNamed(book, u"c"_s, -1, u"s3"_s);
        auto kept = book.ItemPtr(2);
        book.Remove(2);
        QCOMPARE(book.Count(), 2);
        QCOMPARE(book.Item(2).PName, u"c"_s);
        QCOMPARE(book.Item(2).PSkey, u"s3"_s);
        QVERIFY(!book.Contains(u"s2"_s));
        QCOMPARE(kept->PName, u"b"_s);          // a holder keeps a removed record alive
        book.Remove(u"s1"_s);
        QCOMPARE(namesOf(book), QStringList{u"c"_s});
    }

    void failuresLeaveTheBookUnchanged_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("duplicate key") << 0;
        QTest::newRow("before zero") << 1;
        QTest::newRow("before past the end") << 2;
        QTest::newRow("item position zero") << 3;
        QTest::newRow("item position past the end") << 4;
        QTest::newRow("item unknown key") << 5;
        QTest::newRow("remove position past the end") << 6;
        QTest::newRow("remove unknown key") << 7;
    }

    void failuresLeaveTheBookUnchanged()
    {
        QFETCH(int, operation);
        Cls_管理 book;
        addNamed(book, u"a"_s, -1, u"s1"_s);
        addNamed(book, u"b"_s, -1, u"s2"_s);
        try {
            switch (operation) {
            case 0: addNamed(book, u"x"_s, -1, u"s2"_s); break;
            case 1: addNamed(book, u"x"_s, 0, u"s9"_s); break;
            case 2: addNamed(book, u"x"_s, 3, u"s9"_s); break;
            case 3: book.Item(0); break;
            case 4: book.Item(3); break;
            case 5: book.Item(u"s9"_s); break;
            case 6: book.Remove(3); break;
            case 7: book.Remove(u"s9"_s); break;
            }
            QFAIL("no failure");
        } catch (const AppError &e) {
            QVERIFY(!e.description().isEmpty());
        }
        QCOMPARE(namesOf(book), (QStringList{u"a"_s, u"b"_s}));
        QVERIFY(!book.Contains(u"s9"_s));
    }

    void fullBookRefusesOneMore()
    {
        Cls_管理 book;
        book.reserve(MaxBookRecords);
        for (int i = 1; i <= MaxBookRecords; ++i)
            addNamed(book, {}, -1, MakeRecordKey(i));
        try {
            addNamed(book, u"one too many"_s, -1, u"s99999"_s);
            QFAIL("a 32768th record was added");
        } catch (const AppError &e) {
            QVERIFY(e.description().contains(u"32767"_s));
        }
        QCOMPARE(book.Count(), MaxBookRecords);
    }

    void recordKeysAreSAndTheNumber()
    {
        QCOMPARE(MakeRecordKey(1), u"s1"_s);
        QCOMPARE(MakeRecordKey(120), u"s120"_s);
        QCOMPARE(MakeRecordKey(2147483647), u"s2147483647"_s);
    }

    void recordsOutlivingTheirBookForgetIt()
    {
        Cls_管理::RecordPtr kept;
        {
            Cls_管理 book;
            addNamed(book, u"a"_s, -1, u"s1"_s);
            kept = book.ItemPtr(1);
        }
        QVERIFY(!kept->has管理());
        QCOMPARE(kept->管理().Count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestAddressModel)
#include "test_address_model.moc"

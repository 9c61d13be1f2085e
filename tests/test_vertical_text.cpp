#include "print/vertical_text.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// Expected cells written as one string, one cell per character.
CellList cells(const QString &chars)
{
    CellList out;
    for (QChar c : chars)
        out.append(QString(c));
    return out;
}

const QString kSpacer = u"     "_s;

} // namespace

class TestVerticalText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void kanjiDigit_table();
    void kanjiDigit_rejects_data();
    void kanjiDigit_rejects();
    void addressCells_data();
    void addressCells();
    void postalCells_data();
    void postalCells();
    void nameCells_data();
    void nameCells();
};

void TestVerticalText::kanjiDigit_table()
{
    const QString expected = u"０一二三四五六七八九"_s;
    for (int i = 0; i < 10; ++i) {
        const QChar full(char16_t(0xFF10 + i));
        QCOMPARE(KanjiDigit(QStringView(&full, 1)), QString(expected.at(i)));
    }
}

void TestVerticalText::kanjiDigit_rejects_data()
{
    QTest::addColumn<QString>("input");
    QTest::newRow("empty") << QString();
    QTest::newRow("half-width 5") << u"5"_s;
    QTest::newRow("half-width 0") << u"0"_s;
    QTest::newRow("two full-width digits") << u"５５"_s;
    QTest::newRow("digit then letter") << u"５a"_s;
    QTest::newRow("kanji digit") << u"五"_s;
    QTest::newRow("kanji zero") << u"〇"_s;
    QTest::newRow("just past nine") << QString(QChar(char16_t(0xFF1A)));
    QTest::newRow("just before zero") << QString(QChar(char16_t(0xFF0F)));
}

void TestVerticalText::kanjiDigit_rejects()
{
    QFETCH(QString, input);
    QCOMPARE(KanjiDigit(input), QString());
}

void TestVerticalText::addressCells_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<CellList>("expected");

    QTest::newRow("empty") << QString() << CellList();
    QTest::newRow("1-2-3") << u"1-2-3"_s << cells(u"一｜二｜三"_s);
    QTest::newRow("102号") << u"102号"_s << cells(u"一０二号"_s);
    QTest::newRow("10番地 keeps full-width zero") << u"10番地"_s << cells(u"一０番地"_s);
    QTest::newRow("３丁目") << u"３丁目"_s << cells(u"三丁目"_s);
    QTest::newRow("3丁目") << u"3丁目"_s << cells(u"三丁目"_s);
    QTest::newRow("all half-width digits") << u"0123456789"_s << cells(u"０一二三四五六七八九"_s);
    QTest::newRow("all full-width digits") << u"０１２３４５６７８９"_s << cells(u"０一二三四五六七八九"_s);
    QTest::newRow("full-width hyphen") << u"１－２"_s << cells(u"一｜二"_s);
    QTest::newRow("コーポ") << u"コーポ"_s << cells(u"コ｜ポ"_s);
    QTest::newRow("full-width tilde") << u"1～3"_s << cells(u"一｜三"_s);
    // Both read back from the file as U+FF0D / U+FF5E, so they must print alike.
    QTest::newRow("minus sign folds") << u"1\u22122"_s << cells(u"一｜二"_s);
    QTest::newRow("wave dash folds") << u"1\u301C3"_s << cells(u"一｜三"_s);
    QTest::newRow("others unchanged") << u"Ab ｶ　・‐―"_s << cells(u"Ab ｶ　・‐―"_s);
}

void TestVerticalText::addressCells()
{
    QFETCH(QString, text);
    QFETCH(CellList, expected);
    QCOMPARE(AddressCells(text), expected);
}

void TestVerticalText::postalCells_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<CellList>("expected");

    QTest::newRow("empty") << QString() << CellList();
    QTest::newRow("123-4567") << u"123-4567"_s << cells(u"１２３４５６７"_s);
    QTest::newRow("〒100-0001") << u"〒100-0001"_s << cells(u"〒１０００００１"_s);
    QTest::newRow("full-width hyphen kept") << u"100－0001"_s << cells(u"１００－０００１"_s);
    QTest::newRow("full-width digits stay") << u"１２３"_s << cells(u"１２３"_s);
    QTest::newRow("only hyphens") << u"--"_s << CellList();
    QTest::newRow("no length limit") << u"1234-56789 0"_s << cells(u"１２３４５６７８９ ０"_s);
    QTest::newRow("prolonged mark and tilde unchanged") << u"1ー～"_s << cells(u"１ー～"_s);
    QTest::newRow("minus sign folds") << u"100\u22120001"_s << cells(u"１００－０００１"_s);
    QTest::newRow("wave dash folds") << u"1\u301C2"_s << cells(u"１～２"_s);
}

void TestVerticalText::postalCells()
{
    QFETCH(QString, text);
    QFETCH(CellList, expected);
    QCOMPARE(PostalCells(text), expected);
}

void TestVerticalText::nameCells_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("withHonorific");
    QTest::addColumn<CellList>("expected");

    QTest::newRow("empty, no honorific") << QString() << false << CellList();
    QTest::newRow("empty, honorific never alone") << QString() << true << CellList();
    QTest::newRow("sender") << u"山田太郎"_s << false << cells(u"山田太郎"_s);
    QTest::newRow("recipient") << u"山田太郎"_s << true
                               << (cells(u"山田太郎"_s) << kSpacer << u"様"_s);
    QTest::newRow("one-character name") << u"林"_s << true << (CellList{u"林"_s, kSpacer, u"様"_s});
    QTest::newRow("digits stay, 山田2号") << u"山田2号"_s << false << cells(u"山田2号"_s);
    QTest::newRow("digits stay with honorific") << u"山田2号"_s << true
                                                << (cells(u"山田2号"_s) << kSpacer << u"様"_s);
    QTest::newRow("dashes not converted or folded") << u"ア-ー\u2212\u301C"_s << false
                                                    << cells(u"ア-ー\u2212\u301C"_s);
}

void TestVerticalText::nameCells()
{
    QFETCH(QString, text);
    QFETCH(bool, withHonorific);
    QFETCH(CellList, expected);
    QCOMPARE(NameCells(text, withHonorific), expected);
}

QTEST_GUILESS_MAIN(TestVerticalText)
#include "test_vertical_text.moc"

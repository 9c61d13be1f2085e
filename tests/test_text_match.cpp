#include "entry/text_match.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestTextMatch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void matches_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<bool>("expected");

        // Contained: anywhere in the value, case ignored.
        QTest::newRow("middle") << u"中山"_s << u"山"_s << false << true;
        QTest::newRow("absent") << u"田中"_s << u"山"_s << false << false;
        QTest::newRow("case") << u"ABCD"_s << u"abc"_s << false << true;
        QTest::newRow("case, non-ASCII value") << u"東京 ABC"_s << u"abc"_s << false << true;
        QTest::newRow("case, Greek") << u"ΣΟΦΙΑ"_s << u"σοφια"_s << false << true;

        // Width: half-width and full-width forms are one letter.
        QTest::newRow("half-width kana in value") << u"ﾔﾏﾀﾞ ｱｲ"_s << u"アイ"_s << false << true;
        QTest::newRow("half-width kana in text") << u"ヤマダ アイ"_s << u"ｱｲ"_s << false << true;
        QTest::newRow("voiced half-width") << u"ﾔﾏﾀﾞ"_s << u"ダ"_s << false << true;
        QTest::newRow("voiced full-width text") << u"ヤマダ"_s << u"ﾀﾞ"_s << false << true;
        QTest::newRow("semi-voiced") << u"ﾊﾟｰﾄ"_s << u"パート"_s << false << true;
        QTest::newRow("voiced is not plain") << u"ﾔﾏﾀﾞ"_s << u"タ"_s << false << false;
        QTest::newRow("plain is not voiced") << u"ヤマタ"_s << u"ﾀﾞ"_s << false << false;
        QTest::newRow("full-width letters") << u"ＡＢＣＤ"_s << u"abc"_s << false << true;
        QTest::newRow("full-width text") << u"abcd@example.jp"_s << u"ＡＢＣ"_s << false << true;
        QTest::newRow("full-width digits") << u"０３-１２３４"_s << u"1234"_s << false << true;

        // Kana: hiragana and katakana are one letter.
        QTest::newRow("hiragana text, katakana value") << u"ヤマダ"_s << u"やま"_s << false << true;
        QTest::newRow("katakana text, hiragana value") << u"やまだ"_s << u"ヤマ"_s << false << true;
        QTest::newRow("hiragana text, half-width value") << u"ﾔﾏﾀﾞ"_s << u"やまだ"_s << false << true;
        QTest::newRow("small kana") << u"キャベツ"_s << u"きゃ"_s << false << true;
        QTest::newRow("iteration marks") << u"いすゞ"_s << u"イスヾ"_s << false << true;
        QTest::newRow("wide blank") << u"山田　太郎"_s << u"田 太"_s << false << true;
        QTest::newRow("circled digit is not a digit") << u"①"_s << u"1"_s << false << false;
        QTest::newRow("kana is not kanji") << u"山田"_s << u"やまだ"_s << false << false;

        // Exact: the whole value, same characters, same case; nothing folded.
        QTest::newRow("exact equal") << u"山田"_s << u"山田"_s << true << true;
        QTest::newRow("exact part") << u"山田"_s << u"山"_s << true << false;
        QTest::newRow("exact case") << u"ABC"_s << u"abc"_s << true << false;
        QTest::newRow("exact width") << u"ｱｲ"_s << u"アイ"_s << true << false;
        QTest::newRow("exact kana") << u"あい"_s << u"アイ"_s << true << false;

        // Nothing is found in an empty value, and nothing by an empty text.
        QTest::newRow("empty value") << QString() << u"a"_s << false << false;
        QTest::newRow("empty value, exact") << QString() << QString() << true << false;
        QTest::newRow("empty text") << u"abc"_s << QString() << false << false;
        QTest::newRow("empty text, exact") << u"abc"_s << QString() << true << false;
    }

    void matches()
    {
        QFETCH(QString, value);
        QFETCH(QString, text);
        QFETCH(bool, exact);
        QFETCH(bool, expected);
        QCOMPARE(SearchMatches(value, text, exact), expected);
        // The matcher that folds the text once agrees, value after value.
        const TextMatcher matcher(text, exact);
        QCOMPARE(matcher.matches(value), expected);
        QCOMPARE(matcher.matches(value), expected);
    }
};

QTEST_GUILESS_MAIN(TestTextMatch)
#include "test_text_match.moc"

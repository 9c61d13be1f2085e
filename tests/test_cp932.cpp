#include "files/cp932_codec.h"
#include "files/storable_value.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestCp932 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decodesMicrosoftMapping_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("wave dash byte") << QByteArray("\x81\x60") << u"\uFF5E"_s;
        QTest::newRow("minus byte") << QByteArray("\x81\x7C") << u"\uFF0D"_s;
        QTest::newRow("double vertical line byte") << QByteArray("\x81\x61") << u"\u2225"_s;
        QTest::newRow("dash byte") << QByteArray("\x81\x5C") << u"\u2015"_s;
        QTest::newRow("backslash stays") << QByteArray("\x5C") << u"\\"_s;
        QTest::newRow("half-width katakana") << QByteArray("\xB1") << u"ｱ"_s;
        QTest::newRow("kanji") << QByteArray("\x8E\x52\x93\x63") << u"山田"_s;
        QTest::newRow("NEC circled one") << QByteArray("\x87\x40") << u"①"_s;
    }

    void decodesMicrosoftMapping()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const DecodedText d = DecodeCp932(bytes);
        QCOMPARE(d.text, text);
        QCOMPARE(d.invalidSequences, 0);
    }

    void invalidBytesBecomeReplacementAndAreCounted_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("invalid");
        QTest::newRow("lone lead byte at the end") << QByteArray("ab\x81") << u"ab\uFFFD"_s << 1;
        QTest::newRow("lead byte before a comma keeps the comma")
            << QByteArray("\x81,x") << u"\uFFFD,x"_s << 1;
        QTest::newRow("unassigned code") << QByteArray("\x85\x40z") << u"\uFFFDz"_s << 1;
        QTest::newRow("two faults") << QByteArray("\x81\x0D\x0A\x9F") << u"\uFFFD\r\n\uFFFD"_s << 2;
    }

    void invalidBytesBecomeReplacementAndAreCounted()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(int, invalid);
        const DecodedText d = DecodeCp932(bytes);
        QCOMPARE(d.text, text);
        QCOMPARE(d.invalidSequences, invalid);
    }

    // Every code CP932 maps comes back as itself, or as the one canonical
    // code of a character that has several (NEC and IBM duplicates).
    void everyCodeRoundTrips()
    {
        int validDouble = 0, duplicates = 0;
        auto check = [&](const QByteArray &code, bool isDouble) {
            const DecodedText d = DecodeCp932(code);
            if (d.invalidSequences != 0)
                return;
            QCOMPARE(d.text.size(), 1);
            const EncodedText e = EncodeCp932(d.text);
            QVERIFY2(e.ok(), code.toHex().constData());
            if (isDouble)
                ++validDouble;
            if (e.bytes == code)
                return;
            ++duplicates;
            QVERIFY2(isDouble, code.toHex().constData());
            // The canonical code reads as the same character and is stable.
            QCOMPARE(DecodeCp932(e.bytes).text, d.text);
            QCOMPARE(EncodeCp932(d.text).bytes, e.bytes);
        };
        for (int b = 0; b < 0x100; ++b) {
            if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC))
                continue;
            check(QByteArray(1, char(b)), false);
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (lead > 0x9F && lead < 0xE0)
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F)
                    continue;
                const char code[2] = {char(lead), char(trail)};
                check(QByteArray(code, 2), true);
            }
        }
        QCOMPARE(validDouble, 9604);
        QCOMPARE(duplicates, 398);
    }

    void foldsOtherShiftJisFormsOntoCp932Bytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("wave dash") << u"\u301C"_s << QByteArray("\x81\x60");
        QTest::newRow("double vertical line") << u"\u2016"_s << QByteArray("\x81\x61");
        QTest::newRow("minus sign") << u"\u2212"_s << QByteArray("\x81\x7C");
        QTest::newRow("em dash") << u"\u2014"_s << QByteArray("\x81\x5C");
        QTest::newRow("cent") << u"\u00A2"_s << QByteArray("\x81\x91");
        QTest::newRow("pound") << u"\u00A3"_s << QByteArray("\x81\x92");
        QTest::newRow("not sign") << u"\u00AC"_s << QByteArray("\x81\xCA");
    }

    void foldsOtherShiftJisFormsOntoCp932Bytes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QString folded = text;
        QVERIFY(FoldToCp932Forms(folded));
        QCOMPARE(EncodeCp932(folded).bytes, bytes);
        QVERIFY(!EncodeCp932(text).ok());       // the converter alone refuses them
    }

    void encoderStopsAtTheFirstUnmappable_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("failedAt");
        QTest::newRow("emoji") << u"ab😀c"_s << 2;
        QTest::newRow("surrogate pair kanji") << u"𠮷野家"_s << 0;
        QTest::newRow("yen sign is not a backslash") << u"x¥"_s << 1;
        QTest::newRow("replacement character") << u"住所\uFFFD"_s << 2;
        QTest::newRow("lone surrogate") << (u"a"_s + QChar(0xD800) + u"b"_s) << 1;
        QTest::newRow("hangul") << u"山한"_s << 1;
    }

    void encoderStopsAtTheFirstUnmappable()
    {
        QFETCH(QString, text);
        QFETCH(int, failedAt);
        const EncodedText e = EncodeCp932(text);
        QVERIFY(!e.ok());
        QCOMPARE(e.failedAt, qsizetype(failedAt));
        QVERIFY(e.bytes.isEmpty());
    }

    void storableValues_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("problem");
        QTest::addColumn<bool>("needsQuotes");
        QTest::addColumn<uint>("character");
        QTest::newRow("plain") << u"東京都千代田区1-2-3"_s << int(StorageCheck::Ok) << false << 0u;
        QTest::newRow("empty") << QString() << int(StorageCheck::Ok) << false << 0u;
        QTest::newRow("comma") << u"a,b"_s << int(StorageCheck::Ok) << true << 0u;
        QTest::newRow("line break") << u"a\nb"_s << int(StorageCheck::Ok) << true << 0u;
        QTest::newRow("leading blank") << u" a"_s << int(StorageCheck::Ok) << true << 0u;
        QTest::newRow("leading tab") << u"\ta"_s << int(StorageCheck::Ok) << true << 0u;
        QTest::newRow("trailing blank") << u"a "_s << int(StorageCheck::Ok) << false << 0u;
        QTest::newRow("inner quote") << u"a\"b"_s << int(StorageCheck::Ok) << false << 0u;
        QTest::newRow("leading quote") << u"\"a"_s << int(StorageCheck::QuoteAtStart) << true << uint('"');
        QTest::newRow("quote with comma")
            << u"a\"b,c"_s << int(StorageCheck::QuoteInQuotedValue) << true << uint('"');
        QTest::newRow("wave dash folds") << u"1〜3"_s << int(StorageCheck::Ok) << false << 0u;
        QTest::newRow("emoji") << u"ok😀"_s << int(StorageCheck::Unencodable) << false << 0x1F600u;
        QTest::newRow("yen") << u"¥100"_s << int(StorageCheck::Unencodable) << false << 0xA5u;
    }

    void storableValues()
    {
        QFETCH(QString, value);
        QFETCH(int, problem);
        QFETCH(bool, needsQuotes);
        QFETCH(uint, character);
        const StorageCheck c = CheckStorableValue(value);
        QCOMPARE(int(c.problem), problem);
        QCOMPARE(c.needsQuotes, needsQuotes);
        QCOMPARE(uint(c.character), character);
        QCOMPARE(c.ok(), StorageProblemText(c, u"住所1"_s).isEmpty());
    }

    void problemTextsNameFieldAndCharacter()
    {
        const QString emoji = StorageProblemText(CheckStorableValue(u"ok😀"_s), u"一言メモ"_s);
        QVERIFY2(emoji.contains(u"一言メモ"_s) && emoji.contains(u"😀"_s) && emoji.contains(u"U+1F600"_s),
                 qPrintable(emoji));
        const QString yen = StorageProblemText(CheckStorableValue(u"¥"_s), u"一言メモ"_s);
        QVERIFY2(yen.contains(u"￥"_s), qPrintable(yen));
    }
};

QTEST_GUILESS_MAIN(TestCp932)
#include "test_cp932.moc"

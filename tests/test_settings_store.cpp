#include "settings/settings_sections.h"
#include "settings/settings_store.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// Spelled out by code point: full-width ＭＳ, a half-width space, then the face.
const QString kGothic = QString::fromUtf16(u"\uFF2D\uFF33\u0020\u30B4\u30B7\u30C3\u30AF");
const QString kMincho = QString::fromUtf16(u"\uFF2D\uFF33\u0020\u660E\u671D");

// The file's contents as "Section/Key" → text, read past our own store.
QMap<QString, QString> rawContents(const QString &path)
{
    QSettings raw(path, QSettings::IniFormat);
    QMap<QString, QString> out;
    for (const QString &key : raw.allKeys())
        out.insert(key, raw.value(key).toString());
    return out;
}

void writeRaw(const QString &path, const QByteArray &ini)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(ini), ini.size());
}

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    int m_serial = 0;

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        // A fresh file per test and row: QSettings caches what it parsed by path.
        m_path = m_dir.filePath(u"store-%1.ini"_s.arg(++m_serial));
    }

    void firstRunWritesExactlyTheDefaults()
    {
        SettingsRecord s;
        int applied = 0;
        {
            SettingsStore store(m_path);
            QVERIFY(M_RegS::LoadSettings(store, s, [&] {
                ++applied;
                // The list gets its colours and font before the print fonts are set.
                QCOMPARE(s.ListFontName, kGothic);
            }));
        }
        QCOMPARE(applied, 1);

        const QMap<QString, QString> expected = {
            {u"File/FirstSW"_s, u"YES"_s}, {u"File/KosuMax"_s, u"5"_s}, {u"File/Kosu"_s, u"0"_s},
            {u"File/F1"_s, u""_s}, {u"File/F2"_s, u""_s}, {u"File/F3"_s, u""_s},
            {u"File/F4"_s, u""_s}, {u"File/F5"_s, u""_s},
            {u"Iro/Iro0"_s, u"&HFFFFFF"_s}, {u"Iro/Iro1"_s, u"&H0"_s}, {u"Iro/ListFont"_s, kGothic},
            {u"Print/Print0"_s, kGothic}, {u"Print/Print1"_s, kMincho},
            {u"Print/Print2"_s, kGothic}, {u"Print/Print3"_s, kMincho}, {u"Print/Hagaki"_s, u"0"_s},
            {u"Kojin/Name"_s, u""_s}, {u"Kojin/Tel"_s, u""_s}, {u"Kojin/Mail"_s, u""_s},
            {u"Kojin/Yubin"_s, u""_s}, {u"Kojin/Ju1"_s, u""_s}, {u"Kojin/Ju2"_s, u""_s},
        };
        QCOMPARE(rawContents(m_path), expected);
        QCOMPARE(s.RecentFiles, QStringList(5));

        // The next start loads what the first one wrote.
        SettingsRecord again;
        SettingsStore store(m_path);
        QVERIFY(!M_RegS::LoadSettings(store, again));
        QCOMPARE(again.RecentMax, qint16(5));
        QCOMPARE(again.RecentFiles, QStringList(5));
        QCOMPARE(again.ListColor, s.ListColor);
        QCOMPARE(again.PrintFontName, s.PrintFontName);
    }

    void onlyExactNoMeansFirstRun_data()
    {
        QTest::addColumn<QByteArray>("firstSw");
        QTest::addColumn<bool>("firstRun");
        QTest::newRow("NO") << "NO"_ba << true;
        QTest::newRow("lower-case no") << "no"_ba << false;
        QTest::newRow("No") << "No"_ba << false;
        QTest::newRow("YES") << "YES"_ba << false;
        QTest::newRow("empty") << ""_ba << false;
        QTest::newRow("other text") << "x"_ba << false;
    }

    void onlyExactNoMeansFirstRun()
    {
        QFETCH(QByteArray, firstSw);
        QFETCH(bool, firstRun);
        writeRaw(m_path, "[File]\nFirstSW=" + firstSw + "\nKosuMax=7\n");
        SettingsRecord s;
        {
            SettingsStore store(m_path);
            QCOMPARE(M_RegS::LoadSettings(store, s), firstRun);
        }
        QCOMPARE(s.RecentMax, qint16(firstRun ? 5 : 7));
        // An initialised store is read, never reset.
        QCOMPARE(rawContents(m_path).value(u"File/KosuMax"_s), firstRun ? u"5"_s : u"7"_s);
        QCOMPARE(rawContents(m_path).contains(u"Print/Hagaki"_s), firstRun);
    }

    void namesMatchWithoutRegardToCase()
    {
        writeRaw(m_path, "[file]\nfirstsw=YES\nkosumax=3\nKOSU=2\nf1=/a.csv\nF2=/b.csv\n"
                         "[IRO]\nIRO0=255\niRo1=&h00ff00\nLISTFONT=Foo\n"
                         "[print]\nprint0=P0\nPRINT1=P1\nPrint2=P2\npRINT3=P3\nhagaki=-5\n"
                         "[kojin]\nNAME=N\ntel=T\nMAIL=M\nyubin=Y\nJU1=J1\nju2=J2\n");
        SettingsRecord s;
        {
            SettingsStore store(m_path);
            QVERIFY(!M_RegS::LoadSettings(store, s));
            QCOMPARE(s.RecentMax, qint16(3));
            QCOMPARE(s.RecentCount, qint16(2));
            QCOMPARE(s.RecentFiles, (QStringList{u"/a.csv"_s, u"/b.csv"_s, u"0"_s}));
            QCOMPARE(s.ListColor, (std::array{u"255"_s, u"&h00ff00"_s}));
            QCOMPARE(s.ListFontName, u"Foo"_s);
            QCOMPARE(s.PrintFontName, (std::array{u"P0"_s, u"P1"_s, u"P2"_s, u"P3"_s}));
            QCOMPARE(s.HagakiOffsetMm, qint16(-5));
            QCOMPARE(s.Sender.Name, u"N"_s);
            QCOMPARE(s.Sender.Ju2, u"J2"_s);

            s.RecentFiles[2] = u"/c.csv"_s;
            M_RegS::SaveFileSection(store, s);
            M_RegS::SaveIroSection(store, s);
            M_RegS::SavePrintSection(store, s);
            M_RegS::SaveKojinSection(store, s);
        }

        // Saving leaves one spelling of each key, the canonical one; the
        // hand-written firstsw was never saved and keeps its spelling.
        const QStringList keys = rawContents(m_path).keys();
        QCOMPARE(keys, (QStringList{
            u"File/F1"_s, u"File/F2"_s, u"File/F3"_s, u"File/Kosu"_s, u"File/KosuMax"_s,
            u"Iro/Iro0"_s, u"Iro/Iro1"_s, u"Iro/ListFont"_s,
            u"Kojin/Ju1"_s, u"Kojin/Ju2"_s, u"Kojin/Mail"_s, u"Kojin/Name"_s, u"Kojin/Tel"_s,
            u"Kojin/Yubin"_s,
            u"Print/Hagaki"_s, u"Print/Print0"_s, u"Print/Print1"_s, u"Print/Print2"_s,
            u"Print/Print3"_s,
            u"file/firstsw"_s,
        }));
        QCOMPARE(rawContents(m_path).value(u"Iro/Iro1"_s), u"&h00ff00"_s);
        QCOMPARE(rawContents(m_path).value(u"File/F3"_s), u"/c.csv"_s);
    }

    void colourNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<quint32>("value");
        QTest::newRow("hex white") << u"&HFFFFFF"_s << true << 0xFFFFFFu;
        QTest::newRow("decimal white") << u"16777215"_s << true << 0xFFFFFFu;
        QTest::newRow("hex black") << u"&H0"_s << true << 0u;
        QTest::newRow("decimal zero") << u"0"_s << true << 0u;
        QTest::newRow("lower-case prefix and digits") << u"&hff"_s << true << 0xFFu;
        QTest::newRow("mixed-case digits") << u"&H00fF00"_s << true << 0xFF00u;
        QTest::newRow("many leading zeros") << u"&H00000000000000000001"_s << true << 1u;
        QTest::newRow("hex over 24 bits") << u"&H1000000"_s << false << 0u;
        QTest::newRow("decimal over 24 bits") << u"16777216"_s << false << 0u;
        QTest::newRow("would overflow 32 bits") << u"99999999999999999999"_s << false << 0u;
        QTest::newRow("empty") << u""_s << false << 0u;
        QTest::newRow("prefix alone") << u"&H"_s << false << 0u;
        QTest::newRow("negative") << u"-1"_s << false << 0u;
        QTest::newRow("hex letter in decimal") << u"12a"_s << false << 0u;
        QTest::newRow("not a hex digit") << u"&HFG"_s << false << 0u;
        QTest::newRow("fraction") << u"1.5"_s << false << 0u;
        QTest::newRow("full-width digits") << u"１２"_s << false << 0u;
        QTest::newRow("word") << u"red"_s << false << 0u;
    }

    void colourNumbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(quint32, value);
        const std::optional<quint32> parsed = ParseColourNumber(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }

    void zeroRecentMaxTouchesNoFileKeys()
    {
        writeRaw(m_path, "[File]\nFirstSW=YES\nKosuMax=0\nKosu=0\nF1=/old.csv\n");
        SettingsStore store(m_path);
        SettingsRecord s;
        s.RecentFiles = QStringList{u"kept"_s};
        M_RegS::LoadFileSection(store, s);
        QCOMPARE(s.RecentMax, qint16(0));
        QCOMPARE(s.RecentFiles, QStringList{u"kept"_s});

        M_RegS::SaveFileSection(store, s);
        const QMap<QString, QString> raw = rawContents(m_path);
        QCOMPARE(raw.value(u"File/F1"_s), u"/old.csv"_s);
        QCOMPARE(raw.keys(), (QStringList{u"File/F1"_s, u"File/FirstSW"_s, u"File/Kosu"_s,
                                          u"File/KosuMax"_s}));
    }

    void shrinkingKeepsHigherKeysUntilRaisedAgain()
    {
        SettingsStore store(m_path);
        SettingsRecord s;
        s.RecentMax = 10;
        s.RecentCount = 10;
        for (int i = 1; i <= 10; ++i)
            s.RecentFiles << u"/f%1.csv"_s.arg(i);
        M_RegS::SaveFileSection(store, s);

        s.RecentMax = 3;
        s.RecentCount = 3;
        M_RegS::SaveFileSection(store, s);
        QCOMPARE(s.RecentFiles.size(), 3);
        QMap<QString, QString> raw = rawContents(m_path);
        QCOMPARE(raw.value(u"File/KosuMax"_s), u"3"_s);
        for (int i = 4; i <= 10; ++i)
            QCOMPARE(raw.value(u"File/F%1"_s.arg(i)), u"/f%1.csv"_s.arg(i));

        SettingsRecord loaded;
        M_RegS::LoadFileSection(store, loaded);
        QCOMPARE(loaded.RecentFiles, (QStringList{u"/f1.csv"_s, u"/f2.csv"_s, u"/f3.csv"_s}));

        s.RecentMax = 10;
        M_RegS::SaveFileSection(store, s);
        raw = rawContents(m_path);
        QCOMPARE(raw.value(u"File/F3"_s), u"/f3.csv"_s);
        for (int i = 4; i <= 10; ++i)
            QCOMPARE(raw.value(u"File/F%1"_s.arg(i), u"missing"_s), u""_s);
    }

    // One key of an initialised store is overwritten (or, for a null value,
    // removed); the load must still give settings inside their ranges.
    // An adjustment is written once it is set, and then also when set back
    // to 0; a store that never had one keeps none.
    void positionAdjustmentsRoundTrip()
    {
        SettingsRecord s;
        {
            SettingsStore store(m_path);
            M_RegS::LoadSettings(store, s);
            s.PrintOffsetX[1] = 15;
            s.PrintOffsetY[1] = -20;
            M_RegS::SavePrintSection(store, s);
        }
        QMap<QString, QString> raw = rawContents(m_path);
        QCOMPARE(raw.value(u"Print/IchiX2"_s), u"15"_s);
        QCOMPARE(raw.value(u"Print/IchiY2"_s), u"-20"_s);
        QVERIFY(!raw.contains(u"Print/IchiX1"_s));
        {
            SettingsStore store(m_path);
            SettingsRecord again;
            M_RegS::LoadSettings(store, again);
            QCOMPARE(again.PrintOffsetX, (std::array<qint16, 4>{0, 15, 0, 0}));
            QCOMPARE(again.PrintOffsetY, (std::array<qint16, 4>{0, -20, 0, 0}));
            again.PrintOffsetX[1] = 0;
            M_RegS::SavePrintSection(store, again);
        }
        QCOMPARE(rawContents(m_path).value(u"Print/IchiX2"_s), u"0"_s);
    }

    void hostileValuesGiveUsableSettings_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");

        const QString longText(300, u'x');
        const QString hugeText(10 * 1024 * 1024, u'y');
        QTest::newRow("KosuMax text") << u"File/KosuMax"_s << u"abc"_s << u"RecentMax"_s << u"5"_s;
        QTest::newRow("KosuMax empty") << u"File/KosuMax"_s << u""_s << u"RecentMax"_s << u"5"_s;
        QTest::newRow("KosuMax 999") << u"File/KosuMax"_s << u"999"_s << u"RecentMax"_s << u"20"_s;
        QTest::newRow("KosuMax -3") << u"File/KosuMax"_s << u"-3"_s << u"RecentMax"_s << u"0"_s;
        QTest::newRow("KosuMax past 16 bits") << u"File/KosuMax"_s << u"99999999999999999999"_s
                                              << u"RecentMax"_s << u"20"_s;
        QTest::newRow("KosuMax missing") << u"File/KosuMax"_s << QString() << u"RecentMax"_s << u"0"_s;
        QTest::newRow("Kosu above KosuMax") << u"File/Kosu"_s << u"7"_s << u"RecentCount"_s << u"5"_s;
        QTest::newRow("Kosu negative") << u"File/Kosu"_s << u"-1"_s << u"RecentCount"_s << u"0"_s;
        QTest::newRow("Kosu text") << u"File/Kosu"_s << u"two"_s << u"RecentCount"_s << u"0"_s;
        QTest::newRow("F1 missing") << u"File/F1"_s << QString() << u"F1"_s << u"0"_s;
        QTest::newRow("F1 too long") << u"File/F1"_s << QString(5000, u'p') << u"F1"_s << u""_s;
        QTest::newRow("Hagaki missing") << u"Print/Hagaki"_s << QString() << u"Hagaki"_s << u"0"_s;
        QTest::newRow("Hagaki -5") << u"Print/Hagaki"_s << u"-5"_s << u"Hagaki"_s << u"-5"_s;
        QTest::newRow("Hagaki 6") << u"Print/Hagaki"_s << u"6"_s << u"Hagaki"_s << u"5"_s;
        QTest::newRow("Hagaki -40000") << u"Print/Hagaki"_s << u"-40000"_s << u"Hagaki"_s << u"-5"_s;
        QTest::newRow("Hagaki text") << u"Print/Hagaki"_s << u"1e3"_s << u"Hagaki"_s << u"0"_s;
        QTest::newRow("IchiX1 missing") << u"Print/IchiX1"_s << QString() << u"IchiX1"_s << u"0"_s;
        QTest::newRow("IchiX1 +1.5 mm") << u"Print/IchiX1"_s << u"15"_s << u"IchiX1"_s << u"15"_s;
        QTest::newRow("IchiY4 past +10 mm") << u"Print/IchiY4"_s << u"250"_s << u"IchiY4"_s << u"100"_s;
        QTest::newRow("IchiY4 past -10 mm") << u"Print/IchiY4"_s << u"-101"_s << u"IchiY4"_s << u"-100"_s;
        QTest::newRow("IchiY4 text") << u"Print/IchiY4"_s << u"1.5"_s << u"IchiY4"_s << u"0"_s;
        QTest::newRow("Keisho missing") << u"Print/Keisho"_s << QString() << u"Keisho"_s << u"0"_s;
        QTest::newRow("Keisho 御中") << u"Print/Keisho"_s << u"2"_s << u"Keisho"_s << u"2"_s;
        QTest::newRow("Keisho 9 is 様") << u"Print/Keisho"_s << u"9"_s << u"Keisho"_s << u"0"_s;
        QTest::newRow("Keisho -1 is 様") << u"Print/Keisho"_s << u"-1"_s << u"Keisho"_s << u"0"_s;
        QTest::newRow("Renmei on") << u"Print/Renmei"_s << u"1"_s << u"Renmei"_s << u"1"_s;
        QTest::newRow("Renmei garbage is off") << u"Print/Renmei"_s << u"yes"_s << u"Renmei"_s << u"0"_s;
        QTest::newRow("LabelPart missing") << u"Print/LabelPart"_s << QString() << u"LabelPart"_s << u""_s;
        QTest::newRow("LabelPart without a brand") << u"Print/LabelPart"_s << u"ELM012"_s << u"LabelPart"_s << u""_s;
        // Half a sheet's name is no sheet: the standard one.
        QTest::newRow("LabelBrand without a part") << u"Print/LabelBrand"_s << u"Hisago"_s << u"LabelPart"_s << u""_s;
        QTest::newRow("Iro0 garbage") << u"Iro/Iro0"_s << u"blue"_s << u"Iro0"_s << u"&HFFFFFF"_s;
        QTest::newRow("Iro1 too big") << u"Iro/Iro1"_s << u"&H1000000"_s << u"Iro1"_s << u"&H0"_s;
        QTest::newRow("Iro0 missing is black") << u"Iro/Iro0"_s << QString() << u"Iro0"_s << u"0"_s;
        QTest::newRow("Iro0 decimal kept") << u"Iro/Iro0"_s << u"16777215"_s << u"Iro0"_s
                                           << u"16777215"_s;
        QTest::newRow("Iro0 padded") << u"Iro/Iro0"_s << u"&H"_s + QString(100, u'0') + u"FF"_s
                                     << u"Iro0"_s << u"&HFF"_s;
        QTest::newRow("ListFont missing") << u"Iro/ListFont"_s << QString() << u"ListFont"_s << u"0"_s;
        QTest::newRow("ListFont 10 MB") << u"Iro/ListFont"_s << hugeText << u"ListFont"_s << kGothic;
        QTest::newRow("Print1 too long") << u"Print/Print1"_s << longText << u"Print1"_s << kMincho;
    }

    void hostileValuesGiveUsableSettings()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, field);
        QFETCH(QString, expected);

        {
            SettingsStore store(m_path);
            SettingsRecord first;
            M_RegS::LoadSettings(store, first);
        }
        {
            QSettings raw(m_path, QSettings::IniFormat);
            if (value.isNull())
                raw.remove(key);
            else
                raw.setValue(key, value);
        }

        SettingsRecord s;
        {
            SettingsStore store(m_path);
            QVERIFY(!M_RegS::LoadSettings(store, s));
        }
        const QMap<QString, QString> fields = {
            {u"RecentMax"_s, QString::number(s.RecentMax)},
            {u"RecentCount"_s, QString::number(s.RecentCount)},
            {u"F1"_s, s.RecentFiles.value(0)},
            {u"Hagaki"_s, QString::number(s.HagakiOffsetMm)},
            {u"IchiX1"_s, QString::number(s.PrintOffsetX[0])}, {u"IchiY4"_s, QString::number(s.PrintOffsetY[3])},
            {u"Keisho"_s, QString::number(s.Honorific)}, {u"Renmei"_s, s.JointNames ? u"1"_s : u"0"_s},
            {u"LabelPart"_s, s.LabelBrand.isEmpty() ? s.LabelPart : s.LabelBrand + u' ' + s.LabelPart},
            {u"Iro0"_s, s.ListColor[0]}, {u"Iro1"_s, s.ListColor[1]},
            {u"ListFont"_s, s.ListFontName}, {u"Print1"_s, s.PrintFontName[1]},
        };
        QCOMPARE(fields.value(field), expected);

        QVERIFY(s.RecentMax >= 0 && s.RecentMax <= 20);
        QVERIFY(s.RecentCount >= 0 && s.RecentCount <= s.RecentMax);
        if (s.RecentMax > 0)
            QCOMPARE(s.RecentFiles.size(), qsizetype(s.RecentMax));
        QVERIFY(s.HagakiOffsetMm >= -5 && s.HagakiOffsetMm <= 5);
        for (const QString &colour : s.ListColor)
            QVERIFY(ParseColourNumber(colour).has_value());
    }

    void japaneseTextRoundTrips()
    {
        SettingsRecord s;
        s.RecentMax = 2;
        s.RecentCount = 2;
        s.RecentFiles = {u"/home/山田/住所録,2024.csv"_s, u"C:\\友人; 知人=全員.csv"_s};
        s.ListColor = {u"16777215"_s, u"&H0"_s};
        s.ListFontName = u"@ＭＳ 明朝"_s;
        s.PrintFontName = {kGothic, kMincho, u"游ゴシック"_s, u"ヒラギノ明朝"_s};
        s.HagakiOffsetMm = -3;
        s.Sender = {u"山田 太郎"_s, u"03-1234-5678"_s, u"taro@example.jp"_s, u"100-0001"_s,
                    u"東京都千代田区千代田１－１"_s, u"  \"皇居\"  "_s};
        {
            SettingsStore store(m_path);
            M_RegS::SaveFileSection(store, s);
            M_RegS::SaveIroSection(store, s);
            M_RegS::SavePrintSection(store, s);
            M_RegS::SaveKojinSection(store, s);
        }

        SettingsRecord loaded;
        SettingsStore store(m_path);
        M_RegS::LoadFileSection(store, loaded);
        M_RegS::LoadIroSection(store, loaded);
        M_RegS::LoadPrintSection(store, loaded);
        M_RegS::LoadKojinSection(store, loaded);
        QCOMPARE(loaded.RecentFiles, s.RecentFiles);
        QCOMPARE(loaded.ListColor, s.ListColor);
        QCOMPARE(loaded.ListFontName, s.ListFontName);
        QCOMPARE(loaded.PrintFontName, s.PrintFontName);
        QCOMPARE(loaded.HagakiOffsetMm, s.HagakiOffsetMm);
        QCOMPARE(loaded.Sender.Name, s.Sender.Name);
        QCOMPARE(loaded.Sender.Ju1, s.Sender.Ju1);
        QCOMPARE(loaded.Sender.Ju2, s.Sender.Ju2);
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settings_store.moc"

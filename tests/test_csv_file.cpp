#include "files/clipboard_record.h"
#include "files/cp932_codec.h"
#include "files/csv_reader.h"
#include "files/csv_writer.h"
#include "files/storable_value.h"
#include "model/app_error.h"
#include "model/record_keys.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString Header = u"氏名(%1),電話番号,メールアドレス,〒,住所1,住所2,一言メモ\r\n"_s;

QByteArray cp932(const QString &text)
{
    const EncodedText e = EncodeCp932(text);
    if (!e.ok())
        qFatal("test text is not CP932");
    return e.bytes;
}

QStringList fieldsOf(const Cls_住所 &r)
{
    QStringList out;
    for (int i = 0; i < FieldCount; ++i)
        out << r.field(Field(i));
    return out;
}

// Each record as its fields joined by "|", for compact expectations.
QStringList rowsOf(const Cls_管理 &book)
{
    QStringList rows;
    for (const auto &r : book)
        rows << fieldsOf(*r).join(u'|');
    return rows;
}

QString loadError(const QByteArray &bytes)
{
    try {
        LoadBookFromBytes(bytes);
    } catch (const AppError &e) {
        return e.description();
    }
    return {};
}

void addRecord(Cls_管理 &book, const QStringList &f)
{
    book.Add(f[0], f[1], f[2], f[3], f[4], f[5], f[6], &book, -1, MakeRecordKey(book.Count() + 1));
}

QStringList dirEntries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestCsvFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesHeaderAndOneLinePerRecord()
    {
        Cls_管理 book;
        addRecord(book, {u"山田太郎"_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s});
        addRecord(book, {u"鈴木"_s, u"03-1234-5678"_s, u"a@example.jp"_s, u"100-0001"_s,
                         u"東京都千代田区1－2"_s, u"〜ビル"_s, u"メモ"_s});
        const QByteArray expected = cp932(Header.arg(2) + u"山田太郎,,,,,,\r\n"_s
                                          + u"鈴木,03-1234-5678,a@example.jp,100-0001,東京都千代田区1－2,～ビル,メモ\r\n"_s);
        QCOMPARE(EncodeBook(book), expected);
        QCOMPARE(EncodeBook(Cls_管理()), cp932(Header.arg(0)));
    }

    void reads_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("expectedCount");

        QTest::newRow("header only") << Header.arg(0) << QStringList() << 0;
        QTest::newRow("header of seven empty lines")
            << u"\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"_s << QStringList() << -1;
        QTest::newRow("header without count")
            << u"氏名,電話番号,メールアドレス,〒,住所1,住所2,一言メモ\r\na,b,c,d,e,f,g\r\n"_s
            << QStringList{u"a|b|c|d|e|f|g"_s} << -1;
        QTest::newRow("count spread over the item")
            << u"氏名(1)2,,,,,,\r\n"_s << QStringList() << 12;
        QTest::newRow("fewer claimed than held")
            << Header.arg(1) + u"a,,,,,,\r\nb,,,,,,\r\n"_s
            << QStringList{u"a||||||"_s, u"b||||||"_s} << 1;
        QTest::newRow("eighth item shifts into the next record")
            << Header.arg(2) + u"a,,,,,,,x\r\nb,,,,,\r\n"_s
            << QStringList{u"a||||||"_s, u"x|b|||||"_s} << 2;
        QTest::newRow("LF and CR line ends")
            << u"氏名(2),,,,,,\na,,,,,,m\rb,,,,,,\n"_s
            << QStringList{u"a||||||m"_s, u"b||||||"_s} << 2;
        QTest::newRow("no line end at the end")
            << Header.arg(1) + u"a,b,c,d,e,f,g"_s << QStringList{u"a|b|c|d|e|f|g"_s} << 1;
        QTest::newRow("comma at the very end gives an empty memo")
            << Header.arg(1) + u"a,b,c,d,e,f,"_s << QStringList{u"a|b|c|d|e|f|"_s} << 1;
        QTest::newRow("empty lines after the last record")
            << Header.arg(1) + u"a,,,,,,\r\n\r\n\n\r"_s << QStringList{u"a||||||"_s} << 1;
        QTest::newRow("leading blanks skipped, tabs and trailing blanks kept")
            << Header.arg(1) + u"  a,\tb, c ,d  ,,,\r\n"_s << QStringList{u"a|\tb|c |d  |||"_s} << 1;
        QTest::newRow("quoted items carry commas, line ends and blanks")
            << Header.arg(1) + u"\"a,b\",  \"x\r\ny\",\" lead\",\"\",e,f,g\r\n"_s
            << QStringList{u"a,b|x\r\ny| lead||e|f|g"_s} << 1;
        QTest::newRow("text after the closing quote is dropped")
            << Header.arg(1) + u"\"a\"zz,b,c,d,e,f,g\r\n"_s << QStringList{u"a|b|c|d|e|f|g"_s} << 1;
        QTest::newRow("quote inside an unquoted item is data")
            << Header.arg(1) + u"a\"b\",,,,,,\r\n"_s << QStringList{u"a\"b\"||||||"_s} << 1;
        QTest::newRow("unclosed quote runs to the end")
            << Header.arg(1) + u"a,b,c,d,e,f,\"memo\r\n"_s << QStringList{u"a|b|c|d|e|f|memo\r\n"_s} << 1;
    }

    void reads()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, rows);
        QFETCH(int, expectedCount);
        const QByteArray bytes = cp932(text);
        QCOMPARE(ReadCsvHeader(DecodeCp932(bytes).text).expectedCount, expectedCount);
        const LoadedBook loaded = LoadBookFromBytes(bytes);
        QCOMPARE(rowsOf(*loaded.book), rows);
        QCOMPARE(loaded.keyCounter, qint32(rows.size() + 1));
        for (int i = 1; i <= loaded.book->Count(); ++i) {
            QCOMPARE(loaded.book->Item(i).PSkey, MakeRecordKey(i));
            QCOMPARE(&loaded.book->Item(i).管理(), loaded.book.get());
        }
    }

    void progressCountsRecords()
    {
        QList<int> seen;
        LoadBookFromBytes(cp932(Header.arg(9) + u"a,,,,,,\r\nb,,,,,,\r\nc,,,,,,\r\n"_s),
                          [&](int n) { seen << n; });
        QCOMPARE(seen, (QList<int>{1, 2, 3}));
    }

    void refusesBrokenFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("inHeader");
        QTest::newRow("empty file") << QByteArray() << true;
        QTest::newRow("header cut short") << cp932(u"氏名(1),電話番号\r\n"_s) << true;
        QTest::newRow("count above the limit") << cp932(Header.arg(32768)) << true;
        QTest::newRow("huge count") << cp932(Header.arg(u"99999999999999999999999"_s)) << true;
        QTest::newRow("record cut short") << cp932(Header.arg(1) + u"a,b,c\r\n"_s) << false;
        QTest::newRow("blank line then a partial record")
            << cp932(Header.arg(1) + u"a,,,,,,\r\n\r\nx\r\n"_s) << false;
    }

    void refusesBrokenFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, inHeader);
        const QString text = DecodeCp932(bytes).text;
        bool headerFailed = false;
        try {
            ReadCsvHeader(text);
        } catch (const AppError &) {
            headerFailed = true;
        }
        QCOMPARE(headerFailed, inHeader);
        QVERIFY(!loadError(bytes).isEmpty());
    }

    void refusesMoreRecordsThanABookHolds()
    {
        QString text = u"氏名,,,,,,\r\n"_s;
        for (int i = 0; i <= MaxBookRecords; ++i)
            text += u"x,,,,,,\r\n"_s;
        QVERIFY(loadError(cp932(text)).contains(u"32767"_s));
    }

    void invalidBytesAreCountedAndNotSavedBack()
    {
        const QByteArray bytes = cp932(Header.arg(1)) + QByteArray("a\x81,,,,,,\r\n");
        const LoadedBook loaded = LoadBookFromBytes(bytes);
        QCOMPARE(loaded.invalidSequences, 1);
        QCOMPARE(loaded.book->Item(1).PName, u"a\uFFFD"_s);
        try {
            EncodeBook(*loaded.book);
            QFAIL("a value holding U+FFFD was saved");
        } catch (const AppError &e) {
            QVERIFY2(e.description().contains(u"U+FFFD"_s), qPrintable(e.description()));
        }
    }

    void refusesUnstorableValuesNamingTheEntry_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("emoji in the memo") << 6 << u"よろしく😀"_s << u"😀"_s;
        QTest::newRow("rare kanji in the name") << 0 << u"𠮷田"_s << u"U+20BB7"_s;
        QTest::newRow("yen sign in the address") << 4 << u"¥100"_s << u"￥"_s;
        QTest::newRow("leading double quote") << 1 << u"\"03"_s << u"二重引用符"_s;
        QTest::newRow("quote in a value that needs quotes") << 5 << u"a\"b,c"_s << u"二重引用符"_s;
    }

    void refusesUnstorableValuesNamingTheEntry()
    {
        QFETCH(int, field);
        QFETCH(QString, value);
        QFETCH(QString, mentions);
        Cls_管理 book;
        addRecord(book, {u"先頭"_s, {}, {}, {}, {}, {}, {}});
        QStringList f{u"佐藤"_s, {}, {}, {}, {}, {}, {}};
        f[field] = value;
        addRecord(book, f);
        try {
            EncodeBook(book);
            QFAIL("an unstorable value was saved");
        } catch (const AppError &e) {
            const QString d = e.description();
            QVERIFY2(d.contains(u"2件目"_s), qPrintable(d));
            QVERIFY2(d.contains(FieldCaptions()[size_t(field)]), qPrintable(d));
            QVERIFY2(d.contains(mentions), qPrintable(d));
        }
    }

    // Any book of storable values saves and loads back identical (after the
    // writer's folding), and a file the writer wrote saves back byte for byte.
    void storableBooksRoundTrip()
    {
        const QString pool = u"山田太郎花子東京都千代田区丁目番地号ｱｲｳｴｵあいう0123456789-－〜~ー"
                             "abcXYZ@._ ,\r\n\t\"“”①Ⅰ㈱￥＼\\"_s;
        QRandomGenerator rng(20261210);
        int refused = 0, saved = 0;
        for (int round = 0; round < 300; ++round) {
            Cls_管理 book;
            const int records = int(rng.bounded(6));
            for (int r = 0; r < records; ++r) {
                QStringList f;
                for (int i = 0; i < FieldCount; ++i) {
                    QString v;
                    const int len = int(rng.bounded(8));
                    for (int k = 0; k < len; ++k)
                        v += pool.at(rng.bounded(pool.size()));
                    f << v;
                }
                addRecord(book, f);
            }
            bool storable = true;
            for (const auto &r : book) {
                for (int i = 0; i < FieldCount; ++i)
                    storable = storable && CheckStorableValue(r->field(Field(i))).ok();
            }
            QByteArray bytes;
            try {
                bytes = EncodeBook(book);
            } catch (const AppError &) {
                QVERIFY(!storable);
                ++refused;
                continue;
            }
            QVERIFY(storable);
            ++saved;
            const LoadedBook loaded = LoadBookFromBytes(bytes);
            QCOMPARE(loaded.book->Count(), book.Count());
            QCOMPARE(loaded.keyCounter, qint32(book.Count() + 1));
            for (int i = 1; i <= book.Count(); ++i) {
                QStringList want = fieldsOf(book.Item(i));
                for (QString &v : want)
                    FoldToCp932Forms(v);
                QCOMPARE(fieldsOf(loaded.book->Item(i)), want);
                QCOMPARE(loaded.book->Item(i).PSkey, MakeRecordKey(i));
            }
            QCOMPARE(EncodeBook(*loaded.book), bytes);
        }
        QVERIFY(refused > 10 && saved > 100);
    }

    void savesReplaceTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"住所録.csv"_s);
        writeAll(path, "old");
        Cls_管理 book;
        addRecord(book, {u"山田"_s, {}, {}, {}, {}, {}, {}});
        SaveBookToFile(path, book);
        QCOMPARE(readAll(path), EncodeBook(book));
        QCOMPARE(dirEntries(dir.path()), QStringList{u"住所録.csv"_s});
        QCOMPARE(LoadBookFromBytes(ReadBookBytes(path)).book->Item(1).PName, u"山田"_s);
    }

    void failedSavesLeaveTheOldFile_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("value that cannot be stored") << 0;
        QTest::newRow("target is a folder") << 1;
        QTest::newRow("folder does not exist") << 2;
        QTest::newRow("empty path") << 3;
    }

    void failedSavesLeaveTheOldFile()
    {
        QFETCH(int, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"book.csv"_s);
        const QByteArray old = cp932(Header.arg(1) + u"元の住所,,,,,,\r\n"_s);
        writeAll(path, old);
        QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));

        Cls_管理 book;
        addRecord(book, {u"新"_s, {}, {}, {}, {}, {}, kind == 0 ? u"😀"_s : QString()});
        const QString target = kind == 0 ? path
                             : kind == 1 ? dir.filePath(u"folder"_s)
                             : kind == 2 ? dir.filePath(u"missing/book.csv"_s)
                                         : QString();
        QVERIFY_THROWS_EXCEPTION(AppError, SaveBookToFile(target, book));
        QCOMPARE(readAll(path), old);
        QCOMPARE(dirEntries(dir.path()), (QStringList{u"book.csv"_s, u"folder"_s}));
        QVERIFY(dirEntries(dir.filePath(u"folder"_s)).isEmpty());
    }

    // A full disk, and a process killed while writing, simulated with a file
    // size limit in a child process (a read-only folder stops nothing for root).
    void fullDiskAndKilledSaveLeaveTheOldFile_data()
    {
        QTest::addColumn<bool>("killed");
        QTest::newRow("disk full") << false;
        QTest::newRow("killed mid-save") << true;
    }

    void fullDiskAndKilledSaveLeaveTheOldFile()
    {
        QFETCH(bool, killed);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"book.csv"_s);
        const QByteArray old = cp932(Header.arg(1) + u"元の住所,,,,,,\r\n"_s);
        writeAll(path, old);

        Cls_管理 book;
        for (int i = 0; i < 2000; ++i)
            addRecord(book, {u"山田太郎"_s, u"03-1234-5678"_s, u"taro@example.jp"_s, u"100-0001"_s,
                             u"東京都千代田区千代田1-1"_s, {}, {}});

        const pid_t pid = fork();
        QVERIFY(pid >= 0);
        if (pid == 0) {
            if (!killed)
                signal(SIGXFSZ, SIG_IGN);
            rlimit limit{16 * 1024, 16 * 1024};
            setrlimit(RLIMIT_FSIZE, &limit);
            try {
                SaveBookToFile(path, book);
            } catch (const AppError &) {
                _exit(3);       // refused, as it should be
            }
            _exit(0);           // reported success: the fault we look for
        }
        int status = 0;
        QCOMPARE(waitpid(pid, &status, 0), pid);
        if (killed) {
            QVERIFY(WIFSIGNALED(status));
            QCOMPARE(WTERMSIG(status), SIGXFSZ);
        } else {
            QVERIFY(WIFEXITED(status));
            QCOMPARE(WEXITSTATUS(status), 3);
        }
        QCOMPARE(readAll(path), old);
        QCOMPARE(dirEntries(dir.path()), QStringList{u"book.csv"_s});
    }

    // An entry copied and pasted comes back field for field, also when its
    // values hold what the plain line cannot carry.
    void clipboardLineRoundTrips_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("line");
        QTest::newRow("plain") << QStringList{u"山田"_s, u"03"_s, u"m"_s, u"1"_s, u"東京"_s, u"区"_s, u"メモ"_s}
                               << u"山田,03,m,1,東京,区,メモ"_s;
        QTest::newRow("leading blank, nothing quoted") << QStringList{u" 山田"_s, {}, {}, {}, {}, {}, {}}
                                                       << u" 山田,,,,,,"_s;
        QTest::newRow("comma") << QStringList{u"山田, 太郎"_s, u"03"_s, {}, {}, {}, {}, u" メモ"_s}
                               << u"\"山田, 太郎\",03,,,,,\" メモ\""_s;
        QTest::newRow("line break") << QStringList{u"山田"_s, {}, {}, {}, u"東京\r\n千代田"_s, {}, {}}
                                    << u"山田,,,,\"東京\r\n千代田\",,"_s;
    }

    void clipboardLineRoundTrips()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, line);
        Cls_住所 record;
        for (int i = 0; i < FieldCount; ++i)
            record.field(Field(i)) = fields[i];
        QCOMPARE(RecordClipboardText(record), line);
        Cls_住所 pasted;
        SetRecordFromClipboard(pasted, line);
        QVERIFY(pasted.sameFields(record));
    }

    // Texts other programs put on the clipboard.
    void clipboardTextsFromElsewhere_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("no comma changes nothing") << u"山田"_s << QStringList{{}, {}, {}, {}, {}, {}, {}};
        QTest::newRow("fewer fields") << u"山田,03"_s << QStringList{u"山田"_s, {}, {}, {}, {}, {}, {}};
        QTest::newRow("a quoted spreadsheet line") << u"\"山田\",\"03\"\r\n"_s
                                                   << QStringList{u"山田"_s, u"03"_s, {}, {}, {}, {}, {}};
        QTest::newRow("a line end at the end is not data")
            << u"1,2,3,4,5,6,7\r\n"_s << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s};
        QTest::newRow("eight fields, the memo stays empty")
            << u"1,2,3,4,5,6,7,8"_s << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, {}};
    }

    void clipboardTextsFromElsewhere()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, fields);
        Cls_住所 pasted;
        SetRecordFromClipboard(pasted, text);
        for (int i = 0; i < FieldCount; ++i)
            QCOMPARE(pasted.field(Field(i)), fields[i]);
    }

    void typedValuesRefused_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("refused");
        QTest::newRow("plain") << u"東京都千代田区"_s << false;
        QTest::newRow("leading blank, which the file quotes") << u" 東京"_s << false;
        QTest::newRow("full-width comma") << u"山田，太郎"_s << false;
        QTest::newRow("half-width comma") << u"山田,太郎"_s << true;
        QTest::newRow("line feed") << u"a\nb"_s << true;
        QTest::newRow("carriage return") << u"a\rb"_s << true;
        QTest::newRow("outside Shift_JIS") << u"😀"_s << true;
        QTest::newRow("leading quote") << u"\"a"_s << true;
    }

    void typedValuesRefused()
    {
        QFETCH(QString, value);
        QFETCH(bool, refused);
        const QString problem = TypedValueProblem(value, u"住所1"_s);
        QCOMPARE(!problem.isEmpty(), refused);
        if (refused)
            QVERIFY2(problem.contains(u"住所1"_s), qPrintable(problem));
    }

    void readingMissingFilesAndFoldersFails()
    {
        QTemporaryDir dir;
        QVERIFY_THROWS_EXCEPTION(AppError, ReadBookBytes(dir.filePath(u"none.csv"_s)));
        QVERIFY_THROWS_EXCEPTION(AppError, ReadBookBytes(dir.path()));
        QVERIFY_THROWS_EXCEPTION(AppError, ReadBookBytes(QString()));
    }
};

QTEST_GUILESS_MAIN(TestCsvFile)
#include "test_csv_file.moc"

// The command line, run as users run it: the built program in a process of
// its own, with a settings folder of its own.

#include "cli/command_line.h"
#include "files/cp932_codec.h"
#include "files/book_export.h"
#include "files/csv_reader.h"
#include "model/book_document.h"
#include "print/font_substitutes.h"
#include "print/print_run_state.h"
#include "print/printer_surface.h"
#include "print/printout_kinds.h"
#include "print/printouts.h"
#include "settings/app_settings.h"
#include "settings/settings_defaults.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Outcome {
    int exitCode = -1;
    QString out, err;
};

class Entries : public PrintEntries {
public:
    explicit Entries(int count) : m_count(count) {}
    int Count() const override { return m_count; }
    qint32 KeyNumber(int index) const override { return index + 1; }

private:
    int m_count;
};

class Silent : public PrintProgress {
public:
    void SetStatus(const QString &) override {}
    void SetValue(int) override {}
    void PumpEvents() override {}
};

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // fileLimitKb: the most a file may grow to, as on a full disk (the
    // signal a bigger write would send is ignored, so the write fails).
    Outcome yuzaribo(const QStringList &arguments, int fileLimitKb = 0)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // No display and no settings of the user's: the defaults.
        env.remove(u"DISPLAY"_s);
        env.remove(u"QT_QPA_PLATFORM"_s);
        env.insert(u"XDG_CONFIG_HOME"_s, path(u"config"_s));
        process.setProcessEnvironment(env);
        if (fileLimitKb > 0)
            process.start(u"bash"_s, QStringList{u"-c"_s, u"trap '' XFSZ; ulimit -f %1; exec \"$0\" \"$@\""_s.arg(fileLimitKb),
                                                 QStringLiteral(YUZARIBO_BINARY)} + arguments);
        else
            process.start(QStringLiteral(YUZARIBO_BINARY), arguments);
        if (!process.waitForFinished(120000))
            return {};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    // A book of n entries, written as the program writes books.
    QString writeBook(const QString &name, int n)
    {
        QString text = u"氏名(%1),電話番号,メールアドレス,〒,住所1,住所2,一言メモ\r\n"_s.arg(n);
        for (int i = 1; i <= n; ++i)
            text += u"山田太郎%1,03-1234-%2,taro%1@example.jp,100-0001,東京都千代田区%1,ゆざりぼ荘,メモ\r\n"_s.arg(i).arg(i, 4, 10, QLatin1Char('0'));
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write the book");
        file.write(EncodeCp932(text).bytes);
        return file.fileName();
    }

    static QList<QImage> pages(const QString &pdf, const QString &prefix)
    {
        QProcess::execute(u"pdftoppm"_s, {u"-r"_s, u"50"_s, u"-png"_s, pdf, prefix});
        QList<QImage> images;
        for (int page = 1;; ++page) {
            QImage image(u"%1-%2.png"_s.arg(prefix).arg(page));
            if (image.isNull())
                image = QImage(u"%1-%2.png"_s.arg(prefix).arg(page, 2, 10, QLatin1Char('0')));
            if (image.isNull())
                return images;
            images << image;
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        InstallFontSubstitutes();
    }

    void usageAndFailures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");   // on standard error, or on standard output for 0
        const QString book = writeBook(u"book.csv"_s, 3);
        QFile broken(path(u"broken.csv"_s));
        broken.open(QIODevice::WriteOnly);
        broken.write("\x8e\x81\x96\xbc(2),a,b,c,d,e,f\r\nx,y\r\n");   // the second entry ends half-way
        broken.close();
        const QString pdf = path(u"out.pdf"_s);
        QTest::newRow("version") << QStringList{u"--version"_s} << 0 << u"Yuzaribo 1.0\n"_s;
        QTest::newRow("help") << QStringList{u"--help"_s} << 0 << u"Usage: yuzaribo [BOOK.csv]"_s;
        QTest::newRow("unknown option") << QStringList{u"--colour"_s} << 2 << u"「--colour」というオプションはありません。"_s;
        QTest::newRow("unknown kind") << QStringList{u"--print"_s, u"cards"_s, u"--pdf"_s, pdf, book} << 2
                                      << u"印刷の種類「cards」はありません"_s;
        QTest::newRow("kind missing") << QStringList{u"--print"_s, u"--pdf"_s, pdf, book} << 2 << u"--print のあと"_s;
        QTest::newRow("file missing") << QStringList{u"--print"_s, u"list"_s, u"--pdf"_s} << 2 << u"--pdf のあと"_s;
        QTest::newRow("no destination") << QStringList{u"--print"_s, u"list"_s, book} << 2 << u"--pdf か --printer"_s;
        QTest::newRow("two destinations") << QStringList{u"--print"_s, u"list"_s, u"--pdf"_s, pdf, u"--printer"_s, u"P"_s, book}
                                          << 2 << u"--pdf か --printer"_s;
        QTest::newRow("no book") << QStringList{u"--print"_s, u"list"_s, u"--pdf"_s, pdf} << 2 << u"住所録のファイルがありません。"_s;
        QTest::newRow("missing book") << QStringList{u"--print"_s, u"list"_s, u"--pdf"_s, pdf, path(u"none.csv"_s)} << 1
                                      << u"住所録「%1」を読み込めませんでした。"_s.arg(path(u"none.csv"_s));
        QTest::newRow("broken book") << QStringList{u"--print"_s, u"list"_s, u"--pdf"_s, pdf, path(u"broken.csv"_s)} << 1
                                     << u"住所録「%1」を読み込めませんでした。"_s.arg(path(u"broken.csv"_s));
        QTest::newRow("no such folder") << QStringList{u"--print"_s, u"labels"_s, u"--pdf"_s, path(u"none/out.pdf"_s), book}
                                        << 1 << u"PDFファイル「%1」を作れませんでした。"_s.arg(path(u"none/out.pdf"_s));
        QTest::newRow("start not a number") << QStringList{u"--print"_s, u"labels"_s, u"--start"_s, u"x"_s, u"--pdf"_s, pdf, book}
                                            << 2 << u"--start のあとにラベルの番号"_s;
        QTest::newRow("start past the sheet") << QStringList{u"--print"_s, u"labels"_s, u"--start"_s, u"15"_s, u"--pdf"_s, pdf, book}
                                              << 2 << u"この用紙のラベルは 14 枚です。"_s;
        QTest::newRow("export without a file") << QStringList{u"--export"_s, u"vcard"_s, book} << 2 << u"--out"_s;
        QTest::newRow("unknown export form") << QStringList{u"--export"_s, u"ldif"_s, u"--out"_s, pdf, book} << 2
                                             << u"書き出しの形式「ldif」はありません"_s;
        QTest::newRow("print and export") << QStringList{u"--print"_s, u"list"_s, u"--export"_s, u"vcard"_s, u"--out"_s,
                                                         pdf, book}
                                          << 2 << u"一緒に使えません"_s;
        QTest::newRow("export into a folder") << QStringList{u"--export"_s, u"vcard"_s, u"--out"_s, path(QString()), book}
                                              << 1 << u"フォルダー"_s;
        QTest::newRow("no such printer") << QStringList{u"--print"_s, u"list"_s, u"--printer"_s, u"YuzariboNoSuchQueue"_s, book}
                                         << 1 << u"プリンタ「YuzariboNoSuchQueue」が見つかりません。"_s;
    }

    void usageAndFailures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        const Outcome outcome = yuzaribo(arguments);
        QCOMPARE(outcome.exitCode, exitCode);
        const QString text = exitCode == 0 ? outcome.out : outcome.err;
        QVERIFY2(text.contains(said), qPrintable(text));
        if (exitCode == 2)
            QVERIFY(outcome.err.contains(u"Usage: yuzaribo"_s));
        // A failed run leaves no PDF behind, not even half of one.
        QVERIFY(!QFile::exists(path(u"out.pdf"_s)));
        QCOMPARE(QDir(m_dir.path()).entryList({u".*.pdf.*"_s}, QDir::Files | QDir::Hidden), QStringList());
    }

    // A disk that fills up half-way: the file's name in the message, the
    // old PDF as it was, no part left beside it.
    void aFullDiskLeavesTheOldPdf()
    {
        const QString book = writeBook(u"full.csv"_s, 2000);
        const QString pdf = path(u"full.pdf"_s);
        QFile old(pdf);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the old PDF");
        old.close();
        const Outcome outcome = yuzaribo({u"--print"_s, u"list"_s, u"--pdf"_s, pdf, book}, 200);
        QCOMPARE(outcome.exitCode, 1);
        QVERIFY2(outcome.err.contains(u"PDFファイル「%1」に書き込めませんでした。"_s.arg(pdf)), qPrintable(outcome.err));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("the old PDF"));
        QCOMPARE(QDir(m_dir.path()).entryList({u".full.pdf.*"_s}, QDir::Files | QDir::Hidden), QStringList());
        QFile::remove(pdf);
    }

    // Arguments that do not start with "--" name a book for the window.
    void theWindowsCommandLineStays()
    {
        QByteArray a0 = "yuzaribo", a1 = "住所録.csv", a2 = "--print";
        char *argv[] = {a0.data(), a1.data(), a2.data(), nullptr};
        QVERIFY(!RunCommandLine(3, argv));
    }

    // The export is the book in the chosen form, and replaces a file whole.
    void exportWritesTheBook_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<int>("format");
        QTest::newRow("vcard") << u"vcard"_s << int(ExportFormat::VCard);
        QTest::newRow("csv-utf8") << u"csv-utf8"_s << int(ExportFormat::CsvOurs);
        QTest::newRow("csv-google") << u"csv-google"_s << int(ExportFormat::CsvGoogle);
    }

    void exportWritesTheBook()
    {
        QFETCH(QString, form);
        QFETCH(int, format);
        const QString book = writeBook(u"export-%1.csv"_s.arg(form), 12);
        const QString out = path(u"export-%1.out"_s.arg(form));
        QFile old(out);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older, longer file that the export replaces whole");
        old.close();
        const Outcome outcome = yuzaribo({u"--export"_s, form, u"--out"_s, out, book});
        QCOMPARE(outcome.exitCode, 0);
        QVERIFY2(outcome.err.isEmpty(), qPrintable(outcome.err));
        LoadedBook loaded = LoadBookFromBytes(ReadBookBytes(book));
        QFile written(out);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), ExportBytes(*loaded.book, ExportFormat(format)));
    }

    // The command line's PDF holds the same pages as the printout drawn in
    // this process into a PDF of the same surface, for every printout; it
    // has the printout's title, embedded faces and readable text.
    void thePdfIsThePrintout_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("number");
        QTest::newRow("list") << u"list"_s << 1;
        QTest::newRow("labels") << u"labels"_s << 2;
        QTest::newRow("phones") << u"phones"_s << 3;
        QTest::newRow("postcards") << u"postcards"_s << 4;
    }

    void thePdfIsThePrintout()
    {
        QFETCH(QString, kind);
        QFETCH(int, number);
        const QString book = writeBook(u"book-%1.csv"_s.arg(kind), 45);
        const QString cli = path(u"cli-%1.pdf"_s.arg(kind));
        const Outcome outcome = yuzaribo({u"--print"_s, kind, u"--sender"_s, u"--pdf"_s, cli, book});
        QCOMPARE(outcome.exitCode, 0);
        QVERIFY2(!outcome.err.contains(u"yuzaribo:"_s), qPrintable(outcome.err));

        // The same book and settings, drawn here.
        BookDocument document;
        LoadedBook loaded = LoadBookFromBytes(ReadBookBytes(book));
        document.ReplaceBook(std::move(loaded.book), loaded.keyCounter);
        document.SetBookFileName(book);
        SettingsRecord settings;
        settings.PrintFontName = SettingsDefaults::PrintFontName;
        PrintRunState run;
        run.PrintSender = number == 4;
        Silent progress;
        Entries entries(45);
        const QString here = path(u"here-%1.pdf"_s.arg(kind));
        {
            PrinterSetup setup;
            ApplyKindPaper(setup, FindPrintoutKind(number)->paper);
            PrinterSurface surface(setup, u"x"_s, here);
            PrintJob job{document, settings, run, progress, entries, nullptr, {}, QDate::currentDate()};
            FindPrintoutKind(number)->print(&surface, job, 0);
        }
        const QList<QImage> a = pages(cli, path(u"cli-%1"_s.arg(kind))), b = pages(here, path(u"here-%1"_s.arg(kind)));
        QVERIFY(!a.isEmpty());
        QCOMPARE(a.size(), b.size());
        for (int p = 0; p < a.size(); ++p)
            QVERIFY2(a[p] == b[p], qPrintable(u"page %1 differs"_s.arg(p + 1)));

        // A new file's modes, not the temporary file's (this user only).
        const mode_t mask = umask(0);
        umask(mask);
        struct stat status {};
        QCOMPARE(stat(QFile::encodeName(cli).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, 0666 & ~mask);

        QProcess info;
        info.start(u"pdfinfo"_s, {cli});
        info.waitForFinished();
        const QString title = PrintDocumentTitle(*FindPrintoutKind(number), book);
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(u"Title:           "_s + title));
        QProcess fonts;
        fonts.start(u"pdffonts"_s, {cli});
        fonts.waitForFinished();
        const QStringList rows = QString::fromUtf8(fonts.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY(!rows.isEmpty());
        // Embedded, and the first run's faces through their IPA stand-ins:
        // no fallback face for a font name the settings never held.
        for (const QString &row : rows) {
            QVERIFY2(row.contains(u" yes "_s), qPrintable(row));
            QVERIFY2(row.startsWith(u"IPA"_s), qPrintable(row));
        }
    }
};

QTEST_MAIN(TestCommandLine)
#include "test_command_line.moc"

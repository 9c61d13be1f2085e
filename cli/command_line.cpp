#include "cli/command_line.h"

#include "cli/terminal_progress.h"
#include "files/book_export.h"
#include "files/csv_reader.h"
#include "files/csv_writer.h"
#include "files/label_templates.h"
#include "model/app_error.h"
#include "model/book_document.h"
#include "print/font_substitutes.h"
#include "print/print_run_state.h"
#include "print/printer_surface.h"
#include "print/printout_kinds.h"
#include "print/printouts.h"
#include "print/standard_label_sheet.h"
#include "settings/app_settings.h"
#include "settings/settings_defaults.h"
#include "settings/settings_sections.h"
#include "settings/settings_store.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinterInfo>

#include <cstdio>
#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kVersion = u"Yuzaribo 1.0"_s;

const QString kUsage = uR"(使い方: yuzaribo [住所録.csv]
        yuzaribo --print 種類 [--sender] [--start 番号] [--outlines] (--pdf ファイル | --printer プリンタ名) 住所録.csv
        yuzaribo --export 形式 --out ファイル 住所録.csv
  --print 種類      ウィンドウを開かずに、住所録の全員を住所録の順に印刷します。
                    種類: list（住所録一覧表）、labels（宛名ラベル）、
                          phones（電話番号一覧表）、postcards（はがき宛名面）
                    宛名ラベルは、印刷の画面で選んだラベル用紙に印刷します。
  --sender          はがきに差出人も印刷します。
  --start 番号      宛名ラベルを1枚目のその番号のラベルから印刷します（左上が1）。
  --outlines        宛名ラベルの枠を細い灰色の線で印刷します。
  --pdf ファイル    PDFファイルに保存します。
  --printer 名前    そのプリンタ（CUPS のキュー名）で印刷します。
  --export 形式     住所録の全員を、ほかのソフト用のファイルに書き出します。
                    形式: vcard（vCard 3.0）、csv-utf8（UTF-8のCSV・この住所録の見出し）、
                          csv-google（UTF-8のCSV・Google 連絡先の見出し）
  --out ファイル    書き出すファイル。失敗したときは、元のファイルはそのままです。
  --help            この説明を表示します。
  --version         バージョンを表示します。
終了コード: 0 成功、1 住所録・プリンタ・PDF・書き出しの失敗、2 使い方の誤り。

Usage: yuzaribo [BOOK.csv]
       yuzaribo --print KIND [--sender] [--start N] [--outlines] (--pdf FILE | --printer NAME) BOOK.csv
       yuzaribo --export FORMAT --out FILE BOOK.csv
  --print KIND      print every entry of the book in book order, without a window;
                    KIND: list, labels, phones or postcards;
                    labels go on the label sheet chosen in the print window
  --sender          also print the sender on postcards
  --start N         start the labels at label N of the first sheet (1 is top left)
  --outlines        print the labels' outlines in thin grey
  --pdf FILE        write a PDF file
  --printer NAME    print on that CUPS queue
  --export FORMAT   write every entry of the book for other programs;
                    FORMAT: vcard (vCard 3.0), csv-utf8 (UTF-8 CSV, this program's header)
                    or csv-google (UTF-8 CSV, Google Contacts' header)
  --out FILE        the file to write; a failed export leaves it as it was
  --help            show this help
  --version         show the version
Exit status: 0 done, 1 the book, the printer, the PDF or the export failed, 2 wrong usage.
)"_s;

void write(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

struct PrintRequest {
    int kind = 0;
    std::optional<ExportFormat> exportFormat;
    QString out;
    bool sender = false;
    int labelStart = 1;
    bool labelOutlines = false;
    QString pdf, printer, book;
};

// KIND on the command line, to the printout's kind.
int KindNamed(const QString &name)
{
    static const QHash<QString, int> kinds = {{u"list"_s, 1}, {u"labels"_s, 2}, {u"phones"_s, 3}, {u"postcards"_s, 4}};
    return kinds.value(name, 0);
}

// Every entry of the book in book order.
class BookEntries : public PrintEntries {
public:
    explicit BookEntries(const Cls_管理 &book)
    {
        m_keys.reserve(book.Count());
        for (const auto &record : book)
            m_keys.append(record->PSkey.mid(1).toInt());
    }
    int Count() const override { return int(m_keys.size()); }
    qint32 KeyNumber(int index) const override { return m_keys.value(index); }

private:
    QList<qint32> m_keys;
};

int usageError(const QString &problem)
{
    write(stderr, u"yuzaribo: %1\n\n"_s.arg(problem) + kUsage);
    return 2;
}

int fail(const QString &description)
{
    write(stderr, u"yuzaribo: %1\n"_s.arg(description));
    return 1;
}

// Loads the book of a request into document; false (said on standard
// error) when it cannot be read.
bool loadBook(const PrintRequest &request, BookDocument &document, const QString &replacedWord)
{
    try {
        LoadedBook loaded = LoadBookFromBytes(ReadBookBytes(request.book));
        if (loaded.invalidSequences > 0)
            write(stderr, u"yuzaribo: 「%1」には Shift_JIS として読めないバイトが %2 か所あります。〓などに置き換えて%3。\n"_s
                              .arg(request.book)
                              .arg(loaded.invalidSequences)
                              .arg(replacedWord));
        document.ReplaceBook(std::move(loaded.book), loaded.keyCounter);
        // The page header shows the full path, as for a book opened in the window.
        document.SetBookFileName(QFileInfo(request.book).absoluteFilePath());
    } catch (const AppError &e) {
        fail(u"住所録「%1」を読み込めませんでした。\n%2"_s.arg(request.book, e.description()));
        return false;
    }
    return true;
}

int runExport(int argc, char **argv, const PrintRequest &request)
{
    QCoreApplication app(argc, argv);
    BookDocument document;
    if (!loadBook(request, document, u"書き出します"_s))
        return 1;
    try {
        WriteFileAtomically(request.out, ExportBytes(document.OpenBook(), *request.exportFormat));
    } catch (const AppError &e) {
        return fail(e.description());
    }
    return 0;
}

int runPrint(int argc, char **argv, const PrintRequest &request)
{
    // No window opens: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(u"Yuzaribo"_s);
    QGuiApplication::setOrganizationName(u"Yuzaribo"_s);
    InstallFontSubstitutes();

    BookDocument document;
    if (!loadBook(request, document, u"印刷します"_s))
        return 1;
    if (!request.printer.isEmpty() && QPrinterInfo::printerInfo(request.printer).isNull())
        return fail(u"プリンタ「%1」が見つかりません。"_s.arg(request.printer));

    // The user's print fonts, sender and position adjustment, read only;
    // the first run's fonts when the program has never run for this user
    // (the store's sections are read only after a first run wrote them).
    SettingsRecord settings;
    settings.PrintFontName = SettingsDefaults::PrintFontName;
    {
        SettingsStore store;
        if (store.contains(u"Print"_s, u"Print0"_s))
            M_RegS::LoadPrintSection(store, settings);
        M_RegS::LoadKojinSection(store, settings);
    }
    const PrintoutKind &kind = *FindPrintoutKind(request.kind);
    PrinterSetup printer;
    printer.Name = request.printer;
    printer.ToPdfFile = !request.pdf.isEmpty();
    printer.PdfFileName = request.pdf;

    PrintRunState run;
    run.PrintKindName = kind.name;
    run.PrintSender = request.sender && kind.asksSender;
    if (kind.kind == 2) {
        if (!settings.LabelPart.isEmpty()) {
            if (const LabelSheet *sheet = LabelSheetDatabase::System().Find(settings.LabelBrand, settings.LabelPart))
                run.Labels.Sheet = *sheet;
            else
                write(stderr, u"yuzaribo: ラベル用紙「%1 %2」がラベル用紙のデータに見つかりません。標準の用紙で印刷します。\n"_s
                                  .arg(settings.LabelBrand, settings.LabelPart));
        }
        const int count = run.Labels.Sheet ? run.Labels.Sheet->LabelCount() : StandardLabelCount;
        if (request.labelStart > count)
            return usageError(u"--start %1: この用紙のラベルは %2 枚です。"_s.arg(request.labelStart).arg(count));
        run.Labels.Start = request.labelStart;
        run.Labels.Outlines = request.labelOutlines;
    }
    ApplyKindPaper(printer, PaperOfRun(kind, run.Labels));
    const BookEntries entries(document.OpenBook());
    const QString documentName = printer.ToPdfFile ? PrintDocumentTitle(kind, document.BookFileName()) : kind.name;
    PrinterSurface surface(printer, documentName, printer.PdfFileName);
    QStringList failures;
    {
        TerminalProgress progress(entries.Count(), [&surface] { return surface.PagesBegun(); });
        PrintJob job{document, settings, run, progress, entries, nullptr, [&failures](const QString &d) {
                         if (!failures.contains(d))
                             failures << d;
                     },
                     QDate::currentDate()};
        kind.print(&surface, job, 0);
    }
    if (!failures.isEmpty())
        return fail(failures.join(u'\n'));
    return 0;
}

} // namespace

std::optional<int> RunCommandLine(int argc, char **argv)
{
    if (argc < 2 || std::strncmp(argv[1], "--", 2) != 0)
        return std::nullopt;
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);

    if (args.first() == u"--help") {
        write(stdout, kUsage);
        return 0;
    }
    if (args.first() == u"--version") {
        write(stdout, kVersion + u'\n');
        return 0;
    }

    PrintRequest request;
    QStringList books;
    bool printing = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const auto value = [&](QString &into) {
            if (i + 1 >= args.size() || args[i + 1].startsWith(u"--"))
                return false;
            into = args[++i];
            return true;
        };
        if (a == u"--print") {
            QString name;
            if (!value(name))
                return usageError(u"--print のあとに種類（list、labels、phones、postcards）がありません。"_s);
            request.kind = KindNamed(name);
            if (request.kind == 0)
                return usageError(u"印刷の種類「%1」はありません（list、labels、phones、postcards）。"_s.arg(name));
            printing = true;
        } else if (a == u"--export") {
            QString name;
            if (!value(name))
                return usageError(u"--export のあとに形式（vcard、csv-utf8、csv-google）がありません。"_s);
            request.exportFormat = ExportFormatNamed(name);
            if (!request.exportFormat)
                return usageError(u"書き出しの形式「%1」はありません（vcard、csv-utf8、csv-google）。"_s.arg(name));
        } else if (a == u"--out") {
            if (!value(request.out))
                return usageError(u"--out のあとにファイル名がありません。"_s);
        } else if (a == u"--sender") {
            request.sender = true;
        } else if (a == u"--start") {
            QString number;
            bool ok = false;
            if (value(number))
                request.labelStart = number.toInt(&ok);
            if (!ok || request.labelStart < 1)
                return usageError(u"--start のあとにラベルの番号（1以上）がありません。"_s);
        } else if (a == u"--outlines") {
            request.labelOutlines = true;
        } else if (a == u"--pdf") {
            if (!value(request.pdf))
                return usageError(u"--pdf のあとにファイル名がありません。"_s);
        } else if (a == u"--printer") {
            if (!value(request.printer))
                return usageError(u"--printer のあとにプリンタ名がありません。"_s);
        } else if (a.startsWith(u"--")) {
            return usageError(u"「%1」というオプションはありません。"_s.arg(a));
        } else {
            books << a;
        }
    }
    if (printing == request.exportFormat.has_value())
        return usageError(printing ? u"--print と --export は一緒に使えません。"_s : u"--print か --export がありません。"_s);
    if (request.exportFormat) {
        if (request.out.isEmpty())
            return usageError(u"--export には --out で書き出すファイルを指定して下さい。"_s);
        if (!request.pdf.isEmpty() || !request.printer.isEmpty())
            return usageError(u"--export に --pdf や --printer は使えません。"_s);
    } else if (request.pdf.isEmpty() == request.printer.isEmpty()) {
        return usageError(u"--pdf か --printer のどちらか一つを指定して下さい。"_s);
    }
    if (books.size() != 1)
        return usageError(books.isEmpty() ? u"住所録のファイルがありません。"_s
                                          : u"住所録のファイルは一つだけ指定して下さい。"_s);
    request.book = books.first();
    return request.exportFormat ? runExport(argc, argv, request) : runPrint(argc, argv, request);
}

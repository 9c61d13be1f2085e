#include "print/printers.h"

#include <QFile>
#include <QHash>
#include <QLibrary>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>

#include <cups/cups.h>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Script {
    bool on = false;
    QList<InstalledPrinter> printers;
    QString defaultName;
    QList<InstalledPrinter> writes;
    QString nextFailure;
};

Script &TheScript()
{
    static Script script;
    return script;
}

// libcups, loaded at run time: the print support links it only through its
// plugin. Null when it is not installed.
QLibrary *Cups()
{
    static QLibrary cups(u"cups"_s, 2);
    static const bool loaded = cups.load();
    return loaded ? &cups : nullptr;
}

// The device URI of every local queue. Without libcups the ports stay
// empty, which costs nothing but the port.
QHash<QString, QString> DeviceUris()
{
    using GetDests = int (*)(cups_dest_t **);
    using FreeDests = void (*)(int, cups_dest_t *);
    using GetOption = const char *(*)(const char *, int, cups_option_t *);

    QHash<QString, QString> uris;
    QLibrary *cups = Cups();
    if (!cups)
        return uris;
    auto getDests = reinterpret_cast<GetDests>(cups->resolve("cupsGetDests"));
    auto freeDests = reinterpret_cast<FreeDests>(cups->resolve("cupsFreeDests"));
    auto getOption = reinterpret_cast<GetOption>(cups->resolve("cupsGetOption"));
    if (!getDests || !freeDests || !getOption)
        return uris;
    cups_dest_t *dests = nullptr;
    const int count = getDests(&dests);
    for (int i = 0; i < count; ++i) {
        if (dests[i].instance)
            continue;
        if (const char *uri = getOption("device-uri", dests[i].num_options, dests[i].options))
            uris.insert(QString::fromUtf8(dests[i].name), QString::fromUtf8(uri));
    }
    freeDests(count, dests);
    return uris;
}

} // namespace

namespace Printers {

QList<InstalledPrinter> Installed()
{
    if (TheScript().on)
        return TheScript().printers;
    const QList<QPrinterInfo> infos = QPrinterInfo::availablePrinters();
    if (infos.isEmpty())
        return {};
    const QHash<QString, QString> uris = DeviceUris();
    QList<InstalledPrinter> printers;
    printers.reserve(infos.size());
    for (const QPrinterInfo &info : infos)
        printers.append({info.printerName(), info.makeAndModel(), uris.value(info.printerName())});
    return printers;
}

QString DefaultName()
{
    if (TheScript().on)
        return TheScript().defaultName;
    return QPrinterInfo::defaultPrinterName();
}

QString PrinterForPrint(const QString &chosen)
{
    if (!chosen.isEmpty())
        return chosen;
    if (const QString name = DefaultName(); !name.isEmpty())
        return name;
    const QList<InstalledPrinter> printers = Installed();
    return printers.isEmpty() ? QString() : printers.constFirst().DeviceName;
}

QString SetSystemDefault(const InstalledPrinter &printer)
{
    if (TheScript().on) {
        Script &script = TheScript();
        if (!script.nextFailure.isEmpty())
            return std::exchange(script.nextFailure, QString());
        script.writes.append(printer);
        script.defaultName = printer.DeviceName;
        return {};
    }

    // lpoptions keeps the printer's saved options and writes the per-user
    // lpoptions file that every CUPS client reads for its default.
    QProcess lpoptions;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"LC_ALL"_s, u"C"_s);
    lpoptions.setProcessEnvironment(env);
    lpoptions.start(u"lpoptions"_s, {u"-d"_s, printer.DeviceName});
    const QString failure = u"「%1」を通常使うプリンタに設定できませんでした。"_s.arg(printer.DeviceName);
    if (!lpoptions.waitForStarted(5000))
        return failure + u"\nlpoptions を起動できません。"_s;
    if (!lpoptions.waitForFinished(15000)) {
        lpoptions.kill();
        lpoptions.waitForFinished(1000);
        return failure + u"\nlpoptions が応答しません。"_s;
    }
    if (lpoptions.exitStatus() != QProcess::NormalExit || lpoptions.exitCode() != 0) {
        const QString detail = QString::fromLocal8Bit(lpoptions.readAllStandardError()).trimmed();
        return detail.isEmpty() ? failure : failure + u'\n' + detail;
    }
    return {};
}

int DefaultResolutionDpi(const QString &queue)
{
    using GetPpd = const char *(*)(const char *);
    QLibrary *cups = Cups();
    auto getPpd = cups ? reinterpret_cast<GetPpd>(cups->resolve("cupsGetPPD")) : nullptr;
    if (!getPpd || queue.isEmpty())
        return 0;
    // CUPS copies the queue's PPD into a temporary file of its own.
    const char *copied = getPpd(queue.section(u'/', 0, 0).toUtf8().constData());
    if (!copied)
        return 0;
    QFile ppd(QString::fromLocal8Bit(copied));
    int dpi = 0;
    if (ppd.open(QIODevice::ReadOnly)) {
        static const QRegularExpression line(u"^\\*DefaultResolution:\\s*(\\d+)(x\\d+)?dpi\\s*$"_s);
        while (!ppd.atEnd()) {
            const QRegularExpressionMatch m = line.match(QString::fromLatin1(ppd.readLine()).trimmed());
            if (m.hasMatch()) {
                dpi = m.captured(1).toInt();
                break;
            }
        }
    }
    ppd.remove();
    return dpi;
}

QString SubmitPdf(const QString &queue, const QString &pdfFile, const QString &title, const QString &media)
{
    using AddOption = int (*)(const char *, const char *, int, cups_option_t **);
    using FreeOptions = void (*)(int, cups_option_t *);
    using CreateJob = int (*)(http_t *, const char *, const char *, int, cups_option_t *);
    using StartDocument = http_status_t (*)(http_t *, const char *, int, const char *, const char *, int);
    using WriteRequestData = http_status_t (*)(http_t *, const char *, size_t);
    using FinishDocument = ipp_status_t (*)(http_t *, const char *);
    using CancelJob = ipp_status_t (*)(http_t *, const char *, int, int);
    using LastErrorString = const char *(*)();

    QLibrary *cups = Cups();
    if (!cups)
        return u"CUPS のライブラリ (libcups) を読み込めません。"_s;
    auto addOption = reinterpret_cast<AddOption>(cups->resolve("cupsAddOption"));
    auto freeOptions = reinterpret_cast<FreeOptions>(cups->resolve("cupsFreeOptions"));
    auto createJob = reinterpret_cast<CreateJob>(cups->resolve("cupsCreateJob"));
    auto startDocument = reinterpret_cast<StartDocument>(cups->resolve("cupsStartDocument"));
    auto writeRequestData = reinterpret_cast<WriteRequestData>(cups->resolve("cupsWriteRequestData"));
    auto finishDocument = reinterpret_cast<FinishDocument>(cups->resolve("cupsFinishDocument"));
    auto cancelJob = reinterpret_cast<CancelJob>(cups->resolve("cupsCancelJob2"));
    auto lastError = reinterpret_cast<LastErrorString>(cups->resolve("cupsLastErrorString"));
    if (!addOption || !freeOptions || !createJob || !startDocument || !writeRequestData || !finishDocument
        || !cancelJob || !lastError)
        return u"CUPS のライブラリ (libcups) が古く、印刷データを送れません。"_s;
    const auto cupsError = [&] {
        const char *text = lastError();
        return text && *text ? QString::fromUtf8(text) : u"CUPS が理由を返しませんでした。"_s;
    };

    QFile file(pdfFile);
    if (!file.open(QIODevice::ReadOnly))
        return u"印刷データのファイル「%1」を開けません。\n%2"_s.arg(pdfFile, file.errorString());

    // An instance ("queue/instance") prints through its queue.
    const QByteArray name = queue.section(u'/', 0, 0).toUtf8();
    const QByteArray titleBytes = title.toUtf8();
    int optionCount = 0;
    cups_option_t *options = nullptr;
    if (!media.isEmpty())
        optionCount = addOption("media", media.toUtf8().constData(), optionCount, &options);
    // The pages are laid out for the printer's paper and printable area
    // already: the filters must neither scale nor centre them.
    optionCount = addOption("print-scaling", "none", optionCount, &options);
    const int jobId = createJob(CUPS_HTTP_DEFAULT, name.constData(), titleBytes.constData(), optionCount, options);
    freeOptions(optionCount, options);
    if (jobId <= 0)
        return u"印刷ジョブを作れませんでした。\n%1"_s.arg(cupsError());

    // A job left half-sent would wait in the queue for data that never comes.
    const auto abandon = [&](const QString &what, QString detail = {}) {
        if (detail.isEmpty())
            detail = cupsError();
        cancelJob(CUPS_HTTP_DEFAULT, name.constData(), jobId, 1);
        return u"%1\n%2"_s.arg(what, detail);
    };
    if (startDocument(CUPS_HTTP_DEFAULT, name.constData(), jobId, titleBytes.constData(), CUPS_FORMAT_PDF, 1)
        != HTTP_STATUS_CONTINUE)
        return abandon(u"印刷データを送り始められませんでした。"_s);
    QByteArray chunk;
    while (!(chunk = file.read(64 * 1024)).isEmpty()) {
        if (writeRequestData(CUPS_HTTP_DEFAULT, chunk.constData(), size_t(chunk.size())) != HTTP_STATUS_CONTINUE) {
            finishDocument(CUPS_HTTP_DEFAULT, name.constData());
            return abandon(u"印刷データを送る途中で止まりました。"_s);
        }
    }
    if (file.error() != QFileDevice::NoError) {
        finishDocument(CUPS_HTTP_DEFAULT, name.constData());
        return abandon(u"印刷データのファイルを読めませんでした。"_s, file.errorString());
    }
    if (finishDocument(CUPS_HTTP_DEFAULT, name.constData()) > IPP_STATUS_OK_EVENTS_COMPLETE)
        return abandon(u"プリンタが印刷データを受け付けませんでした。"_s);
    return {};
}

void SetScripted(const QList<InstalledPrinter> &printers, const QString &defaultName)
{
    Script &script = TheScript();
    script = Script();
    script.on = true;
    script.printers = printers;
    script.defaultName = defaultName;
}

void ClearScripted() { TheScript() = Script(); }

bool IsScripted() { return TheScript().on; }

QList<InstalledPrinter> ScriptedDefaultWrites() { return TheScript().writes; }

void FailNextDefaultWrite(const QString &description) { TheScript().nextFailure = description; }

} // namespace Printers

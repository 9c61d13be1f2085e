#include "print/printers.h"

#include <QHash>
#include <QLibrary>
#include <QPrinterInfo>
#include <QProcess>

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

// The device URI of every local queue. libcups is loaded at run time: the
// print support links it only through its plugin, and without it the ports
// stay empty, which costs nothing but the port.
QHash<QString, QString> DeviceUris()
{
    using GetDests = int (*)(cups_dest_t **);
    using FreeDests = void (*)(int, cups_dest_t *);
    using GetOption = const char *(*)(const char *, int, cups_option_t *);

    QHash<QString, QString> uris;
    QLibrary cups(u"cups"_s, 2);
    if (!cups.load())
        return uris;
    auto getDests = reinterpret_cast<GetDests>(cups.resolve("cupsGetDests"));
    auto freeDests = reinterpret_cast<FreeDests>(cups.resolve("cupsFreeDests"));
    auto getOption = reinterpret_cast<GetOption>(cups.resolve("cupsGetOption"));
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

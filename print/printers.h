#pragma once
// The installed printers and the system default printer (a seam tests script).

#include <QList>
#include <QString>

// One installed printer as the system names it.
struct InstalledPrinter {
    QString DeviceName;   // the queue name programs print to
    QString DriverName;   // make and model, as far as the system knows it
    QString Port;         // the device URI; empty when the system does not tell

    bool operator==(const InstalledPrinter &) const = default;
};

namespace Printers {

// The installed printers in the order the system enumerates them.
QList<InstalledPrinter> Installed();

// The system's default printer for this user; empty when there is none.
QString DefaultName();

// The queue a print goes to: the chosen printer, else the system's default,
// else the first installed printer (as the print system itself takes it);
// empty when there is no printer at all.
QString PrinterForPrint(const QString &chosen);

// Makes the printer the default destination of all this user's programs
// (CUPS: `lpoptions -d` writes ~/.cups/lpoptions, which `lpstat -d` and every
// CUPS client read). Returns an empty string on success, else a description
// of what went wrong.
QString SetSystemDefault(const InstalledPrinter &printer);

// The queue's default resolution in dots per inch, as its PPD gives it
// (*DefaultResolution, "600dpi" or "600x600dpi": the horizontal figure);
// 0 when the queue does not say or cannot be asked.
int DefaultResolutionDpi(const QString &queue);

// Hands a finished PDF to the CUPS queue as one job titled title, with the
// queue's own defaults for copies, sides and the rest; media names the paper
// the pages were laid out for (empty: the queue's default paper). The file
// may go as soon as this returns. Returns an empty string on success, else
// a description of what went wrong. Not scripted: tests use a real queue.
QString SubmitPdf(const QString &queue, const QString &pdfFile, const QString &title, const QString &media = {});

// Test seam. While scripted, Installed() and DefaultName() answer from the
// script and SetSystemDefault() only records the printer it was given.
void SetScripted(const QList<InstalledPrinter> &printers, const QString &defaultName = {});
// Back to the system's printers; forgets the script and the record.
void ClearScripted();
bool IsScripted();
// The printers SetSystemDefault() was called with while scripted, in order.
QList<InstalledPrinter> ScriptedDefaultWrites();
// Makes the next scripted SetSystemDefault() fail with this description.
void FailNextDefaultWrite(const QString &description);

} // namespace Printers

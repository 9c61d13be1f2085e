#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The font faces the settings dialog offers. On this platform the printer
// draws with the installed faces, so both lists come from the same source;
// they are read and counted separately all the same.
namespace InstalledFonts {

// Every face in the platform's order, before any filtering.
QStringList ScreenFontNames();
QStringList PrinterFontNames();

// Whether a face writes Japanese or Western text (the two character sets
// the lists keep).
bool WritesJapaneseOrLatin(const QString &name, bool printer);

// The name filter: vertical-writing faces ("@...") and names beginning
// with "$" are never offered.
bool NameAccepted(const QString &name);

// The list as offered: the installed families without the generic names
// Qt adds for fontconfig's aliases ("Serif", "Sans Serif", "Monospace"),
// with the stand-in names among them, all in Japanese collation order, so
// "ＭＳ ゴシック" stands with the M's rather than at the end.
QStringList ArrangeFaces(const QStringList &families, const QStringList &standIns);

// Test seam: lists of (face, writes Japanese or Latin) taking the place of
// the installed faces until ClearTestFonts.
struct TestFont {
    QString name;
    bool writesJapaneseOrLatin = true;
};
void SetTestFonts(const QList<TestFont> &screen, const QList<TestFont> &printer);
void ClearTestFonts();

} // namespace InstalledFonts

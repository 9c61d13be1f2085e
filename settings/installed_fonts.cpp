#include "settings/installed_fonts.h"

#include "print/font_substitutes.h"

#include <QCollator>
#include <QFont>
#include <QFontDatabase>
#include <algorithm>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

struct TestLists {
    QList<InstalledFonts::TestFont> screen, printer;
};

std::optional<TestLists> &testLists()
{
    static std::optional<TestLists> lists;
    return lists;
}

QStringList namesOf(const QList<InstalledFonts::TestFont> &fonts)
{
    QStringList names;
    for (const auto &f : fonts)
        names << f.name;
    return names;
}

// The installed families, and among them the faces the program's defaults
// name ("ＭＳ ゴシック", ...) where one of their stand-ins is installed: they
// draw in that face, and the defaults can then be chosen again.
QStringList familiesWithStandIns()
{
    const QStringList installed = QFontDatabase::families();
    QStringList standIns;
    for (const QString &name : SubstitutedFaceNames()) {
        if (installed.contains(name, Qt::CaseInsensitive))
            continue;
        for (const QString &standIn : QFont::substitutes(name)) {
            // Stand-ins come back in lower case.
            if (installed.contains(standIn, Qt::CaseInsensitive)) {
                standIns.append(name);
                break;
            }
        }
    }
    return InstalledFonts::ArrangeFaces(installed, standIns);
}

// The face that draws for name: itself when installed, else its first
// installed stand-in.
QString drawingFace(const QString &name)
{
    if (QFontDatabase::hasFamily(name))
        return name;
    for (const QString &standIn : QFont::substitutes(name))
        if (QFontDatabase::hasFamily(standIn))
            return standIn;
    return name;
}

} // namespace

namespace InstalledFonts {

QStringList ScreenFontNames()
{
    if (testLists())
        return namesOf(testLists()->screen);
    return familiesWithStandIns();
}

QStringList PrinterFontNames()
{
    if (testLists())
        return namesOf(testLists()->printer);
    return familiesWithStandIns();
}

bool WritesJapaneseOrLatin(const QString &name, bool printer)
{
    if (testLists()) {
        for (const TestFont &f : printer ? testLists()->printer : testLists()->screen) {
            if (f.name == name)
                return f.writesJapaneseOrLatin;
        }
        return false;
    }
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(drawingFace(name));
    return systems.contains(QFontDatabase::Japanese) || systems.contains(QFontDatabase::Latin);
}

bool NameAccepted(const QString &name)
{
    return !name.startsWith(u'@') && !name.startsWith(u'$');
}

QStringList ArrangeFaces(const QStringList &families, const QStringList &standIns)
{
    // Qt's fontconfig database registers these three for fontconfig's
    // generic aliases; they are no faces of their own.
    static const QStringList aliases = {u"Serif"_s, u"Sans Serif"_s, u"Monospace"_s};
    QStringList faces;
    faces.reserve(families.size() + standIns.size());
    for (const QString &name : families) {
        if (!aliases.contains(name, Qt::CaseInsensitive))
            faces.append(name);
    }
    faces += standIns;
    // Japanese collation folds full-width letters into their Latin ones.
    QCollator collator(QLocale(QLocale::Japanese, QLocale::Japan));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(faces.begin(), faces.end(), collator);
    return faces;
}

void SetTestFonts(const QList<TestFont> &screen, const QList<TestFont> &printer)
{
    testLists() = TestLists{screen, printer};
}

void ClearTestFonts() { testLists().reset(); }

} // namespace InstalledFonts

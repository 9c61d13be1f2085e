#include "settings/installed_fonts.h"

#include "print/font_substitutes.h"

#include <QFont>
#include <QFontDatabase>
#include <optional>

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

// The installed families, and after them the faces the program's defaults
// name ("ＭＳ ゴシック", ...) where one of their stand-ins is installed: they
// draw in that face, and the defaults can then be chosen again.
QStringList familiesWithStandIns()
{
    QStringList families = QFontDatabase::families();
    const QStringList installed = families;
    for (const QString &name : SubstitutedFaceNames()) {
        if (installed.contains(name, Qt::CaseInsensitive))
            continue;
        for (const QString &standIn : QFont::substitutes(name)) {
            // Stand-ins come back in lower case.
            if (installed.contains(standIn, Qt::CaseInsensitive)) {
                families.append(name);
                break;
            }
        }
    }
    return families;
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

void SetTestFonts(const QList<TestFont> &screen, const QList<TestFont> &printer)
{
    testLists() = TestLists{screen, printer};
}

void ClearTestFonts() { testLists().reset(); }

} // namespace InstalledFonts

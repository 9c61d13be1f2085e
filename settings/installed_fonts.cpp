#include "settings/installed_fonts.h"

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

} // namespace

namespace InstalledFonts {

QStringList ScreenFontNames()
{
    if (testLists())
        return namesOf(testLists()->screen);
    return QFontDatabase::families();
}

QStringList PrinterFontNames()
{
    if (testLists())
        return namesOf(testLists()->printer);
    return QFontDatabase::families();
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
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(name);
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

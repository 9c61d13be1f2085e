#include "cli/command_line.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/heap_tuning.h"
#include "mainwindow/start_main.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char *argv[])
{
    TuneHeapForLargeBuffers();
    // Printing from the command line, --help and --version: no window.
    if (const std::optional<int> exitCode = RunCommandLine(argc, argv))
        return *exitCode;
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Yuzaribo"_s);
    QApplication::setOrganizationName(u"Yuzaribo"_s);
    QGuiApplication::setDesktopFileName(u"yuzaribo"_s);

    // The standard dialogs and buttons speak Japanese like the rest of the program.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese, QLocale::Japan), u"qtbase"_s, u"_"_s,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    InstallFontSubstitutes();
    return StartMain(QApplication::arguments());
}

#include "mainwindow/start_main.h"

#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "mainwindow/splash_window.h"
#include "model/app_error.h"
#include "model/app_state.h"
#include "model/book_document.h"
#include "print/printer_setup.h"
#include "settings/app_settings.h"
#include "settings/settings_store.h"

#include <QApplication>

using namespace Qt::Literals::StringLiterals;

int StartMain(const QStringList &arguments)
{
    auto splash = std::make_unique<SplashWindow>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    // The program's state for the run: the book, the rest the windows share,
    // the settings and the printer; the main window outlives none of them.
    BookDocument document;
    AppState state;
    SettingsRecord settings;
    PrinterSetup printer;
    SettingsStore store;
    MainWindow window(document, state, settings, printer, store);
    MainWindowOptions options;
    // The argument text whole, as the user gave it.
    options.commandLine = arguments.mid(1).join(u' ');
    try {
        window.Load(options);
    } catch (const AppError &e) {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        splash.reset();
        MessageBoxes::ReportError(nullptr, e.description());
        return 1;
    } catch (const std::exception &e) {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        splash.reset();
        MessageBoxes::ReportError(nullptr, QString::fromLocal8Bit(e.what()));
        return 1;
    }
    splash.reset();
    window.show();
    return QApplication::exec();
}

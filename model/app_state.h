#pragma once

#include "model/address_book.h"
#include "model/record_keys.h"
#include "print/printer_setup.h"
#include "settings/app_settings.h"

#include <QString>
#include <QStringList>
#include <memory>

// The program's process-wide state. One instance is made at start-up and
// handed to the windows that use it; every test builds its own.
struct AppState {
    std::unique_ptr<Cls_管理> OpenBook = std::make_unique<Cls_管理>();
    std::unique_ptr<Cls_住所> WorkRecord = std::make_unique<Cls_住所>();
    qint32 KeyCounter = 0;
    bool BookChanged = false;
    QString BookFileName;
    qint32 MarkedIndex = 1;
    bool SkipUnmark = false;
    int ScreenWidth = 0;        // twips
    QStringList SearchHistory;
    qint16 EntryMode = 0;      // how the entry dialog opens: 1 change, 2 add, 3 and 4 view
    // The settings dialog: its preparation (0 running, 1 ready, 2 cancelled
    // or failed), the cancel request, and the font names found the first
    // time, kept for the rest of the run.
    qint16 KankyoLoadState = 0;
    bool KankyoCancel = false;
    bool FontCacheValid = false;
    QStringList ScreenFontCache;
    QStringList PrinterFontCache;
    SettingsRecord AppSettings;

    // Printing: the run going on and the dialog's flags.
    bool PrintCancelled = false;
    bool PrintSender = false;
    QString PrintKindName;
    qint16 LastRunMode = 0;      // 0 print, 1 preview
    bool RunFromDialog = false;
    bool RunFromPreview = false;
    bool PrintListsChanged = false;
    bool PrintDialogReady = false;
    qint16 PreviewKind = 0;
    qint16 PreviewPageCount = 0;
    // The application's current printer and its page set-up; it lasts for
    // the run and starts as the system default.
    PrinterSetup CurrentPrinter;

    // The next key for an added, pasted or moved record.
    QString NextRecordKey() { return MakeRecordKey(++KeyCounter); }
};

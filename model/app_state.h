#pragma once

#include "model/record_order.h"

#include <QString>
#include <QStringList>

// What the windows share for the run besides the book (BookDocument), the
// settings (SettingsRecord) and the printer (PrinterSetup). One instance is
// made at start-up and handed to the windows that use it; every test builds
// its own.
struct AppState {
    int ScreenWidth = 0;        // twips
    QStringList SearchHistory;
    qint16 EntryMode = 0;      // how the entry dialog opens: 1 change, 2 add, 3 and 4 view
    SortOrder LastSort;        // the sort dialog starts from the last choice of the run
    // The settings dialog: its preparation (0 running, 1 ready, 2 cancelled
    // or failed), the cancel request, and the font names found the first
    // time, kept for the rest of the run.
    qint16 KankyoLoadState = 0;
    bool KankyoCancel = false;
    bool FontCacheValid = false;
    QStringList ScreenFontCache;
    QStringList PrinterFontCache;
};

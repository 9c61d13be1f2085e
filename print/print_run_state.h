#pragma once

#include <QString>

// The print dialog's flags for its printouts: what runs, from where, and how
// it stands. The print dialog owns them; its progress and preview windows
// and the printouts share them for as long as the dialog is open.
struct PrintRunState {
    bool PrintCancelled = false;
    bool PrintSender = false;        // postcards: print the sender too
    QString PrintKindName;
    qint16 LastRunMode = 0;          // 0 print, 1 preview
    bool RunFromDialog = false;
    bool RunFromPreview = false;
    bool PrintListsChanged = false;
    bool PrintDialogReady = false;
    qint16 PreviewKind = 0;
    qint16 PreviewPageCount = 0;
};

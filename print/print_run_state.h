#pragma once

#include "files/label_sheet.h"

#include <QString>
#include <optional>

// How a run of address labels uses the sheet: which sheet (none: the
// standard 2 × 7 sheet), the first label of the first sheet (from 1; the
// run's own, never stored), and whether every label's outline prints, to
// try a sheet on plain paper.
struct LabelRunChoice {
    std::optional<LabelSheet> Sheet;
    int Start = 1;
    bool Outlines = false;
};

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
    LabelRunChoice Labels;
};

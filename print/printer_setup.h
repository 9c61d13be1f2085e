#pragma once

#include <QString>

// The application's current printer and the page set-up the printouts and
// the preview leave on it. The set-up stays in force until changed, so the
// preview's print button prints on the paper the preview was made for.
// The postcard, 100 x 148 mm, in whole twips at 56.7 twips a millimetre.
constexpr int PostcardWidthTwips = 5670;
constexpr int PostcardHeightTwips = 8392;

struct PrinterSetup {
    QString Name;                  // empty: the system default printer
    // "PDFファイルに保存" chosen instead of a printer, and the file of the
    // coming run (asked for before each run).
    bool ToPdfFile = false;
    QString PdfFileName;
    int ScaleMode = 1;             // 1 twips, 6 millimetres
    int PaperSize = 9;             // 9 A4, 256 user-defined
    int Orientation = 1;           // 1 portrait, 2 landscape
    int PrintQuality = -4;
    // The user-defined paper in twips, portrait.
    int PaperWidthTwips = 0;
    int PaperHeightTwips = 0;
};

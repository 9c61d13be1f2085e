#pragma once

#include "print/print_job.h"

#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

class PrintSurface;
struct LabelSheet;
struct LabelRunChoice;
struct PrinterSetup;

// The page header of the lists and the label sheet: the title at titleX,
// the file name and the date after it, "-n-" at pageNumberAt (twips).
struct PageHeaderLayout {
    QString title;
    double titleX;
    QString dateSuffix;
    QPointF pageNumberAt;
};

// The paper a printout is laid out for, as the printer is told.
struct KindPaper {
    int scaleMode;     // ScaleTwips, or ScaleMillimetres
    int paperSize;     // PaperA4, or PaperUser
    int orientation;
    // The user-defined paper, portrait, in whole twips.
    int widthTwips = 0;
    int heightTwips = 0;
};

using PrintoutRoutine = void (*)(PrintSurface *surface, PrintJob &job, int previewFlag);
// What the alignment print shows of a printout's own layout (its frames,
// its labels, its code digits), drawn where the printout would draw them.
using GuideRoutine = void (*)(PrintSurface &surface, PrintJob &job);

// One kind of printout, with all that the print dialog, the preview, the
// settings dialog and the page furniture need to know of it. A new printout
// is a new row and its drawing routine.
struct PrintoutKind {
    int kind;              // its option button, counted from 1; it prints in PrintFontName[kind - 1]
    QString name;          // PrintKindName: the progress window's title and the print job's name
    QString optionLabel;   // the print dialog's option button, as its background letters it
    QString fontCaption;   // the label of its print font in the settings dialog
    KindPaper paper;
    std::optional<PageHeaderLayout> header;   // none on postcards
    bool asksSender;       // the print dialog asks whether to print the sender
    PrintoutRoutine print;
    GuideRoutine guide;
};

// Every kind, in the order of the print dialog's option buttons.
const std::vector<PrintoutKind> &PrintoutKinds();
// The row of a kind; null for a kind without a printout.
const PrintoutKind *FindPrintoutKind(int kind);

// A PDF's title: the printout's title and the book's file name, as in
// "住所録一覧表 - 友人.csv" ("無題" for an untitled book).
QString PrintDocumentTitle(const PrintoutKind &kind, const QString &bookFileName);

// The paper a run of kind prints on: the kind's own, or for labels the
// chosen sheet's.
KindPaper PaperOfRun(const PrintoutKind &kind, const LabelRunChoice &labels);
KindPaper LabelSheetPaper(const LabelSheet &sheet);

// Tells the printer's set-up the paper of a kind.
void ApplyKindPaper(PrinterSetup &printer, const KindPaper &paper);

#pragma once

#include "print/print_job.h"

#include <exception>
#include <functional>

class PrintSurface;
class Cls_住所;
struct PrintoutKind;
struct SettingsRecord;

// The printouts by kind; previewFlag 0 draws for the printer, 1 for the preview.
// Each traps its own failures: the printer job is discarded and the
// description shown, and the printout ends.
void PrintAddressList(PrintSurface *surface, PrintJob &job, int previewFlag);    // kind 1
void PrintAddressLabels(PrintSurface *surface, PrintJob &job, int previewFlag);  // kind 2
void PrintPhoneList(PrintSurface *surface, PrintJob &job, int previewFlag);      // kind 3
void PrintPostcards(PrintSurface *surface, PrintJob &job, int previewFlag);      // kind 4, in millimetres

// Runs the printout of kind; kinds without a printout run nothing.
void RunKindPrintout(int kind, PrintSurface *surface, PrintJob &job, int previewFlag);

// The alignment print of a kind: one page on its paper with a millimetre
// scale and crosshairs fixed to the paper, and the kind's guide (below)
// where the printout puts it, the position adjustment included.
void PrintAlignment(PrintSurface *surface, PrintJob &job, int kind);

// The guides: the outline of the address list's table frame, of the three
// columns of the telephone list, of the fourteen labels; on the postcard,
// Japan Post's code frame at its official place and "1234567" where the
// recipient's code is printed.
void DrawAddressListGuide(PrintSurface &surface, PrintJob &job);
void DrawAddressLabelsGuide(PrintSurface &surface, PrintJob &job);
void DrawPhoneListGuide(PrintSurface &surface, PrintJob &job);
void DrawPostcardGuide(PrintSurface &surface, PrintJob &job);

// Draws with the surface's coordinates measured from the paper's top-left
// corner (not the printable area's) and without the position adjustment,
// for what belongs to the paper itself; the surface is as before afterwards.
void DrawOnPaper(PrintSurface &surface, const std::function<void()> &draw);

// The page furniture shared by kinds 1 to 3. A failure inside is reported
// and the printout goes on.
void DrawPageHeader(PrintSurface &surface, PrintJob &job, int kind, int pageNumber);
void SetPrintFont(PrintSurface &surface, PrintJob &job, int kind, bool bold, double size);

// The record behind entry index of the print list; throws AppError when
// its key is no longer in the book.
const Cls_住所 &PrintEntryRecord(const PrintJob &job, int index);

// The honorific after a recipient's name, by the user's choice for
// postcards and labels ("様" unless chosen otherwise).
QString RecipientHonorific(const SettingsRecord &settings, const QString &name);

// The user's print position adjustment of printout kind 1 to 4, in millimetres.
QPointF PrintOffsetMm(const SettingsRecord &settings, int kind);

// "yyyy年m月d日", month and day without leading zeros.
QString PrintDate(const QDate &date);

// The readable text of a failure: an AppError's description, else what().
QString FailureDescription(const std::exception &e);

// Once the printer has failed, every later drawing of the run fails the same
// way: the reporter a run gets tells the user of each failure once.
std::function<void(const QString &)> ReportEachFailureOnce(std::function<void(const QString &)> report);

// Runs one drawing routine that traps its own failures: on the printer the
// job is discarded, the failure is reported, and the caller goes on.
void DrawTrapped(PrintSurface &surface, PrintJob &job, const std::function<void()> &draw);

// The course every printout takes: status lines, the page
// set-up on the printer, page numbers, new pages (on the preview each new
// page becomes the surface), the cancel test and the end of the job.
class PrintoutRun {
public:
    PrintoutRun(PrintSurface *surface, PrintJob &job, int previewFlag, int kind);

    PrintSurface &Surface() const { return *m_surface; }
    int Page() const { return m_page; }

    // Progress 2 and "用紙設定中..."; on the printer the kind's unit, paper
    // and orientation, and high quality (for the user-defined paper each is
    // ignored when the printer refuses it); page 1.
    void SetUpPaper();
    // "印刷中です..." or "プレビュー中です...".
    void ShowPrinting();
    // Lets the cancel button act; true once the run is cancelled.
    bool Cancelled();
    // Ends the page and starts the next one.
    void StartNewPage();
    // On the printer: sends the job, or discards it after a cancel.
    void Finish();
    // Discards the printer job and reports the failure; the printout ends.
    void Fail(const std::exception &e);

private:
    PrintSurface *m_surface;
    PrintJob &m_job;
    int m_previewFlag;
    const PrintoutKind &m_kind;
    int m_page = 1;
};

// The 5-pixel frame of a table and its hatched grey caption band along the
// top, as the address and telephone lists draw them.
void DrawBandedFrame(PrintSurface &surface, double x, double y, double width, double height, double bandHeight);

// Pen of a row rule: solid 2 pixels on every fifth row, dotted 1 otherwise.
void SetRowRulePen(PrintSurface &surface, int rowNumber);

// The rules of the empty rows after the last entry of a run (rows
// usedRows + 1 to rowCount, the rule of row f at tableTop + rowPitch * f),
// each after the cancel test; a cancel ends them.
void DrawCompletingRules(PrintoutRun &run, double x, double width, double tableTop, double rowPitch,
                         int usedRows, int rowCount);

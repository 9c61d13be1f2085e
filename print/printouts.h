#pragma once

#include "print/print_job.h"

class PrintSurface;
class Cls_住所;

// The printouts by kind; previewFlag 0 draws for the printer, 1 for the preview.
// Each traps its own failures: the printer job is discarded and the
// description shown, and the printout ends.
void PrintAddressList(PrintSurface *surface, PrintJob &job, int previewFlag);    // kind 1
void PrintAddressLabels(PrintSurface *surface, PrintJob &job, int previewFlag);  // kind 2
void PrintPhoneList(PrintSurface *surface, PrintJob &job, int previewFlag);      // kind 3

// Runs the printout of kind; kinds without a printout run nothing.
void RunKindPrintout(int kind, PrintSurface *surface, PrintJob &job, int previewFlag);

// The page furniture shared by kinds 1 to 3. A failure inside is reported
// and the printout goes on.
void DrawPageHeader(PrintSurface &surface, PrintJob &job, int kind, int pageNumber);
void SetPrintFont(PrintSurface &surface, PrintJob &job, int kind, bool bold, double size);

// The record behind entry index of the print list; throws AppError when
// its key is no longer in the book.
const Cls_住所 &PrintEntryRecord(const PrintJob &job, int index);

// "yyyy年m月d日", month and day without leading zeros.
QString PrintDate(const QDate &date);

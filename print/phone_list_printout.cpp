#include "print/printouts.h"

#include "model/address_record.h"
#include "print/print_surface.h"

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Kind = 3;
constexpr int ColumnsPerPage = 3;
constexpr int RowsPerColumn = 40;
constexpr double ColumnLefts[ColumnsPerPage] = {400, 5600, 10800};
constexpr double ColumnTop = 600, ColumnWidth = 4000, ColumnHeight = 10350;
constexpr double BandHeight = 350, RowPitch = 250, NamePartWidth = 2000;
// As in the address list: 50 twips from each rule, down to 70 % and then cut.
constexpr double CellPadding = 50;
constexpr double CellMinScale = 0.7;

// The frame, band, rules and captions of one column. It belongs to the run:
// a failure here ends the printout.
void DrawPhoneColumn(PrintSurface &surface, double x)
{
    DrawBandedFrame(surface, x, ColumnTop, ColumnWidth, ColumnHeight, BandHeight);
    surface.Line(x + NamePartWidth, ColumnTop, 0, ColumnHeight);
    surface.CurrentX = x + 800;
    surface.CurrentY = ColumnTop + 100;
    surface.PrintLine(FieldCaptions()[size_t(Field::Name)]);
    surface.CurrentX = x + 2600;
    surface.CurrentY = ColumnTop + 100;
    surface.PrintLine(FieldCaptions()[size_t(Field::Tel)]);
    surface.Line(x, ColumnTop + BandHeight, ColumnWidth, 0);
}

void DrawPageFurniture(PrintoutRun &run, PrintJob &job)
{
    DrawPageHeader(run.Surface(), job, Kind, run.Page());
    // Captions and rows alike are regular 10 point.
    SetPrintFont(run.Surface(), job, Kind, false, 10);
}

} // namespace

void PrintPhoneList(PrintSurface *surface, PrintJob &job, int previewFlag)
{
    PrintoutRun run(surface, job, previewFlag, Kind);
    try {
        run.SetUpPaper();
        DrawPageFurniture(run, job);
        // A column opens only when an entry comes for it.
        int rowsUsed = RowsPerColumn;
        int column = 1;
        int row = 1;
        double x = ColumnLefts[0];
        run.ShowPrinting();
        bool cancelled = false;
        for (int i = 0; i < job.entries.Count(); ++i) {
            if (run.Cancelled()) {
                cancelled = true;
                break;
            }
            if (rowsUsed == RowsPerColumn) {
                if (column > ColumnsPerPage) {
                    run.StartNewPage();
                    DrawPageFurniture(run, job);
                    column = 1;
                }
                x = ColumnLefts[column - 1];
                row = 1;
                DrawPhoneColumn(run.Surface(), x);
                rowsUsed = 0;
                ++column;
            }
            const Cls_住所 &record = PrintEntryRecord(job, i);
            PrintSurface &page = run.Surface();
            const double y = ColumnTop + BandHeight + 50 + RowPitch * (row - 1);
            page.CurrentX = x + CellPadding;
            page.CurrentY = y;
            page.PrintFittedLine(record.PName, NamePartWidth - 2 * CellPadding, CellMinScale);
            page.CurrentX = x + NamePartWidth + CellPadding;
            page.CurrentY = y;
            page.PrintFittedLine(record.PTel, ColumnWidth - NamePartWidth - 2 * CellPadding, CellMinScale);
            SetRowRulePen(page, row);
            // The last row's lower boundary is the frame's bottom edge.
            if (row != RowsPerColumn)
                page.Line(x, page.CurrentY, ColumnWidth, 0);
            ++rowsUsed;
            ++row;
            job.progress.SetValue(i + 1);
        }
        if (!cancelled)
            DrawCompletingRules(run, x, ColumnWidth, ColumnTop + BandHeight, RowPitch, rowsUsed, RowsPerColumn);
        run.Finish();
    } catch (const std::exception &e) {
        run.Fail(e);
    }
}

void DrawPhoneListGuide(PrintSurface &surface, PrintJob &)
{
    surface.DrawWidth = 5;
    surface.DrawStyle = DrawStyleSolid;
    surface.FillStyle = FillTransparent;
    for (const double x : ColumnLefts)
        surface.Box(x, ColumnTop, ColumnWidth, ColumnHeight);
}

#include "print/printouts.h"

#include "model/address_record.h"
#include "print/print_surface.h"

#include <array>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Kind = 1;
constexpr double FrameX = 300, FrameY = 600, FrameWidth = 15500, FrameHeight = 10350;
constexpr double BandHeight = 350, RowPitch = 250;
constexpr int RowsPerPage = 40;
// A cell's text starts 50 twips right of its rule and stops 50 short of the
// next; a longer one shrinks down to 70 % and is then cut there.
constexpr double CellPadding = 50;
constexpr double CellMinScale = 0.7;

struct Column {
    Field field;       // its caption is the field's
    double ruleX;      // left rule, from the frame's left edge
    double captionX;   // from the frame's left edge
};

// In print order; each text starts 50 twips right of its column's rule.
const std::array<Column, FieldCount> Columns = {{
    {Field::Name, 0, 600},
    {Field::Tel, 1700, 2080},
    {Field::Mail, 3300, 4300},
    {Field::Yubin, 6800, 7200},
    {Field::Ju1, 7800, 8900},
    {Field::Ju2, 10600, 11700},
    {Field::Memo, 13400, 14000},
}};

void DrawTableFrame(PrintSurface &surface, PrintJob &job)
{
    DrawTrapped(surface, job, [&] {
        DrawBandedFrame(surface, FrameX, FrameY, FrameWidth, FrameHeight, BandHeight);
        surface.Line(FrameX, FrameY + BandHeight, FrameWidth, 0);
        for (const Column &column : Columns)
            if (column.ruleX > 0)
                surface.Line(FrameX + column.ruleX, FrameY, 0, FrameHeight);
        // The captions keep the header's bold 10-point font.
        for (const Column &column : Columns) {
            surface.CurrentX = FrameX + column.captionX;
            surface.CurrentY = FrameY + 100;
            surface.PrintLine(FieldCaptions()[size_t(column.field)]);
        }
    });
}

void DrawPageFurniture(PrintoutRun &run, PrintJob &job)
{
    PrintSurface &surface = run.Surface();
    DrawPageHeader(surface, job, Kind, run.Page());
    DrawTableFrame(surface, job);
    SetPrintFont(surface, job, Kind, false, 10);
    surface.DrawWidth = 1;
}

} // namespace

void PrintAddressList(PrintSurface *surface, PrintJob &job, int previewFlag)
{
    PrintoutRun run(surface, job, previewFlag, Kind);
    try {
        run.SetUpPaper();
        DrawPageFurniture(run, job);
        int rowsOnPage = 0;
        run.ShowPrinting();
        bool cancelled = false;
        for (int i = 0; i < job.entries.Count(); ++i) {
            if (run.Cancelled()) {
                cancelled = true;
                break;
            }
            if (rowsOnPage == RowsPerPage) {
                run.StartNewPage();
                DrawPageFurniture(run, job);
                rowsOnPage = 0;
            }
            const Cls_住所 &record = PrintEntryRecord(job, i);
            PrintSurface &page = run.Surface();
            const double y = FrameY + BandHeight + 50 + RowPitch * rowsOnPage;
            for (size_t c = 0; c < Columns.size(); ++c) {
                const Column &column = Columns[c];
                const double nextRule = c + 1 < Columns.size() ? Columns[c + 1].ruleX : FrameWidth;
                page.CurrentX = FrameX + column.ruleX + CellPadding;
                page.CurrentY = y;
                page.PrintFittedLine(record.field(column.field), nextRule - column.ruleX - 2 * CellPadding, CellMinScale);
            }
            ++rowsOnPage;
            SetRowRulePen(page, rowsOnPage);
            // The last row's lower boundary is the frame's bottom edge.
            if (rowsOnPage != RowsPerPage)
                page.Line(FrameX, page.CurrentY, FrameWidth, 0);
            job.progress.SetValue(i + 1);
        }
        if (!cancelled)
            DrawCompletingRules(run, FrameX, FrameWidth, FrameY + BandHeight, RowPitch, rowsOnPage, RowsPerPage);
        run.Finish();
    } catch (const std::exception &e) {
        run.Fail(e);
    }
}

void DrawAddressListGuide(PrintSurface &surface, PrintJob &)
{
    surface.DrawWidth = 5;
    surface.DrawStyle = DrawStyleSolid;
    surface.FillStyle = FillTransparent;
    surface.Box(FrameX, FrameY, FrameWidth, FrameHeight);
}

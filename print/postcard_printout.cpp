#include "print/printouts.h"

#include "model/address_record.h"
#include "print/print_run_state.h"
#include "print/print_surface.h"
#include "print/vertical_text.h"
#include "model/honorific.h"
#include "settings/app_settings.h"

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Kind = 4;

// Point sizes of the blocks; all of them bold in the postcard print font.
constexpr double RecipientSize = 14, RecipientNameSize = 32, SenderSize = 11, SenderNameSize = 18;

// The printed code boxes: the recipient's at a 7.2 mm pitch for the first
// three digits and 7 mm for the last four, the sender's narrower, with a wider
// gap after the third box.
double RecipientBoxX(int k) { return k <= 3 ? 41.5 + 7.2 * k : 41.5 + 7.0 * k; }
double SenderBoxX(int k)
{
    if (k <= 2)
        return 2.7 + 4.0 * k;
    if (k == 3)
        return 2.7 + 4.3 * 3;
    return 2.7 + 4.0 * k + 0.9;
}

// A row of cells sharing one top, each at its box.
void PrintRow(PrintSurface &surface, const CellList &cells, double (*boxX)(int), double y)
{
    for (int k = 0; k < cells.size(); ++k) {
        surface.CurrentX = boxX(k);
        surface.CurrentY = y;
        surface.PrintLine(cells[k]);
    }
}

// A vertical column: each cell one printed line below the one before.
void PrintColumn(PrintSurface &surface, const CellList &cells, double x, double y)
{
    surface.CurrentY = y;
    for (const QString &cell : cells) {
        surface.CurrentX = x;
        surface.PrintLine(cell);
    }
}

void SetPostcardFont(PrintSurface &surface, PrintJob &job, double size)
{
    SetPrintFont(surface, job, Kind, true, size);
}

void DrawRecipient(PrintSurface &surface, PrintJob &job, const Cls_住所 &record, double adj)
{
    SetPostcardFont(surface, job, RecipientSize);
    if (!record.PYubin.isEmpty())
        PrintRow(surface, PostalCells(record.PYubin), RecipientBoxX, adj + 10);
    if (!record.PJu1.isEmpty())
        PrintColumn(surface, AddressCells(record.PJu1), 85, adj + 20);
    if (!record.PJu2.isEmpty())
        PrintColumn(surface, AddressCells(record.PJu2), 75, adj + 20);
    SetPostcardFont(surface, job, RecipientNameSize);
    // The name keeps its height whatever the adjustment says.
    if (!record.PName.isEmpty())
        PrintColumn(surface, NameCells(record.PName, RecipientHonorific(job.settings, record.PName)), 45, 28);
}

void DrawSender(PrintSurface &surface, PrintJob &job, const SenderInfo &sender, double adj)
{
    SetPostcardFont(surface, job, SenderSize);
    if (!sender.Yubin.isEmpty())
        PrintRow(surface, PostalCells(sender.Yubin), SenderBoxX, adj + 120);
    if (!sender.Ju1.isEmpty())
        PrintColumn(surface, AddressCells(sender.Ju1), 17, adj + 54);
    if (!sender.Ju2.isEmpty())
        PrintColumn(surface, AddressCells(sender.Ju2), 12, adj + 54);
    SetPostcardFont(surface, job, SenderNameSize);
    if (!sender.Name.isEmpty())
        PrintColumn(surface, NameCells(sender.Name, false), 5, 65);
}

} // namespace

void PrintPostcards(PrintSurface *surface, PrintJob &job, int previewFlag)
{
    PrintoutRun run(surface, job, previewFlag, Kind);
    run.SetUpPaper();
    try {
        run.ShowPrinting();
        const int count = job.entries.Count();
        for (int i = 0; i < count; ++i) {
            if (run.Cancelled())
                break;
            const Cls_住所 &record = PrintEntryRecord(job, i);
            // Read for every card, as the settings are the user's to change.
            const SettingsRecord &settings = job.settings;
            const double adj = settings.HagakiOffsetMm;
            DrawRecipient(run.Surface(), job, record, adj);
            if (job.run.PrintSender)
                DrawSender(run.Surface(), job, settings.Sender, adj);
            // No page follows the last card, so no blank page ends the job.
            if (i != count - 1)
                run.StartNewPage();
            job.progress.SetValue(i + 1);
        }
        run.Finish();
    } catch (const std::exception &e) {
        run.Fail(e);
    }
}

void DrawPostcardGuide(PrintSurface &surface, PrintJob &job)
{
    // Japan Post's seven boxes: 5.7 × 8 mm, their top 12 mm below the
    // card's top, the last one ending 8 mm from the card's right edge.
    constexpr double boxLefts[] = {44.3, 51.3, 58.3, 65.9, 72.7, 79.5, 86.3};
    DrawOnPaper(surface, [&] {
        surface.DrawWidth = 1;
        surface.DrawStyle = DrawStyleSolid;
        surface.FillStyle = FillTransparent;
        for (const double x : boxLefts)
            surface.Box(x, 12, 5.7, 8);
    });
    SetPostcardFont(surface, job, RecipientSize);
    PrintRow(surface, PostalCells(u"1234567"_s), RecipientBoxX, job.settings.HagakiOffsetMm + 10);
}

#include "print/printouts.h"

#include "model/address_record.h"
#include "print/print_run_state.h"
#include "print/print_surface.h"
#include "print/vertical_text.h"
#include "model/honorific.h"
#include "settings/app_settings.h"

#include <algorithm>
#include <cmath>

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

// Where each column may run to, in millimetres from the card's top: the
// recipient's columns stop 8 mm above the card's lower edge, the sender's
// 2 mm above its code boxes (adj + 120). A column that would run further
// prints smaller, size and pitch together, in 5 % steps down to 60 %.
constexpr double RecipientBottom = 140;
constexpr double SenderBottomAboveAdj = 118;
// One more address column, between the name and 住所2, for an address that
// does not fit two columns even at 60 %.
constexpr double ExtraAddressX = 65;
constexpr double MinScale = 0.6;

double CellPitch(double points) { return points * 25.4 / 72; }

// The largest scale at which count cells of that size fit the height; 0 when none does.
double FittingScale(qsizetype count, double points, double height)
{
    for (int step = 0; 1 - 0.05 * step >= MinScale - 1e-9; ++step) {
        const double scale = 1 - 0.05 * step;
        if (count * CellPitch(points * scale) <= height + 1e-9)
            return scale;
    }
    return 0;
}

// How many cells of that size fit the height at the smallest scale.
qsizetype CellsAtMinScale(double points, double height)
{
    return qsizetype(std::floor(height / CellPitch(points * MinScale) + 1e-9));
}

// A column at a scale, centred where the design's size would stand.
void PrintScaledColumn(PrintSurface &surface, PrintJob &job, const CellList &cells, double x, double top,
                       double points, double scale)
{
    SetPostcardFont(surface, job, points * scale);
    PrintColumn(surface, cells, x + CellPitch(points) * (1 - scale) / 2, top);
}

// A column fitted to its space: smaller if need be, and what still does not
// fit at 60 % is returned for the caller to place or drop.
CellList PrintFittedColumn(PrintSurface &surface, PrintJob &job, const CellList &cells, double x, double top,
                           double bottom, double points)
{
    if (cells.isEmpty())
        return {};
    const double scale = FittingScale(cells.size(), points, bottom - top);
    if (scale > 0) {
        PrintScaledColumn(surface, job, cells, x, top, points, scale);
        return {};
    }
    const qsizetype room = CellsAtMinScale(points, bottom - top);
    PrintScaledColumn(surface, job, cells.first(room), x, top, points, MinScale);
    return cells.sliced(room);
}

// The two address lines in their columns, 住所1 at 85 mm and 住所2 at
// 75 mm. A line too long for its column even at 60 % goes on in the next
// column to the left and the line after it moves over, as far as the extra
// column; what lies beyond that is left out.
void DrawAddress(PrintSurface &surface, PrintJob &job, const QString &line1, const QString &line2, double adj)
{
    const double top = adj + 20;
    constexpr double columns[] = {85, 75, ExtraAddressX};
    size_t next = 0;
    const auto flow = [&](CellList cells) {
        while (!cells.isEmpty() && next < std::size(columns))
            cells = PrintFittedColumn(surface, job, cells, columns[next++], top, RecipientBottom, RecipientSize);
    };
    if (!line1.isEmpty())
        flow(AddressCells(line1));
    // 住所2 keeps its own column when 住所1 is empty or fits its own.
    next = std::max<size_t>(next, 1);
    if (!line2.isEmpty())
        flow(AddressCells(line2));
}

// The name and its honorific; a name too long even at 60 % is cut so that
// the honorific stays on the card.
void DrawName(PrintSurface &surface, PrintJob &job, const QString &name, const QString &honorific, double x,
              double top, double bottom, double points)
{
    CellList cells = NameCells(name, honorific);
    if (FittingScale(cells.size(), points, bottom - top) == 0) {
        // The spacer and the honorific, or the honorific the name is written with.
        const qsizetype tail = honorific.isEmpty() ? WrittenHonorificLength(name) : honorific.size() + 1;
        const qsizetype room = CellsAtMinScale(points, bottom - top);
        cells = cells.first(std::max<qsizetype>(0, room - tail)) + cells.sliced(cells.size() - tail);
    }
    PrintFittedColumn(surface, job, cells, x, top, bottom, points);
}

// A joint name as cards write it: the family name once at the top of the
// name's place, the given names side by side below it, the first on the
// right, each with its own honorific, the honorifics on one line. Smaller
// as need be (down to 60 %) to keep within the name's place, between the
// sender and the address; false when even that does not hold it.
bool DrawJointName(PrintSurface &surface, PrintJob &job, const JointName &joint, const QString &honorific)
{
    constexpr double top = 28, left = 25, right = 63, gap = 1;
    const double centre = 45 + CellPitch(RecipientNameSize) / 2;
    const qsizetype columns = joint.givenNames.size();
    qsizetype longest = 0;
    for (const QString &given : joint.givenNames)
        longest = std::max(longest, given.size());
    const qsizetype honorificLines = honorific.isEmpty() ? 0 : honorific.size() + 1;
    const qsizetype lines = joint.family.size() + longest + honorificLines;
    for (int step = 0; 1 - 0.05 * step >= MinScale - 1e-9; ++step) {
        const double scale = 1 - 0.05 * step;
        const double cell = CellPitch(RecipientNameSize * scale);
        const double width = columns * cell + (columns - 1) * gap;
        if (lines * cell > RecipientBottom - top + 1e-9 || width > right - left + 1e-9)
            continue;
        // Centred on the name's column as far as the place allows.
        const double groupLeft = std::clamp(centre - width / 2, left, right - width);
        SetPostcardFont(surface, job, RecipientNameSize * scale);
        PrintColumn(surface, NameCells(joint.family, false), groupLeft + width / 2 - cell / 2, top);
        const double givenTop = top + joint.family.size() * cell;
        const double honorificTop = givenTop + (longest + 1) * cell;
        for (qsizetype j = 0; j < columns; ++j) {
            const double x = groupLeft + width - (j + 1) * cell - j * gap;
            PrintColumn(surface, NameCells(joint.givenNames[j], false), x, givenTop);
            if (!honorific.isEmpty())
                PrintColumn(surface, NameCells(honorific, false), x, honorificTop);
        }
        return true;
    }
    return false;
}

void DrawRecipient(PrintSurface &surface, PrintJob &job, const Cls_住所 &record, double adj)
{
    SetPostcardFont(surface, job, RecipientSize);
    if (!record.PYubin.isEmpty())
        PrintRow(surface, PostalCells(record.PYubin), RecipientBoxX, adj + 10);
    DrawAddress(surface, job, record.PJu1, record.PJu2, adj);
    // The name keeps its height whatever the adjustment says.
    if (record.PName.isEmpty())
        return;
    const QString honorific = RecipientHonorific(job.settings, record.PName);
    if (job.settings.JointNames) {
        if (const std::optional<JointName> joint = ParseJointName(record.PName);
            joint && DrawJointName(surface, job, *joint, honorific))
            return;
    }
    DrawName(surface, job, record.PName, honorific, 45, 28, RecipientBottom, RecipientNameSize);
}

void DrawSender(PrintSurface &surface, PrintJob &job, const SenderInfo &sender, double adj)
{
    SetPostcardFont(surface, job, SenderSize);
    if (!sender.Yubin.isEmpty())
        PrintRow(surface, PostalCells(sender.Yubin), SenderBoxX, adj + 120);
    // The sender's columns stop above its code boxes; what does not fit at 60 % is left out.
    const double bottom = adj + SenderBottomAboveAdj;
    if (!sender.Ju1.isEmpty())
        PrintFittedColumn(surface, job, AddressCells(sender.Ju1), 17, adj + 54, bottom, SenderSize);
    if (!sender.Ju2.isEmpty())
        PrintFittedColumn(surface, job, AddressCells(sender.Ju2), 12, adj + 54, bottom, SenderSize);
    SetPostcardFont(surface, job, SenderNameSize);
    if (!sender.Name.isEmpty())
        DrawName(surface, job, sender.Name, QString(), 5, 65, bottom, SenderNameSize);
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

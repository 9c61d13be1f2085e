#include "print/printouts.h"

#include "model/address_record.h"
#include "model/honorific.h"
#include "print/print_run_state.h"
#include "print/print_surface.h"
#include "settings/app_settings.h"

#include <QRectF>
#include <algorithm>
#include <array>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Kind = 2;
constexpr int LabelsPerPage = 14;
constexpr double LabelWidth = 5300, LabelHeight = 2100;
constexpr double GridLeft = 400, GridTop = 700;
// Text stops 200 twips short of the label's right edge; a longer line
// shrinks down to 60 % and is then cut there, the honorific kept whole.
constexpr double RightPadding = 200;
constexpr double LineMinScale = 0.6;

// Label n (1 to 14) on its page: odd numbers in the left column, even in
// the right one, filling the page row by row.
QPointF LabelCorner(int n)
{
    const int column = (n % 2 == 1) ? 0 : 1;
    const int row = (n + 1) / 2;
    return {GridLeft + LabelWidth * column, GridTop + LabelHeight * (row - 1)};
}

// The name line: the name and its honorific, which fitting never cuts.
// A joint name prints each given name with its own honorific:
// "山田 太郎 様・花子 様".
struct LabelName {
    QString text, keep;
};

LabelName LabelNameOf(const SettingsRecord &settings, const QString &name)
{
    const QString honorific = RecipientHonorific(settings, name);
    if (settings.JointNames) {
        if (const std::optional<JointName> joint = ParseJointName(name)) {
            QStringList parts;
            for (const QString &given : joint->givenNames)
                parts << given + (honorific.isEmpty() ? QString() : u" "_s + honorific);
            QString text = joint->family + u' ' + parts.join(u'・');
            // The last honorific is the part that stays.
            const QString keep = honorific.isEmpty() ? QString() : u" "_s + honorific;
            text.chop(keep.size());
            return {text, keep};
        }
    }
    return {name, honorific.isEmpty() ? QString() : u"   "_s + honorific};
}

void PrintAt(PrintSurface &surface, double x, double y, double right, const QString &text,
             const QString &keep = {})
{
    surface.CurrentX = x;
    surface.CurrentY = y;
    surface.PrintFittedLine(text, right - x, LineMinScale, keep);
}

// ------------------------------------------------------------ label places

constexpr double TwipsPerMm = 1440 / 25.4;
// Outlines printed to try a sheet on plain paper, and the places a start
// position leaves blank as the preview shows them.
const QColor OutlineGrey(128, 128, 128);
const QColor SkippedGrey(205, 205, 205);

// One label's place on the page, in twips.
struct LabelPlace {
    QRectF rect;
    double radius = 0;
};

// The places of one sheet in printing order: across, then down.
std::vector<LabelPlace> SheetPlaces(const PrintRunState &run)
{
    std::vector<LabelPlace> places;
    if (!run.Labels.Sheet) {
        for (int n = 1; n <= LabelsPerPage; ++n)
            places.push_back({QRectF(LabelCorner(n), QSizeF(LabelWidth, LabelHeight))});
        return places;
    }
    const LabelSheet &sheet = *run.Labels.Sheet;
    for (const QRectF &mm : sheet.LabelRects())
        places.push_back({QRectF(mm.topLeft() * TwipsPerMm, mm.size() * TwipsPerMm), sheet.roundMm * TwipsPerMm});
    return places;
}

void DrawOutline(PrintSurface &page, const LabelPlace &place, const QColor &colour)
{
    page.ForeColor = colour;
    page.DrawWidth = 1;
    page.DrawStyle = DrawStyleSolid;
    page.FillStyle = FillTransparent;
    const QRectF &r = place.rect;
    if (place.radius > 0)
        page.RoundedBox(r.x(), r.y(), r.width(), r.height(), place.radius);
    else
        page.Box(r.x(), r.y(), r.width(), r.height());
    page.ForeColor = Qt::black;
}

// ------------------------------------------------------------ label content

// The standard label: the dotted cutting guide and the four lines at the
// sheet's own places and sizes.
void PrintStandardLabel(PrintSurface &page, PrintJob &job, const QRectF &place, const Cls_住所 &record)
{
    page.DrawWidth = 1;
    page.DrawStyle = DrawStyleDotted;
    const double x = place.x(), y = place.y();
    page.Box(x, y, LabelWidth, LabelHeight);
    const double right = x + LabelWidth - RightPadding;
    SetPrintFont(page, job, Kind, true, 11);
    PrintAt(page, x + 500, y + 300, right, u"〒 "_s + record.PYubin);
    SetPrintFont(page, job, Kind, true, 12);
    PrintAt(page, x + 500, y + 700, right, record.PJu1);
    PrintAt(page, x + 500, y + 1000, right, record.PJu2);
    SetPrintFont(page, job, Kind, true, 16);
    const LabelName name = LabelNameOf(job.settings, record.PName);
    PrintAt(page, x + 1100, y + 1500, right, name.text, name.keep);
}

// The standard label's lines, as offsets within its 5300 × 2100 twips,
// with their sizes and the bounds a label of another size keeps them in.
struct ContentLine {
    double x, y, points, minPoints, maxPoints;
};
constexpr ContentLine StandardLines[] = {
    {500, 300, 11, 6, 16},    // 〒
    {500, 700, 12, 6, 16},    // address 1
    {500, 1000, 12, 6, 16},   // address 2
    {1100, 1500, 16, 9, 20},  // name
};
constexpr int LineCount = int(std::size(StandardLines));

// Where the lines of a label of another size go: the standard label's
// proportions within the markup margin, the sizes following the label's
// height within their bounds. Lines never overlap, and when the bounds
// would take them past the label's foot they close up, and if need be
// shrink, so that nothing leaves the label.
struct PlacedLine {
    double x, y, points;
};

std::array<PlacedLine, LineCount> PlaceLines(const QRectF &inner)
{
    const double sx = inner.width() / LabelWidth, sy = inner.height() / LabelHeight;
    std::array<PlacedLine, LineCount> lines{};
    std::array<double, LineCount> gaps{};   // the space above each line
    double bottom = 0, gapTotal = 0, heightTotal = 0;
    for (int i = 0; i < LineCount; ++i) {
        const ContentLine &c = StandardLines[i];
        lines[size_t(i)] = {c.x * sx, 0, std::clamp(c.points * sy, c.minPoints, c.maxPoints)};
        gaps[size_t(i)] = std::max(0.0, c.y * sy - bottom);
        bottom += gaps[size_t(i)] + lines[size_t(i)].points * 20;
        gapTotal += gaps[size_t(i)];
        heightTotal += lines[size_t(i)].points * 20;
    }
    double gapScale = 1, sizeScale = 1;
    if (bottom > inner.height()) {
        if (heightTotal <= inner.height()) {
            gapScale = (inner.height() - heightTotal) / gapTotal;
        } else {
            gapScale = 0;
            sizeScale = inner.height() / heightTotal;
        }
    }
    double y = 0;
    for (int i = 0; i < LineCount; ++i) {
        PlacedLine &line = lines[size_t(i)];
        line.points *= sizeScale;
        y += gaps[size_t(i)] * gapScale;
        line.y = y;
        y += line.points * 20;
    }
    for (PlacedLine &line : lines) {
        line.x += inner.x();
        line.y += inner.y();
    }
    return lines;
}

void PrintSheetLabel(PrintSurface &page, PrintJob &job, const QRectF &place, double marginTwips,
                     const Cls_住所 &record)
{
    QRectF inner = place.adjusted(marginTwips, marginTwips, -marginTwips, -marginTwips);
    if (!inner.isValid())
        inner = place;
    const std::array<PlacedLine, LineCount> lines = PlaceLines(inner);
    const double right = inner.right() - RightPadding * inner.width() / LabelWidth;
    const LabelName name = LabelNameOf(job.settings, record.PName);
    const QString texts[] = {u"〒 "_s + record.PYubin, record.PJu1, record.PJu2, name.text};
    for (int i = 0; i < LineCount; ++i) {
        const PlacedLine &line = lines[size_t(i)];
        SetPrintFont(page, job, Kind, true, line.points);
        PrintAt(page, line.x, line.y, right, texts[i], i == LineCount - 1 ? name.keep : QString());
    }
}

} // namespace

void PrintAddressLabels(PrintSurface *surface, PrintJob &job, int previewFlag)
{
    PrintoutRun run(surface, job, previewFlag, Kind);
    try {
        run.SetUpPaper();
        const std::vector<LabelPlace> places = SheetPlaces(job.run);
        const bool standard = !job.run.Labels.Sheet;
        const double margin = standard ? 0 : job.run.Labels.Sheet->marginMm * TwipsPerMm;
        // Other sheets are printed edge to edge: a header would fall on a label.
        const auto startPage = [&] {
            if (standard)
                DrawPageHeader(run.Surface(), job, Kind, run.Page());
            if (job.run.Labels.Outlines) {
                for (const LabelPlace &place : places)
                    DrawOutline(run.Surface(), place, OutlineGrey);
            }
        };
        startPage();
        // The labels before the start position are used up on the user's
        // sheet; the preview shows where they are.
        int label = std::clamp(job.run.Labels.Start, 1, int(places.size()));
        if (previewFlag == 1 && !job.run.Labels.Outlines) {
            for (int n = 1; n < label; ++n)
                DrawOutline(run.Surface(), places[size_t(n - 1)], SkippedGrey);
        }
        run.ShowPrinting();
        for (int i = 0; i < job.entries.Count(); ++i) {
            if (run.Cancelled())
                break;
            if (label > int(places.size())) {
                run.StartNewPage();
                startPage();
                label = 1;
            }
            PrintSurface &page = run.Surface();
            const QRectF &place = places[size_t(label - 1)].rect;
            const Cls_住所 &record = PrintEntryRecord(job, i);
            if (standard)
                PrintStandardLabel(page, job, place, record);
            else
                PrintSheetLabel(page, job, place, margin, record);
            ++label;
            job.progress.SetValue(i + 1);
        }
        run.Finish();
    } catch (const std::exception &e) {
        run.Fail(e);
    }
}

void DrawAddressLabelsGuide(PrintSurface &surface, PrintJob &job)
{
    for (const LabelPlace &place : SheetPlaces(job.run))
        DrawOutline(surface, place, Qt::black);
}

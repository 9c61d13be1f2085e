#include "print/printouts.h"

#include "model/address_record.h"
#include "model/honorific.h"
#include "print/print_surface.h"
#include "settings/app_settings.h"

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

void PrintAt(PrintSurface &surface, double x, double y, double labelRight, const QString &text,
             const QString &keep = {})
{
    surface.CurrentX = x;
    surface.CurrentY = y;
    surface.PrintFittedLine(text, labelRight - RightPadding - x, LineMinScale, keep);
}

} // namespace

void PrintAddressLabels(PrintSurface *surface, PrintJob &job, int previewFlag)
{
    PrintoutRun run(surface, job, previewFlag, Kind);
    try {
        run.SetUpPaper();
        DrawPageHeader(run.Surface(), job, Kind, run.Page());
        int label = 1;
        run.ShowPrinting();
        for (int i = 0; i < job.entries.Count(); ++i) {
            if (run.Cancelled())
                break;
            if (label > LabelsPerPage) {
                run.StartNewPage();
                DrawPageHeader(run.Surface(), job, Kind, run.Page());
                label = 1;
            }
            PrintSurface &page = run.Surface();
            page.DrawWidth = 1;
            page.DrawStyle = DrawStyleDotted;
            const QPointF corner = LabelCorner(label);
            const double x = corner.x(), y = corner.y();
            // The cutting guide.
            page.Box(x, y, LabelWidth, LabelHeight);
            const Cls_住所 &record = PrintEntryRecord(job, i);
            const double right = x + LabelWidth;
            SetPrintFont(page, job, Kind, true, 11);
            PrintAt(page, x + 500, y + 300, right, u"〒 "_s + record.PYubin);
            SetPrintFont(page, job, Kind, true, 12);
            PrintAt(page, x + 500, y + 700, right, record.PJu1);
            PrintAt(page, x + 500, y + 1000, right, record.PJu2);
            SetPrintFont(page, job, Kind, true, 16);
            const LabelName name = LabelNameOf(job.settings, record.PName);
            PrintAt(page, x + 1100, y + 1500, right, name.text, name.keep);
            ++label;
            job.progress.SetValue(i + 1);
        }
        run.Finish();
    } catch (const std::exception &e) {
        run.Fail(e);
    }
}

void DrawAddressLabelsGuide(PrintSurface &surface, PrintJob &)
{
    surface.DrawWidth = 1;
    surface.DrawStyle = DrawStyleSolid;
    surface.FillStyle = FillTransparent;
    for (int label = 1; label <= LabelsPerPage; ++label) {
        const QPointF corner = LabelCorner(label);
        surface.Box(corner.x(), corner.y(), LabelWidth, LabelHeight);
    }
}

#include "print/printouts.h"

#include "print/print_run_state.h"
#include "print/print_surface.h"
#include "print/printout_kinds.h"

#include <QScopeGuard>
#include <QSizeF>

using namespace Qt::Literals::StringLiterals;

namespace {

// The paper of a kind in millimetres, as it lies (landscape: wide).
QSizeF PaperMm(const KindPaper &paper)
{
    QSizeF size = paper.paperSize == PaperUser ? QSizeF(paper.widthTwips, paper.heightTwips) * (25.4 / 1440)
                                               : QSizeF(210, 297);
    if (paper.orientation == OrientationLandscape)
        size.transpose();
    return size;
}

// Draws in millimetres whatever the surface's unit.
class MillimetrePen {
public:
    explicit MillimetrePen(PrintSurface &surface)
        : m_surface(surface), m_unit(surface.ScaleMode() == ScaleMillimetres ? 1 : 1440 / 25.4)
    {
    }
    void line(double x, double y, double dx, double dy) { m_surface.Line(x * m_unit, y * m_unit, dx * m_unit, dy * m_unit); }
    void text(double x, double y, const QString &text)
    {
        m_surface.CurrentX = x * m_unit;
        m_surface.CurrentY = y * m_unit;
        m_surface.PrintLine(text);
    }

private:
    PrintSurface &m_surface;
    double m_unit;
};

// Rulers 6 mm inside the top and left edges, ticks towards the edge, so
// they print within the margins most printers keep: a tick every
// millimetre, longer every 5, numbered every 10.
constexpr double RulerInset = 6;

void DrawRulers(MillimetrePen &pen, QSizeF paper)
{
    pen.line(0, RulerInset, paper.width(), 0);
    pen.line(RulerInset, 0, 0, paper.height());
    for (int mm = 1; mm < int(paper.width()); ++mm) {
        const double length = mm % 10 == 0 ? 4 : mm % 5 == 0 ? 2.5 : 1.5;
        pen.line(mm, RulerInset, 0, -length);
        if (mm % 10 == 0)
            pen.text(mm + 0.4, RulerInset + 0.3, QString::number(mm));
    }
    for (int mm = 1; mm < int(paper.height()); ++mm) {
        const double length = mm % 10 == 0 ? 4 : mm % 5 == 0 ? 2.5 : 1.5;
        pen.line(RulerInset, mm, -length, 0);
        if (mm % 10 == 0)
            pen.text(RulerInset + 0.5, mm - 1.1, QString::number(mm));
    }
}

// Crosshairs 20 mm in from each corner, each named by its place.
void DrawCrosshairs(MillimetrePen &pen, QSizeF paper)
{
    constexpr int in = 20;
    constexpr double arm = 4;
    for (const int x : {in, qRound(paper.width()) - in}) {
        for (const int y : {in, qRound(paper.height()) - in}) {
            pen.line(x - arm, y, 2 * arm, 0);
            pen.line(x, y - arm, 0, 2 * arm);
            pen.text(x + 0.8, y + 0.8, u"%1, %2 mm"_s.arg(x).arg(y));
        }
    }
}

} // namespace

void DrawOnPaper(PrintSurface &surface, const std::function<void()> &draw)
{
    const QPointF offset = surface.OffsetMm();
    const auto restore = qScopeGuard([&] { surface.SetOffsetMm(offset); });
    surface.SetOffsetMm(-surface.PrintableOriginMm());
    draw();
}

void PrintAlignment(PrintSurface *surface, PrintJob &job, int kind)
{
    const PrintoutKind *row = FindPrintoutKind(kind);
    if (!row)
        return;
    PrintoutRun run(surface, job, 0, kind);
    run.SetUpPaper();
    try {
        run.ShowPrinting();
        PrintSurface &page = run.Surface();
        const QSizeF paper = PaperMm(PaperOfRun(*row, job.run.Labels));
        DrawOnPaper(page, [&] {
            MillimetrePen pen(page);
            page.DrawWidth = 1;
            page.DrawStyle = DrawStyleSolid;
            SetPrintFont(page, job, kind, false, 6);
            DrawRulers(pen, paper);
            DrawCrosshairs(pen, paper);
            // What to do with the page, above the lower crosshairs.
            QStringList lines = {u"目盛りから読んだずれを、環境設定の"_s, u"「印刷位置の調整」に入れてください。"_s};
            if (kind == 4)
                lines << u"枠は郵便番号枠の正しい位置です。"_s << u"数字が枠の中に来るように調整します。"_s;
            const double left = 25, top = qRound(paper.height()) - 28 - 4.0 * lines.size();
            SetPrintFont(page, job, kind, true, 9);
            pen.text(left, top, u"位置合わせ印刷（%1）"_s.arg(row->name));
            SetPrintFont(page, job, kind, false, 8);
            for (int i = 0; i < lines.size(); ++i)
                pen.text(left, top + 5 + 3.6 * i, lines[i]);
        });
        row->guide(page, job);
        run.Finish();
    } catch (const std::exception &e) {
        run.Fail(e);
    }
}

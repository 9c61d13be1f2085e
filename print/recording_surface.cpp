#include "print/recording_surface.h"

#include "model/app_error.h"
#include "print/surface_font.h"

#include <QFontMetricsF>

using namespace Qt::Literals::StringLiterals;

RecordingSurface::RecordingSurface(bool printer, int scaleMode)
    : PrintSurface(scaleMode), m_printer(printer)
{
}

QList<RecordedOp> RecordingSurface::ofKind(RecordedOp::Kind kind) const
{
    QList<RecordedOp> out;
    for (const RecordedOp &o : ops)
        if (o.kind == kind)
            out.append(o);
    return out;
}

QStringList RecordingSurface::texts() const
{
    QStringList out;
    for (const RecordedOp &o : ops)
        if (o.kind == RecordedOp::Text)
            out.append(o.text);
    return out;
}

RecordedOp RecordingSurface::op(RecordedOp::Kind kind) const
{
    RecordedOp o;
    o.kind = kind;
    o.page = m_page;
    o.font = Font;
    o.drawWidth = DrawWidth;
    o.drawStyle = DrawStyle;
    o.fillStyle = FillStyle;
    o.fillColor = FillColor;
    o.foreColor = ForeColor;
    return o;
}

void RecordingSurface::record(RecordedOp o)
{
    if (m_failAt >= 0 && ops.size() >= m_failAt) {
        m_failAt = -1;
        throw AppError(u"テスト用の印刷エラーです。"_s);
    }
    ops.append(std::move(o));
}

void RecordingSurface::SetScaleMode(int mode)
{
    setScaleModeValue(mode);
    RecordedOp o = op(RecordedOp::ScaleMode);
    o.value = mode;
    record(o);
}

void RecordingSurface::SetPaperSize(int code)
{
    RecordedOp o = op(RecordedOp::PaperSize);
    o.value = code;
    record(o);
}

void RecordingSurface::SetOrientation(int code)
{
    RecordedOp o = op(RecordedOp::Orientation);
    o.value = code;
    record(o);
}

void RecordingSurface::SetPrintQuality(int code)
{
    RecordedOp o = op(RecordedOp::PrintQuality);
    o.value = code;
    record(o);
}

void RecordingSurface::NewPage()
{
    record(op(RecordedOp::NewPage));
    ++m_page;
}

void RecordingSurface::EndDoc() { record(op(RecordedOp::EndDoc)); }
void RecordingSurface::KillDoc() { record(op(RecordedOp::KillDoc)); }

void RecordingSurface::drawText(const QPointF &topLeft, const QString &text)
{
    RecordedOp o = op(RecordedOp::Text);
    o.from = topLeft;
    o.text = text;
    record(o);
}

double RecordingSurface::textWidth(const QString &text)
{
    return QFontMetricsF(SurfaceQFont(Font)).horizontalAdvance(text) / TwipsPerUnit(ScaleMode());
}

void RecordingSurface::drawLine(const QPointF &from, const QPointF &to)
{
    RecordedOp o = op(RecordedOp::Line);
    o.from = from;
    o.to = to;
    record(o);
}

void RecordingSurface::drawBox(const QPointF &corner1, const QPointF &corner2)
{
    RecordedOp o = op(RecordedOp::Box);
    o.from = corner1;
    o.to = corner2;
    record(o);
}

void RecordingSurface::drawRoundedBox(const QPointF &corner1, const QPointF &corner2, double radius)
{
    RecordedOp o = op(RecordedOp::Box);
    o.from = corner1;
    o.to = corner2;
    o.radius = radius;
    record(o);
}

PrintSurface &RecordingPages::AddPage(int index)
{
    addedIndexes.append(index);
    auto page = std::make_unique<RecordingSurface>(false, m_first.ScaleMode());
    pages.push_back(std::move(page));
    return *pages.back();
}

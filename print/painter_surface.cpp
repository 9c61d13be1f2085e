#include "print/painter_surface.h"

#include "print/surface_font.h"

#include <QFontMetricsF>
#include <QPaintDevice>

void PainterSurface::ScaleToTwips(QPainter &painter)
{
    const QPaintDevice *device = painter.device();
    painter.scale(device->logicalDpiX() / 1440.0, device->logicalDpiY() / 1440.0);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setBackgroundMode(Qt::TransparentMode);
}

QPointF PainterSurface::toTwips(const QPointF &p) const
{
    return p * TwipsPerUnit(ScaleMode());
}

QPen PainterSurface::pen() const
{
    // Widths are device pixels of the surface, whatever its scale.
    QPen pen(Qt::black, qMax(1, DrawWidth), DrawStyle == DrawStyleDotted ? Qt::DotLine : Qt::SolidLine,
             Qt::FlatCap, Qt::MiterJoin);
    pen.setCosmetic(true);
    return pen;
}

void PainterSurface::drawText(const QPointF &topLeft, const QString &text)
{
    QPainter &painter = activePainter();
    const QFont font = SurfaceQFont(Font);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QPointF at = toTwips(topLeft);
    painter.drawText(QPointF(at.x(), at.y() + QFontMetricsF(font).ascent()), text);
}

double PainterSurface::textWidth(const QString &text)
{
    return QFontMetricsF(SurfaceQFont(Font)).horizontalAdvance(text) / TwipsPerUnit(ScaleMode());
}

void PainterSurface::drawLine(const QPointF &from, const QPointF &to)
{
    QPainter &painter = activePainter();
    painter.setPen(pen());
    painter.drawLine(toTwips(from), toTwips(to));
}

void PainterSurface::drawBox(const QPointF &corner1, const QPointF &corner2)
{
    QPainter &painter = activePainter();
    const QRectF box = QRectF(toTwips(corner1), toTwips(corner2)).normalized();
    if (FillStyle == FillCrossHatch) {
        // The hatch is drawn in the page's unit, so it looks the same on
        // screen, on paper and through a recorded page.
        painter.save();
        painter.setClipRect(box, Qt::IntersectClip);
        QPen hatch(FillColor, 1);
        hatch.setCosmetic(true);
        painter.setPen(hatch);
        constexpr double step = 60;   // twips between hatch lines
        const double span = box.width() + box.height();
        for (double d = step; d < span; d += step) {
            painter.drawLine(QPointF(box.left() + d, box.top()), QPointF(box.left() + d - box.height(), box.bottom()));
            painter.drawLine(QPointF(box.left() + d - box.height(), box.top()), QPointF(box.left() + d, box.bottom()));
        }
        painter.restore();
    }
    painter.setPen(pen());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
}

#include "print/print_surface.h"

namespace {
constexpr double TwipsPerPoint = 20.0;
constexpr double MillimetresPerPoint = 25.4 / 72.0;
}

double PrintSurface::UnitsPerPoint() const
{
    return m_scaleMode == ScaleMillimetres ? MillimetresPerPoint : TwipsPerPoint;
}

QPointF PrintSurface::offset() const
{
    return m_offsetMm / MillimetresPerPoint * UnitsPerPoint();
}

double PrintSurface::LineHeight() const
{
    return Font.Size * UnitsPerPoint();
}

void PrintSurface::PrintText(const QString &text)
{
    drawText(QPointF(CurrentX, CurrentY) + offset(), text);
    CurrentX += textWidth(text);
}

void PrintSurface::PrintLine(const QString &text)
{
    drawText(QPointF(CurrentX, CurrentY) + offset(), text);
    CurrentX = 0;
    CurrentY += LineHeight();
}

void PrintSurface::Line(double x, double y, double dx, double dy)
{
    const QPointF shift = offset();
    drawLine(QPointF(x, y) + shift, QPointF(x + dx, y + dy) + shift);
    CurrentX = x + dx;
    CurrentY = y + dy;
}

void PrintSurface::Box(double x, double y, double dx, double dy)
{
    const QPointF shift = offset();
    drawBox(QPointF(x, y) + shift, QPointF(x + dx, y + dy) + shift);
    CurrentX = x + dx;
    CurrentY = y + dy;
}

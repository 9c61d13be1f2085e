#include "print/print_surface.h"

#include <algorithm>
#include <cmath>
#include <functional>

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

void PrintSurface::RoundedBox(double x, double y, double dx, double dy, double radius)
{
    const QPointF shift = offset();
    drawRoundedBox(QPointF(x, y) + shift, QPointF(x + dx, y + dy) + shift, qMax(0.0, radius));
    CurrentX = x + dx;
    CurrentY = y + dy;
}

namespace {

// The longest start of text (whole characters) whose width fits.
QString CutToWidth(const QString &text, double maxWidth, const std::function<double(const QString &)> &width)
{
    qsizetype low = 0, high = text.size();
    while (low < high) {
        qsizetype mid = (low + high + 1) / 2;
        // Never between the halves of a surrogate pair.
        if (mid < text.size() && text.at(mid).isLowSurrogate())
            --mid;
        if (mid <= low) {
            high = low;
            break;
        }
        if (width(text.left(mid)) <= maxWidth)
            low = mid;
        else
            high = mid - 1;
    }
    return text.left(low);
}

} // namespace

void PrintSurface::PrintFittedLine(const QString &text, double maxWidth, double minScale, const QString &keep)
{
    // Without an honorific the text itself is measured and drawn: its glyphs
    // are mapped once for both.
    const QString whole = keep.isEmpty() ? text : text + keep;
    if (textWidth(whole) <= maxWidth) {
        PrintLine(whole);
        return;
    }
    const double top = CurrentY, left = CurrentX;
    const PrintFont font = Font;
    const double lineHeight = LineHeight();
    // The largest size in steps of 5 % that fits. A text's width follows
    // its size, so the step is found from the width at full size and only
    // checked (each size costs a font of its own).
    constexpr double step = 0.05;
    const double wanted = maxWidth / textWidth(whole);
    double scale = std::max(minScale, std::floor(wanted / step + 1e-9) * step);
    Font.Size = font.Size * scale;
    while (scale - step >= minScale - 1e-9 && textWidth(whole) > maxWidth) {
        scale -= step;
        Font.Size = font.Size * scale;
    }
    QString printed = whole;
    if (textWidth(whole) > maxWidth) {
        const double room = maxWidth - textWidth(keep);
        printed = CutToWidth(text, room, [this](const QString &t) { return textWidth(t); }) + keep;
    }
    CurrentX = left;
    CurrentY = top + (lineHeight - LineHeight()) / 2;
    PrintText(printed);
    Font = font;
    CurrentX = 0;
    CurrentY = top + lineHeight;
}

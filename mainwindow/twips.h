#pragma once

#include <QRect>
#include <cmath>

// Window and control geometry is laid out in twips; the screen works in
// logical pixels, which scale with the display together with point-sized fonts.
constexpr int TwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips)
{
    // Round half away from zero, as the layouts were drawn on a 15-twip grid.
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel
                      : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}

constexpr int PixelsToTwips(int pixels) { return pixels * TwipsPerPixel; }

inline QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

#pragma once

#include <QRect>
#include <QSize>
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

// Window sizes in the layouts are outer sizes, frame and title bar included;
// the window's content is smaller by the frame of a standard dialog.
constexpr int DialogFrameWidthTwips = 120;
constexpr int DialogFrameHeightTwips = 405;

inline QSize TwipsClientSize(int outerWidth, int outerHeight)
{
    return QSize(TwipsToPixels(outerWidth - DialogFrameWidthTwips),
                 TwipsToPixels(outerHeight - DialogFrameHeightTwips));
}

// One control of a form's layout table: its name and its place in twips.
struct TwipsPlace {
    const char16_t *name;
    int left, top, width, height;

    QRect rect() const { return TwipsRect(left, top, width, height); }
};

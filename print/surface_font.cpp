#include "print/surface_font.h"

#include <QtMath>

QFont SurfaceQFont(const PrintFont &font)
{
    QFont f(font.Name);
    f.setPixelSize(qMax(1, qRound(font.Size * 20.0)));
    f.setBold(font.Bold);
    f.setItalic(font.Italic);
    // Keep the outlines as the face draws them at any scale.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

#pragma once

#include "print/print_surface.h"

#include <QFont>

// Every page surface draws in twips inside; millimetre coordinates are
// converted on the way in. Fonts are then sized in whole twips, which
// carries every point size the printouts use exactly.
constexpr double TwipsPerMillimetre = 1440.0 / 25.4;

inline double TwipsPerUnit(int scaleMode)
{
    return scaleMode == ScaleMillimetres ? TwipsPerMillimetre : 1.0;
}

// The QFont for a print font, sized in twips.
QFont SurfaceQFont(const PrintFont &font);

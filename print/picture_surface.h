#pragma once

#include "print/painter_surface.h"

#include <QPicture>

// One preview page: a vector recording of the page, as large as the whole
// paper. Pages stay small however many a run makes.
class PictureSurface : public PainterSurface {
public:
    // The page's size in twips and its unit (twips or millimetres).
    PictureSurface(QSize pageTwips, int scaleMode);
    ~PictureSurface() override;

    QSize PageTwips() const { return m_pageTwips; }
    // The finished recording; ends the drawing if it is still open.
    const QPicture &Picture();
    // Forgets what was drawn: a blank page again.
    void Clear();
    // Draws the page with its top-left at the painter's origin, one twip
    // becoming unitsPerTwip of the painter's units.
    void Play(QPainter &painter, double unitsPerTwip);

protected:
    QPainter &activePainter() override;

private:
    QSize m_pageTwips;
    QPicture m_picture;
    QPainter m_painter;
    // The resolution the recording was made at: its coordinates are twips
    // scaled by this over 1440.
    double m_dpiX = 0, m_dpiY = 0;
};

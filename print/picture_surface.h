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

protected:
    QPainter &activePainter() override;

private:
    QSize m_pageTwips;
    QPicture m_picture;
    QPainter m_painter;
};

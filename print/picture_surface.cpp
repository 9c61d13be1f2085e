#include "print/picture_surface.h"

PictureSurface::PictureSurface(QSize pageTwips, int scaleMode)
    : PainterSurface(scaleMode), m_pageTwips(pageTwips)
{
}

PictureSurface::~PictureSurface()
{
    if (m_painter.isActive())
        m_painter.end();
}

QPainter &PictureSurface::activePainter()
{
    if (!m_painter.isActive()) {
        // A picture keeps drawing added after an earlier end: replay the old
        // one first so reopening never loses a page's content.
        QPicture previous = m_picture;
        m_picture = QPicture();
        m_painter.begin(&m_picture);
        if (!previous.isNull())
            m_painter.drawPicture(0, 0, previous);
        ScaleToTwips(m_painter);
    }
    return m_painter;
}

const QPicture &PictureSurface::Picture()
{
    if (m_painter.isActive())
        m_painter.end();
    return m_picture;
}

void PictureSurface::Clear()
{
    if (m_painter.isActive())
        m_painter.end();
    m_picture = QPicture();
}

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
        const double previousDpiX = m_dpiX, previousDpiY = m_dpiY;
        m_picture = QPicture();
        m_painter.begin(&m_picture);
        m_dpiX = m_painter.device()->logicalDpiX();
        m_dpiY = m_painter.device()->logicalDpiY();
        if (!previous.isNull()) {
            m_painter.save();
            m_painter.scale(m_dpiX / previousDpiX, m_dpiY / previousDpiY);
            m_painter.drawPicture(0, 0, previous);
            m_painter.restore();
        }
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

void PictureSurface::Play(QPainter &painter, double unitsPerTwip)
{
    const QPicture &picture = Picture();
    if (picture.isNull())
        return;
    painter.save();
    painter.scale(unitsPerTwip * 1440.0 / m_dpiX, unitsPerTwip * 1440.0 / m_dpiY);
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

#include "print/picture_surface.h"

#include <QImage>

PictureSurface::PictureSurface(QSize pageTwips, int scaleMode)
    : PainterSurface(scaleMode), m_pageTwips(pageTwips)
{
}

PictureSurface::~PictureSurface() = default;

quint16 PictureSurface::fontIndex()
{
    // A page uses a handful of fonts, mostly the last one again.
    for (size_t i = m_fonts.size(); i-- > 0;) {
        if (m_fonts[i] == Font)
            return quint16(i);
    }
    m_fonts.push_back(Font);
    return quint16(m_fonts.size() - 1);
}

PictureSurface::Op &PictureSurface::record(Op::Kind kind, const QPointF &a, const QPointF &b)
{
    m_pictureValid = false;
    m_ops.push_back(Op{kind, quint8(DrawStyle), quint8(FillStyle), 0, DrawWidth, FillColor.rgba(), a, b, {}});
    return m_ops.back();
}

void PictureSurface::drawText(const QPointF &topLeft, const QString &text)
{
    const quint16 font = fontIndex();
    Op &op = record(Op::Text, topLeft, topLeft);
    op.font = font;
    op.text = text;
}

void PictureSurface::drawLine(const QPointF &from, const QPointF &to) { record(Op::Line, from, to); }

void PictureSurface::drawBox(const QPointF &corner1, const QPointF &corner2) { record(Op::Box, corner1, corner2); }

QPainter &PictureSurface::activePainter()
{
    if (m_replay)
        return *m_replay;
    // Only a replay paints; anything else draws into nowhere.
    static QImage nowhere(1, 1, QImage::Format_RGB32);
    static QPainter idle;
    if (!idle.isActive())
        idle.begin(&nowhere);
    return idle;
}

void PictureSurface::Play(QPainter &painter, double unitsPerTwip)
{
    if (m_ops.empty())
        return;
    // The replay goes through the drawing state; the printout's own state
    // comes back afterwards.
    const PrintFont font = Font;
    const int drawWidth = DrawWidth, drawStyle = DrawStyle, fillStyle = FillStyle;
    const QColor fillColor = FillColor;

    painter.save();
    painter.scale(unitsPerTwip, unitsPerTwip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setBackgroundMode(Qt::TransparentMode);
    m_replay = &painter;
    for (const Op &op : m_ops) {
        DrawWidth = op.drawWidth;
        DrawStyle = op.drawStyle;
        FillStyle = op.fillStyle;
        FillColor = QColor::fromRgba(op.fillColor);
        switch (op.kind) {
        case Op::Text:
            Font = m_fonts[op.font];
            PainterSurface::drawText(op.a, op.text);
            break;
        case Op::Line:
            PainterSurface::drawLine(op.a, op.b);
            break;
        case Op::Box:
            PainterSurface::drawBox(op.a, op.b);
            break;
        }
    }
    m_replay = nullptr;
    painter.restore();

    Font = font;
    DrawWidth = drawWidth;
    DrawStyle = drawStyle;
    FillStyle = fillStyle;
    FillColor = fillColor;
}

const QPicture &PictureSurface::Picture()
{
    if (!m_pictureValid) {
        m_picture = QPicture();
        if (!m_ops.empty()) {
            QPainter painter(&m_picture);
            Play(painter, m_picture.logicalDpiX() / 1440.0);
        }
        m_pictureValid = true;
    }
    return m_picture;
}

void PictureSurface::Clear()
{
    m_ops.clear();
    m_fonts.clear();
    m_picture = QPicture();
    m_pictureValid = false;
}

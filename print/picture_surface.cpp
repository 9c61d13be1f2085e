#include "print/picture_surface.h"

#include "model/app_error.h"

#include <QImage>

using namespace Qt::Literals::StringLiterals;

namespace {

// The fonts of every page, each kept once: a printout uses a handful, and
// tens of thousands of pages need not each keep a list of them.
std::vector<PrintFont> &SharedFonts()
{
    static std::vector<PrintFont> fonts;
    return fonts;
}

quint16 SharedFontIndex(const PrintFont &font)
{
    static size_t last = 0;
    std::vector<PrintFont> &fonts = SharedFonts();
    if (last < fonts.size() && fonts[last] == font)
        return quint16(last);
    for (size_t i = 0; i < fonts.size(); ++i) {
        if (fonts[i] == font) {
            last = i;
            return quint16(i);
        }
    }
    if (fonts.size() > 0xFFFF)
        throw AppError(u"プレビューで使えるフォントの数を超えました。"_s);
    fonts.push_back(font);
    last = fonts.size() - 1;
    return quint16(last);
}

} // namespace

PictureSurface::PictureSurface(QSize pageTwips, int scaleMode)
    : PainterSurface(scaleMode), m_pageTwips(pageTwips)
{
}

PictureSurface::~PictureSurface() = default;

PictureSurface::Op &PictureSurface::record(Op::Kind kind, const QPointF &a, const QPointF &b)
{
    m_picture.reset();
    m_ops.push_back(Op{kind, quint8(DrawStyle), quint8(FillStyle), 0, qint16(qBound(-32768, DrawWidth, 32767)),
                       FillColor.rgba(), 0, float(a.x()), float(a.y()), float(b.x()), float(b.y())});
    return m_ops.back();
}

void PictureSurface::drawText(const QPointF &topLeft, const QString &text)
{
    const quint16 font = SharedFontIndex(Font);
    quint32 stored;
    if (text.size() == 1) {
        stored = text.front().unicode();
    } else {
        stored = LongText | quint32(m_texts.size());
        m_texts.push_back(text);
    }
    Op &op = record(Op::Text, topLeft, topLeft);
    op.font = font;
    op.text = stored;
}

void PictureSurface::drawLine(const QPointF &from, const QPointF &to) { record(Op::Line, from, to).penColor = ForeColor.rgba(); }

void PictureSurface::drawBox(const QPointF &corner1, const QPointF &corner2)
{
    record(Op::Box, corner1, corner2).penColor = ForeColor.rgba();
}

void PictureSurface::drawRoundedBox(const QPointF &corner1, const QPointF &corner2, double radius)
{
    Op &op = record(Op::RoundedBox, corner1, corner2);
    op.penColor = ForeColor.rgba();
    op.radius = quint16(qBound(0.0, radius * 100, 65535.0));
}

void PictureSurface::ReserveLike(const PictureSurface &other)
{
    m_ops.reserve(other.m_ops.size());
    m_texts.reserve(other.m_texts.size());
}

void PictureSurface::Squeeze()
{
    m_ops.shrink_to_fit();
    m_texts.shrink_to_fit();
}

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
    const QColor fillColor = FillColor, foreColor = ForeColor;

    painter.save();
    painter.scale(unitsPerTwip, unitsPerTwip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setBackgroundMode(Qt::TransparentMode);
    m_replay = &painter;
    const std::vector<PrintFont> &fonts = SharedFonts();
    for (const Op &op : m_ops) {
        DrawWidth = op.drawWidth;
        DrawStyle = op.drawStyle;
        FillStyle = op.fillStyle;
        FillColor = QColor::fromRgba(op.fillColor);
        const QPointF a(op.ax, op.ay), b(op.bx, op.by);
        switch (op.kind) {
        case Op::Text:
            Font = fonts[op.font];
            if (op.text & LongText)
                PainterSurface::drawText(a, m_texts[op.text & ~LongText]);
            else
                PainterSurface::drawText(a, QString(QChar(char16_t(op.text))));
            break;
        case Op::Line:
            ForeColor = QColor::fromRgba(op.penColor);
            PainterSurface::drawLine(a, b);
            break;
        case Op::Box:
            ForeColor = QColor::fromRgba(op.penColor);
            PainterSurface::drawBox(a, b);
            break;
        case Op::RoundedBox:
            ForeColor = QColor::fromRgba(op.penColor);
            PainterSurface::drawRoundedBox(a, b, op.radius / 100.0);
            break;
        }
    }
    flushText();
    m_replay = nullptr;
    painter.restore();

    Font = font;
    DrawWidth = drawWidth;
    DrawStyle = drawStyle;
    FillStyle = fillStyle;
    FillColor = fillColor;
    ForeColor = foreColor;
}

const QPicture &PictureSurface::Picture()
{
    if (!m_picture) {
        m_picture = std::make_unique<QPicture>();
        if (!m_ops.empty()) {
            QPainter painter(m_picture.get());
            Play(painter, m_picture->logicalDpiX() / 1440.0);
        }
    }
    return *m_picture;
}

void PictureSurface::Clear()
{
    m_ops.clear();
    m_texts.clear();
    m_picture.reset();
}

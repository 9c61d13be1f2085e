#pragma once

#include "print/painter_surface.h"

#include <QPicture>
#include <vector>

// One preview page, as large as the whole paper: a vector recording of the
// page's texts, lines and boxes with the state each was drawn in. A run of
// hundreds of pages stays small (the texts share the book's strings) and
// recording costs no text layout; the page is painted only when shown.
class PictureSurface : public PainterSurface {
public:
    // The page's size in twips and its unit (twips or millimetres).
    PictureSurface(QSize pageTwips, int scaleMode);
    ~PictureSurface() override;

    QSize PageTwips() const { return m_pageTwips; }
    // The page as a QPicture in the device's own resolution (made on demand).
    const QPicture &Picture();
    // Forgets what was drawn: a blank page again.
    void Clear();
    bool IsBlank() const { return m_ops.empty(); }
    // Paints the page with its top-left at the painter's origin, one twip
    // becoming unitsPerTwip of the painter's units.
    void Play(QPainter &painter, double unitsPerTwip);

protected:
    QPainter &activePainter() override;
    void drawText(const QPointF &topLeft, const QString &text) override;
    void drawLine(const QPointF &from, const QPointF &to) override;
    void drawBox(const QPointF &corner1, const QPointF &corner2) override;

private:
    struct Op {
        enum Kind : quint8 { Text, Line, Box };
        Kind kind;
        quint8 drawStyle;
        quint8 fillStyle;
        quint16 font;        // index into m_fonts
        int drawWidth;
        QRgb fillColor;
        QPointF a, b;        // text: top-left; line and box: the two ends
        QString text;
    };

    Op &record(Op::Kind kind, const QPointF &a, const QPointF &b);
    quint16 fontIndex();

    QSize m_pageTwips;
    std::vector<Op> m_ops;
    std::vector<PrintFont> m_fonts;
    QPicture m_picture;
    bool m_pictureValid = false;
    QPainter *m_replay = nullptr;   // the painter a replay draws with
};

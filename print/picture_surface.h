#pragma once

#include "print/painter_surface.h"

#include <QPicture>
#include <memory>
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
    // Room for as much as another page holds: the pages of one printout are
    // much alike, and growing a page step by step costs more than the page.
    void ReserveLike(const PictureSurface &other);
    // Gives back the room a finished page does not use.
    void Squeeze();
    // Paints the page with its top-left at the painter's origin, one twip
    // becoming unitsPerTwip of the painter's units.
    void Play(QPainter &painter, double unitsPerTwip);

protected:
    QPainter &activePainter() override;
    void drawText(const QPointF &topLeft, const QString &text) override;
    void drawLine(const QPointF &from, const QPointF &to) override;
    void drawBox(const QPointF &corner1, const QPointF &corner2) override;
    void drawRoundedBox(const QPointF &corner1, const QPointF &corner2, double radius) override;

private:
    // 32 bytes an operation: a postcard run keeps millions of them. Points
    // are in the page's unit; single precision keeps a thousandth of a twip
    // on the largest page.
    struct Op {
        enum Kind : quint8 { Text, Line, Box, RoundedBox };
        Kind kind;
        quint8 drawStyle;
        quint8 fillStyle;
        union {
            quint16 font;          // text: index into the fonts all pages share
            quint16 radius;        // rounded box: the corner in hundredths of the unit
        };
        qint16 drawWidth;
        QRgb fillColor;
        union {
            quint32 text;          // text: one UTF-16 unit itself, or LongText | index into m_texts
            QRgb penColor;         // lines and boxes
        };
        float ax, ay, bx, by;  // text: top-left; line and box: the two ends
    };
    static constexpr quint32 LongText = 0x80000000u;

    Op &record(Op::Kind kind, const QPointF &a, const QPointF &b);

    QSize m_pageTwips;
    std::vector<Op> m_ops;
    std::vector<QString> m_texts;        // texts longer than one unit; they share the book's strings
    std::unique_ptr<QPicture> m_picture;  // made when asked for
    QPainter *m_replay = nullptr;   // the painter a replay draws with
};

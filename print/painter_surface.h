#pragma once

#include "print/print_surface.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <memory>
#include <optional>
#include <vector>

// Draws through a QPainter whose world unit is one twip. The variants give
// the painter; this class turns the surface's operations into painting.
class PainterSurface : public PrintSurface {
public:
    explicit PainterSurface(int scaleMode = ScaleTwips);
    ~PainterSurface() override;

protected:
    // The painter to draw with, active and scaled to twips. It may start the
    // job on its first use (the printer), so it may throw AppError.
    virtual QPainter &activePainter() = 0;

    // Scales a freshly begun painter from the device's own resolution to twips.
    static void ScaleToTwips(QPainter &painter);

    // Device pixels per dot of DrawWidth: 1 on a preview canvas; on a PDF
    // drawn at 1200 dpi for a 600-dpi printer, 2, so a 5-dot frame prints
    // as wide as the printer's own five dots.
    void setDeviceDotsPerDot(double ratio) { m_dotRatio = ratio; }

    void drawText(const QPointF &topLeft, const QString &text) override;
    double textWidth(const QString &text) override;
    void drawLine(const QPointF &from, const QPointF &to) override;
    void drawBox(const QPointF &corner1, const QPointF &corner2) override;
    void drawRoundedBox(const QPointF &corner1, const QPointF &corner2, double radius) override;

    // Texts go to the painter in batches of one face, as one glyph run: a
    // card of postcards is 150 small texts, and a PDF pays for each call.
    // Whatever ends a page or a replay draws the batch first.
    void flushText();

private:
    struct GlyphBatch;
    // A text mapped straight to the face's glyphs, with their advances.
    struct GlyphsOfText {
        QString text;
        PrintFont font;
        QList<quint32> glyphs;
        QList<QPointF> advances;
        bool valid = false;
    };
    // The glyphs of text in the current font, or null when the text needs
    // the full layout (surrogates, characters another face must supply).
    const GlyphsOfText *glyphsFor(const QString &text);

    QPointF toTwips(const QPointF &p) const;
    QPen pen(const QPainter &painter) const;
    bool needsStruckBold(QPainter &painter, const QFont &font);
    const QFont &currentFont();
    bool batchGlyphs(QPainter &painter, const QPointF &baseline, const QString &text, const QPointF *strike);

    double m_dotRatio = 1;
    struct RecentFont {
        PrintFont key;
        QFont font;
        QFontMetricsF metrics;
        double ascent;
        std::optional<QRawFont> raw;
    };
    static constexpr size_t kRecentFonts = 3;
    std::vector<RecentFont> m_recentFonts;   // the fonts before the current one, the latest first
    PrintFont m_cachedFor;
    QFont m_font;
    std::optional<QFontMetricsF> m_fontMetrics;
    double m_fontAscent = 0;
    // Made on the first glyph run after a font change (an empty QRawFont
    // costs an allocation, and a preview holds thousands of surfaces).
    std::optional<QRawFont> m_rawFont;
    std::unique_ptr<GlyphBatch> m_batch;
    GlyphsOfText m_lastGlyphs;

    // Whether the face last asked for bold has a bold style of its own.
    QString m_boldCheckedFamily;
    bool m_faceHasBold = true;
};

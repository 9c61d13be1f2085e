#include "print/painter_surface.h"

#include "print/surface_font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QPaintEngine>

#include <algorithm>

void PainterSurface::ScaleToTwips(QPainter &painter)
{
    const QPaintDevice *device = painter.device();
    painter.scale(device->logicalDpiX() / 1440.0, device->logicalDpiY() / 1440.0);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setBackgroundMode(Qt::TransparentMode);
}

const QFont &PainterSurface::currentFont()
{
    // Rows print thousands of texts in a handful of fonts; building the
    // font and its metrics once per change keeps long runs fast.
    if (m_fontMetrics && Font == m_cachedFor)
        return m_font;
    // A cell printed smaller and the next at full size switch back and
    // forth: the last few fonts are kept with their metrics and glyphs.
    if (m_fontMetrics) {
        m_recentFonts.insert(m_recentFonts.begin(),
                             RecentFont{m_cachedFor, m_font, *m_fontMetrics, m_fontAscent, std::move(m_rawFont)});
        m_rawFont.reset();
        if (m_recentFonts.size() > kRecentFonts)
            m_recentFonts.pop_back();
    }
    const auto kept = std::find_if(m_recentFonts.begin(), m_recentFonts.end(),
                                   [this](const RecentFont &f) { return f.key == Font; });
    if (kept != m_recentFonts.end()) {
        m_cachedFor = kept->key;
        m_font = kept->font;
        m_fontMetrics.emplace(kept->metrics);
        m_fontAscent = kept->ascent;
        m_rawFont = std::move(kept->raw);
        m_recentFonts.erase(kept);
        return m_font;
    }
    m_cachedFor = Font;
    m_font = SurfaceQFont(Font);
    m_fontMetrics.emplace(m_font);
    m_fontAscent = m_fontMetrics->ascent();
    m_rawFont.reset();
    return m_font;
}

QPointF PainterSurface::toTwips(const QPointF &p) const
{
    return p * TwipsPerUnit(ScaleMode());
}

QPen PainterSurface::pen(const QPainter &painter) const
{
    // Widths are dots of the surface (printer dots, canvas pixels), whatever its scale.
    const double width = qMax(1, DrawWidth) * m_dotRatio;
    QPen pen(ForeColor, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setCosmetic(true);
    if (DrawStyle == DrawStyleDotted) {
        // Dots as long as a screen pixel, gaps twice that, on any device: in
        // device pixels a 1200-dpi page would get dots too fine to see and
        // the rule would print as a thin solid line.
        const double dot = qMax(1.0, painter.device()->logicalDpiX() / 96.0) / width;
        pen.setDashPattern({dot, 2 * dot});
    }
    return pen;
}

void PainterSurface::drawText(const QPointF &topLeft, const QString &text)
{
    QPainter &painter = activePainter();
    const QFont &font = currentFont();
    const QPointF at = toTwips(topLeft);
    const QPointF baseline(at.x(), at.y() + m_fontAscent);
    // A face without a bold style is thickened only when glyphs are drawn
    // straight onto a bitmap; the PDF the printer gets and a replayed page
    // picture carry the plain outlines. Strike such text once more, shifted
    // by the bitmap engine's emboldening width, so bold shows there too.
    const bool struck = needsStruckBold(painter, font);
    const QPointF shift(font.pixelSize() / 24.0, 0);
    if (batchGlyphs(painter, baseline, text, struck ? &shift : nullptr))
        return;
    flushText();
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(baseline, text);
    if (struck)
        painter.drawText(baseline + shift, text);
}

struct PainterSurface::GlyphBatch {
    QPainter *painter = nullptr;
    QRawFont font;
    QList<quint32> glyphs;
    QList<QPointF> positions;   // baselines in twips
};

PainterSurface::PainterSurface(int scaleMode) : PrintSurface(scaleMode) {}

PainterSurface::~PainterSurface() = default;

bool PainterSurface::batchGlyphs(QPainter &painter, const QPointF &baseline, const QString &text,
                                 const QPointF *strike)
{
    // A full list prints a quarter of a million texts, a box of postcards
    // millions of cells. Mapping them straight to the face's glyphs skips
    // the text layout, which Japanese and Latin text in one face does not
    // need. The raw font is the face the font resolves to, so bold keeps its
    // bold face, or the emboldening a bitmap gives a face without one.
    // Surrogates and characters the face lacks (another face must supply
    // them) keep the full layout.
    const GlyphsOfText *mapped = glyphsFor(text);
    if (!mapped)
        return false;
    const QList<quint32> &glyphs = mapped->glyphs;
    const QList<QPointF> &advances = mapped->advances;

    if (!m_batch)
        m_batch = std::make_unique<GlyphBatch>();
    if (m_batch->painter != &painter || !(m_batch->font == *m_rawFont)) {
        flushText();
        m_batch->painter = &painter;
        m_batch->font = *m_rawFont;
    }
    for (int strikeNo = 0; strikeNo < (strike ? 2 : 1); ++strikeNo) {
        QPointF pen = strikeNo == 0 ? baseline : baseline + *strike;
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            m_batch->glyphs.append(glyphs[i]);
            m_batch->positions.append(pen);
            pen += advances[i];
        }
    }
    return true;
}

void PainterSurface::flushText()
{
    if (!m_batch || m_batch->glyphs.isEmpty())
        return;
    QGlyphRun run;
    run.setRawFont(m_batch->font);
    run.setGlyphIndexes(m_batch->glyphs);
    run.setPositions(m_batch->positions);
    m_batch->glyphs.clear();
    m_batch->positions.clear();
    // A job discarded meanwhile has ended its painter: the texts go with it.
    if (!m_batch->painter->isActive())
        return;
    m_batch->painter->setPen(Qt::black);
    m_batch->painter->drawGlyphRun(QPointF(0, 0), run);
}

bool PainterSurface::needsStruckBold(QPainter &painter, const QFont &font)
{
    if (!font.bold() || !painter.paintEngine())
        return false;
    // The bitmap engine thickens glyphs it draws from its glyph cache, at
    // their own size; scaled (the preview's zoom) it draws outlines as well.
    if (painter.paintEngine()->type() == QPaintEngine::Raster
        && painter.deviceTransform().type() <= QTransform::TxTranslate)
        return false;
    const QFontInfo info(font);
    if (info.family() != m_boldCheckedFamily) {
        m_boldCheckedFamily = info.family();
        m_faceHasBold = QFontDatabase::bold(info.family(), info.styleName());
    }
    return !m_faceHasBold;
}

double PainterSurface::textWidth(const QString &text)
{
    currentFont();
    // The advances the glyph run will use, when it can take the text: what
    // is measured is what is drawn, and it costs no text layout (a list
    // measures each of its quarter of a million cells before printing it).
    if (const GlyphsOfText *mapped = glyphsFor(text)) {
        double width = 0;
        for (const QPointF &advance : mapped->advances)
            width += advance.x();
        return width / TwipsPerUnit(ScaleMode());
    }
    return m_fontMetrics->horizontalAdvance(text) / TwipsPerUnit(ScaleMode());
}

const PainterSurface::GlyphsOfText *PainterSurface::glyphsFor(const QString &text)
{
    // The text just measured is usually the next one drawn.
    if (m_lastGlyphs.valid && m_lastGlyphs.text == text && m_lastGlyphs.font == m_cachedFor)
        return &m_lastGlyphs;
    if (text.isEmpty())
        return nullptr;
    for (const QChar c : text)
        if (c.isSurrogate())
            return nullptr;
    if (!m_rawFont)
        m_rawFont = QRawFont::fromFont(m_font);
    if (!m_rawFont->isValid())
        return nullptr;
    QList<quint32> glyphs = m_rawFont->glyphIndexesForString(text);
    if (glyphs.size() != text.size() || glyphs.contains(0u))
        return nullptr;
    m_lastGlyphs.advances = m_rawFont->advancesForGlyphIndexes(glyphs);
    m_lastGlyphs.glyphs = std::move(glyphs);
    m_lastGlyphs.text = text;
    m_lastGlyphs.font = m_cachedFor;
    m_lastGlyphs.valid = true;
    return &m_lastGlyphs;
}

void PainterSurface::drawLine(const QPointF &from, const QPointF &to)
{
    flushText();
    QPainter &painter = activePainter();
    painter.setPen(pen(painter));
    painter.drawLine(toTwips(from), toTwips(to));
}

void PainterSurface::drawBox(const QPointF &corner1, const QPointF &corner2)
{
    flushText();
    QPainter &painter = activePainter();
    const QRectF box = QRectF(toTwips(corner1), toTwips(corner2)).normalized();
    if (FillStyle == FillCrossHatch) {
        // The hatch is drawn in the page's unit, so it looks the same on
        // screen, on paper and through a recorded page.
        painter.save();
        painter.setClipRect(box, Qt::IntersectClip);
        QPen hatch(FillColor, 1);
        hatch.setCosmetic(true);
        painter.setPen(hatch);
        constexpr double step = 60;   // twips between hatch lines
        const double span = box.width() + box.height();
        // One call for the whole hatch: a PDF gets one path, not hundreds.
        QList<QLineF> lines;
        lines.reserve(2 * int(span / step) + 2);
        for (double d = step; d < span; d += step) {
            lines.append(QLineF(box.left() + d, box.top(), box.left() + d - box.height(), box.bottom()));
            lines.append(QLineF(box.left() + d - box.height(), box.top(), box.left() + d, box.bottom()));
        }
        painter.drawLines(lines);
        painter.restore();
    }
    painter.setPen(pen(painter));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
}

void PainterSurface::drawRoundedBox(const QPointF &corner1, const QPointF &corner2, double radius)
{
    flushText();
    QPainter &painter = activePainter();
    const QRectF box = QRectF(toTwips(corner1), toTwips(corner2)).normalized();
    const double r = radius * TwipsPerUnit(ScaleMode());
    painter.setPen(pen(painter));
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.drawRoundedRect(box, r, r);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

#pragma once

#include <QColor>
#include <QPointF>
#include <QString>

// The font a printout asks for: face name, size in points, bold, italic.
struct PrintFont {
    QString Name;
    double Size = 10;
    bool Bold = false;
    bool Italic = false;

    bool operator==(const PrintFont &) const = default;
};

// Pen patterns and box interiors, by the numbers the printouts use.
enum : int { DrawStyleSolid = 0, DrawStyleDotted = 2 };
enum : int { FillTransparent = 1, FillCrossHatch = 7 };
enum : int { ScaleTwips = 1, ScaleMillimetres = 6 };
enum : int { PaperA4 = 9, PaperUser = 256 };
enum : int { OrientationPortrait = 1, OrientationLandscape = 2 };
enum : int { QualityHigh = -4 };

// Where a printout draws: the printer, one preview page, or a recording for
// tests. The printouts are written once against this class and do not know
// which one they draw on.
//
// Coordinates are in the surface's unit (twips, or millimetres for postcards)
// from the top-left of the printable area (printer) or of the page (preview).
// Pen widths are device pixels of the surface.
class PrintSurface {
public:
    explicit PrintSurface(int scaleMode = ScaleTwips) : m_scaleMode(scaleMode) {}
    virtual ~PrintSurface() = default;
    PrintSurface(const PrintSurface &) = delete;
    PrintSurface &operator=(const PrintSurface &) = delete;

    // Drawing state; it stays until changed, across pages too.
    double CurrentX = 0;
    double CurrentY = 0;
    PrintFont Font;
    int DrawWidth = 1;
    int DrawStyle = DrawStyleSolid;
    int FillStyle = FillTransparent;
    QColor FillColor = Qt::black;
    QColor ForeColor = Qt::black;     // the pen of lines and boxes

    // Page set-up. Only the printer acts on it; on a preview page the unit
    // comes from the preview window and these do nothing.
    virtual void SetScaleMode(int mode) { Q_UNUSED(mode); }
    virtual void SetPaperSize(int code) { Q_UNUSED(code); }
    // The size the user-defined paper (PaperUser) stands for, portrait.
    virtual void SetUserPaperSize(int widthTwips, int heightTwips)
    {
        Q_UNUSED(widthTwips);
        Q_UNUSED(heightTwips);
    }
    virtual void SetOrientation(int code) { Q_UNUSED(code); }
    virtual void SetPrintQuality(int code) { Q_UNUSED(code); }
    int ScaleMode() const { return m_scaleMode; }

    // Text with the top of its line at CurrentY and its left edge at
    // CurrentX. Continuing advances CurrentX by the text's width; ending the
    // line sets CurrentX to 0 and advances CurrentY by the line height.
    void PrintText(const QString &text);
    void PrintLine(const QString &text);
    // The width text would take in the current font, in the surface's unit.
    double TextWidth(const QString &text) { return textWidth(text); }
    // PrintLine within a width: a text that fits is printed exactly as by
    // PrintLine. A longer one is printed smaller, down to minScale of the
    // font's size, centred on the line it would have taken, and if even
    // that is too wide it is cut at the width; keep (an honorific) follows
    // it whole. CurrentY advances by the current font's line as PrintLine's
    // does, so rules drawn after it stay where they were.
    void PrintFittedLine(const QString &text, double maxWidth, double minScale, const QString &keep = {});

    // A line from (x, y) to (x + dx, y + dy), and a box with those corners
    // (outline with the pen, interior by FillStyle). Both leave the current
    // position at the far corner.
    void Line(double x, double y, double dx, double dy);
    void Box(double x, double y, double dx, double dy);
    // A box's outline with corners rounded to radius (the surface's unit);
    // never filled.
    void RoundedBox(double x, double y, double dx, double dy, double radius);

    // The height a printed line advances: the font's size in the surface's
    // unit. The layouts were drawn for faces whose line is as high as their
    // size, so this keeps the row rules on the row boundaries with any face.
    double LineHeight() const;
    double UnitsPerPoint() const;

    // The print position adjustment: everything drawn from here on lands
    // this far right and down (millimetres, whatever the unit), while
    // CurrentX and CurrentY keep the printout's own places.
    void SetOffsetMm(const QPointF &offset) { m_offsetMm = offset; }
    QPointF OffsetMm() const { return m_offsetMm; }

    // The print job; a preview page has none and ignores them.
    virtual void NewPage() {}
    virtual void EndDoc() {}
    virtual void KillDoc() {}
    virtual bool IsPrinter() const { return false; }
    // Where (0, 0) lies from the paper's top-left corner, in millimetres:
    // the printer's unprintable margins; nothing on a page of the preview.
    virtual QPointF PrintableOriginMm() const { return {}; }

protected:
    void setScaleModeValue(int mode) { m_scaleMode = mode; }

    // What a variant must do; positions and sizes are in the surface's unit.
    virtual void drawText(const QPointF &topLeft, const QString &text) = 0;
    virtual double textWidth(const QString &text) = 0;
    virtual void drawLine(const QPointF &from, const QPointF &to) = 0;
    virtual void drawBox(const QPointF &corner1, const QPointF &corner2) = 0;
    virtual void drawRoundedBox(const QPointF &corner1, const QPointF &corner2, double radius) = 0;

private:
    // The adjustment in the surface's unit.
    QPointF offset() const;

    int m_scaleMode;
    QPointF m_offsetMm;
};

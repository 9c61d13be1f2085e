#pragma once

#include "print/print_job.h"
#include "print/print_surface.h"

#include <QList>
#include <QSize>
#include <memory>
#include <vector>

// One operation as a printout made it, with the state it was made in.
struct RecordedOp {
    enum Kind { Text, Line, Box, NewPage, EndDoc, KillDoc, ScaleMode, PaperSize, Orientation, PrintQuality };
    Kind kind = Text;
    int page = 1;              // printer page (NewPage counts up)
    QString text;
    QPointF from, to;          // text: top-left; line and box: the two ends
    PrintFont font;
    int drawWidth = 0, drawStyle = 0, fillStyle = 0;
    QColor fillColor;
    QColor foreColor;
    double radius = 0;         // a rounded box's corners
    int value = 0;             // the code of a page set-up operation
};

// A surface for tests: it draws nothing and keeps every operation. Text
// widths come from the real font, as on the other surfaces.
class RecordingSurface : public PrintSurface {
public:
    explicit RecordingSurface(bool printer = true, int scaleMode = ScaleTwips);

    QList<RecordedOp> ops;

    QList<RecordedOp> ofKind(RecordedOp::Kind kind) const;
    // The text operations in order, as plain strings.
    QStringList texts() const;

    void SetScaleMode(int mode) override;
    void SetPaperSize(int code) override;
    void SetUserPaperSize(int widthTwips, int heightTwips) override { userPaper = QSize(widthTwips, heightTwips); }
    QSize userPaper;
    void SetOrientation(int code) override;
    void SetPrintQuality(int code) override;
    void NewPage() override;
    void EndDoc() override;
    void KillDoc() override;
    bool IsPrinter() const override { return m_printer; }
    QPointF PrintableOriginMm() const override { return printableOrigin; }
    // The unprintable margins of the printer this stands for (mm).
    QPointF printableOrigin;

    // Makes the next drawing operation throw AppError, to test failure paths.
    void FailAt(int operationNumber) { m_failAt = operationNumber; }

protected:
    void drawText(const QPointF &topLeft, const QString &text) override;
    double textWidth(const QString &text) override;
    void drawLine(const QPointF &from, const QPointF &to) override;
    void drawBox(const QPointF &corner1, const QPointF &corner2) override;
    void drawRoundedBox(const QPointF &corner1, const QPointF &corner2, double radius) override;

private:
    RecordedOp op(RecordedOp::Kind kind) const;
    void record(RecordedOp o);

    bool m_printer;
    int m_page = 1;
    int m_failAt = -1;
};

// Preview pages for tests: each added page is a recording of its own.
class RecordingPages : public PreviewPages {
public:
    explicit RecordingPages(RecordingSurface &first) : m_first(first) {}
    PrintSurface &AddPage(int index) override;

    // Page 1 is the first surface; pages[k] is page k + 2.
    std::vector<std::unique_ptr<RecordingSurface>> pages;
    QList<int> addedIndexes;

private:
    RecordingSurface &m_first;
};

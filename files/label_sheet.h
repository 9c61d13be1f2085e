#pragma once

#include <QPoint>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

// One layout of labels on a sheet, in millimetres from the paper's top-left corner.
struct LabelSheetLayout {
    int nx = 1, ny = 1;
    double x0 = 0, y0 = 0, dx = 0, dy = 0;
};

// A sheet of rectangular labels people buy (one template of the database).
struct LabelSheet {
    QString brand, part, description;
    QString paperName;                 // "A4", "A5", "B5", "B4" or "はがき"
    QSizeF paperMm;                    // portrait
    double widthMm = 0, heightMm = 0;  // one label
    double roundMm = 0;                // corner radius
    double marginMm = 0;               // keep printing this far inside the label
    std::vector<LabelSheetLayout> layouts;

    int LabelCount() const;
    // Every label's rectangle on the paper (mm), in printing order: across,
    // then down (sorted by top edge, then left edge; tops within 0.05 mm
    // count as one row).
    std::vector<QRectF> LabelRects() const;
    // Row and column (1-based) of label n (1-based) in that order, for
    // showing a start position: x = column, y = row. (0, 0) when the sheet
    // has no label n.
    QPoint RowColumnOf(int n) const;
    // "Hisago OP3102（12面・86.4×42.3mm）": brand, part, labels per sheet and
    // label size, with at most one decimal and no trailing ".0".
    QString Caption() const;
};

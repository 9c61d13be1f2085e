#include "files/label_sheet.h"

#include <QLocale>

#include <algorithm>
#include <climits>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// Templates give positions to a hundredth of a millimetre or round them
// differently per layout; labels this close in height sit in one row.
constexpr double RowTolerance = 0.05;

// The labels grouped into rows, top row first, each row left to right.
std::vector<std::vector<QRectF>> Rows(const LabelSheet &sheet)
{
    std::vector<QRectF> labels;
    labels.reserve(size_t(std::max(0, sheet.LabelCount())));
    for (const LabelSheetLayout &layout : sheet.layouts) {
        for (int iy = 0; iy < layout.ny; ++iy) {
            for (int ix = 0; ix < layout.nx; ++ix) {
                labels.emplace_back(layout.x0 + ix * layout.dx, layout.y0 + iy * layout.dy, sheet.widthMm,
                                    sheet.heightMm);
            }
        }
    }
    std::stable_sort(labels.begin(), labels.end(),
                     [](const QRectF &a, const QRectF &b) { return a.top() < b.top(); });

    std::vector<std::vector<QRectF>> rows;
    double rowTop = 0;
    for (const QRectF &label : labels) {
        // Measured from the row's first label, so a slow drift starts a new row.
        if (rows.empty() || label.top() - rowTop > RowTolerance) {
            rows.emplace_back();
            rowTop = label.top();
        }
        rows.back().push_back(label);
    }
    for (auto &row : rows) {
        std::stable_sort(row.begin(), row.end(),
                         [](const QRectF &a, const QRectF &b) { return a.left() < b.left(); });
    }
    return rows;
}

QString Millimetres(double mm)
{
    QString text = QLocale::c().toString(std::round(mm * 10) / 10, 'f', 1);
    if (text.endsWith(u".0"_s))
        text.chop(2);
    return text;
}

} // namespace

int LabelSheet::LabelCount() const
{
    long long count = 0;
    for (const LabelSheetLayout &layout : layouts) {
        if (layout.nx > 0 && layout.ny > 0)
            count += (long long)layout.nx * layout.ny;
        if (count > INT_MAX)
            return INT_MAX;
    }
    return int(count);
}

std::vector<QRectF> LabelSheet::LabelRects() const
{
    std::vector<QRectF> labels;
    labels.reserve(size_t(std::max(0, LabelCount())));
    for (const auto &row : Rows(*this))
        labels.insert(labels.end(), row.begin(), row.end());
    return labels;
}

QPoint LabelSheet::RowColumnOf(int n) const
{
    if (n < 1)
        return {};
    int row = 0;
    for (const auto &labels : Rows(*this)) {
        ++row;
        if (n <= int(labels.size()))
            return {n, row};
        n -= int(labels.size());
    }
    return {};
}

QString LabelSheet::Caption() const
{
    const QString name = (brand + u' ' + part).trimmed();
    return name + u"（%1面・%2×%3mm）"_s.arg(LabelCount()).arg(Millimetres(widthMm), Millimetres(heightMm));
}

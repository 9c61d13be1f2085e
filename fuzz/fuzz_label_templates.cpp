// Arbitrary bytes as a label-sheet templates file (and as a paper-size file,
// and its first line as a length). Reading must never crash or hang; every
// sheet it offers must be one a printout can rely on: named, on a known
// paper, with at most 1000 labels of positive size lying on the paper.
// Anything else aborts, for libFuzzer to report.

#include "files/label_sheet.h"
#include "files/label_templates.h"

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstddef>
#include "fuzz/fuzz_report.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

// Real templates files stay far below this; larger inputs only slow the search.
constexpr size_t MaxInputBytes = 256 * 1024;

[[noreturn]] void Fail(const char *what, const QString &detail = {})
{
    FuzzFail("fuzz_label_templates", what, detail.toUtf8());
}

bool Finite(double v)
{
    return std::isfinite(v);
}

void CheckSheet(const LabelSheet &sheet)
{
    const QString name = sheet.brand + u' ' + sheet.part;
    if (sheet.brand.isEmpty() || sheet.part.isEmpty())
        Fail("sheet without brand or part", name);
    static const QStringList papers = {u"A4"_s, u"A5"_s, u"B5"_s, u"B4"_s, u"はがき"_s};
    if (!papers.contains(sheet.paperName))
        Fail("sheet on an unknown paper", name + u' ' + sheet.paperName);
    const QSizeF paper = sheet.paperMm;
    if (!(paper.width() > 0 && paper.height() > paper.width() && paper.height() < 400))
        Fail("paper size not portrait or absurd", name);
    if (!Finite(sheet.widthMm) || !Finite(sheet.heightMm) || !(sheet.widthMm > 0) || !(sheet.heightMm > 0))
        Fail("label size not positive", name);
    if (!Finite(sheet.roundMm) || sheet.roundMm < 0 || sheet.roundMm > std::min(sheet.widthMm, sheet.heightMm) / 2)
        Fail("corner radius out of range", name);
    if (!Finite(sheet.marginMm) || sheet.marginMm < 0 || 2 * sheet.marginMm >= std::min(sheet.widthMm, sheet.heightMm))
        Fail("margin leaves nothing to print on", name);

    const int count = sheet.LabelCount();
    if (count < 1 || count > 1000)
        Fail("label count out of range", name + u' ' + QString::number(count));
    const std::vector<QRectF> rects = sheet.LabelRects();
    if (int(rects.size()) != count)
        Fail("label rectangles do not match the count", name);
    const QRectF onPaper = QRectF(QPointF(0, 0), paper).adjusted(-1.0001, -1.0001, 1.0001, 1.0001);
    for (const QRectF &r : rects) {
        if (!onPaper.contains(r))
            Fail("label off the paper", name);
    }
    for (size_t i = 1; i < rects.size(); ++i) {
        if (rects[i].top() < rects[i - 1].top() - 0.0501)
            Fail("labels not in printing order", name);
    }
    if (sheet.RowColumnOf(0) != QPoint() || sheet.RowColumnOf(count + 1) != QPoint())
        Fail("a position for a label the sheet lacks", name);
    if (sheet.RowColumnOf(1) != QPoint(1, 1))
        Fail("first label not at row 1, column 1", name);
    const QPoint last = sheet.RowColumnOf(count);
    if (last.x() < 1 || last.y() < 1 || last.x() > count || last.y() > count)
        Fail("last label has no position", name);
    if (!sheet.Caption().contains(QString::number(count) + u"面"_s))
        Fail("caption without the label count", name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > MaxInputBytes)
        return 0;
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));

    const qsizetype lineEnd = input.indexOf('\n');
    const QString firstLine =
        QString::fromUtf8(input.first(std::min<qsizetype>(64, lineEnd < 0 ? input.size() : lineEnd)));
    if (const std::optional<double> mm = ParseLengthMm(firstLine); mm && (!Finite(*mm) || *mm < 0))
        Fail("length not finite or negative", firstLine);

    std::vector<PaperSize> papers = ReadPaperSizes(input);
    for (const PaperSize &paper : papers) {
        if (paper.id.isEmpty() || !Finite(paper.mm.width()) || !Finite(paper.mm.height()) || !(paper.mm.width() > 0)
            || !(paper.mm.height() > 0))
            Fail("paper size unusable", paper.id);
    }
    papers.insert(papers.end(), {{u"A4"_s, QSizeF(210, 297)},
                                 {u"A5"_s, QSizeF(148, 210)},
                                 {u"B4"_s, QSizeF(250, 353)},
                                 {u"B5"_s, QSizeF(176, 250)},
                                 {u"US-Letter"_s, QSizeF(215.9, 279.4)}});

    const LabelTemplateFile file = ReadLabelTemplates(input, papers);
    if (file.broken && file.error.isEmpty())
        Fail("broken without a message");
    if (file.skipped < 0)
        Fail("negative skipped count");
    for (const LabelSheet &sheet : file.sheets)
        CheckSheet(sheet);

    // The same file as a whole database: equivalents resolve to sheets that
    // pass the same checks, and every sheet is found by its name.
    const LabelSheetDatabase database = LabelSheetDatabase::FromFiles({file});
    if (database.Sheets().size() > file.sheets.size() + file.equivalents.size())
        Fail("database offers more sheets than the file holds");
    for (const LabelSheet &sheet : database.Sheets()) {
        CheckSheet(sheet);
        const LabelSheet *found = database.Find(sheet.brand, sheet.part);
        if (!found || found->brand != sheet.brand || found->part != sheet.part)
            Fail("sheet not found by its name", sheet.brand + u' ' + sheet.part);
    }
    return 0;
}

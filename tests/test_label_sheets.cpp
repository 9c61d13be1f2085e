// Address labels on sheets of the label database: where each label's
// content goes, the start position, the outlines, the paper and the
// alignment print.

#include "print_fixture.h"

#include "files/label_sheet.h"
#include "print/font_substitutes.h"
#include "print/printout_kinds.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using namespace print_fixture;

Q_DECLARE_METATYPE(LabelSheet)

namespace {

constexpr double TwipsPerMm = 1440 / 25.4;

LabelSheet Sheet(const QString &part, int nx, int ny, double x0, double y0, double width, double height,
                 double round = 0, double margin = 0, QSizeF paper = {210, 297}, const QString &paperName = u"A4"_s)
{
    LabelSheet sheet;
    sheet.brand = u"Hisago"_s;
    sheet.part = part;
    sheet.paperName = paperName;
    sheet.paperMm = paper;
    sheet.widthMm = width;
    sheet.heightMm = height;
    sheet.roundMm = round;
    sheet.marginMm = margin;
    sheet.layouts = {{nx, ny, x0, y0, width, height}};
    return sheet;
}

// Shapes of sheets people buy (the makers' own measurements).
LabelSheet Twelve() { return Sheet(u"ELM008"_s, 2, 6, 18.6, 21.2, 86.4, 42.3); }
LabelSheet TwentyFour() { return Sheet(u"ELM012"_s, 3, 8, 6, 12.9, 66, 33.9); }

QRectF TwipsRect(const QRectF &mm) { return {mm.topLeft() * TwipsPerMm, mm.size() * TwipsPerMm}; }

bool IsOutline(const RecordedOp &o) { return o.kind == RecordedOp::Box && o.drawStyle == DrawStyleSolid; }

// The label places of a page the guides or outlines mark, in drawing order.
QList<QPointF> Corners(const QList<RecordedOp> &ops, const std::function<bool(const RecordedOp &)> &which)
{
    QList<QPointF> out;
    for (const RecordedOp &o : ops)
        if (o.kind == RecordedOp::Box && which(o))
            out << o.from;
    return out;
}

} // namespace

class TestLabelSheets : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { InstallFontSubstitutes(); }

    // Each entry's four lines inside its own label, within the margin,
    // whatever the label's size and the text's length; labels run across,
    // then down, and on to the next sheet.
    void contentStaysInItsLabel_data()
    {
        QTest::addColumn<LabelSheet>("sheet");
        QTest::addColumn<bool>("longTexts");
        const struct {
            const char *name;
            LabelSheet sheet;
        } sheets[] = {
            {"12 labels 86.4 x 42.3", Twelve()},
            {"24 labels 66 x 33.9", TwentyFour()},
            {"24 narrow labels 35 x 74.25", Sheet(u"GB863"_s, 6, 4, 0, 0, 35, 74.25)},
            {"65 small labels with a margin", Sheet(u"S65"_s, 5, 13, 4.7, 10.7, 38.1, 21.2, 1.5, 1.5)},
            {"10 mm high labels", Sheet(u"S10"_s, 4, 20, 5, 5, 50, 10, 0, 0.5)},
            {"4 large labels on B5", Sheet(u"B5Q"_s, 2, 2, 0, 0, 91, 128.5, 0, 2, {182, 257}, u"B5"_s)},
        };
        for (const auto &row : sheets) {
            QTest::addRow("%s", row.name) << row.sheet << false;
            QTest::addRow("%s, long texts", row.name) << row.sheet << true;
        }
    }

    void contentStaysInItsLabel()
    {
        QFETCH(LabelSheet, sheet);
        QFETCH(bool, longTexts);
        const std::vector<QRectF> rects = sheet.LabelRects();
        const int perSheet = int(rects.size());
        Fixture f(perSheet + 2);
        if (longTexts) {
            for (auto &record : f.document.OpenBook()) {
                record->PJu1 = u"北海道札幌市中央区北一条西二丁目三番地四号長い建物の名前"_s;
                record->PName += u"・花子・次郎・三郎・四郎"_s;
            }
        }
        f.flags.Labels.Sheet = sheet;
        f.run(2);
        QVERIFY(f.failures.isEmpty());

        const QList<QList<RecordedOp>> pages = f.drawnPages();
        QCOMPARE(pages.size(), 2);
        int entry = 0;
        for (const QList<RecordedOp> &page : pages) {
            // Edge to edge: no header, no guides.
            QVERIFY(!findText(page, u"-1-"_s));
            QCOMPARE(countKind(page, RecordedOp::Box), 0);
            const QList<RecordedOp> texts = ofKind(page, RecordedOp::Text);
            QCOMPARE(texts.size() % 4, 0);
            for (int i = 0; i < texts.size(); i += 4, ++entry) {
                const QRectF label = TwipsRect(rects[size_t(entry % perSheet)]);
                const double margin = sheet.marginMm * TwipsPerMm;
                const QRectF inner = label.adjusted(margin, margin, -margin, -margin);
                QVERIFY(texts[i].text.startsWith(u"〒 "_s));
                QVERIFY2(texts[i + 3].text.contains(NameOf(entry + 1).left(4)), qPrintable(texts[i + 3].text));
                double previousBottom = inner.top();
                for (int k = i; k < i + 4; ++k) {
                    const RecordedOp &t = texts[k];
                    const QRectF box(t.from, QSizeF(widthOf(t.text, t.font), t.font.Size * 20));
                    QVERIFY2(inner.adjusted(-0.01, -0.01, 0.01, 0.01).contains(box),
                             qPrintable(u"%1 at %2,%3 size %4 outside %5,%6 %7x%8"_s.arg(t.text)
                                            .arg(box.x()).arg(box.y()).arg(t.font.Size)
                                            .arg(inner.x()).arg(inner.y()).arg(inner.width()).arg(inner.height())));
                    // Lines keep their order and never overlap.
                    QVERIFY(box.top() >= previousBottom - 0.01);
                    previousBottom = box.bottom();
                }
                // A name cut to fit keeps its honorific.
                QVERIFY2(texts[i + 3].text.endsWith(u"様"_s), qPrintable(texts[i + 3].text));
            }
        }
        QCOMPARE(entry, perSheet + 2);
    }

    // The sizes follow the label's height within their bounds.
    void sizesFollowTheLabel_data()
    {
        QTest::addColumn<LabelSheet>("sheet");
        QTest::addColumn<double>("address");
        QTest::addColumn<double>("name");
        // 42.3 mm is 1.14 of the standard label's 37 mm.
        QTest::newRow("12 labels") << Twelve() << 12 * 42.3 / (2100 / TwipsPerMm) << 16 * 42.3 / (2100 / TwipsPerMm);
        QTest::newRow("large labels: the upper bounds") << Sheet(u"A6"_s, 2, 2, 0, 0, 105, 148.5) << 16.0 << 20.0;
        QTest::newRow("small labels: the lower bounds") << Sheet(u"S"_s, 4, 16, 5, 5, 48, 17) << 6.0 << 9.0;
    }

    void sizesFollowTheLabel()
    {
        QFETCH(LabelSheet, sheet);
        QFETCH(double, address);
        QFETCH(double, name);
        Fixture f(1);
        f.flags.Labels.Sheet = sheet;
        f.run(2);
        const QList<RecordedOp> texts = f.surface.ofKind(RecordedOp::Text);
        QCOMPARE(texts.size(), 4);
        QVERIFY(qAbs(texts[1].font.Size - address) < 1e-6);
        QVERIFY(qAbs(texts[3].font.Size - name) < 1e-6);
        QCOMPARE(texts[3].font, (PrintFont{u"ＭＳ 明朝"_s, texts[3].font.Size, true, false}));
    }

    // The start position leaves the labels before it blank on the first
    // sheet only; the preview outlines them lightly, the printer not at all.
    void startPosition_data()
    {
        QTest::addColumn<std::optional<LabelSheet>>("sheet");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QList<int>>("labelsPerPage");
        QTest::newRow("standard, 5") << std::optional<LabelSheet>() << 5 << 12 << QList<int>{10, 2};
        QTest::newRow("standard, 14") << std::optional<LabelSheet>() << 14 << 2 << QList<int>{1, 1};
        QTest::newRow("standard, 1") << std::optional<LabelSheet>() << 1 << 15 << QList<int>{14, 1};
        QTest::newRow("standard, past the sheet: the last label") << std::optional<LabelSheet>() << 20 << 1
                                                                  << QList<int>{1};
        QTest::newRow("24 labels, 7") << std::optional<LabelSheet>(TwentyFour()) << 7 << 20 << QList<int>{18, 2};
    }

    void startPosition()
    {
        QFETCH(std::optional<LabelSheet>, sheet);
        QFETCH(int, start);
        QFETCH(int, entries);
        QFETCH(QList<int>, labelsPerPage);
        const bool standard = !sheet;
        QList<QPointF> places;
        if (standard) {
            for (int n = 1; n <= 14; ++n)
                places << QPointF(n % 2 ? 400 : 5700, 700 + 2100 * ((n + 1) / 2 - 1));
        } else {
            for (const QRectF &r : sheet->LabelRects())
                places << r.topLeft() * TwipsPerMm;
        }
        const int first = std::min(start, int(places.size()));

        for (const int previewFlag : {0, 1}) {
            Fixture f(entries, previewFlag == 0);
            f.flags.Labels.Sheet = sheet;
            f.flags.Labels.Start = start;
            f.run(2, previewFlag);
            const QList<QList<RecordedOp>> pages = f.drawnPages();
            QCOMPARE(pages.size(), labelsPerPage.size());
            for (int p = 0; p < pages.size(); ++p) {
                const QList<RecordedOp> texts = ofKind(pages[p], RecordedOp::Text);
                const int headerTexts = standard ? 4 : 0;   // title, file, date, page number
                QCOMPARE(int(texts.size()) - headerTexts, 4 * labelsPerPage[p]);
                // The first 〒 line of the page: in the first label printed.
                const int label = p == 0 ? first : 1;
                const QPointF corner = places[label - 1];
                const RecordedOp *code = nullptr;
                for (const RecordedOp &t : texts)
                    if (!code && t.text.startsWith(u"〒"_s))
                        code = &t;
                QVERIFY(code);
                QVERIFY(code->from.x() > corner.x() && code->from.y() > corner.y());
                QVERIFY(code->from.x() < corner.x() + 1000 && code->from.y() < corner.y() + 600);
                if (standard) {
                    // The dotted guides of the labels printed only.
                    const QList<QPointF> guides = Corners(pages[p], [](const RecordedOp &o) {
                        return o.drawStyle == DrawStyleDotted;
                    });
                    QCOMPARE(guides.size(), labelsPerPage[p]);
                    QCOMPARE(guides.first(), corner);
                }
                // The skipped places: light outlines in the preview, nothing on paper.
                const QList<QPointF> skipped = Corners(pages[p], [](const RecordedOp &o) {
                    return IsOutline(o) && o.foreColor != QColor(Qt::black);
                });
                QCOMPARE(skipped, (p == 0 && previewFlag == 1 ? places.mid(0, first - 1) : QList<QPointF>()));
            }
        }
    }

    // Outlines on every place of every page, thin and grey, rounded as the labels are.
    void outlines()
    {
        LabelSheet sheet = Sheet(u"ELM007"_s, 2, 6, 20.3, 20.3, 83.8, 42.3, 1.5);
        sheet.layouts.front().dx = 87.6;
        Fixture f(14);
        f.flags.Labels.Sheet = sheet;
        f.flags.Labels.Outlines = true;
        f.run(2);
        const QList<QList<RecordedOp>> pages = f.drawnPages();
        QCOMPARE(pages.size(), 2);
        for (const QList<RecordedOp> &page : pages) {
            const QList<RecordedOp> boxes = ofKind(page, RecordedOp::Box);
            QCOMPARE(boxes.size(), 12);
            for (int i = 0; i < 12; ++i) {
                const QRectF expected = TwipsRect(sheet.LabelRects()[size_t(i)]);
                QCOMPARE(boxes[i].from, expected.topLeft());
                QCOMPARE(boxes[i].to, expected.bottomRight());
                QCOMPARE(boxes[i].foreColor, QColor(128, 128, 128));
                QCOMPARE(boxes[i].drawWidth, 1);
                QVERIFY(qAbs(boxes[i].radius - 1.5 * TwipsPerMm) < 1e-9);
            }
        }
        // On the standard sheet the outlines come with the design's guides.
        Fixture standard(3);
        standard.flags.Labels.Outlines = true;
        standard.run(2);
        const QList<RecordedOp> boxes = standard.surface.ofKind(RecordedOp::Box);
        QCOMPARE(std::count_if(boxes.begin(), boxes.end(), IsOutline), 14);
        QCOMPARE(std::count_if(boxes.begin(), boxes.end(), [](const RecordedOp &o) { return o.drawStyle == DrawStyleDotted; }), 3);
    }

    // A sheet on other paper than A4 sets the printer to that paper; A4 stays A4.
    void paperOfTheSheet_data()
    {
        QTest::addColumn<LabelSheet>("sheet");
        QTest::addColumn<int>("paper");
        QTest::addColumn<QSize>("userPaper");
        QTest::newRow("A4") << Twelve() << int(PaperA4) << QSize();
        QTest::newRow("B5") << Sheet(u"B5Q"_s, 2, 2, 0, 0, 91, 128.5, 0, 0, {182, 257}, u"B5"_s) << int(PaperUser)
                            << QSize(10318, 14570);
    }

    void paperOfTheSheet()
    {
        QFETCH(LabelSheet, sheet);
        QFETCH(int, paper);
        QFETCH(QSize, userPaper);
        Fixture f(1);
        f.flags.Labels.Sheet = sheet;
        f.run(2);
        QCOMPARE(f.surface.ofKind(RecordedOp::PaperSize).at(0).value, paper);
        QCOMPARE(f.surface.userPaper, userPaper);
        QCOMPARE(f.surface.ofKind(RecordedOp::Orientation).at(0).value, int(OrientationPortrait));
    }

    // The alignment print outlines the sheet's labels where they print.
    void alignmentPrintOfASheet()
    {
        Fixture f(0);
        f.settings.PrintOffsetY[1] = 20;
        f.flags.Labels.Sheet = TwentyFour();
        PrintAlignment(&f.surface, f.job, 2);
        const QList<QPointF> corners = Corners(f.surface.ops, [](const RecordedOp &) { return true; });
        QCOMPARE(corners.size(), 24);
        const QRectF last = TwipsRect(TwentyFour().LabelRects().back());
        QVERIFY((corners.last() - (last.topLeft() + QPointF(0, 2 * TwipsPerMm))).manhattanLength() < 1e-6);
    }
};

QTEST_MAIN(TestLabelSheets)
#include "test_label_sheets.moc"

// The printouts drawn on a recording surface: page furniture, the layouts of
// the address list, the labels and the telephone list, preview runs, cancel
// and failures.

#include "print_fixture.h"

#include "model/book_document.h"
#include "model/record_keys.h"
#include "print/font_substitutes.h"
#include "print/picture_surface.h"
#include "print/print_run_state.h"
#include "print/printouts.h"
#include "print/recording_surface.h"
#include "model/honorific.h"
#include "print/surface_font.h"
#include "settings/app_settings.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

using namespace print_fixture;

namespace {

const QColor BandGrey(149, 144, 144);

// The thin horizontal rules between rows (the frames are 5 pixels wide).
QList<RecordedOp> rowRules(const QList<RecordedOp> &ops)
{
    QList<RecordedOp> out;
    for (const RecordedOp &o : ops)
        if (o.kind == RecordedOp::Line && o.drawWidth < 5 && o.from.y() == o.to.y())
            out.append(o);
    return out;
}

int entryTexts(const QList<RecordedOp> &ops)
{
    int n = 0;
    for (const RecordedOp &o : ops)
        if (o.kind == RecordedOp::Text && o.text.startsWith(u"山田"_s))
            ++n;
    return n;
}


// Row f's rule lies on the row's lower boundary, solid 2 on every fifth row.
void checkRule(const RecordedOp &rule, int f, double left, double width)
{
    QCOMPARE(rule.from, QPointF(left, 950 + 250 * f));
    QCOMPARE(rule.to, QPointF(left + width, 950 + 250 * f));
    QCOMPARE(rule.drawWidth, f % 5 == 0 ? 2 : 1);
    QCOMPARE(rule.drawStyle, f % 5 == 0 ? int(DrawStyleSolid) : int(DrawStyleDotted));
}

const QList<RecordedOp::Kind> PrinterOnly = {RecordedOp::NewPage, RecordedOp::EndDoc, RecordedOp::KillDoc,
                                             RecordedOp::ScaleMode, RecordedOp::PaperSize,
                                             RecordedOp::Orientation, RecordedOp::PrintQuality};

// A postcard entry after the fixture's own; its key number is returned.
qint32 addCard(Fixture &f, const QString &name, const QString &code, const QString &ju1, const QString &ju2)
{
    Cls_住所 card;
    card.PName = name;
    card.PYubin = code;
    card.PJu1 = ju1;
    card.PJu2 = ju2;
    const QString key = f.document.NextRecordKey();
    f.document.AddRecord(card, -1, key);
    const qint32 n = key.mid(1).toInt();
    f.entries.keys << n;
    return n;
}

// One printed cell: its text, its top-left in millimetres and its size in points.
struct Cell {
    QString text;
    double x, y, size;
};

// The cells of a column from (x, y), one line of the size apart.
QList<Cell> column(const QStringList &cells, double x, double y, double size)
{
    QList<Cell> out;
    const double line = size * 25.4 / 72;
    for (int i = 0; i < cells.size(); ++i)
        out.append({cells[i], x, y + line * i, size});
    return out;
}

QList<Cell> row(const QStringList &cells, const QList<double> &xs, double y, double size)
{
    QList<Cell> out;
    for (int i = 0; i < cells.size(); ++i)
        out.append({cells[i], xs[i], y, size});
    return out;
}

const QList<double> RecipientBoxes = {41.5, 48.7, 55.9, 63.1, 69.5, 76.5, 83.5, 90.5, 97.5};
const QList<double> SenderBoxes = {2.7, 6.7, 10.7, 15.6, 19.6, 23.6, 27.6, 31.6, 35.6};

// The texts of a card against the expected cells, in order, all in the
// postcard font, bold.
void checkCard(const QList<RecordedOp> &ops, const QList<Cell> &expected, const QString &face)
{
    const QList<RecordedOp> texts = ofKind(ops, RecordedOp::Text);
    QStringList got, want;
    for (const RecordedOp &o : texts)
        got << o.text;
    for (const Cell &c : expected)
        want << c.text;
    QCOMPARE(got, want);
    for (int i = 0; i < texts.size(); ++i) {
        const RecordedOp &o = texts[i];
        const Cell &c = expected[i];
        const QByteArray where = u"cell %1 「%2」 at (%3, %4)"_s.arg(i).arg(c.text).arg(o.from.x()).arg(o.from.y()).toUtf8();
        QVERIFY2(qAbs(o.from.x() - c.x) < 1e-9 && qAbs(o.from.y() - c.y) < 1e-9, where.constData());
        QCOMPARE(o.font, (PrintFont{face, c.size, true, false}));
    }
}

} // namespace

// Failure messages show the font that was compared.
char *toString(const PrintFont &font)
{
    return QTest::toString(u"%1 %2pt%3%4"_s.arg(font.Name).arg(font.Size).arg(font.Bold ? u" bold"_s : QString(),
                                                                              font.Italic ? u" italic"_s : QString()));
}

class TestPrintouts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A joint name on the card: the family name once, the given names side
    // by side below it (the first on the right), their honorifics on one
    // line, all within the name's place.
    void jointNamesOnPostcards_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("columns");
        QTest::newRow("two") << u"山田 太郎・花子"_s << 2;
        QTest::newRow("three, long") << u"長谷川 一二三四五・花子・次郎"_s << 3;
    }

    void jointNamesOnPostcards()
    {
        QFETCH(QString, name);
        QFETCH(int, columns);
        Fixture f(0, true, ScaleMillimetres);
        f.settings.JointNames = true;
        addCard(f, name, QString(), QString(), QString());
        f.run(4);
        const QList<RecordedOp> texts = ofKind(f.surface.ops, RecordedOp::Text);
        const JointName joint = *ParseJointName(name);
        QCOMPARE(texts.size(), joint.family.size() + joint.givenNames.join(QString()).size() + columns);
        QList<double> honorificY, columnX;
        for (const RecordedOp &o : texts) {
            const double cell = o.font.Size * 25.4 / 72;
            QVERIFY(o.font.Size >= 32 * 0.6 - 1e-9);
            QVERIFY2(o.from.y() + cell <= 140 + 1e-9 && o.from.x() >= 25 - 1e-9 && o.from.x() + cell <= 63 + 1e-9,
                     qPrintable(o.text));
            if (o.text == u"様") {
                honorificY << o.from.y();
                columnX << o.from.x();
            }
        }
        QCOMPARE(honorificY.size(), columns);
        for (const double y : honorificY)
            QCOMPARE(y, honorificY.first());
        for (int j = 1; j < columns; ++j)
            QVERIFY(columnX[j] < columnX[j - 1]);   // right to left
        // The family name once, at the top.
        QCOMPARE(texts.first().text, joint.family.left(1));
        QCOMPARE(texts.first().from.y(), 28.0);
    }

    // A name cut to fit keeps the honorific it is written with.
    void aCutNameKeepsItsWrittenHonorific()
    {
        Fixture f(0, true, ScaleMillimetres);
        addCard(f, u"株式会社ゆざりぼ商事東京本社総務部　御中"_s, QString(), QString(), QString());
        f.run(4);
        const QStringList texts = f.surface.texts();
        QVERIFY2(texts.size() < 20, qPrintable(texts.join(u'|')));
        QCOMPARE(texts.mid(texts.size() - 3), (QStringList{u"\u3000"_s, u"御"_s, u"中"_s}));
    }

    // Names and addresses of growing length on postcards: every cell stays
    // in its column's space (above 140 mm, right of the name for the
    // address), never below 60 % of its size; the honorific stays; the
    // address continues in the extra column only when two do not hold it.
    void postcardTextsStayInTheirSpace_data()
    {
        QTest::addColumn<int>("nameLength");
        QTest::addColumn<int>("line1Length");
        QTest::addColumn<int>("line2Length");
        QTest::addColumn<bool>("extraColumn");
        QTest::newRow("short") << 4 << 10 << 6 << false;
        QTest::newRow("a name of 9") << 9 << 10 << 6 << false;
        QTest::newRow("a name of 20") << 20 << 10 << 6 << false;
        QTest::newRow("a name of 40") << 40 << 10 << 6 << false;
        QTest::newRow("line 1 of 30") << 4 << 30 << 6 << false;
        QTest::newRow("line 1 of 60") << 4 << 60 << 6 << true;
        QTest::newRow("line 2 of 60") << 4 << 10 << 60 << true;
        QTest::newRow("both of 60") << 4 << 60 << 60 << true;
        QTest::newRow("line 1 of 150") << 4 << 150 << 0 << true;
    }

    void postcardTextsStayInTheirSpace()
    {
        QFETCH(int, nameLength);
        QFETCH(int, line1Length);
        QFETCH(int, line2Length);
        QFETCH(bool, extraColumn);
        const QString kanji = u"東京都千代田区丸の内一丁目二番三号長い住所の建物名"_s.repeated(8);
        Fixture f(0, true, ScaleMillimetres);
        addCard(f, kanji.left(nameLength), u"100-0001"_s, kanji.left(line1Length), kanji.mid(3, line2Length));
        f.run(4);
        QVERIFY(f.failures.isEmpty());
        const double pitchPerPoint = 25.4 / 72;
        bool extra = false;
        QStringList nameColumn;
        for (const RecordedOp &o : ofKind(f.surface.ops, RecordedOp::Text)) {
            if (o.from.y() < 21 && o.font.Size == 14)
                continue;   // the code's digits, in their boxes
            const bool name = o.from.x() < 60;
            const double design = name ? 32 : 14;
            QVERIFY2(o.font.Size >= design * 0.6 - 1e-9, qPrintable(o.text));
            QVERIFY2(o.from.y() + o.font.Size * pitchPerPoint <= 140 + 1e-6, qPrintable(o.text));
            if (name) {
                QVERIFY(o.from.x() >= 45 - 1e-9 && o.from.x() + o.font.Size * pitchPerPoint <= 45 + 32 * pitchPerPoint + 1e-9);
                nameColumn << o.text;
            } else {
                // Right of the name's column.
                QVERIFY2(o.from.x() >= 45 + 32 * pitchPerPoint, qPrintable(o.text));
                extra = extra || o.from.x() < 70;
            }
        }
        QCOMPARE(extra, extraColumn);
        QCOMPARE(nameColumn.last(), u"様"_s);
        QCOMPARE(nameColumn.first(), kanji.left(1));
    }

    // The honorific the user chose, on the label's name line and under the
    // card's name; joint names side by side when asked for.
    void honorifics_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("joint");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("cardEnd");   // the last cells of the card's name column
        QTest::newRow("様") << 0 << false << u"山田太郎"_s << u"山田太郎   様"_s << QStringList{u"郎"_s, u"     "_s, u"様"_s};
        QTest::newRow("先生") << 3 << false << u"山田太郎"_s << u"山田太郎   先生"_s
                            << QStringList{u"     "_s, u"先"_s, u"生"_s};
        QTest::newRow("自動, a company") << 4 << false << u"株式会社ゆざりぼ"_s << u"株式会社ゆざりぼ   御中"_s
                                       << QStringList{u"     "_s, u"御"_s, u"中"_s};
        QTest::newRow("自動, a person") << 4 << false << u"山田太郎"_s << u"山田太郎   様"_s
                                      << QStringList{u"郎"_s, u"     "_s, u"様"_s};
        QTest::newRow("なし") << 5 << false << u"山田太郎"_s << u"山田太郎"_s << QStringList{u"太"_s, u"郎"_s};
        QTest::newRow("written already") << 1 << false << u"山田太郎様"_s << u"山田太郎様"_s
                                         << QStringList{u"郎"_s, u"様"_s};
        QTest::newRow("joint names") << 0 << true << u"山田 太郎・花子"_s << u"山田 太郎 様・花子 様"_s
                                     << QStringList{u"花"_s, u"子"_s, u"様"_s};
        QTest::newRow("joint names off") << 0 << false << u"山田 太郎・花子"_s << u"山田 太郎・花子   様"_s
                                         << QStringList{u"子"_s, u"     "_s, u"様"_s};
    }

    void honorifics()
    {
        QFETCH(int, mode);
        QFETCH(bool, joint);
        QFETCH(QString, name);
        QFETCH(QString, label);
        QFETCH(QStringList, cardEnd);
        for (const int kind : {2, 4}) {
            Fixture f(0, true, kind == 4 ? ScaleMillimetres : ScaleTwips);
            f.settings.Honorific = qint16(mode);
            f.settings.JointNames = joint;
            auto book = std::make_unique<Cls_管理>();
            book->Add(name, {}, {}, {}, {}, {}, {}, book.get(), -1, MakeRecordKey(1));
            f.document.ReplaceBook(std::move(book), 1);
            f.entries.keys = {1};
            f.run(kind);
            const QStringList texts = f.surface.texts();
            if (kind == 2) {
                QVERIFY2(texts.contains(label), qPrintable(texts.join(u'|')));
            } else {
                // The name column is the card's last texts.
                QCOMPARE(texts.mid(texts.size() - cardEnd.size()), cardEnd);
            }
        }
    }

    // Fields of growing length in the lists and on the labels: every text
    // an entry prints stays in its space (its column, its label), never
    // below the smallest size, and the label's honorific stays whole.
    void longTextsStayInTheirSpace_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("length");
        for (const int kind : {1, 2, 3}) {
            for (const int length : {4, 12, 24, 60})
                QTest::addRow("kind %d, %d characters", kind, length) << kind << length;
        }
    }

    void longTextsStayInTheirSpace()
    {
        QFETCH(int, kind);
        QFETCH(int, length);
        Fixture f(0);
        const QString filler = u"東京都千代田区丸の内一丁目二番三号長い住所の建物名"_s.repeated(3);
        const QString text = filler.left(length);
        auto book = std::make_unique<Cls_管理>();
        book->Add(text, u"03-"_s + QString(length, u'9'), text, u"100-0001"_s, text, text, text, book.get(), -1,
                  MakeRecordKey(1));
        f.document.ReplaceBook(std::move(book), 1);
        f.entries.keys = {1};
        f.run(kind);
        QVERIFY(f.failures.isEmpty());

        // Where each text of the entry may reach, by where it starts (twips).
        QMap<double, double> rightOf;
        double minimum = 0;
        if (kind == 1) {
            const double rules[] = {0, 1700, 3300, 6800, 7800, 10600, 13400, 15500};
            for (int c = 0; c < 7; ++c)
                rightOf[300 + rules[c] + 50] = 300 + rules[c + 1] - 50;
            minimum = 7;
        } else if (kind == 3) {
            rightOf[400 + 50] = 400 + 2000 - 50;
            rightOf[400 + 2050] = 400 + 4000 - 50;
            minimum = 7;
        } else {
            rightOf[400 + 500] = 400 + 5300 - 200;
            rightOf[400 + 1100] = 400 + 5300 - 200;
        }
        int checked = 0;
        for (const RecordedOp &o : ofKind(f.surface.ops, RecordedOp::Text)) {
            const auto right = rightOf.constFind(o.from.x());
            if (right == rightOf.cend() || o.from.y() < 950)   // the header and the captions
                continue;
            ++checked;
            QVERIFY2(o.from.x() + widthOf(o.text, o.font) <= *right + 1e-6, qPrintable(o.text));
            if (kind == 2) {
                QVERIFY(o.font.Size >= 0.6 * (o.from.x() == 1500 ? 16 : 12) - 1e-9);
                if (o.from.x() == 1500)
                    QVERIFY2(o.text.endsWith(u"   様"_s), qPrintable(o.text));
            } else {
                QVERIFY(o.font.Size >= minimum - 1e-9);
            }
        }
        QVERIFY(checked >= (kind == 1 ? 7 : kind == 3 ? 2 : 4));
    }

    // The alignment print of postcards: Japan Post's code frame where it is
    // on the card, whatever the printer's margins and the adjustment; the
    // digits where the printout puts the code, adjustment included.
    void alignmentPrintOfPostcards()
    {
        Fixture f(0, true, ScaleMillimetres);
        f.surface.printableOrigin = QPointF(3.5, 4);
        f.settings.PrintOffsetX[3] = 15;
        f.settings.PrintOffsetY[3] = -20;
        f.settings.HagakiOffsetMm = 2;
        PrintAlignment(&f.surface, f.job, 4);
        QCOMPARE(f.failures, QStringList());

        QList<QPointF> boxes;
        for (const RecordedOp &o : f.surface.ofKind(RecordedOp::Box)) {
            if (std::abs(o.to.x() - o.from.x() - 5.7) < 1e-9 && std::abs(o.to.y() - o.from.y() - 8) < 1e-9)
                boxes << o.from + f.surface.printableOrigin;
        }
        const double lefts[] = {44.3, 51.3, 58.3, 65.9, 72.7, 79.5, 86.3};
        QCOMPARE(boxes.size(), 7);
        for (int k = 0; k < 7; ++k)
            QVERIFY((boxes[k] - QPointF(lefts[k], 12)).manhattanLength() < 1e-9);
        const RecordedOp *one = findText(f.surface.ops, u"１"_s);
        QVERIFY(one);
        QVERIFY((one->from - QPointF(41.5 + 1.5, 10 + 2 - 2.0)).manhattanLength() < 1e-9);
        QCOMPARE(countKind(f.surface.ops, RecordedOp::EndDoc), 1);
        QCOMPARE(countKind(f.surface.ops, RecordedOp::NewPage), 0);
        // The rulers are the paper's: the 10 mm tick of the top ruler 10 mm from the paper's edge.
        bool tick = false;
        for (const RecordedOp &o : f.surface.ofKind(RecordedOp::Line))
            tick = tick || (o.from + f.surface.printableOrigin - QPointF(10, 6)).manhattanLength() < 1e-9;
        QVERIFY(tick);
    }

    // The labels' guide is their fourteen outlines, where the printout puts them.
    void alignmentPrintOfLabels()
    {
        Fixture f(0);
        f.settings.PrintOffsetX[1] = -10;
        PrintAlignment(&f.surface, f.job, 2);
        QList<QPointF> labels;
        for (const RecordedOp &o : f.surface.ofKind(RecordedOp::Box))
            labels << o.from;
        QCOMPARE(labels.size(), 14);
        const double mm = 1440 / 25.4;
        QVERIFY((labels[0] - QPointF(400 - mm, 700)).manhattanLength() < 1e-6);
        QVERIFY((labels[13] - QPointF(400 + 5300 - mm, 700 + 6 * 2100)).manhattanLength() < 1e-6);
    }

    // The user's position adjustment of a printout moves everything it
    // draws, on every page and in the preview, by exactly that; the other
    // printouts' adjustments do not touch it.
    void positionAdjustmentMovesEverything_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("previewFlag");
        for (int kind = 1; kind <= 4; ++kind) {
            QTest::addRow("kind %d printer", kind) << kind << 0;
            QTest::addRow("kind %d preview", kind) << kind << 1;
        }
    }

    void positionAdjustmentMovesEverything()
    {
        QFETCH(int, kind);
        QFETCH(int, previewFlag);
        // Two pages of each printout.
        const int count = kind == 2 ? 15 : kind == 3 ? 200 : kind == 4 ? 2 : 41;
        const int scale = kind == 4 ? ScaleMillimetres : ScaleTwips;
        Fixture plain(count, previewFlag == 0, scale);
        plain.run(kind, previewFlag);
        Fixture moved(count, previewFlag == 0, scale);
        moved.settings.PrintOffsetX[size_t(kind - 1)] = 15;    // +1.5 mm
        moved.settings.PrintOffsetY[size_t(kind - 1)] = -20;   // -2.0 mm
        const size_t other = size_t(kind % 4);
        moved.settings.PrintOffsetX[other] = 77;
        moved.settings.PrintOffsetY[other] = 77;
        moved.run(kind, previewFlag);

        const double perMm = kind == 4 ? 1 : 1440 / 25.4;
        const QPointF shift = QPointF(1.5, -2.0) * perMm;
        const QList<QList<RecordedOp>> before = plain.drawnPages(), after = moved.drawnPages();
        QCOMPARE(after.size(), before.size());
        QVERIFY(before.size() >= 2);
        int drawn = 0;
        for (int p = 0; p < before.size(); ++p) {
            QCOMPARE(after[p].size(), before[p].size());
            for (int i = 0; i < before[p].size(); ++i) {
                const RecordedOp &a = before[p][i], &b = after[p][i];
                QCOMPARE(b.kind, a.kind);
                QCOMPARE(b.text, a.text);
                if (a.kind != RecordedOp::Text && a.kind != RecordedOp::Line && a.kind != RecordedOp::Box)
                    continue;
                ++drawn;
                const auto same = [](QPointF x, QPointF y) { return (x - y).manhattanLength() < 1e-6; };
                QVERIFY2(same(b.from, a.from + shift), qPrintable(u"page %1 op %2 %3"_s.arg(p + 1).arg(i).arg(a.text)));
                if (a.kind != RecordedOp::Text)
                    QVERIFY(same(b.to, a.to + shift));
            }
        }
        QVERIFY(drawn > 0);
    }

    void initTestCase() { InstallFontSubstitutes(); }

    void pageHeader_data();
    void pageHeader();
    void addressListPages_data();
    void addressListPages();
    void addressListFrameAndRows();
    void labels_data();
    void labels();
    void labelTexts_data();
    void labelTexts();
    void phoneList_data();
    void phoneList();
    void printerRun_data();
    void printerRun();
    void previewRun_data();
    void previewRun();
    void cancel_data();
    void cancel();
    void missingKey_data();
    void missingKey();
    void furnitureFailure_data();
    void furnitureFailure();
    void boldShowsOnPagePictures_data();
    void boldShowsOnPagePictures();
    void dottedRulesStayDottedAtPrinterResolution();
    void postcardBlocks_data();
    void postcardBlocks();
    void postcardEmptyFields_data();
    void postcardEmptyFields();
    void postcardPages_data();
    void postcardPages();
    void postcardStops_data();
    void postcardStops();
    void postcardPrinterSettingRefused();
};

void TestPrintouts::pageHeader_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("title");
    QTest::addColumn<double>("titleX");
    QTest::addColumn<QString>("fileText");
    QTest::addColumn<QString>("dateText");
    QTest::addColumn<QString>("pageText");
    QTest::addColumn<QPointF>("pageAt");

    QTest::newRow("address list") << 1 << u"/home/user/住所録.csv"_s << QDate(2002, 3, 5) << 1 << u"住所録一覧表"_s
                                  << 300.0 << u"  ファイル名は【/home/user/住所録.csv】"_s
                                  << u"   2002年3月5日 発行"_s << u"-1-"_s << QPointF(7900, 11100);
    QTest::newRow("labels, untitled book") << 2 << QString() << QDate(2024, 12, 31) << 10 << u"宛名ラベル"_s
                                           << 400.0 << u"  ファイル名は【】"_s << u"   2024年12月31日 発行"_s
                                           << u"-10-"_s << QPointF(5590, 15800);
    QTest::newRow("telephone list, ideographic space") << 3 << u"a.csv"_s << QDate(1999, 1, 9) << 123
                                                       << u"電話番号一覧表"_s << 400.0 << u"  ファイル名は【a.csv】"_s
                                                       << u"   1999年1月9日\u3000発行"_s << u"-123-"_s
                                                       << QPointF(7440, 11100);
}

void TestPrintouts::pageHeader()
{
    QFETCH(int, kind);
    QFETCH(QString, fileName);
    QFETCH(QDate, date);
    QFETCH(int, page);
    QFETCH(QString, title);
    QFETCH(double, titleX);
    QFETCH(QString, fileText);
    QFETCH(QString, dateText);
    QFETCH(QString, pageText);
    QFETCH(QPointF, pageAt);

    Fixture f(0);
    f.document.SetBookFileName(fileName);
    f.job.today = date;
    DrawPageHeader(f.surface, f.job, kind, page);

    QCOMPARE(f.surface.texts(), (QStringList{title, fileText, dateText, pageText}));
    const QList<RecordedOp> t = f.surface.ofKind(RecordedOp::Text);
    const QString face = f.settings.PrintFontName[size_t(kind - 1)];
    QCOMPARE(t[0].font, (PrintFont{face, 12, true, false}));
    for (int i = 1; i < 4; ++i)
        QCOMPARE(t[i].font, (PrintFont{face, 10, true, false}));
    // The smaller texts follow the title on its line.
    QCOMPARE(t[0].from, QPointF(titleX, 200));
    QCOMPARE(t[1].from.y(), 230.0);
    QVERIFY(qAbs(t[1].from.x() - (titleX + widthOf(title, t[0].font))) < 0.01);
    QCOMPARE(t[2].from.y(), 230.0);
    QVERIFY(qAbs(t[2].from.x() - (t[1].from.x() + widthOf(fileText, t[1].font))) < 0.01);
    QCOMPARE(t[3].from, pageAt);
    // The page number ends its line.
    QCOMPARE(f.surface.CurrentX, 0.0);
    QCOMPARE(f.surface.CurrentY, pageAt.y() + 200);
    QVERIFY(f.failures.isEmpty());
}

void TestPrintouts::addressListPages_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("rowsOnLastPage");

    QTest::newRow("1 entry") << 1 << 1 << 1;
    QTest::newRow("40 entries, one full page") << 40 << 1 << 40;
    QTest::newRow("41 entries") << 41 << 2 << 1;
    QTest::newRow("80 entries, no empty third page") << 80 << 2 << 40;
}

void TestPrintouts::addressListPages()
{
    QFETCH(int, count);
    QFETCH(int, pages);
    QFETCH(int, rowsOnLastPage);

    Fixture f(count);
    f.run(1);

    const QList<QList<RecordedOp>> drawn = f.drawnPages();
    QCOMPARE(int(drawn.size()), pages);
    for (int p = 1; p <= pages; ++p) {
        const QList<RecordedOp> &ops = drawn[p - 1];
        const bool last = p == pages;
        const int rows = last ? rowsOnLastPage : 40;
        QCOMPARE(entryTexts(ops), rows);
        const RecordedOp *number = findText(ops, u"-%1-"_s.arg(p));
        QVERIFY(number);
        QCOMPARE(number->from, QPointF(7900, 11100));

        // A rule under every row but the 40th, then the completing rules:
        // every boundary once, each on its own row's pen.
        const QList<RecordedOp> rules = rowRules(ops);
        const int expectedRules = rows == 40 ? 39 : 40;
        QCOMPARE(int(rules.size()), expectedRules);
        for (int r = 1; r <= expectedRules; ++r)
            checkRule(rules[r - 1], r, 300, 15500);
        // Only the last page is completed: after its last row's own rule.
        int afterLastText = 0;
        for (const RecordedOp &o : ops) {
            if (o.kind == RecordedOp::Text)
                afterLastText = 0;
            else if (o.kind == RecordedOp::Line && o.drawWidth < 5)
                ++afterLastText;
        }
        QCOMPARE(afterLastText, rows == 40 ? 0 : 1 + (40 - rows));
    }
}

void TestPrintouts::addressListFrameAndRows()
{
    Fixture f(2);
    Cls_住所 &second = f.document.OpenBook().Item(u"s2"_s);
    second.PMail.clear();
    second.PMemo = u"とても長い一言メモは欄に収まるまで縮めて、それでも収まらない分は欄の線で切ります"_s;
    f.run(1);

    const QList<RecordedOp> &ops = f.surface.ops;
    // Frame and hatched band, then the band's rule and six column rules, all 5 pixels.
    const QList<RecordedOp> boxes = ofKind(ops, RecordedOp::Box);
    QCOMPARE(int(boxes.size()), 2);
    QCOMPARE(boxes[0].from, QPointF(300, 600));
    QCOMPARE(boxes[0].to, QPointF(15800, 10950));
    QCOMPARE(boxes[0].fillStyle, int(FillTransparent));
    QCOMPARE(boxes[1].to, QPointF(15800, 950));
    QCOMPARE(boxes[1].fillStyle, int(FillCrossHatch));
    QCOMPARE(boxes[1].fillColor, BandGrey);
    QList<double> verticals;
    for (const RecordedOp &o : ofKind(ops, RecordedOp::Line)) {
        if (o.drawWidth != 5)
            continue;
        if (o.from.x() == o.to.x()) {
            QCOMPARE(o.from.y(), 600.0);
            QCOMPARE(o.to.y(), 10950.0);
            verticals << o.from.x();
        } else {
            QCOMPARE(o.from, QPointF(300, 950));
            QCOMPARE(o.to, QPointF(15800, 950));
        }
    }
    QCOMPARE(verticals, (QList<double>{2000, 3600, 7100, 8100, 10900, 13700}));

    // Captions in the header's bold 10 point, rows in the regular body font.
    const QStringList captions = {u"氏名"_s, u"電話番号"_s, u"メールアドレス"_s, u"〒"_s,
                                  u"住所1"_s, u"住所2"_s, u"一言メモ"_s};
    const QList<double> captionX = {900, 2380, 4600, 7500, 9200, 12000, 14300};
    const QList<double> textX = {350, 2050, 3650, 7150, 8150, 10950, 13750};
    const PrintFont bold{u"ＭＳ ゴシック"_s, 10, true, false};
    const PrintFont regular{u"ＭＳ ゴシック"_s, 10, false, false};
    const QList<RecordedOp> t = ofKind(ops, RecordedOp::Text);
    QCOMPARE(int(t.size()), 4 + 7 + 2 * 7);
    const Cls_住所 &first = f.document.OpenBook().Item(u"s1"_s);
    for (int c = 0; c < 7; ++c) {
        QCOMPARE(t[4 + c].text, captions[c]);
        QCOMPARE(t[4 + c].from, QPointF(captionX[c], 700));
        QCOMPARE(t[4 + c].font, bold);
        for (int r = 0; r < 2; ++r) {
            const RecordedOp &cell = t[11 + 7 * r + c];
            const Cls_住所 &record = r == 0 ? first : second;
            if (r == 1 && c == 6) {
                // Too long for its column: smaller, down to 7 point, then cut at
                // the frame's edge; never over it.
                QVERIFY(record.field(Field(c)).startsWith(cell.text));
                QVERIFY(cell.text.size() < record.field(Field(c)).size());
                QCOMPARE(cell.font.Size, 7.0);
                QCOMPARE(cell.from.x(), textX[c]);
                QVERIFY(cell.from.x() + QFontMetricsF(SurfaceQFont(cell.font)).horizontalAdvance(cell.text)
                        <= 300 + 15500 - 50);
                continue;
            }
            QCOMPARE(cell.text, record.field(Field(c)));
            QCOMPARE(cell.from, QPointF(textX[c], 1000 + 250 * r));
            QCOMPARE(cell.font, regular);
        }
    }
    QVERIFY(f.failures.isEmpty());
}

void TestPrintouts::labels_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QPointF>("lastLabel");

    QTest::newRow("1 entry, top left") << 1 << 1 << QPointF(400, 700);
    QTest::newRow("14 entries, one page") << 14 << 1 << QPointF(5700, 13300);
    QTest::newRow("15 entries, top left of page 2") << 15 << 2 << QPointF(400, 700);
}

void TestPrintouts::labels()
{
    QFETCH(int, count);
    QFETCH(int, pages);
    QFETCH(QPointF, lastLabel);

    Fixture f(count);
    f.run(2);

    QCOMPARE(ofKind(f.surface.ops, RecordedOp::Orientation).at(0).value, int(OrientationPortrait));
    const QList<QList<RecordedOp>> drawn = f.drawnPages();
    QCOMPARE(int(drawn.size()), pages);
    for (int p = 1; p <= pages; ++p) {
        const RecordedOp *number = findText(drawn[p - 1], u"-%1-"_s.arg(p));
        QVERIFY(number);
        QCOMPARE(number->from, QPointF(5590, 15800));
        // Guides only for labels printed; they fill the rows left to right.
        const QList<RecordedOp> guides = ofKind(drawn[p - 1], RecordedOp::Box);
        QCOMPARE(int(guides.size()), p < pages ? 14 : (count - 1) % 14 + 1);
        for (int n = 1; n <= guides.size(); ++n) {
            const QPointF corner(n % 2 ? 400 : 5700, 700 + 2100 * ((n + 1) / 2 - 1));
            QCOMPARE(guides[n - 1].from, corner);
            QCOMPARE(guides[n - 1].to, corner + QPointF(5300, 2100));
            QCOMPARE(guides[n - 1].drawStyle, int(DrawStyleDotted));
            QCOMPARE(guides[n - 1].drawWidth, 1);
            QCOMPARE(guides[n - 1].fillStyle, int(FillTransparent));
        }
        if (p == pages)
            QCOMPARE(guides.last().from, lastLabel);
    }
}

void TestPrintouts::labelTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("yubin");
    QTest::addColumn<QString>("nameLine");
    QTest::addColumn<QString>("yubinLine");

    QTest::newRow("filled") << u"鈴木 花子"_s << u"100-0001"_s << u"鈴木 花子   様"_s << u"〒 100-0001"_s;
    QTest::newRow("empty name and code") << QString() << QString() << u"   様"_s << u"〒 "_s;
}

void TestPrintouts::labelTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, yubin);
    QFETCH(QString, nameLine);
    QFETCH(QString, yubinLine);

    Fixture f(2);
    Cls_住所 &record = f.document.OpenBook().Item(u"s2"_s);
    record.PName = name;
    record.PYubin = yubin;
    f.run(2);

    // The second label: column 2 of row 1.
    const QList<RecordedOp> t = f.surface.ofKind(RecordedOp::Text);
    QCOMPARE(int(t.size()), 4 + 2 * 4);
    const QString face = u"ＭＳ 明朝"_s;
    const struct {
        QString text;
        QPointF at;
        double size;
    } expected[] = {{yubinLine, {6200, 1000}, 11},
                    {record.PJu1, {6200, 1400}, 12},
                    {record.PJu2, {6200, 1700}, 12},
                    {nameLine, {6800, 2200}, 16}};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(t[8 + i].text, expected[i].text);
        QCOMPARE(t[8 + i].from, expected[i].at);
        QCOMPARE(t[8 + i].font, (PrintFont{face, expected[i].size, true, false}));
    }
}

void TestPrintouts::phoneList_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<QList<double>>>("columnsPerPage");
    QTest::addColumn<int>("rowsInLastColumn");

    using Pages = QList<QList<double>>;
    QTest::newRow("1 entry") << 1 << Pages{{400}} << 1;
    QTest::newRow("40 entries") << 40 << Pages{{400}} << 40;
    QTest::newRow("41 entries") << 41 << Pages{{400, 5600}} << 1;
    QTest::newRow("120 entries, one full page") << 120 << Pages{{400, 5600, 10800}} << 40;
    QTest::newRow("121 entries") << 121 << Pages{{400, 5600, 10800}, {400}} << 1;
}

void TestPrintouts::phoneList()
{
    QFETCH(int, count);
    QFETCH(QList<QList<double>>, columnsPerPage);
    QFETCH(int, rowsInLastColumn);

    Fixture f(count);
    f.run(3);

    const QList<QList<RecordedOp>> drawn = f.drawnPages();
    QCOMPARE(drawn.size(), columnsPerPage.size());
    const PrintFont regular{u"ＭＳ Ｐゴシック"_s, 10, false, false};
    for (int p = 1; p <= drawn.size(); ++p) {
        const QList<RecordedOp> &ops = drawn[p - 1];
        const RecordedOp *number = findText(ops, u"-%1-"_s.arg(p));
        QVERIFY(number);
        QCOMPARE(number->from, QPointF(7440, 11100));

        // A column is drawn only once an entry comes for it.
        QList<double> frames;
        for (const RecordedOp &o : ofKind(ops, RecordedOp::Box)) {
            if (o.fillStyle == FillTransparent) {
                QCOMPARE(o.to - o.from, QPointF(4000, 10350));
                frames << o.from.x();
            } else {
                QCOMPARE(o.to - o.from, QPointF(4000, 350));
                QCOMPARE(o.fillColor, BandGrey);
            }
        }
        QCOMPARE(frames, columnsPerPage[p - 1]);

        for (double x : frames) {
            const bool lastColumn = p == drawn.size() && x == frames.last();
            const int rows = lastColumn ? rowsInLastColumn : 40;
            QList<RecordedOp> rules;
            for (const RecordedOp &o : rowRules(ops))
                if (o.from.x() == x)
                    rules << o;
            QCOMPARE(int(rules.size()), rows == 40 ? 39 : 40);
            for (int r = 1; r <= rules.size(); ++r)
                checkRule(rules[r - 1], r, x, 4000);
            int names = 0;
            for (const RecordedOp &o : ops) {
                if (o.kind != RecordedOp::Text)
                    continue;
                if (o.text == u"氏名"_s && o.from.x() == x + 800) {
                    QCOMPARE(o.from.y(), 700.0);
                    QCOMPARE(o.font, regular);
                } else if (o.text.startsWith(u"山田"_s) && o.from.x() == x + 50) {
                    QCOMPARE(o.from.y(), 1000.0 + 250 * names);
                    QCOMPARE(o.font, regular);
                    ++names;
                }
            }
            QCOMPARE(names, rows);
        }
    }
    const RecordedOp *date = findText(f.surface.ops, u"   2002年3月5日\u3000発行"_s);
    QVERIFY(date);
    QVERIFY(date->font.Bold);
}

void TestPrintouts::printerRun_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("orientation");

    QTest::newRow("address list") << 1 << int(OrientationLandscape);
    QTest::newRow("labels") << 2 << int(OrientationPortrait);
    QTest::newRow("telephone list") << 3 << int(OrientationLandscape);
}

void TestPrintouts::printerRun()
{
    QFETCH(int, kind);
    QFETCH(int, orientation);

    Fixture f(3);
    f.run(kind);

    // The page set-up comes before any drawing, the job ends once at the end.
    const QList<RecordedOp> &ops = f.surface.ops;
    QVERIFY(ops.size() > 5);
    QCOMPARE(ops[0].kind, RecordedOp::ScaleMode);
    QCOMPARE(ops[0].value, int(ScaleTwips));
    QCOMPARE(ops[1].kind, RecordedOp::PaperSize);
    QCOMPARE(ops[1].value, int(PaperA4));
    QCOMPARE(ops[2].kind, RecordedOp::Orientation);
    QCOMPARE(ops[2].value, orientation);
    QCOMPARE(ops[3].kind, RecordedOp::PrintQuality);
    QCOMPARE(ops[3].value, int(QualityHigh));
    QCOMPARE(ops.last().kind, RecordedOp::EndDoc);
    QCOMPARE(countKind(ops, RecordedOp::EndDoc), 1);
    QCOMPARE(countKind(ops, RecordedOp::KillDoc), 0);
    QCOMPARE(f.progress.statuses, (QStringList{u"用紙設定中..."_s, u"印刷中です..."_s}));
    QCOMPARE(f.progress.values, (QList<int>{2, 1, 2, 3}));
    QCOMPARE(f.flags.PreviewPageCount, qint16(1));
    QVERIFY(f.failures.isEmpty());
}

void TestPrintouts::previewRun_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("pages");

    QTest::newRow("address list") << 1 << 81 << 3;
    QTest::newRow("labels") << 2 << 15 << 2;
    QTest::newRow("telephone list") << 3 << 121 << 2;
}

void TestPrintouts::previewRun()
{
    QFETCH(int, kind);
    QFETCH(int, count);
    QFETCH(int, pages);

    Fixture f(count, false);
    f.run(kind, 1);

    QList<int> indexes;
    for (int p = 2; p <= pages; ++p)
        indexes << p - 1;
    QCOMPARE(f.pages.addedIndexes, indexes);
    QCOMPARE(f.flags.PreviewPageCount, qint16(pages));
    const QList<QList<RecordedOp>> drawn = f.drawnPages();
    int entries = 0;
    for (int p = 1; p <= pages; ++p) {
        // Each page starts with its own header; the job and paper belong to the printer.
        QCOMPARE(drawn[p - 1].first().text, f.surface.texts().first());
        QVERIFY(findText(drawn[p - 1], u"-%1-"_s.arg(p)));
        for (RecordedOp::Kind k : PrinterOnly)
            QCOMPARE(countKind(drawn[p - 1], k), 0);
        entries += entryTexts(drawn[p - 1]);
    }
    QCOMPARE(entries, count);
    QCOMPARE(f.progress.statuses, (QStringList{u"用紙設定中..."_s, u"プレビュー中です..."_s}));
    QVERIFY(f.failures.isEmpty());
}

void TestPrintouts::cancel_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("cancelAtPump");
    QTest::addColumn<bool>("preview");
    QTest::addColumn<int>("entriesDrawn");
    QTest::addColumn<int>("rules");

    QTest::newRow("list, before the first entry") << 1 << 3 << 1 << false << 0 << 0;
    QTest::newRow("list, before the third entry") << 1 << 3 << 3 << false << 2 << 2;
    QTest::newRow("list, among the completing rules") << 1 << 1 << 5 << false << 1 << 4;
    QTest::newRow("labels, before the first entry") << 2 << 3 << 1 << false << 0 << 0;
    QTest::newRow("labels, before the second entry") << 2 << 3 << 2 << false << 1 << 0;
    QTest::newRow("telephone, before the first entry") << 3 << 3 << 1 << false << 0 << 0;
    QTest::newRow("telephone, among the completing rules") << 3 << 1 << 4 << false << 1 << 3;
    QTest::newRow("list preview, before page 2") << 1 << 41 << 41 << true << 40 << 39;
}

void TestPrintouts::cancel()
{
    QFETCH(int, kind);
    QFETCH(int, count);
    QFETCH(int, cancelAtPump);
    QFETCH(bool, preview);
    QFETCH(int, entriesDrawn);
    QFETCH(int, rules);

    Fixture f(count, !preview);
    f.progress.cancelAtPump = cancelAtPump;
    f.run(kind, preview ? 1 : 0);

    QCOMPARE(f.progress.pumps, cancelAtPump);
    const QList<QList<RecordedOp>> drawn = f.drawnPages();
    QCOMPARE(int(drawn.size()), 1);
    const QList<RecordedOp> &ops = drawn[0];
    // Page 1 keeps its furniture whenever the cancel comes.
    QVERIFY(findText(ops, u"-1-"_s));
    QCOMPARE(entryTexts(ops), entriesDrawn);
    QCOMPARE(int(rowRules(ops).size()), rules);
    QCOMPARE(countKind(ops, RecordedOp::EndDoc), 0);
    QCOMPARE(countKind(ops, RecordedOp::KillDoc), preview ? 0 : 1);
    if (!preview)
        QCOMPARE(ops.last().kind, RecordedOp::KillDoc);
    QVERIFY(f.pages.addedIndexes.isEmpty());
    QVERIFY(f.failures.isEmpty());
}

void TestPrintouts::missingKey_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("preview");

    QTest::newRow("address list") << 1 << false;
    QTest::newRow("labels") << 2 << false;
    QTest::newRow("telephone list") << 3 << false;
    QTest::newRow("address list preview") << 1 << true;
}

void TestPrintouts::missingKey()
{
    QFETCH(int, kind);
    QFETCH(bool, preview);

    Fixture f(3, !preview);
    f.document.RemoveRecord(f.document.OpenBook().PositionOf(u"s2"_s));
    f.run(kind, preview ? 1 : 0);

    // The run ends at the missing entry: the job is discarded and one failure reported.
    QCOMPARE(int(f.failures.size()), 1);
    QVERIFY2(f.failures[0].contains(u"2 番目"_s), qPrintable(f.failures[0]));
    const QList<RecordedOp> &ops = f.surface.ops;
    QCOMPARE(countKind(ops, RecordedOp::EndDoc), 0);
    QCOMPARE(countKind(ops, RecordedOp::KillDoc), preview ? 0 : 1);
    QCOMPARE(entryTexts(ops), 1);
    QCOMPARE(f.progress.values.last(), 1);
    if (!preview)
        QCOMPARE(ops.last().kind, RecordedOp::KillDoc);
}

void TestPrintouts::furnitureFailure_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("failAt");
    QTest::addColumn<QString>("skipped");

    // Operations 0 to 3 are the page set-up; the header's title is operation 4.
    QTest::newRow("address list header") << 1 << 4 << u"-1-"_s;
    QTest::newRow("address list frame") << 1 << 8 << u"一言メモ"_s;
    QTest::newRow("labels header") << 2 << 5 << u"-1-"_s;
    QTest::newRow("telephone list header, page number") << 3 << 7 << u"-1-"_s;
}

void TestPrintouts::furnitureFailure()
{
    QFETCH(int, kind);
    QFETCH(int, failAt);
    QFETCH(QString, skipped);

    Fixture f(2);
    f.surface.FailAt(failAt);
    f.run(kind);

    // Reported and abandoned; the rest of that routine is skipped, the run goes on.
    QCOMPARE(f.failures, (QStringList{u"テスト用の印刷エラーです。"_s}));
    const QList<RecordedOp> &ops = f.surface.ops;
    QCOMPARE(ops[failAt].kind, RecordedOp::KillDoc);
    QVERIFY(!findText(ops, skipped));
    QCOMPARE(entryTexts(ops), 2);
    QCOMPARE(ops.last().kind, RecordedOp::EndDoc);
    QCOMPARE(f.progress.values.last(), 2);
}

void TestPrintouts::boldShowsOnPagePictures_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<double>("zoom");   // 0: the page's QPicture; else the preview's replay at that zoom

    QTest::newRow("gothic") << u"ＭＳ ゴシック"_s << 0.0;
    QTest::newRow("mincho") << u"ＭＳ 明朝"_s << 0.0;
    QTest::newRow("gothic, preview 100%") << u"ＭＳ ゴシック"_s << 1.0;
    QTest::newRow("mincho, preview 200%") << u"ＭＳ 明朝"_s << 2.0;
}

// The installed Japanese faces have no bold style of their own; a replayed
// page must still tell the bold header from the regular rows.
void TestPrintouts::boldShowsOnPagePictures()
{
    QFETCH(QString, face);
    QFETCH(double, zoom);

    const auto ink = [&](bool bold) {
        PictureSurface page(QSize(4000, 600), ScaleTwips);
        page.Font = PrintFont{face, 12, bold, false};
        page.CurrentX = 100;
        page.CurrentY = 100;
        page.PrintLine(u"住所録一覧表"_s);
        QImage image(400, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        if (zoom > 0) {
            page.Play(painter, zoom / 15.0);
        } else {
            const QPicture &picture = page.Picture();
            painter.scale(144.0 / picture.logicalDpiX(), 144.0 / picture.logicalDpiY());
            painter.drawPicture(0, 0, picture);
        }
        painter.end();
        qint64 sum = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                sum += 255 - qGray(image.pixel(x, y));
        return sum;
    };
    const qint64 regular = ink(false), bold = ink(true);
    QVERIFY(regular > 0);
    QVERIFY2(bold > regular * 1.15, qPrintable(u"regular %1, bold %2"_s.arg(regular).arg(bold)));
}

// A dotted rule must look dotted on paper too: at 1200 dpi, dots of one
// device pixel would print as a thin solid line.
void TestPrintouts::dottedRulesStayDottedAtPrinterResolution()
{
    PictureSurface page(QSize(6000, 400), ScaleTwips);
    page.DrawWidth = 1;
    page.DrawStyle = DrawStyleDotted;
    page.Line(0, 24, 6000, 0);
    constexpr int dpi = 1200;
    QImage image(dpi * 6000 / 1440, 40, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    page.Play(painter, dpi / 1440.0);
    painter.end();

    // The row of the rule: count its dots and its inked share.
    int bestRow = 0, bestInk = -1;
    for (int y = 0; y < image.height(); ++y) {
        int ink = 0;
        for (int x = 0; x < image.width(); ++x)
            ink += qGray(image.pixel(x, y)) < 128;
        if (ink > bestInk) {
            bestInk = ink;
            bestRow = y;
        }
    }
    int dots = 0;
    bool inDot = false;
    for (int x = 0; x < image.width(); ++x) {
        const bool dark = qGray(image.pixel(x, bestRow)) < 128;
        dots += dark && !inDot;
        inDot = dark;
    }
    const double share = double(bestInk) / image.width();
    QVERIFY2(share > 0.2 && share < 0.5, qPrintable(QString::number(share)));
    // Dots of about a screen pixel: a 1/96-inch dot every 3/96 inch.
    QVERIFY2(dots > 100 && dots < 250, qPrintable(QString::number(dots)));
}

QTEST_MAIN(TestPrintouts)
#include "test_printouts.moc"

void TestPrintouts::postcardBlocks_data()
{
    QTest::addColumn<int>("adj");
    QTest::addColumn<bool>("sender");

    QTest::newRow("no adjustment, no sender") << 0 << false;
    QTest::newRow("no adjustment, sender") << 0 << true;
    QTest::newRow("5 mm up, sender") << -5 << true;
    QTest::newRow("5 mm down, sender") << 5 << true;
}

// Code boxes, address columns with kanji numerals and bars, the name with its
// empty line before "様", and the sender block; the adjustment moves all but
// the two names.
void TestPrintouts::postcardBlocks()
{
    QFETCH(int, adj);
    QFETCH(bool, sender);

    Fixture f(0);
    f.settings.HagakiOffsetMm = qint16(adj);
    f.settings.Sender = {u"鈴木一郎"_s, u"06-1111-2222"_s, u"ichiro@example.jp"_s,
                                  u"987-6543"_s, u"大阪市北区2-10"_s, u"ハイツ305"_s};
    // Filled in, yet printed only when asked for.
    f.flags.PrintSender = sender;
    addCard(f, u"山田太郎"_s, u"123-4567"_s, u"東京都千代田区1-2-3"_s, u"コーポ102号"_s);
    f.run(4);

    QList<Cell> expected;
    expected << row({u"１"_s, u"２"_s, u"３"_s, u"４"_s, u"５"_s, u"６"_s, u"７"_s}, RecipientBoxes, adj + 10, 14)
             << column({u"東"_s, u"京"_s, u"都"_s, u"千"_s, u"代"_s, u"田"_s, u"区"_s, u"一"_s, u"｜"_s, u"二"_s,
                        u"｜"_s, u"三"_s},
                       85, adj + 20, 14)
             << column({u"コ"_s, u"｜"_s, u"ポ"_s, u"一"_s, u"０"_s, u"二"_s, u"号"_s}, 75, adj + 20, 14)
             << column({u"山"_s, u"田"_s, u"太"_s, u"郎"_s, u"     "_s, u"様"_s}, 45, 28, 32);
    if (sender)
        expected << row({u"９"_s, u"８"_s, u"７"_s, u"６"_s, u"５"_s, u"４"_s, u"３"_s}, SenderBoxes, adj + 120, 11)
                 << column({u"大"_s, u"阪"_s, u"市"_s, u"北"_s, u"区"_s, u"二"_s, u"｜"_s, u"一"_s, u"０"_s}, 17,
                           adj + 54, 11)
                 << column({u"ハ"_s, u"イ"_s, u"ツ"_s, u"三"_s, u"０"_s, u"五"_s}, 12, adj + 54, 11)
                 << column({u"鈴"_s, u"木"_s, u"一"_s, u"郎"_s}, 5, 65, 18);
    checkCard(f.surface.ops, expected, u"ＭＳ 明朝"_s);

    // Millimetres, the user-defined card, portrait and high quality before
    // any drawing; one job, ended once.
    const QList<RecordedOp> &ops = f.surface.ops;
    QCOMPARE(ops[0].kind, RecordedOp::ScaleMode);
    QCOMPARE(ops[0].value, int(ScaleMillimetres));
    QCOMPARE(ops[1].kind, RecordedOp::PaperSize);
    QCOMPARE(ops[1].value, int(PaperUser));
    QCOMPARE(ops[2].kind, RecordedOp::Orientation);
    QCOMPARE(ops[2].value, int(OrientationPortrait));
    QCOMPARE(ops[3].kind, RecordedOp::PrintQuality);
    QCOMPARE(ops[3].value, int(QualityHigh));
    QCOMPARE(ops.last().kind, RecordedOp::EndDoc);
    QCOMPARE(countKind(ops, RecordedOp::NewPage), 0);
    QVERIFY(f.failures.isEmpty());
}

void TestPrintouts::postcardEmptyFields_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("ju1");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<double>("firstX");
    QTest::addColumn<double>("firstY");

    const QString longAddress(40, QChar(u'町'));
    QTest::newRow("no address, no code: the name keeps its place")
        << u"林"_s << QString() << QString() << QStringList{u"林"_s, u"     "_s, u"様"_s} << 45.0 << 28.0;
    QTest::newRow("no name: neither name nor 様")
        << QString() << QString() << u"本町"_s << QStringList{u"本"_s, u"町"_s} << 85.0 << 20.0;
    QTest::newRow("a code of dashes only prints no box")
        << QString() << u"---"_s << u"本町"_s << QStringList{u"本"_s, u"町"_s} << 85.0 << 20.0;
    // Too long for the column at 14 point: printed at 60 %, centred on the column.
    QTest::newRow("a 40-character address shrinks to stay on the card")
        << QString() << QString() << longAddress << QStringList(40, u"町"_s) << 85.0 + 14 * 25.4 / 72 * 0.2 << 20.0;
}

void TestPrintouts::postcardEmptyFields()
{
    QFETCH(QString, name);
    QFETCH(QString, code);
    QFETCH(QString, ju1);
    QFETCH(QStringList, texts);
    QFETCH(double, firstX);
    QFETCH(double, firstY);

    Fixture f(0);
    addCard(f, name, code, ju1, QString());
    f.run(4);

    QCOMPARE(f.surface.texts(), texts);
    const RecordedOp first = ofKind(f.surface.ops, RecordedOp::Text).first();
    QCOMPARE(first.from, QPointF(firstX, firstY));
    QCOMPARE(f.surface.ops.last().kind, RecordedOp::EndDoc);
    QVERIFY(f.failures.isEmpty());
}

void TestPrintouts::postcardPages_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("preview");

    QTest::newRow("one card") << 1 << false;
    QTest::newRow("three cards") << 3 << false;
    QTest::newRow("one card preview") << 1 << true;
    QTest::newRow("three cards preview") << 3 << true;
}

// One card a page in list order, and no blank page after the last.
void TestPrintouts::postcardPages()
{
    QFETCH(int, count);
    QFETCH(bool, preview);

    // A postcard preview's pages come in millimetres.
    Fixture f(0, !preview, preview ? ScaleMillimetres : ScaleTwips);
    const QStringList names = {u"甲"_s, u"乙"_s, u"丙"_s};
    for (int i = count - 1; i >= 0; --i)
        addCard(f, names[i], QString(), QString(), QString());
    f.run(4, preview ? 1 : 0);

    const QList<QList<RecordedOp>> drawn = f.drawnPages();
    QCOMPARE(int(drawn.size()), count);
    for (int p = 0; p < count; ++p) {
        const QStringList texts = [&] {
            QStringList t;
            for (const RecordedOp &o : ofKind(drawn[p], RecordedOp::Text))
                t << o.text;
            return t;
        }();
        QCOMPARE(texts, (QStringList{names[count - 1 - p], u"     "_s, u"様"_s}));
    }
    if (preview) {
        QList<int> indexes;
        for (int p = 2; p <= count; ++p)
            indexes << p - 1;
        QCOMPARE(f.pages.addedIndexes, indexes);
        QCOMPARE(f.flags.PreviewPageCount, qint16(count));
        for (const auto &page : f.pages.pages)
            QCOMPARE(page->ScaleMode(), int(ScaleMillimetres));
        for (RecordedOp::Kind k : PrinterOnly)
            QCOMPARE(countKind(f.surface.ops, k), 0);
    } else {
        QCOMPARE(countKind(f.surface.ops, RecordedOp::NewPage), count - 1);
        QCOMPARE(f.surface.ops.last().kind, RecordedOp::EndDoc);
        QCOMPARE(f.surface.ops[f.surface.ops.size() - 2].text, u"様"_s);
        QCOMPARE(f.flags.PreviewPageCount, qint16(1));
    }
    QList<int> values{2};
    for (int i = 1; i <= count; ++i)
        values << i;
    QCOMPARE(f.progress.values, values);
    QCOMPARE(f.progress.statuses,
             (QStringList{u"用紙設定中..."_s, preview ? u"プレビュー中です..."_s : u"印刷中です..."_s}));
}

void TestPrintouts::postcardStops_data()
{
    QTest::addColumn<int>("cancelAtPump");
    QTest::addColumn<QString>("missingKey");
    QTest::addColumn<int>("cardsDrawn");
    QTest::addColumn<int>("failures");

    QTest::newRow("cancel before the first card") << 1 << QString() << 0 << 0;
    QTest::newRow("cancel before the third card") << 3 << QString() << 2 << 0;
    QTest::newRow("second entry gone from the book") << 0 << u"s2"_s << 1 << 1;
}

// A cancel or a failure discards the printer job: nothing of it is printed.
void TestPrintouts::postcardStops()
{
    QFETCH(int, cancelAtPump);
    QFETCH(QString, missingKey);
    QFETCH(int, cardsDrawn);
    QFETCH(int, failures);

    Fixture f(0);
    for (int i = 0; i < 3; ++i)
        addCard(f, u"林"_s, QString(), QString(), QString());
    f.progress.cancelAtPump = cancelAtPump;
    if (!missingKey.isEmpty())
        f.document.RemoveRecord(f.document.OpenBook().PositionOf(missingKey));
    f.run(4);

    QCOMPARE(int(f.surface.texts().count(u"様"_s)), cardsDrawn);
    QCOMPARE(countKind(f.surface.ops, RecordedOp::EndDoc), 0);
    QCOMPARE(countKind(f.surface.ops, RecordedOp::KillDoc), 1);
    QCOMPARE(f.surface.ops.last().kind, RecordedOp::KillDoc);
    QCOMPARE(int(f.failures.size()), failures);
}

// A printer that refuses the millimetre scale or the paper still gets the cards.
void TestPrintouts::postcardPrinterSettingRefused()
{
    for (int failAt : {0, 1, 2, 3}) {
        Fixture f(0);
        addCard(f, u"林"_s, QString(), QString(), QString());
        f.surface.FailAt(failAt);
        f.run(4);
        QVERIFY(f.failures.isEmpty());
        QCOMPARE(f.surface.texts(), (QStringList{u"林"_s, u"     "_s, u"様"_s}));
        QCOMPARE(f.surface.ops.last().kind, RecordedOp::EndDoc);
    }
}

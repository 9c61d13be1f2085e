#include "files/label_sheet.h"
#include "files/label_templates.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

const std::vector<PaperSize> Papers = {
    {u"A4"_s, QSizeF(210, 297)}, {u"A5"_s, QSizeF(148, 210)},         {u"B4"_s, QSizeF(250, 353)},
    {u"B5"_s, QSizeF(176, 250)}, {u"US-Letter"_s, QSizeF(215.9, 279.4)},
};

QByteArray TemplatesFile(const QByteArray &templates)
{
    return "<?xml version=\"1.0\"?>\n<Glabels-templates>\n" + templates + "\n</Glabels-templates>\n";
}

// One template on A4 with the given label element body and attributes.
QByteArray A4(const QByteArray &label, const QByteArray &part = "T1")
{
    return "<Template brand=\"Maker\" part=\"" + part + "\" size=\"A4\" _description=\"Test\">"
           "<Meta category=\"label\"/>" + label + "</Template>";
}

QList<QRectF> Rects(const LabelSheet &sheet)
{
    const std::vector<QRectF> rects = sheet.LabelRects();
    return {rects.begin(), rects.end()};
}

QList<QRectF> Grid(double x0, double y0, double w, double h, int nx, int ny, double dx, double dy)
{
    QList<QRectF> rects;
    for (int iy = 0; iy < ny; ++iy) {
        for (int ix = 0; ix < nx; ++ix)
            rects.append(QRectF(x0 + ix * dx, y0 + iy * dy, w, h));
    }
    return rects;
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestLabelTemplates : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lengths_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("mm");  // negative: unreadable
        QTest::newRow("mm") << u"86.4mm"_s << 86.4;
        QTest::newRow("cm") << u"2.5cm"_s << 25.0;
        QTest::newRow("in") << u"1in"_s << 25.4;
        QTest::newRow("pt") << u"72pt"_s << 25.4;
        QTest::newRow("pica") << u"6pc"_s << 25.4;
        QTest::newRow("bare number is points") << u"72"_s << 25.4;
        QTest::newRow("exponent") << u"3.93386e-16pt"_s << 3.93386e-16 * 25.4 / 72;
        QTest::newRow("blanks around") << u" 5 mm "_s << 5.0;
        QTest::newRow("unit case") << u"5MM"_s << 5.0;
        QTest::newRow("zero") << u"0"_s << 0.0;
        QTest::newRow("negative zero") << u"-0mm"_s << 0.0;
        QTest::newRow("empty") << QString() << -1.0;
        QTest::newRow("unit only") << u"in"_s << -1.0;
        QTest::newRow("unknown unit") << u"5em"_s << -1.0;
        QTest::newRow("negative") << u"-1mm"_s << -1.0;
        QTest::newRow("nan") << u"nan"_s << -1.0;
        QTest::newRow("inf") << u"infmm"_s << -1.0;
        QTest::newRow("overflow by unit") << u"1e308in"_s << -1.0;
        QTest::newRow("comma") << u"1,5mm"_s << -1.0;
        QTest::newRow("two numbers") << u"1 2mm"_s << -1.0;
    }

    void lengths()
    {
        QFETCH(QString, text);
        QFETCH(double, mm);
        const std::optional<double> parsed = ParseLengthMm(text);
        if (mm < 0) {
            QVERIFY2(!parsed, qPrintable(QString::number(parsed.value_or(0))));
        } else {
            QVERIFY(parsed);
            QVERIFY(!std::signbit(*parsed));
            QVERIFY2(std::abs(*parsed - mm) <= 1e-9 * std::max(1.0, mm), qPrintable(QString::number(*parsed)));
        }
    }

    void templates_data()
    {
        QTest::addColumn<QByteArray>("templateXml");
        QTest::addColumn<QString>("paperName");  // empty: the template is not offered
        QTest::addColumn<QSizeF>("paperMm");
        QTest::addColumn<QList<QRectF>>("rects");

        const QSizeF a4(210, 297);
        const QList<QRectF> none;

        // Units of the label and the layout.
        QTest::newRow("mm") << A4(R"(<Label-rectangle id="0" width="86.4mm" height="42.3mm" round="0mm">
              <Layout nx="2" ny="6" x0="18.6mm" y0="21.2mm" dx="86.4mm" dy="42.3mm"/></Label-rectangle>)")
                            << u"A4"_s << a4 << Grid(18.6, 21.2, 86.4, 42.3, 2, 6, 86.4, 42.3);
        QTest::newRow("cm and in") << A4(R"(<Label-rectangle width="7cm" height="1.5in">
              <Layout nx="3" ny="2" x0="0cm" y0="1in" dx="7cm" dy="2in"/></Label-rectangle>)")
                                   << u"A4"_s << a4 << Grid(0, 25.4, 70, 38.1, 3, 2, 70, 50.8);
        QTest::newRow("pt and bare points") << A4(R"(<Label-rectangle width="144pt" height="72">
              <Layout nx="2" ny="1" x0="36" y0="72pt" dx="216"/></Label-rectangle>)")
                                            << u"A4"_s << a4 << Grid(12.7, 25.4, 50.8, 25.4, 2, 1, 76.2, 0);

        // Several layouts: one order across, then down, whatever the layouts' order.
        QTest::newRow("two layouts interleave")
            << A4(R"(<Label-rectangle width="80mm" height="40mm">
                  <Layout nx="1" ny="3" x0="110mm" y0="10mm" dy="50mm"/>
                  <Layout nx="1" ny="3" x0="10mm" y0="10.04mm" dy="50mm"/></Label-rectangle>)")
            << u"A4"_s << a4
            << QList<QRectF>{{10, 10.04, 80, 40}, {110, 10, 80, 40}, {10, 60.04, 80, 40},
                             {110, 60, 80, 40},   {10, 110.04, 80, 40}, {110, 110, 80, 40}};
        QTest::newRow("tops 0.06 apart are two rows")
            << A4(R"(<Label-rectangle width="80mm" height="40mm">
                  <Layout x0="110mm" y0="10mm"/><Layout x0="10mm" y0="10.06mm"/></Label-rectangle>)")
            << u"A4"_s << a4 << QList<QRectF>{{110, 10, 80, 40}, {10, 10.06, 80, 40}};

        // Missing attributes: layouts default, the label's size is required.
        QTest::newRow("layout defaults") << A4(R"(<Label-rectangle width="210mm" height="297mm"><Layout/></Label-rectangle>)")
                                         << u"A4"_s << a4 << QList<QRectF>{{0, 0, 210, 297}};
        QTest::newRow("blank position is zero") << A4(R"(<Label-rectangle width="70mm" height="36mm" round="">
              <Layout nx="3" ny="2" x0="" y0="4.5mm" dx="70mm" dy="36mm"/></Label-rectangle>)")
                                                << u"A4"_s << a4 << Grid(0, 4.5, 70, 36, 3, 2, 70, 36);
        QTest::newRow("no width") << A4(R"(<Label-rectangle height="10mm"><Layout/></Label-rectangle>)") << QString()
                                  << QSizeF() << none;
        QTest::newRow("blank height") << A4(R"(<Label-rectangle width="10mm" height=""><Layout/></Label-rectangle>)")
                                      << QString() << QSizeF() << none;
        QTest::newRow("no layout") << A4(R"(<Label-rectangle width="10mm" height="10mm"/>)") << QString() << QSizeF()
                                   << none;
        QTest::newRow("unreadable round") << A4(R"(<Label-rectangle width="10mm" height="10mm" round="in"><Layout/></Label-rectangle>)")
                                          << QString() << QSizeF() << none;
        QTest::newRow("unreadable count") << A4(R"(<Label-rectangle width="10mm" height="10mm"><Layout nx="2.5"/></Label-rectangle>)")
                                          << QString() << QSizeF() << none;
        QTest::newRow("no part") << QByteArray(R"(<Template brand="Maker" size="A4"><Label-rectangle width="10mm" height="10mm"><Layout/></Label-rectangle></Template>)")
                                 << QString() << QSizeF() << none;

        // Other shapes.
        QTest::newRow("round") << A4(R"(<Label-round radius="20mm"><Layout nx="4" ny="5" dx="50mm" dy="50mm"/></Label-round>)")
                               << QString() << QSizeF() << none;
        QTest::newRow("cd") << A4(R"(<Label-cd radius="58.5mm" hole="11.5mm"><Layout/></Label-cd>)") << QString()
                            << QSizeF() << none;
        QTest::newRow("ellipse") << A4(R"(<Label-ellipse width="80mm" height="40mm"><Layout/></Label-ellipse>)")
                                 << QString() << QSizeF() << none;
        QTest::newRow("continuous") << A4(R"(<Label-continuous width="62mm"><Layout/></Label-continuous>)")
                                    << QString() << QSizeF() << none;
        QTest::newRow("rectangle after a round one") << A4(R"(<Label-round radius="20mm"><Layout/></Label-round>
              <Label-rectangle width="10mm" height="10mm"><Layout/></Label-rectangle>)")
                                                     << QString() << QSizeF() << none;

        // Paper.
        const QByteArray small = R"(<Label-rectangle width="50mm" height="20mm"><Layout nx="1" ny="2" x0="5mm" y0="5mm" dy="25mm"/></Label-rectangle>)";
        const QList<QRectF> smallRects = Grid(5, 5, 50, 20, 1, 2, 0, 25);
        QTest::newRow("A5") << QByteArray(R"(<Template brand="M" part="P" size="A5">)" + small + "</Template>")
                            << u"A5"_s << QSizeF(148, 210) << smallRects;
        QTest::newRow("US Letter") << QByteArray(R"(<Template brand="M" part="P" size="US-Letter">)" + small + "</Template>")
                                   << QString() << QSizeF() << none;
        QTest::newRow("Other 100x148 is a postcard")
            << QByteArray(R"(<Template brand="M" part="P" size="Other" width="100mm" height="148mm">)" + small + "</Template>")
            << u"はがき"_s << QSizeF(100, 148) << smallRects;
        QTest::newRow("Other in points, JIS B5")
            << QByteArray(R"(<Template brand="M" part="P" size="Other" width="515.9pt" height="728.5pt">)" + small + "</Template>")
            << u"B5"_s << QSizeF(182, 257) << smallRects;
        QTest::newRow("Other landscape postcard")
            << QByteArray(R"(<Template brand="M" part="P" size="Other" width="148mm" height="100mm">)" + small + "</Template>")
            << QString() << QSizeF() << none;
        QTest::newRow("Other 1 mm off")
            << QByteArray(R"(<Template brand="M" part="P" size="Other" width="211mm" height="297mm">)" + small + "</Template>")
            << QString() << QSizeF() << none;
        QTest::newRow("unknown id with a size")
            << QByteArray(R"(<Template brand="M" part="P" size="JP-Post" width="100mm" height="148mm">)" + small + "</Template>")
            << u"はがき"_s << QSizeF(100, 148) << smallRects;
        QTest::newRow("unknown id") << QByteArray(R"(<Template brand="M" part="P" size="A6">)" + small + "</Template>")
                                    << QString() << QSizeF() << none;
        QTest::newRow("ISO B4 sheet")
            << QByteArray(R"(<Template brand="M" part="P" size="B4">)" + small + "</Template>") << u"B4"_s
            << QSizeF(250, 353) << smallRects;
        // The database names JIS B4 sheets (257 x 364) by the ISO B4 id.
        QTest::newRow("JIS B4 sheet under the ISO id")
            << QByteArray(R"(<Template brand="M" part="P" size="B4"><Label-rectangle width="42.83333mm" height="91mm">
                  <Layout nx="6" ny="4" dx="42.83333mm" dy="91mm"/></Label-rectangle></Template>)")
            << u"B4"_s << QSizeF(257, 364) << Grid(0, 0, 42.83333, 91, 6, 4, 42.83333, 91);

        // Hostile or wrong numbers.
        QTest::newRow("1000 labels") << A4(R"(<Label-rectangle width="5mm" height="5mm"><Layout nx="25" ny="40" dx="5mm" dy="5mm"/></Label-rectangle>)")
                                     << u"A4"_s << a4 << Grid(0, 0, 5, 5, 25, 40, 5, 5);
        QTest::newRow("1001 labels over two layouts")
            << A4(R"(<Label-rectangle width="5mm" height="5mm"><Layout nx="25" ny="40" dx="5mm" dy="5mm"/>
                  <Layout x0="200mm" y0="200mm"/></Label-rectangle>)")
            << QString() << QSizeF() << none;
        QTest::newRow("count overflow") << A4(R"(<Label-rectangle width="1mm" height="1mm"><Layout nx="2147483647" ny="2147483647"/></Label-rectangle>)")
                                        << QString() << QSizeF() << none;
        QTest::newRow("zero across") << A4(R"(<Label-rectangle width="10mm" height="10mm"><Layout nx="0"/></Label-rectangle>)")
                                     << QString() << QSizeF() << none;
        QTest::newRow("negative down") << A4(R"(<Label-rectangle width="10mm" height="10mm"><Layout ny="-3"/></Label-rectangle>)")
                                       << QString() << QSizeF() << none;
        QTest::newRow("nan width") << A4(R"(<Label-rectangle width="nan" height="10mm"><Layout/></Label-rectangle>)")
                                   << QString() << QSizeF() << none;
        QTest::newRow("infinite pitch") << A4(R"(<Label-rectangle width="10mm" height="10mm"><Layout nx="2" dx="1e308in"/></Label-rectangle>)")
                                        << QString() << QSizeF() << none;
        QTest::newRow("zero width") << A4(R"(<Label-rectangle width="0mm" height="10mm"><Layout/></Label-rectangle>)")
                                    << QString() << QSizeF() << none;
        QTest::newRow("negative position") << A4(R"(<Label-rectangle width="10mm" height="10mm"><Layout x0="-5mm"/></Label-rectangle>)")
                                           << QString() << QSizeF() << none;
        QTest::newRow("1 mm off the paper") << A4(R"(<Label-rectangle width="106mm" height="100mm"><Layout nx="2" x0="0mm" dx="105mm"/></Label-rectangle>)")
                                            << u"A4"_s << a4 << Grid(0, 0, 106, 100, 2, 1, 105, 0);
        QTest::newRow("more than 1 mm off the paper")
            << A4(R"(<Label-rectangle width="63mm" height="120mm"><Layout nx="2" ny="4" x0="10.5mm" y0="23.5mm" dx="63mm" dy="130mm"/></Label-rectangle>)")
            << QString() << QSizeF() << none;
        QTest::newRow("labels on top of each other")
            << A4(R"(<Label-rectangle width="50mm" height="20mm"><Layout nx="3" ny="2" dy="20mm"/></Label-rectangle>)")
            << QString() << QSizeF() << none;
        QTest::newRow("second layout over the first")
            << A4(R"(<Label-rectangle width="50mm" height="20mm"><Layout nx="2" dx="50mm"/><Layout x0="30mm" y0="10mm"/></Label-rectangle>)")
            << QString() << QSizeF() << none;
        QTest::newRow("rounding overlap of 1 mm")
            << A4(R"(<Label-rectangle width="20mm" height="24mm"><Layout nx="6" ny="10" x0="30mm" y0="15mm" dx="26mm" dy="23mm"/></Label-rectangle>)")
            << u"A4"_s << a4 << Grid(30, 15, 20, 24, 6, 10, 26, 23);
    }

    void templates()
    {
        QFETCH(QByteArray, templateXml);
        QFETCH(QString, paperName);
        QFETCH(QSizeF, paperMm);
        QFETCH(QList<QRectF>, rects);

        const LabelTemplateFile file = ReadLabelTemplates(TemplatesFile(templateXml), Papers);
        QVERIFY2(!file.broken, qPrintable(file.error));
        if (paperName.isEmpty()) {
            QCOMPARE(file.sheets.size(), size_t(0));
            QCOMPARE(file.skipped, 1);
            return;
        }
        QCOMPARE(file.skipped, 0);
        QCOMPARE(file.sheets.size(), size_t(1));
        const LabelSheet &sheet = file.sheets.front();
        QCOMPARE(sheet.paperName, paperName);
        QCOMPARE(sheet.paperMm, paperMm);
        QCOMPARE(sheet.LabelCount(), int(rects.size()));
        QCOMPARE(Rects(sheet), rects);
    }

    void sheetDetails()
    {
        const LabelTemplateFile file = ReadLabelTemplates(TemplatesFile(R"(
            <Template brand="Maker" part="M1" size="A4" description="Plain attribute">
              <Label-rectangle width="40mm" height="20mm" round="50mm" x_waste="1mm" y_waste="bad">
                <Markup-line x1="0" y1="0" x2="1" y2="1"/>
                <Markup-margin size="5"/>
                <Markup-margin size="8mm"/>
                <Layout nx="2" dx="50mm"/>
              </Label-rectangle>
            </Template>
            <Template brand="Maker" part="M2" size="A4">
              <Label-rectangle width="40mm" height="20mm"><Markup-margin size="10mm"/><Layout/></Label-rectangle>
            </Template>
            <Template brand="Maker" part="M3" size="A4">
              <Label-rectangle width="40mm" height="20mm"><Markup-margin size="wide"/><Layout/></Label-rectangle>
            </Template>)"),
                                                           Papers);
        QCOMPARE(file.sheets.size(), size_t(1));
        // The margin nothing fits inside and the unreadable one are not offered.
        QCOMPARE(file.skipped, 2);
        const LabelSheet &sheet = file.sheets.front();
        QCOMPARE(sheet.description, u"Plain attribute"_s);
        QCOMPARE(sheet.marginMm, 5 * 25.4 / 72);
        // Too round a corner is a half-circle end.
        QCOMPARE(sheet.roundMm, 10.0);
    }

    void positionsAndCaption()
    {
        LabelSheet sheet;
        sheet.brand = u"Maker"_s;
        sheet.part = u"OP3102"_s;
        sheet.widthMm = 86.4;
        sheet.heightMm = 42.3;
        // Two columns as two layouts, the right one listed first.
        sheet.layouts = {{1, 6, 105, 21.2, 0, 42.3}, {1, 6, 18.6, 21.2, 0, 42.3}};
        QCOMPARE(sheet.LabelCount(), 12);
        QCOMPARE(sheet.RowColumnOf(1), QPoint(1, 1));
        QCOMPARE(sheet.RowColumnOf(2), QPoint(2, 1));
        QCOMPARE(sheet.RowColumnOf(3), QPoint(1, 2));
        QCOMPARE(sheet.RowColumnOf(12), QPoint(2, 6));
        QCOMPARE(sheet.RowColumnOf(0), QPoint());
        QCOMPARE(sheet.RowColumnOf(13), QPoint());
        QCOMPARE(sheet.LabelRects().at(2), QRectF(18.6, 21.2 + 42.3, 86.4, 42.3));
        QCOMPARE(sheet.Caption(), u"Maker OP3102（12面・86.4×42.3mm）"_s);

        sheet.widthMm = 42.83333;
        sheet.heightMm = 91;
        QCOMPARE(sheet.Caption(), u"Maker OP3102（12面・42.8×91mm）"_s);
        sheet.widthMm = 69.96;
        QCOMPARE(sheet.Caption(), u"Maker OP3102（12面・70×91mm）"_s);
    }

    void equivalents()
    {
        const QByteArray sheets = R"(
            <Template brand="Maker" part="A10" size="A4" _description="Ten">
              <Label-rectangle width="100mm" height="50mm"><Layout nx="2" ny="5" dx="100mm" dy="50mm"/></Label-rectangle>
            </Template>
            <Template brand="Maker" part="BAD" size="US-Letter" _description="Letter">
              <Label-rectangle width="100mm" height="50mm"><Layout/></Label-rectangle>
            </Template>
            <Template brand="Other" part="A2" size="A4" _description="Two">
              <Label-rectangle width="100mm" height="50mm"><Layout nx="2" dx="100mm"/></Label-rectangle>
            </Template>
            <Template brand="Maker" part="A2" size="A4" _description="Two here">
              <Label-rectangle width="100mm" height="50mm"><Layout nx="2" dx="100mm"/></Label-rectangle>
            </Template>)";
        const QByteArray equivalents = R"(
            <Template brand="Maker" part="E1" equiv="A10"><Meta product_url="x"/></Template>
            <Template brand="Maker" part="E2" equiv="E1" _description="Own words"/>
            <Template brand="Maker" part="E3" equiv="BAD"/>
            <Template brand="Maker" part="E4" equiv="E5"/>
            <Template brand="Maker" part="E5" equiv="E4"/>
            <Template brand="Maker" part="E6" equiv="E6"/>
            <Template brand="Third" part="E7" equiv="A2"/>
            <Template brand="Maker" part="A2" equiv="A10"/>
            <Template brand="Maker" part="E1" equiv="A2"/>)";
        // Equivalents may come before the sheet they name, in another file.
        const LabelSheetDatabase database = LabelSheetDatabase::FromFiles(
            {ReadLabelTemplates(TemplatesFile(equivalents), Papers), ReadLabelTemplates(TemplatesFile(sheets), Papers)});

        QStringList names;
        for (const LabelSheet &sheet : database.Sheets())
            names.append(sheet.brand + u' ' + sheet.part);
        // Natural order: A2 before A10.
        QCOMPARE(names, (QStringList{u"Maker A2"_s, u"Maker A10"_s, u"Maker E1"_s, u"Maker E2"_s, u"Other A2"_s}));

        const LabelSheet *e1 = database.Find(u"Maker"_s, u"E1"_s);
        QVERIFY(e1);
        QCOMPARE(e1->description, u"Ten"_s);
        QCOMPARE(e1->LabelCount(), 10);
        QCOMPARE(Rects(*e1), Rects(*database.Find(u"Maker"_s, u"A10"_s)));
        const LabelSheet *e2 = database.Find(u"Maker"_s, u"E2"_s);
        QVERIFY(e2);
        QCOMPARE(e2->description, u"Own words"_s);
        QCOMPARE(e2->LabelCount(), 10);
        // The sheet of its own wins over an equivalent of the same name.
        QCOMPARE(database.Find(u"Maker"_s, u"A2"_s)->LabelCount(), 2);
        QCOMPARE(database.Find(u"Maker"_s, u"A2"_s)->description, u"Two here"_s);
        QVERIFY(!database.Find(u"Maker"_s, u"E3"_s));
        QVERIFY(!database.Find(u"Third"_s, u"E7"_s));
        QVERIFY(!database.Find(u"maker"_s, u"A2"_s));
        // BAD; E3 to it; the loop E4, E5; E6 to itself; E7 of another maker;
        // the second A2 and the second E1.
        QCOMPARE(database.SkippedTemplates(), 1 + 1 + 2 + 1 + 1 + 2);
    }

    void brokenFiles_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<bool>("broken");

        const QByteArray kept = R"(<?xml version="1.0"?><Glabels-templates>
            <Template brand="M" part="K1" size="A5"><Label-rectangle width="148mm" height="105mm"><Layout ny="2" dy="105mm"/></Label-rectangle></Template>
            <Template brand="M" part="K2" size="A4"><Label-rectangle width="10mm" height="10mm">)";
        QTest::newRow("cut in a template") << kept + "<Layout nx=\"2" << QStringList{u"K1"_s} << true;
        QTest::newRow("cut after a layout") << kept + "<Layout/></Label-rectangle>" << QStringList{u"K1"_s} << true;
        QTest::newRow("mismatched tags") << kept + "</Template>" << QStringList{u"K1"_s} << true;
        QTest::newRow("garbage after the root") << TemplatesFile(A4(R"(<Label-rectangle width="10mm" height="10mm"><Layout/></Label-rectangle>)")) + "<x/>"
                                                << QStringList{u"T1"_s} << true;
        QTest::newRow("empty") << QByteArray() << QStringList() << true;
        QTest::newRow("not XML") << QByteArray("\xff\xfe\x00<") << QStringList() << true;
        QTest::newRow("undefined entity") << QByteArray(R"(<Glabels-templates><Template brand="&x;" part="P"/></Glabels-templates>)")
                                          << QStringList() << true;
        QTest::newRow("another root") << QByteArray("<Glabels-paper-sizes/>") << QStringList() << false;
    }

    void brokenFiles()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QStringList, parts);
        QFETCH(bool, broken);
        const LabelTemplateFile file = ReadLabelTemplates(xml, Papers);
        QStringList read;
        for (const LabelSheet &sheet : file.sheets)
            read.append(sheet.part);
        QCOMPARE(read, parts);
        QCOMPARE(file.broken, broken);
        QVERIFY(!file.error.isEmpty());
        QCOMPARE(file.skipped, 0);
    }

    void entityExpansionDoesNotBlowUp()
    {
        QByteArray xml = "<?xml version=\"1.0\"?><!DOCTYPE g [<!ENTITY a0 \"aaaaaaaaaa\">";
        for (int i = 1; i < 12; ++i)
            xml += "<!ENTITY a" + QByteArray::number(i) + " \"" + QByteArray("&a" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
        xml += "]><Glabels-templates><Template brand=\"&a11;\" part=\"P\"/></Glabels-templates>";
        QElapsedTimer timer;
        timer.start();
        const LabelTemplateFile file = ReadLabelTemplates(xml, Papers);
        QVERIFY(file.sheets.empty());
        QVERIFY(timer.elapsed() < 2000);
    }

    void paperSizes()
    {
        const std::vector<PaperSize> papers = ReadPaperSizes(R"(<?xml version="1.0"?>
            <Glabels-paper-sizes>
              <Paper-size id="A4" _name="A4" width="210mm" height="297mm"/>
              <Paper-size id="US-Letter" width="8.5in" height="11in"/>
              <Paper-size id="Bad" width="-1mm" height="11in"/>
              <Paper-size id="" width="1mm" height="1mm"/>
              <Paper-size id="Cut" width="1mm")");
        QCOMPARE(papers.size(), size_t(2));
        QCOMPARE(papers[0].id, u"A4"_s);
        QCOMPARE(papers[0].mm, QSizeF(210, 297));
        QCOMPARE(papers[1].mm, QSizeF(215.9, 279.4));
        QVERIFY(ReadPaperSizes("<Glabels-templates/>").empty());
    }

    void loadFolders()
    {
        QTemporaryDir user, system;
        QVERIFY(user.isValid() && system.isValid());
        const QByteArray b5 = R"(<Template brand="M" part="B" size="Other" width="182mm" height="257mm">
            <Label-rectangle width="91mm" height="257mm"><Layout nx="2" dx="91mm"/></Label-rectangle></Template>)";
        const QByteArray b4 = R"(<Template brand="M" part="B4" size="B4">
            <Label-rectangle width="50mm" height="50mm"><Layout/></Label-rectangle></Template>)";
        QVERIFY(WriteFile(user.filePath(u"mine-templates.xml"_s), TemplatesFile(A4(R"(<Label-rectangle width="210mm" height="297mm"><Layout/></Label-rectangle>)", "X") + b4)));
        QVERIFY(WriteFile(system.filePath(u"maker-templates.xml"_s), TemplatesFile(A4(R"(<Label-rectangle width="105mm" height="297mm"><Layout nx="2" dx="105mm"/></Label-rectangle>)", "X") + b5)));
        QVERIFY(WriteFile(system.filePath(u"cut-templates.xml"_s), "<Glabels-templates><Template"));
        QVERIFY(WriteFile(system.filePath(u"vendors.xml"_s), TemplatesFile(A4(R"(<Label-rectangle width="1mm" height="1mm"><Layout/></Label-rectangle>)", "V"))));

        // No paper list anywhere: A4 and A5 only, so the B4 id is unknown.
        const LabelSheetDatabase database = LabelSheetDatabase::Load({user.path(), system.path()});
        QCOMPARE(database.FilesRead(), 3);
        QCOMPARE(database.BrokenFiles(), 1);
        QCOMPARE(database.Sheets().size(), size_t(2));
        QCOMPARE(database.Find(u"Maker"_s, u"X"_s)->LabelCount(), 1);  // the first folder's wins
        QCOMPARE(database.Find(u"M"_s, u"B"_s)->paperName, u"B5"_s);
        QVERIFY(!database.Find(u"M"_s, u"B4"_s));
        QVERIFY(!database.Find(u"Maker"_s, u"V"_s));
        QVERIFY(database.LoadMs() >= 0);

        // With the paper list the B4 id resolves.
        QVERIFY(WriteFile(system.filePath(u"paper-sizes.xml"_s), R"(<Glabels-paper-sizes>
            <Paper-size id="A4" width="210mm" height="297mm"/><Paper-size id="B4" width="250mm" height="353mm"/>
            </Glabels-paper-sizes>)"));
        const LabelSheetDatabase withPapers = LabelSheetDatabase::Load({user.path(), system.path()});
        QVERIFY(withPapers.Find(u"M"_s, u"B4"_s));
        QCOMPARE(withPapers.Find(u"M"_s, u"B4"_s)->paperMm, QSizeF(250, 353));

        const LabelSheetDatabase nothing = LabelSheetDatabase::Load({user.filePath(u"missing"_s)});
        QVERIFY(nothing.Sheets().empty());
        QCOMPARE(nothing.FilesRead(), 0);
    }

    void systemDatabase()
    {
        if (LabelSheetDatabase::SystemFolders().isEmpty())
            QSKIP("The label-sheet database (glabels-data) is not installed.");
        const LabelSheetDatabase &database = LabelSheetDatabase::System();
        QCOMPARE(&LabelSheetDatabase::System(), &database);
        qInfo("%d files (%d broken), %zu sheets offered, %d templates not offered, %.1f ms", database.FilesRead(),
              database.BrokenFiles(), database.Sheets().size(), database.SkippedTemplates(), database.LoadMs());
        QVERIFY(database.FilesRead() > 0);
        QCOMPARE(database.BrokenFiles(), 0);

        int hisago = 0;
        const LabelSheet *twelve = nullptr;
        const LabelSheet *twentyFour = nullptr;
        for (const LabelSheet &sheet : database.Sheets()) {
            QVERIFY(sheet.LabelCount() >= 1 && sheet.LabelCount() <= 1000);
            QCOMPARE(database.Find(sheet.brand, sheet.part), &sheet);
            if (sheet.brand != u"Hisago"_s)
                continue;
            ++hisago;
            if (sheet.paperName == u"A4"_s && sheet.LabelCount() == 12 && !twelve)
                twelve = &sheet;
            if (sheet.paperName == u"A4"_s && sheet.LabelCount() == 24 && !twentyFour)
                twentyFour = &sheet;
        }
        qInfo("Hisago: %d sheets", hisago);
        QVERIFY2(hisago >= 180 && hisago <= 230, qPrintable(QString::number(hisago)));
        QVERIFY(twelve && twentyFour);
        for (const LabelSheet *sheet : {twelve, twentyFour}) {
            qInfo() << sheet->Caption() << sheet->description << "paper" << sheet->paperName << sheet->paperMm
                    << "round" << sheet->roundMm << "margin" << sheet->marginMm;
            for (const QRectF &r : sheet->LabelRects())
                qInfo() << "  " << r;
        }
    }
};

QTEST_GUILESS_MAIN(TestLabelTemplates)
#include "test_label_templates.moc"

#include "print/printout_kinds.h"

#include "print/print_run_state.h"
#include "print/print_surface.h"
#include "print/printer_setup.h"
#include "print/printouts.h"

#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

const std::vector<PrintoutKind> &PrintoutKinds()
{
    static const KindPaper a4Landscape = {ScaleTwips, PaperA4, OrientationLandscape};
    static const KindPaper a4Portrait = {ScaleTwips, PaperA4, OrientationPortrait};
    static const KindPaper postcard = {ScaleMillimetres, PaperUser, OrientationPortrait, PostcardWidthTwips,
                                       PostcardHeightTwips};
    static const std::vector<PrintoutKind> kinds = {
        // The page number is centred under the table frame (300 + 15200 / 2), 750 below it.
        {1, u"一覧印刷"_s, u"一覧印刷"_s, u"一覧形式"_s, a4Landscape,
         PageHeaderLayout{u"住所録一覧表"_s, 300, u" 発行"_s, QPointF(7900, 11100)}, false, PrintAddressList, DrawAddressListGuide},
        {2, u"宛名ラベル"_s, u"宛名ラベル"_s, u"宛名ラベル"_s, a4Portrait,
         PageHeaderLayout{u"宛名ラベル"_s, 400, u" 発行"_s, QPointF(5590, 15800)}, false, PrintAddressLabels, DrawAddressLabelsGuide},
        {3, u"電話番号"_s, u"電話番号"_s, u"氏名と電話番号"_s, a4Landscape,
         PageHeaderLayout{u"電話番号一覧表"_s, 400, u"\u3000発行"_s, QPointF(7440, 11100)}, false, PrintPhoneList, DrawPhoneListGuide},
        {4, u"はがき(表)"_s, u"はがき表"_s, u"ハガキ(表)"_s, postcard, std::nullopt, true, PrintPostcards, DrawPostcardGuide},
    };
    return kinds;
}

const PrintoutKind *FindPrintoutKind(int kind)
{
    for (const PrintoutKind &k : PrintoutKinds()) {
        if (k.kind == kind)
            return &k;
    }
    return nullptr;
}

QString PrintDocumentTitle(const PrintoutKind &kind, const QString &bookFileName)
{
    const QString title = kind.header ? kind.header->title : kind.name;
    const QString file = bookFileName.isEmpty() ? u"無題"_s : QFileInfo(bookFileName).fileName();
    return title + u" - "_s + file;
}

KindPaper LabelSheetPaper(const LabelSheet &sheet)
{
    if (sheet.paperName == u"A4"_s)
        return {ScaleTwips, PaperA4, OrientationPortrait};
    return {ScaleTwips, PaperUser, OrientationPortrait, qRound(sheet.paperMm.width() * 1440 / 25.4),
            qRound(sheet.paperMm.height() * 1440 / 25.4)};
}

KindPaper PaperOfRun(const PrintoutKind &kind, const LabelRunChoice &labels)
{
    if (kind.kind == 2 && labels.Sheet)
        return LabelSheetPaper(*labels.Sheet);
    return kind.paper;
}

void ApplyKindPaper(PrinterSetup &printer, const KindPaper &paper)
{
    printer.ScaleMode = paper.scaleMode;
    printer.PaperSize = paper.paperSize;
    printer.Orientation = paper.orientation;
    if (paper.paperSize == PaperUser) {
        printer.PaperWidthTwips = paper.widthTwips;
        printer.PaperHeightTwips = paper.heightTwips;
    }
}

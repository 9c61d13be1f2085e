#include "print/printer_surface.h"

#include "model/app_error.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>

using namespace Qt::Literals::StringLiterals;

namespace {

std::unique_ptr<QPrinter> MakePrinter(const PrinterSetup &setup, bool toPdf)
{
    if (toPdf)
        return std::make_unique<QPrinter>(QPrinter::HighResolution);
    const QPrinterInfo info = setup.Name.isEmpty() ? QPrinterInfo::defaultPrinter()
                                                   : QPrinterInfo::printerInfo(setup.Name);
    // A printer chosen earlier and removed since: QPrinter would quietly take
    // the default printer; activePainter() says so instead.
    if (info.isNull())
        return std::make_unique<QPrinter>(QPrinter::HighResolution);
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

} // namespace

PrinterSurface::PrinterSurface(PrinterSetup &setup, const QString &documentName, const QString &pdfFile)
    : PainterSurface(setup.ScaleMode), m_setup(setup), m_printer(MakePrinter(setup, !pdfFile.isEmpty())),
      m_toPdf(!pdfFile.isEmpty())
{
    if (!m_toPdf && !setup.Name.isEmpty() && QPrinterInfo::printerInfo(setup.Name).isNull())
        m_missingPrinter = setup.Name;
    m_printer->setDocName(documentName);
    m_printer->setFullPage(false);
    if (m_toPdf) {
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(pdfFile);
    }
    applyPageLayout();
}

PrinterSurface::~PrinterSurface()
{
    // A job that was neither ended nor killed is not printed half-done.
    if (m_painter.isActive()) {
        m_printer->abort();
        m_painter.end();
    }
}

void PrinterSurface::applyPageLayout()
{
    if (m_setup.PaperSize == PaperUser && m_setup.PaperWidthTwips > 0 && m_setup.PaperHeightTwips > 0) {
        const QSizeF inches(m_setup.PaperWidthTwips / 1440.0, m_setup.PaperHeightTwips / 1440.0);
        m_printer->setPageSize(QPageSize(inches, QPageSize::Inch, QString(), QPageSize::ExactMatch));
    } else if (m_setup.PaperSize == PaperA4) {
        m_printer->setPageSize(QPageSize(QPageSize::A4));
    }
    m_printer->setPageOrientation(m_setup.Orientation == OrientationLandscape ? QPageLayout::Landscape
                                                                              : QPageLayout::Portrait);
}

void PrinterSurface::SetScaleMode(int mode)
{
    m_setup.ScaleMode = mode;
    setScaleModeValue(mode);
}

void PrinterSurface::SetPaperSize(int code)
{
    m_setup.PaperSize = code;
    applyPageLayout();
}

void PrinterSurface::SetOrientation(int code)
{
    m_setup.Orientation = code;
    applyPageLayout();
}

void PrinterSurface::SetPrintQuality(int code)
{
    // The printer already draws at its highest resolution.
    m_setup.PrintQuality = code;
}

QPainter &PrinterSurface::activePainter()
{
    if (m_painter.isActive())
        return m_painter;
    if (!m_toPdf && QPrinterInfo::availablePrinters().isEmpty())
        throw AppError(u"プリンタがインストールされていません。\nプリンタを追加してから印刷して下さい。"_s);
    if (!m_missingPrinter.isEmpty())
        throw AppError(u"プリンタ「%1」が見つかりません。\nプリンタを選択し直して下さい。"_s.arg(m_missingPrinter));
    if (!m_printer->isValid() || !m_painter.begin(m_printer.get()))
        throw AppError(u"プリンタ「%1」で印刷を開始できませんでした。"_s.arg(m_printer->printerName()));
    ScaleToTwips(m_painter);
    return m_painter;
}

void PrinterSurface::NewPage()
{
    QPainter &painter = activePainter();
    Q_UNUSED(painter);
    if (!m_printer->newPage())
        throw AppError(u"次のページを始められませんでした。"_s);
}

void PrinterSurface::EndDoc()
{
    if (!m_painter.isActive())
        return;
    m_painter.end();
    if (m_printer->printerState() == QPrinter::Error)
        throw AppError(u"印刷データをプリンタに送れませんでした。"_s);
}

void PrinterSurface::KillDoc()
{
    if (!m_painter.isActive())
        return;
    m_printer->abort();
    m_painter.end();
}

namespace PrinterSurfaces {

namespace {
Factory &CurrentFactory()
{
    static Factory factory;
    return factory;
}
} // namespace

std::unique_ptr<PrintSurface> Create(PrinterSetup &setup, const QString &documentName)
{
    if (const Factory &f = CurrentFactory())
        return f(setup, documentName);
    return std::make_unique<PrinterSurface>(setup, documentName);
}

void SetFactory(Factory factory) { CurrentFactory() = std::move(factory); }

} // namespace PrinterSurfaces

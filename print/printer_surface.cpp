#include "print/printer_surface.h"

#include "model/app_error.h"
#include "print/printers.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// Dots of a printer that does not say (a PDF queue, a PDF file).
constexpr int kDefaultPrinterDpi = 600;

double PointsPerUnit(QPageLayout::Unit unit)
{
    switch (unit) {
    case QPageLayout::Millimeter: return 72 / 25.4;
    case QPageLayout::Inch: return 72;
    case QPageLayout::Pica: return 12;
    case QPageLayout::Didot: return 1.06574;
    case QPageLayout::Cicero: return 12.7889;
    case QPageLayout::Point: break;
    }
    return 1;
}

void ApplySetup(QPrinter &printer, const PrinterSetup &setup)
{
    if (setup.PaperSize == PaperUser && setup.PaperWidthTwips > 0 && setup.PaperHeightTwips > 0) {
        const QSizeF inches(setup.PaperWidthTwips / 1440.0, setup.PaperHeightTwips / 1440.0);
        printer.setPageSize(QPageSize(inches, QPageSize::Inch, QString(), QPageSize::ExactMatch));
    } else if (setup.PaperSize == PaperA4) {
        printer.setPageSize(QPageSize(QPageSize::A4));
    }
    printer.setPageOrientation(setup.Orientation == OrientationLandscape ? QPageLayout::Landscape
                                                                         : QPageLayout::Portrait);
}

} // namespace

PrinterSurface::PrinterSurface(PrinterSetup &setup, const QString &documentName, const QString &pdfFile)
    : PainterSurface(setup.ScaleMode), m_setup(setup), m_documentName(documentName),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)), m_toPdf(!pdfFile.isEmpty())
{
    if (!m_toPdf) {
        // The printer the choice window shows: the chosen one, the default,
        // or the first installed.
        const QPrinterInfo info = QPrinterInfo::printerInfo(Printers::PrinterForPrint(setup.Name));
        // A printer chosen earlier and removed since: QPrinter would quietly
        // take the default printer; activePainter() says so instead.
        if (!setup.Name.isEmpty() && info.isNull())
            m_missingPrinter = setup.Name;
        m_device = info.isNull() ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                                 : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        m_device->setFullPage(false);
    }
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setDocName(documentName);
    m_printer->setFullPage(false);
    if (m_toPdf)
        m_pdfTarget = pdfFile;
    else
        // Drawn at the printer's own resolution, the spool matches what the
        // printer would have been given directly.
        m_printer->setResolution(m_device->resolution());
    const int printerDpi = m_toPdf ? 0 : Printers::DefaultResolutionDpi(m_device->printerName());
    setDeviceDotsPerDot(double(m_printer->resolution()) / (printerDpi > 0 ? printerDpi : kDefaultPrinterDpi));
    applyPageLayout();
}

PrinterSurface::~PrinterSurface()
{
    // A job that was neither ended nor killed is not printed half-done.
    if (m_painter.isActive()) {
        if (m_toPdf)
            m_printer->abort();
        m_painter.end();
    }
    discardSpool();
    discardPartialPdf();
}

void PrinterSurface::discardPartialPdf()
{
    if (!m_partialPdf.isEmpty())
        QFile::remove(std::exchange(m_partialPdf, QString()));
}

void PrinterSurface::applyPageLayout()
{
    // The spool PDF is the whole sheet, without margins, and the drawing is
    // moved to the corner of the printable area the printer reports. Qt's
    // own margins would not do: every layout starts with 10 pt of them, a
    // new paper size only ever raises them, and the PDF engine rounds them
    // to whole points (5 mm would land at 4.93).
    QPrinter &layoutSource = m_toPdf ? *m_printer : *m_device;
    ApplySetup(layoutSource, m_setup);
    const QPageLayout printer = layoutSource.pageLayout();
    const QMarginsF printable = m_toPdf ? QMarginsF() : printer.minimumMargins();
    m_printableOriginPt = QPointF(printable.left(), printable.top()) * PointsPerUnit(printer.units());
    m_printer->setPageLayout(QPageLayout(printer.pageSize(), printer.orientation(), QMarginsF(), QPageLayout::Point));
    m_printer->setFullPage(true);
}

QPointF PrinterSurface::PrintableOriginMm() const { return m_printableOriginPt * (25.4 / 72); }

void PrinterSurface::discardSpool()
{
    // The printer keeps the file's name only; the file itself is closed.
    m_spool.reset();
}

void PrinterSurface::SetScaleMode(int mode)
{
    m_setup.ScaleMode = mode;
    setScaleModeValue(mode);
}

void PrinterSurface::SetPaperSize(int code)
{
    m_setup.PaperSize = code;
    // Without a size given yet, the user-defined paper is the postcard.
    if (code == PaperUser && (m_setup.PaperWidthTwips <= 0 || m_setup.PaperHeightTwips <= 0)) {
        m_setup.PaperWidthTwips = PostcardWidthTwips;
        m_setup.PaperHeightTwips = PostcardHeightTwips;
    }
    applyPageLayout();
}

void PrinterSurface::SetUserPaperSize(int widthTwips, int heightTwips)
{
    m_setup.PaperWidthTwips = widthTwips;
    m_setup.PaperHeightTwips = heightTwips;
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
    if (m_toPdf) {
        // The pages go to a file beside the PDF and replace it only once
        // whole: a failed run leaves the old file, or none, never half of one.
        const QFileInfo target(m_pdfTarget);
        QTemporaryFile partial(target.dir().filePath(u"."_s + target.fileName() + u".XXXXXX"_s));
        partial.setAutoRemove(false);
        if (!partial.open())
            throw AppError(u"PDFファイル「%1」を作れませんでした。\n%2"_s.arg(m_pdfTarget, partial.errorString()));
        m_partialPdf = partial.fileName();
        partial.close();
        m_printer->setOutputFileName(m_partialPdf);
        if (!m_printer->isValid() || !m_painter.begin(m_printer.get())) {
            discardPartialPdf();
            throw AppError(u"PDFファイル「%1」に書き込めませんでした。"_s.arg(m_pdfTarget));
        }
        beginDrawing();
        return m_painter;
    }
    if (QPrinterInfo::availablePrinters().isEmpty())
        throw AppError(u"プリンタがインストールされていません。\nプリンタを追加してから印刷して下さい。"_s);
    if (!m_missingPrinter.isEmpty())
        throw AppError(u"プリンタ「%1」が見つかりません。\nプリンタを選択し直して下さい。"_s.arg(m_missingPrinter));
    if (!m_device->isValid() || m_device->outputFormat() != QPrinter::NativeFormat
        || m_device->printerName().isEmpty())
        throw AppError(u"プリンタ「%1」で印刷を開始できませんでした。"_s.arg(m_device->printerName()));
    m_spool = std::make_unique<QTemporaryDir>();
    if (!m_spool->isValid()) {
        const QString reason = m_spool->errorString();
        m_spool.reset();
        throw AppError(u"プリンタ「%1」で印刷を開始できませんでした。\n印刷データの一時フォルダを作れません: %2"_s
                           .arg(m_device->printerName(), reason));
    }
    m_printer->setOutputFileName(m_spool->filePath(u"job.pdf"_s));
    if (!m_painter.begin(m_printer.get())) {
        discardSpool();
        throw AppError(u"プリンタ「%1」で印刷を開始できませんでした。"_s.arg(m_device->printerName()));
    }
    beginDrawing();
    return m_painter;
}

void PrinterSurface::beginDrawing()
{
    m_pagesBegun = 1;
    ScaleToTwips(m_painter);
    // Twips from here on: 20 to the point.
    m_painter.translate(m_printableOriginPt * 20);
}

void PrinterSurface::NewPage()
{
    activePainter();
    flushText();
    if (!m_printer->newPage())
        throw AppError(m_toPdf ? u"PDFファイル「%1」に書き込めませんでした。\nディスクの空きを確かめて下さい。"_s.arg(m_pdfTarget)
                               : u"次のページを始められませんでした。"_s);
    ++m_pagesBegun;
}

void PrinterSurface::EndDoc()
{
    if (!m_painter.isActive())
        return;
    flushText();
    m_painter.end();
    if (m_toPdf) {
        finishPdf();
        return;
    }
    // The spool goes whatever happens: a failed job is reported, not retried.
    const auto discard = qScopeGuard([this] { discardSpool(); });
    const QString printerName = m_device->printerName();
    if (m_printer->printerState() == QPrinter::Error)
        throw AppError(u"プリンタ「%1」に送る印刷データを作れませんでした。"_s.arg(printerName));
    const QString failure = Printers::SubmitPdf(printerName, m_printer->outputFileName(), m_documentName,
                                                m_printer->pageLayout().pageSize().key());
    if (!failure.isEmpty())
        throw AppError(u"印刷データをプリンタ「%1」に送れませんでした。\n%2"_s.arg(printerName, failure));
}

void PrinterSurface::finishPdf()
{
    const auto discard = qScopeGuard([this] { discardPartialPdf(); });
    // Qt's PDF writer does not report a short write (a full disk): a whole
    // file ends with its end-of-file mark.
    QFile written(m_partialPdf);
    bool whole = m_printer->printerState() != QPrinter::Error && written.open(QIODevice::ReadOnly)
                 && written.size() > 32;
    if (whole) {
        written.seek(written.size() - 32);
        whole = written.read(32).contains("%%EOF");
    }
    written.close();
    if (!whole)
        throw AppError(u"PDFファイル「%1」に書き込めませんでした。\nディスクの空きを確かめて下さい。"_s.arg(m_pdfTarget));
    // The file gets the modes of the one it replaces, or of any new file
    // (the temporary one was made for this user's eyes only).
    if (QFile::exists(m_pdfTarget)) {
        QFile::setPermissions(m_partialPdf, QFile::permissions(m_pdfTarget));
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::chmod(QFile::encodeName(m_partialPdf).constData(), 0666 & ~mask);
    }
    // rename(2) replaces the old file in one step.
    if (::rename(QFile::encodeName(m_partialPdf).constData(), QFile::encodeName(m_pdfTarget).constData()) != 0)
        throw AppError(u"PDFファイル「%1」に書き込めませんでした。\n%2"_s.arg(m_pdfTarget,
                                                                      QString::fromLocal8Bit(std::strerror(errno))));
    m_partialPdf.clear();
}

void PrinterSurface::KillDoc()
{
    if (m_painter.isActive()) {
        if (m_toPdf)
            m_printer->abort();
        m_painter.end();
    }
    discardSpool();
    discardPartialPdf();
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
    if (setup.ToPdfFile)
        return std::make_unique<PrinterSurface>(setup, documentName, setup.PdfFileName);
    return std::make_unique<PrinterSurface>(setup, documentName);
}

void SetFactory(Factory factory) { CurrentFactory() = std::move(factory); }

} // namespace PrinterSurfaces

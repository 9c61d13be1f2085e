#pragma once

#include "print/painter_surface.h"
#include "print/printer_setup.h"

#include <QPrinter>
#include <QTemporaryDir>
#include <functional>
#include <memory>

// The application's current printer as a print surface. The job starts with
// the first drawing after the page set-up. The pages go to a PDF spool file
// laid out like the printer's own pages (paper, orientation, margins); only
// EndDoc hands that file to the CUPS queue, so KillDoc, or a surface dropped
// without EndDoc, prints nothing (Qt's CUPS engine cannot abort a job: ending
// its painter always prints). The page set-up is written back to the shared
// PrinterSetup, so it stays for later runs.
class PrinterSurface : public PainterSurface {
public:
    // pdfFile: print into that PDF file instead of the printer, on the
    // paper of the printout without margins. The file is replaced only by a
    // whole document (EndDoc); a failed or killed run leaves it as it was.
    PrinterSurface(PrinterSetup &setup, const QString &documentName, const QString &pdfFile = {});
    ~PrinterSurface() override;

    void SetScaleMode(int mode) override;
    void SetPaperSize(int code) override;
    void SetUserPaperSize(int widthTwips, int heightTwips) override;
    void SetOrientation(int code) override;
    void SetPrintQuality(int code) override;
    void NewPage() override;
    void EndDoc() override;
    void KillDoc() override;
    bool IsPrinter() const override { return true; }

    // The device the pages are drawn on: the spool (or pdfFile) PDF printer.
    QPrinter &printer() { return *m_printer; }
    // The printer's unprintable margins (none for a PDF file).
    QPointF PrintableOriginMm() const override;
    // Pages begun so far: 1 from the first drawing on, one more per NewPage.
    int PagesBegun() const { return m_pagesBegun; }

protected:
    QPainter &activePainter() override;

private:
    void applyPageLayout();
    void finishPdf();
    void discardPartialPdf();
    // Scales a freshly begun painter to twips from the printable area's corner.
    void beginDrawing();
    void discardSpool();

    PrinterSetup &m_setup;
    QString m_documentName;
    std::unique_ptr<QPrinter> m_device;   // the real printer: its page layout and queue; null for pdfFile
    std::unique_ptr<QPrinter> m_printer;  // what the painter draws on
    std::unique_ptr<QTemporaryDir> m_spool;   // holds the job's PDF from the first drawing to EndDoc
    QPainter m_painter;
    bool m_toPdf;
    QString m_missingPrinter;
    int m_pagesBegun = 0;
    QString m_pdfTarget;    // the PDF file asked for
    QString m_partialPdf;   // where its pages go until the document is whole
    QPointF m_printableOriginPt;   // the printable area's corner on the sheet   // the chosen printer, when it is no longer installed
};

// How the print flow gets the printer surface; tests put a recording in its place.
namespace PrinterSurfaces {
using Factory = std::function<std::unique_ptr<PrintSurface>(PrinterSetup &, const QString &documentName)>;
std::unique_ptr<PrintSurface> Create(PrinterSetup &setup, const QString &documentName);
// An empty factory restores the real printer.
void SetFactory(Factory factory);
} // namespace PrinterSurfaces

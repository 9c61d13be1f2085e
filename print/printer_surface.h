#pragma once

#include "print/painter_surface.h"
#include "print/printer_setup.h"

#include <QPrinter>
#include <functional>
#include <memory>

// The application's current printer as a print surface. The job starts with
// the first drawing after the page set-up; NewPage, EndDoc and KillDoc map
// to QPrinter::newPage, QPainter::end and QPrinter::abort. The page set-up
// is written back to the shared PrinterSetup, so it stays for later runs.
class PrinterSurface : public PainterSurface {
public:
    // pdfFile: print into that PDF file instead of the printer (benchmarks).
    PrinterSurface(PrinterSetup &setup, const QString &documentName, const QString &pdfFile = {});
    ~PrinterSurface() override;

    void SetScaleMode(int mode) override;
    void SetPaperSize(int code) override;
    void SetOrientation(int code) override;
    void SetPrintQuality(int code) override;
    void NewPage() override;
    void EndDoc() override;
    void KillDoc() override;
    bool IsPrinter() const override { return true; }

    QPrinter &printer() { return *m_printer; }

protected:
    QPainter &activePainter() override;

private:
    void applyPageLayout();

    PrinterSetup &m_setup;
    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    bool m_toPdf;
    QString m_missingPrinter;   // the chosen printer, when it is no longer installed
};

// How the print flow gets the printer surface; tests put a recording in its place.
namespace PrinterSurfaces {
using Factory = std::function<std::unique_ptr<PrintSurface>(PrinterSetup &, const QString &documentName)>;
std::unique_ptr<PrintSurface> Create(PrinterSetup &setup, const QString &documentName);
// An empty factory restores the real printer.
void SetFactory(Factory factory);
} // namespace PrinterSurfaces

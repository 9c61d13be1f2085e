#pragma once

#include "entry/picture_dialog.h"
#include "print/printers.h"

struct PrinterSetup;
class PictureButton;
class QCheckBox;
class QListWidget;

// F_Print選択: picks the application's current printer for the rest of the
// run and, when asked, makes it the default printer for all programs. It
// opens on the printer a print would go to now.
// The window is application-modal and deletes itself when it closes: open
// it with new and show().
class PrinterChoiceDialog : public PictureDialog {
    Q_OBJECT
public:
    // The entry after the installed printers that prints into a PDF file.
    static inline const QString PdfFileChoice = QStringLiteral("PDFファイルに保存");

    PrinterChoiceDialog(PrinterSetup &currentPrinter, QWidget *owner);

    // The click on cmd_Go: refuses without a selection, else chooses.
    void Go();
    // Makes the selected printer the current printer, and the system
    // default when chk_通常プリンタ is ticked, then closes.
    void Choose();
    // The selected printer becomes the application's current printer.
    void SelectPrinter();
    // The selected printer becomes the default of all programs; returns
    // what went wrong, or an empty string.
    QString SetDefaultPrinter();

    // The printers listed, in list order.
    const QList<InstalledPrinter> &printers() const { return m_printers; }

private:
    // The selected list position, or -1.
    int selectedRow() const;
    // The list's last row, "PDFファイルに保存".
    int pdfRow() const { return int(m_printers.size()); }

    PrinterSetup &m_printer;
    QList<InstalledPrinter> m_printers;
    QListWidget *m_list = nullptr;
    QCheckBox *m_makeDefault = nullptr;
    PictureButton *m_close = nullptr;
    PictureButton *m_go = nullptr;
};

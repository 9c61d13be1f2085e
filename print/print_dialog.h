#pragma once

#include "entry/picture_dialog.h"
#include "model/record_order.h"
#include "print/print_job.h"
#include "print/print_run_state.h"

#include <QPointer>
#include <array>

class BookDocument;
class MainWindow;
class PictureButton;
class PreviewWindow;
class PrintProgressWindow;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
struct LabelSheet;
struct PrinterSetup;
struct SettingsRecord;

// F_Print: which entries to print, in which order and form; print or preview.
// Its to-print list is what every printout reads; it owns the flags of its
// runs, which its progress and preview windows share.
class PrintDialog : public PictureDialog, public PrintEntries {
    Q_OBJECT
public:
    // Shows the dialog modeless over the main window, which stays disabled
    // until the dialog closes. A failure while opening is reported and
    // leaves the main window usable.
    static PrintDialog *Open(MainWindow &main);

    explicit PrintDialog(MainWindow &main);

    PrintRunState &run() { return m_run; }
    const BookDocument &document() const;
    const SettingsRecord &AppSettings() const;
    PrinterSetup &CurrentPrinter();

    // A printout's job on this dialog's book, settings and run.
    PrintJob MakeJob(PrintProgress &progress, const PrintEntries &entries);

    int Count() const override;
    qint32 KeyNumber(int index) const override;

    // (Re)builds both lists from the book: every entry a candidate, none to print.
    void FillPrintLists();

    // The buttons' actions.
    void MoveEntries(int button);      // cmd_選択(0..3): >, >>, <, <<
    void ShowDetail(int index);        // cmd_確認(0), (1)
    void Reset();                      // cmd_初期化
    void ChoosePrinter();              // cmd_プリンタ選択
    void OpenSortDialog();             // cmd_並べ替え
    // cmd_位置合わせ: one page of the chosen kind on the chosen printer,
    // with a millimetre scale, crosshairs and the kind's guide.
    void PrintAlignmentPage();
    // Puts the to-print list, and so this run's pages, in order; the book keeps its own.
    void SortToPrint(SortOrder order);
    void Go(int index);                // cmd_Go: 0 print, 1 preview

    // Labels: the sheet chooser (cmd_ラベル用紙) over the label database,
    // loaded on first use.
    void ChooseLabelSheet();
    // Prints labels on sheet from now on (null: the standard sheet), and
    // keeps the choice in the settings.
    void UseLabelSheet(const LabelSheet *sheet);
    // After a run of kind on the printer: a labels run used the labels
    // before the start position, and the next run starts at label 1.
    void LabelRunPrinted(int kind);

    // With "PDFファイルに保存" chosen, asks owner's user for the file of the
    // coming run; false when cancelled. True at once for a printer.
    bool AskPdfFile(QWidget *owner);
    // The name of a printer job, or the title of a PDF, of a kind.
    QString DocumentName(int kind) const;

    // The kind chosen by the option buttons, 1 to 4.
    int Kind() const;
    // Whether a printout is running: one started here, or one started from
    // the preview window, whose progress window is showing.
    bool isRunning() const;

    // The preview window of the last preview run, if it is still there.
    PreviewWindow *previewWindow() const;
    // The preview window, made when there is none.
    PreviewWindow &EnsurePreviewWindow();
    // Closes and discards the preview of an earlier run; false when it
    // refuses to close.
    bool DiscardPreviewWindow();

    void done(int result) override;

protected:
    // Refuses the window system's close of the main window while the dialog is open.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    // The honorific and the joint names as chosen, into the settings and the store.
    void keepAddressing();
    // The print section into the settings store; a failure is reported.
    void storePrintSettings();
    // False when nothing was there to move.
    bool moveItems(QListWidget *from, QListWidget *to, bool onlySelected);
    void moveOne(QListWidget *from, QListWidget *to);
    void afterMove(QListWidget *from);
    void showCounts();
    void setDetailEnabled(int index, bool enabled);
    void setResetEnabled(bool enabled);
    // The labels' controls: usable with the labels kind, showing the sheet.
    void showLabelControls();
    // The sheet of the settings, the first time labels are chosen; one no
    // longer in the database falls back to the standard sheet, with a word.
    void resolveStoredSheet();

    MainWindow &m_main;
    PrintRunState m_run;
    QListWidget *m_candidates = nullptr;          // lst_対象者
    QListWidget *m_toPrint = nullptr;             // lst_印刷者
    std::array<QLabel *, 2> m_counts{};           // lbl_対象件数
    std::array<PictureButton *, 2> m_detail{};    // cmd_確認
    PictureButton *m_sort = nullptr;
    QComboBox *m_honorific = nullptr;    // cmb_敬称
    QCheckBox *m_joint = nullptr;        // chk_連名
    PictureButton *m_reset = nullptr;             // cmd_初期化
    std::array<QRadioButton *, 4> m_kinds{};      // opt_印刷形式
    QLabel *m_paperNote = nullptr;                // lbl_A4
    QPushButton *m_sheet = nullptr;               // cmd_ラベル用紙
    QSpinBox *m_start = nullptr;                  // txt_開始位置
    QLabel *m_startPlace = nullptr;               // lbl_開始位置
    QCheckBox *m_outlines = nullptr;              // chk_ラベル枠
    bool m_storedSheetResolved = false;
    QPointer<PreviewWindow> m_preview;
    bool m_running = false;
};

// The dispatcher: runs the kind's printout on the printer (previewFlag 0) or
// on the preview (the preview window is made if there is none, and shown
// after a run that was not cancelled).
void RunPrintout(PrintProgressWindow &progressWindow, PrintDialog &printDialog, int kind, int previewFlag);

#include "print/printer_choice_dialog.h"

#include "entry/input_helpers.h"
#include "entry/picture_button.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/message_box.h"
#include "mainwindow/twips.h"
#include "mainwindow/wait_cursor.h"
#include "print/printer_setup.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QScreen>

using namespace Qt::Literals::StringLiterals;

namespace {

const TwipsPlace kCheck = {u"chk_通常プリンタ", 3810, 300, 240, 315};
// Where the background carries the check box's words.
const TwipsPlace kCheckCaption = {u"lbl_通常プリンタ", 4080, 300, 2950, 315};
const TwipsPlace kList = {u"lst_Printer", 150, 975, 6880, 2535};
const TwipsPlace kCloseButton = {u"cmd_閉じる", 150, 3900, 1500, 450};
const TwipsPlace kGoButton = {u"cmd_Go", 3000, 3900, 1500, 450};

constexpr int kWidth = 7290;    // twips
constexpr int kHeight = 4875;

} // namespace

PrinterChoiceDialog::PrinterChoiceDialog(PrinterSetup &currentPrinter, QWidget *owner)
    : PictureDialog(owner, {}, u":/print/choice_background.svg"_s), m_printer(currentPrinter)
{
    setObjectName(u"F_Print選択"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(u"印刷するプリンタの選択"_s);
    // A fixed form: a close box, no minimise or maximise button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DesignFont(DialogFace, 9.75));
    setFixedSize(TwipsClientSize(kWidth, kHeight));

    m_makeDefault = new QCheckBox(this);
    m_makeDefault->setObjectName(QString::fromUtf16(kCheck.name));
    m_makeDefault->setGeometry(kCheck.rect());
    m_makeDefault->setAccessibleName(u"通常使うプリンタに設定する"_s);
    m_makeDefault->setChecked(false);
    // The words are part of the background; clicking them ticks the box.
    auto *caption = new QLabel(this);
    caption->setObjectName(QString::fromUtf16(kCheckCaption.name));
    caption->setGeometry(kCheckCaption.rect());
    TickOnCaptionClick(caption, m_makeDefault);

    m_list = new QListWidget(this);
    m_list->setObjectName(QString::fromUtf16(kList.name));
    m_list->setGeometry(kList.rect());
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSortingEnabled(false);
    m_list->setFont(DesignFont(DialogFace, 11.25));

    m_close = new PictureButton(this);
    m_close->setObjectName(QString::fromUtf16(kCloseButton.name));
    m_close->setGeometry(kCloseButton.rect());
    m_close->setPictures(u":/print/close.svg"_s, u":/print/close_hover.svg"_s);
    m_close->setCaption(u"閉じる"_s);

    m_go = new PictureButton(this);
    m_go->setObjectName(QString::fromUtf16(kGoButton.name));
    m_go->setGeometry(kGoButton.rect());
    m_go->setPictures(u":/print/set.svg"_s, u":/print/set_hover.svg"_s);
    m_go->setCaption(u"設定"_s);

    connect(m_go, &QPushButton::clicked, this, &PrinterChoiceDialog::Go);
    // Esc and the close box reject as well: nothing changes.
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { Choose(); });

    setTabOrder(m_list, m_makeDefault);
    setTabOrder(m_makeDefault, m_go);
    setTabOrder(m_go, m_close);

    TintInputControls(this);

    m_printers = Printers::Installed();
    for (const InstalledPrinter &printer : std::as_const(m_printers))
        m_list->addItem(printer.DeviceName);
    // Not a printer: the pages go to a PDF file the print asks for.
    m_list->addItem(PdfFileChoice);

    // Every position with the name of the printer a print would use is
    // selected in turn, so with two alike the later one stays selected.
    const QString current = Printers::PrinterForPrint(m_printer.Name);
    for (int row = 0; row < m_printers.size(); ++row) {
        if (!m_printer.ToPdfFile && !current.isEmpty() && m_list->item(row)->text() == current)
            m_list->setCurrentRow(row);
    }
    if (m_printer.ToPdfFile)
        m_list->setCurrentRow(pdfRow());
    // A PDF file cannot be the system's default printer.
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        const bool pdf = selectedRow() == pdfRow();
        if (pdf)
            m_makeDefault->setChecked(false);
        m_makeDefault->setEnabled(!pdf);
    });
    m_makeDefault->setEnabled(selectedRow() != pdfRow());

    QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
    m_list->setFocus();
}

int PrinterChoiceDialog::selectedRow() const
{
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.first());
}

void PrinterChoiceDialog::Go()
{
    if (selectedRow() < 0) {
        m_go->showNormal();
        MessageBoxes::Show(this, u"印刷するプリンタを選択して下さい。"_s, MsgIcon::Critical);
        m_list->setFocus();
        return;
    }
    Choose();
}

void PrinterChoiceDialog::Choose()
{
    if (selectedRow() < 0)
        return;
    QString failure;
    {
        WaitCursor wait;
        SelectPrinter();
        if (m_makeDefault->isChecked())
            failure = SetDefaultPrinter();
    }
    // The run's printer is chosen all the same; the report says what did
    // not happen.
    if (!failure.isEmpty())
        MessageBoxes::ReportError(this, failure);
    accept();
}

void PrinterChoiceDialog::SelectPrinter()
{
    const int row = selectedRow();
    if (row == pdfRow()) {
        m_printer.ToPdfFile = true;
        return;
    }
    if (row < 0 || row >= m_printers.size())
        return;
    m_printer.Name = m_printers.at(row).DeviceName;
    m_printer.ToPdfFile = false;
}

QString PrinterChoiceDialog::SetDefaultPrinter()
{
    const int row = selectedRow();
    if (row < 0 || row >= m_printers.size())
        return {};
    return Printers::SetSystemDefault(m_printers.at(row));
}

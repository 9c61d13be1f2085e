#include "print/label_sheet_dialog.h"

#include "entry/input_helpers.h"
#include "entry/picture_button.h"
#include "files/label_sheet.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/twips.h"
#include "print/label_sheet_model.h"
#include "print/label_sheet_picture.h"
#include "print/standard_label_sheet.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

using namespace Qt::Literals::StringLiterals;

namespace {

// The window's outer size, frame and caption bar included.
constexpr int kWidth = 9120;    // twips
constexpr int kHeight = 7155;

// The words before the search box and the filter are lettered on the background.
const TwipsPlace kLayout[] = {
    {u"txt_検索", 930, 960, 3600, 360},
    {u"cmb_面数", 5280, 960, 1680, 360},
    {u"lst_ラベル用紙", 210, 1500, 5850, 4350},
    {u"pic_見本", 6210, 1500, 2580, 3480},
    {u"lbl_見本", 6210, 5040, 2580, 810},
    {u"cmd_閉じる", 210, 6060, 1500, 450},
    {u"cmd_Go", 7290, 6060, 1500, 450},
};

// Column widths of the table, in twips.
const int kColumnWidths[] = {1200, 1350, 600, 1650, 600, 2400};

} // namespace

LabelSheetDialog *LabelSheetDialog::Open(QWidget *owner, const std::vector<LabelSheet> &sheets,
                                         const LabelSheet *current, Apply apply)
{
    return ShowApplicationModal(new LabelSheetDialog(owner, sheets, current, std::move(apply)));
}

LabelSheetDialog::LabelSheetDialog(QWidget *owner, const std::vector<LabelSheet> &sheets, const LabelSheet *current,
                                   Apply apply)
    : PictureDialog(owner,
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                        | Qt::MSWindowsFixedSizeDialogHint,
                    u":/print/label_sheet_background.svg"_s),
      m_apply(std::move(apply))
{
    setObjectName(u"F_ラベル用紙"_s);
    setWindowTitle(u"ラベル用紙の選択"_s);
    setFont(DesignFont(DialogFace, 9.75));
    setFixedSize(TwipsClientSize(kWidth, kHeight));

    m_model = new LabelSheetModel(sheets, this);

    m_search = new QLineEdit(this);
    m_search->setObjectName(u"txt_検索"_s);
    m_search->setAccessibleName(u"品番・メーカーで検索"_s);
    m_search->setPlaceholderText(u"品番・メーカー（例：Hisago 12）"_s);
    m_search->setClearButtonEnabled(true);

    m_counts = new QComboBox(this);
    m_counts->setObjectName(u"cmb_面数"_s);
    m_counts->setAccessibleName(u"面数"_s);
    m_counts->addItem(u"すべて"_s, 0);
    for (const int count : m_model->LabelCounts())
        m_counts->addItem(u"%1面"_s.arg(count), count);

    m_table = new QTableView(this);
    m_table->setObjectName(u"lst_ラベル用紙"_s);
    m_table->setAccessibleName(u"ラベル用紙"_s);
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 6);
    m_table->horizontalHeader()->setHighlightSections(false);
    for (int c = 0; c < int(std::size(kColumnWidths)); ++c)
        m_table->setColumnWidth(c, TwipsToPixels(kColumnWidths[c]));
    m_table->horizontalHeader()->setStretchLastSection(true);

    m_picture = new LabelSheetPicture(this);
    m_details = new QLabel(this);
    m_details->setObjectName(u"lbl_見本"_s);
    m_details->setWordWrap(true);
    m_details->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    auto *close = addPictureButton(u"cmd_閉じる"_s, u":/print/close"_s, u"閉じる"_s);
    m_go = addPictureButton(u"cmd_Go"_s, u":/print/set"_s, u"設定"_s, true);
    placeControls(kLayout);
    QWidget *order[] = {m_search, m_counts, m_table, m_go, close};
    // Up and down in the search box move through the list.
    m_search->installEventFilter(this);
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_search, &QLineEdit::textChanged, this, &LabelSheetDialog::applyFilter);
    connect(m_counts, &QComboBox::currentIndexChanged, this, &LabelSheetDialog::applyFilter);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &LabelSheetDialog::showCurrent);
    connect(m_table, &QTableView::doubleClicked, this, &LabelSheetDialog::Go);
    connect(m_go, &QPushButton::clicked, this, &LabelSheetDialog::Go);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    TintInputControls(this);
    select(current);
    showCurrent();
    // Typing searches at once; Enter takes the sheet shown.
    m_search->setFocus();
}

void LabelSheetDialog::applyFilter()
{
    // The chosen row stays chosen while it passes the filter.
    const bool had = HasCurrent();
    const LabelSheet *before = Current();
    m_model->SetFilter(m_search->text(), m_counts->currentData().toInt());
    if (had && m_model->RowOf(before) >= 0)
        select(before);
    else if (m_model->rowCount() > 0)
        m_table->selectRow(0);
    showCurrent();
}

void LabelSheetDialog::select(const LabelSheet *sheet)
{
    const int row = m_model->RowOf(sheet);
    if (row < 0)
        return;
    m_table->selectRow(row);
    m_table->scrollTo(m_model->index(row, 0), QAbstractItemView::PositionAtCenter);
}

bool LabelSheetDialog::HasCurrent() const { return m_table->selectionModel()->currentIndex().isValid(); }

const LabelSheet *LabelSheetDialog::Current() const
{
    return m_model->SheetAt(m_table->selectionModel()->currentIndex().row());
}

void LabelSheetDialog::showCurrent()
{
    const bool any = HasCurrent();
    m_go->setActive(any);
    const LabelSheet *sheet = Current();
    m_picture->SetSheet(sheet);
    m_picture->setVisible(any);
    if (!any)
        m_details->setText(u"該当する用紙がありません。"_s);
    else if (!sheet)
        m_details->setText(StandardSheetCaption() + u"\n用紙 A4"_s);
    else
        m_details->setText(u"%1面・%2\n用紙 %3"_s.arg(sheet->LabelCount())
                               .arg(MillimetreSize(sheet->widthMm, sheet->heightMm), sheet->paperName));
}

void LabelSheetDialog::Go()
{
    if (!HasCurrent())
        return;
    const LabelSheet *chosen = Current();
    accept();
    if (m_apply)
        m_apply(chosen);
}

bool LabelSheetDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            QApplication::sendEvent(m_table, event);
            return true;
        }
    }
    return PictureDialog::eventFilter(watched, event);
}

#include "print/print_dialog.h"

#include "entry/input_helpers.h"
#include "entry/picture_button.h"
#include "entry/sort_dialog.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/file_dialog.h"
#include "mainwindow/list_commands.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "mainwindow/twips.h"
#include "mainwindow/wait_cursor.h"
#include "model/app_error.h"
#include "model/app_state.h"
#include "model/book_document.h"
#include "model/honorific.h"
#include "files/label_sheet.h"
#include "files/label_templates.h"
#include "print/label_sheet_dialog.h"
#include "print/picture_surface.h"
#include "print/standard_label_sheet.h"
#include "print/preview_window.h"
#include "print/print_progress_window.h"
#include "print/printer_choice_dialog.h"
#include "print/printer_surface.h"
#include "print/printout_kinds.h"
#include "print/printouts.h"
#include "settings/app_settings.h"
#include "settings/settings_sections.h"
#include "settings/settings_store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// The window's outer size, frame and caption bar included.
constexpr int kWidth = 7215;    // twips
// The row of the honorific below the buttons adds 690 to the first form's
// 7125, the two rows of the label sheet 1080 more.
constexpr int kHeight = 8895;

const TwipsPlace kLayout[] = {
    {u"lst_対象者", 400, 1575, 2450, 2085},
    {u"lst_印刷者", 4250, 1575, 2450, 2085},
    {u"lbl_対象(0)", 525, 1200, 915, 240},
    {u"lbl_対象(1)", 4350, 1200, 915, 240},
    {u"lbl_対象件数(0)", 1575, 1200, 1290, 315},
    {u"lbl_対象件数(1)", 5400, 1200, 1140, 315},
    {u"cmd_選択(0)", 3150, 1425, 750, 450},
    {u"cmd_選択(1)", 3150, 1950, 750, 450},
    {u"cmd_選択(2)", 3150, 2700, 750, 450},
    {u"cmd_選択(3)", 3150, 3225, 750, 450},
    {u"cmd_確認(0)", 825, 3750, 1500, 450},
    {u"cmd_確認(1)", 4650, 3750, 1500, 450},
    {u"lbl_A4", 4100, 4590, 2790, 240},
    {u"opt_印刷形式(0)", 370, 5410, 220, 225},
    {u"opt_印刷形式(1)", 2000, 5410, 220, 225},
    {u"opt_印刷形式(2)", 3950, 5410, 220, 225},
    {u"opt_印刷形式(3)", 5550, 5410, 220, 225},
    {u"cmd_閉じる", 150, 6150, 1500, 450},
    {u"cmd_Go(0)", 2475, 6150, 1500, 450},
    {u"cmd_Go(1)", 4200, 6150, 1500, 450},
    {u"cmd_初期化", 4125, 225, 1140, 450},
    {u"cmd_プリンタ選択", 5370, 225, 1665, 450},
    {u"cmd_並べ替え", 1000, 225, 1500, 450},
    {u"cmd_位置合わせ", 2600, 225, 1450, 450},
    // The words before them are lettered on the background.
    {u"cmb_敬称", 2450, 6878, 1300, 345},
    {u"chk_連名", 4150, 6938, 220, 225},
    {u"lbl_連名", 4380, 6870, 2400, 360},
    {u"cmd_ラベル用紙", 1650, 7515, 5145, 360},
    {u"txt_開始位置", 1350, 7935, 900, 360},
    {u"lbl_開始位置", 2340, 7935, 1740, 360},
    {u"chk_ラベル枠", 4150, 8003, 220, 225},
    {u"lbl_ラベル枠", 4380, 7935, 2400, 360},
};

struct ButtonArt {
    const char16_t *name;
    const char16_t *picture;    // under :/print/, with a _hover twin
    const char16_t *caption;
};

const ButtonArt kButtons[] = {
    {u"cmd_選択(0)", u"select_one", u"選択した人を印刷者へ移す"},
    {u"cmd_選択(1)", u"select_all", u"全員を印刷者へ移す"},
    {u"cmd_選択(2)", u"back_one", u"選択した人を対象者へ戻す"},
    {u"cmd_選択(3)", u"back_all", u"全員を対象者へ戻す"},
    {u"cmd_確認(0)", u"detail", u"詳細確認"},
    {u"cmd_確認(1)", u"detail", u"詳細確認"},
    {u"cmd_閉じる", u"close", u"閉じる"},
    {u"cmd_Go(0)", u"print", u"印刷"},
    {u"cmd_Go(1)", u"preview", u"プレビュー"},
    {u"cmd_初期化", u"reset", u"初期化"},
    {u"cmd_プリンタ選択", u"printer", u"プリンタの選択"},
    {u"cmd_位置合わせ", u"align", u"位置合わせ印刷"},
};

QString picturePath(const char16_t *picture, bool hover)
{
    return u":/print/"_s + QString::fromUtf16(picture) + (hover ? u"_hover.svg"_s : u".svg"_s);
}

QString countText(int count) { return QString::number(count) + u"件"_s; }

} // namespace

PrintDialog *PrintDialog::Open(MainWindow &main)
{
    if (!main.commitListEdit())
        return nullptr;
    PrintDialog *dialog = nullptr;
    try {
        dialog = new PrintDialog(main);
        dialog->show();
        dialog->activateWindow();
        dialog->m_candidates->setFocus();
    } catch (const AppError &e) {
        delete dialog;
        main.setEnabled(true);
        MessageBoxes::ReportError(&main, e.description());
        return nullptr;
    }
    return dialog;
}

PrintDialog::PrintDialog(MainWindow &main)
    : PictureDialog(&main, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                               | Qt::WindowCloseButtonHint,
                    u":/print/background.svg"_s),
      m_main(main)
{
    setObjectName(u"F_Print"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"印刷処理"_s);
    setFont(DesignFont(DialogFace, 9));
    setFixedSize(TwipsClientSize(kWidth, kHeight));

    buildControls();
    FillPrintLists();
    m_run.PrintListsChanged = false;
    TintInputControls(this);
    showLabelControls();
    m_run.PrintDialogReady = true;

    if (const QScreen *screen = main.screen() ? main.screen() : QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    // The book must not change under the lists. The dialog is a window of
    // its own and stays usable, although disabling the main window reaches it too.
    m_main.setEnabled(false);
    setEnabled(true);
    m_main.installEventFilter(this);
}

void PrintDialog::buildControls()
{
    m_candidates = new QListWidget(this);
    m_candidates->setObjectName(u"lst_対象者"_s);
    m_toPrint = new QListWidget(this);
    m_toPrint->setObjectName(u"lst_印刷者"_s);
    for (QListWidget *list : {m_candidates, m_toPrint}) {
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setUniformItemSizes(true);
        list->setSortingEnabled(false);
    }
    m_candidates->setAccessibleName(u"対象者"_s);
    m_toPrint->setAccessibleName(u"印刷者"_s);

    const QString captions[] = {u"(対象者)"_s, u"(印刷者)"_s};
    for (int i = 0; i < 2; ++i) {
        auto *caption = new QLabel(captions[i], this);
        caption->setObjectName(u"lbl_対象(%1)"_s.arg(i));
        m_counts[size_t(i)] = new QLabel(this);
        m_counts[size_t(i)]->setObjectName(u"lbl_対象件数(%1)"_s.arg(i));
    }
    m_paperNote = new QLabel(u"はがき以外は用紙は「A4」です"_s, this);
    m_paperNote->setObjectName(u"lbl_A4"_s);

    for (const ButtonArt &art : kButtons) {
        auto *button = new PictureButton(this);
        button->setObjectName(QString::fromUtf16(art.name));
        button->setPictures(picturePath(art.picture, false), picturePath(art.picture, true));
        button->setCaption(QString::fromUtf16(art.caption));
    }
    auto button = [this](const QString &name) { return findChild<PictureButton *>(name); };
    button(u"cmd_位置合わせ"_s)->setToolTip(u"選んだ形式の1ページを、目盛りと枠で印刷します。ずれを「印刷位置の調整」で直せます。"_s);
    m_detail = {button(u"cmd_確認(0)"_s), button(u"cmd_確認(1)"_s)};
    m_reset = button(u"cmd_初期化"_s);

    m_sort = new PictureButton(this);
    m_sort->setObjectName(u"cmd_並べ替え"_s);
    m_sort->setPictures(u":/sort/sort.svg"_s, u":/sort/sort_hover.svg"_s);
    m_sort->setCaption(u"並べ替え"_s);
    m_sort->setToolTip(u"印刷者を並べ替えます（住所録の順は変わりません）。"_s);

    for (int i = 0; i < 4; ++i) {
        // The kinds' names are lettered on the background beside the buttons.
        const QString &label = FindPrintoutKind(i + 1)->optionLabel;
        auto *option = new QRadioButton(this);
        option->setObjectName(u"opt_印刷形式(%1)"_s.arg(i));
        option->setAccessibleName(label);
        option->setToolTip(label);
        m_kinds[size_t(i)] = option;
    }
    m_kinds[0]->setChecked(true);

    // How postcards and labels address the recipient; kept in the settings.
    m_honorific = new QComboBox(this);
    m_honorific->setObjectName(u"cmb_敬称"_s);
    m_honorific->setAccessibleName(u"はがき・ラベルの敬称"_s);
    m_honorific->setToolTip(u"自動：会社・学校・病院などの名前には「御中」、ほかは「様」を付けます。"
                            u"名前が「様」などで終わるときは付けません。"_s);
    for (int i = 0; i < HonorificModeCount; ++i)
        m_honorific->addItem(HonorificModeCaption(HonorificModeFromNumber(i)));
    m_honorific->setCurrentIndex(m_main.AppSettings().Honorific);
    m_joint = new QCheckBox(this);
    m_joint->setObjectName(u"chk_連名"_s);
    m_joint->setAccessibleName(u"連名を並べて印刷"_s);
    m_joint->setToolTip(u"「山田 太郎・花子」のように書いた名前を、一人ずつ敬称を付けて並べます。"_s);
    m_joint->setChecked(m_main.AppSettings().JointNames);
    auto *jointCaption = new QLabel(this);
    jointCaption->setObjectName(u"lbl_連名"_s);
    TickOnCaptionClick(jointCaption, m_joint);
    // The label sheet, the start position and the outlines: for labels only.
    m_sheet = new QPushButton(this);
    m_sheet->setObjectName(u"cmd_ラベル用紙"_s);
    m_sheet->setAccessibleName(u"ラベル用紙"_s);
    m_sheet->setToolTip(u"宛名ラベルを印刷する用紙を選びます。"_s);
    m_sheet->setStyleSheet(u"text-align: left; padding-left: 6px;"_s);
    m_start = new QSpinBox(this);
    m_start->setObjectName(u"txt_開始位置"_s);
    m_start->setAccessibleName(u"開始位置"_s);
    m_start->setToolTip(u"1枚目の用紙で最初に印刷するラベルの番号です（左上から横へ数えます）。"
                        u"使い済みのラベルは空けます。印刷のたびに1に戻ります。"_s);
    m_start->setRange(1, 14);
    m_startPlace = new QLabel(this);
    m_startPlace->setObjectName(u"lbl_開始位置"_s);
    m_outlines = new QCheckBox(this);
    m_outlines->setObjectName(u"chk_ラベル枠"_s);
    m_outlines->setAccessibleName(u"ラベルの枠を印刷"_s);
    m_outlines->setToolTip(u"ラベルの輪郭を細い灰色の線で印刷します。普通の紙に試し印刷して、"
                           u"ラベル用紙に重ねて確かめるときに使います。"_s);
    auto *outlinesCaption = new QLabel(this);
    outlinesCaption->setObjectName(u"lbl_ラベル枠"_s);
    TickOnCaptionClick(outlinesCaption, m_outlines);
    connect(m_sheet, &QPushButton::clicked, this, &PrintDialog::ChooseLabelSheet);
    connect(m_start, &QSpinBox::valueChanged, this, [this](int value) {
        m_run.Labels.Start = value;
        showLabelControls();
    });
    connect(m_outlines, &QCheckBox::toggled, this, [this](bool on) { m_run.Labels.Outlines = on; });
    for (QRadioButton *option : m_kinds)
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                showLabelControls();
        });

    connect(m_honorific, &QComboBox::activated, this, &PrintDialog::keepAddressing);
    connect(m_joint, &QCheckBox::toggled, this, &PrintDialog::keepAddressing);

    for (const TwipsPlace &p : kLayout) {
        if (auto *w = findChild<QWidget *>(QString::fromUtf16(p.name), Qt::FindDirectChildrenOnly))
            w->setGeometry(p.rect());
    }

    QWidget *order[] = {m_sort, button(u"cmd_位置合わせ"_s), m_reset, button(u"cmd_プリンタ選択"_s), m_candidates, button(u"cmd_選択(0)"_s),
                        button(u"cmd_選択(1)"_s), button(u"cmd_選択(2)"_s), button(u"cmd_選択(3)"_s),
                        m_toPrint, m_detail[0], m_detail[1], m_kinds[0], m_kinds[1], m_kinds[2], m_kinds[3],
                        button(u"cmd_閉じる"_s), button(u"cmd_Go(0)"_s), button(u"cmd_Go(1)"_s), m_honorific, m_joint,
                        m_sheet, m_start, m_outlines};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    for (int i = 0; i < 4; ++i)
        connect(button(u"cmd_選択(%1)"_s.arg(i)), &QPushButton::clicked, this, [this, i] { MoveEntries(i); });
    for (int i = 0; i < 2; ++i) {
        connect(m_detail[size_t(i)], &QPushButton::clicked, this, [this, i] { ShowDetail(i); });
        connect(button(u"cmd_Go(%1)"_s.arg(i)), &QPushButton::clicked, this, [this, i] { Go(i); });
    }
    connect(m_reset, &QPushButton::clicked, this, &PrintDialog::Reset);
    connect(m_sort, &QPushButton::clicked, this, &PrintDialog::OpenSortDialog);
    connect(button(u"cmd_位置合わせ"_s), &QPushButton::clicked, this, &PrintDialog::PrintAlignmentPage);
    connect(button(u"cmd_プリンタ選択"_s), &QPushButton::clicked, this, &PrintDialog::ChoosePrinter);
    connect(button(u"cmd_閉じる"_s), &QPushButton::clicked, this, &QDialog::reject);

    // Picking an entry, by mouse or keys, makes its detail viewable, and
    // unpicking it (Ctrl+click) takes that back. A list that only takes the
    // keyboard gets a current entry without selecting it; that picks
    // nothing, and the entry dialog would refuse it.
    for (int i = 0; i < 2; ++i) {
        QListWidget *list = i == 0 ? m_candidates : m_toPrint;
        connect(list, &QListWidget::itemSelectionChanged, this, [this, list, i] {
            const QListWidgetItem *current = list->currentItem();
            setDetailEnabled(i, current && current->isSelected());
        });
    }
    connect(m_candidates, &QListWidget::itemDoubleClicked, this, [this] { moveOne(m_candidates, m_toPrint); });
    connect(m_toPrint, &QListWidget::itemDoubleClicked, this, [this] { moveOne(m_toPrint, m_candidates); });
}

const BookDocument &PrintDialog::document() const { return m_main.document(); }
const SettingsRecord &PrintDialog::AppSettings() const { return m_main.AppSettings(); }
PrinterSetup &PrintDialog::CurrentPrinter() { return m_main.CurrentPrinter(); }

PrintJob PrintDialog::MakeJob(PrintProgress &progress, const PrintEntries &entries)
{
    return PrintJob{document(), AppSettings(), m_run, progress, entries, nullptr, {}, QDate::currentDate()};
}

int PrintDialog::Count() const { return m_toPrint->count(); }

qint32 PrintDialog::KeyNumber(int index) const
{
    const QListWidgetItem *item = m_toPrint->item(index);
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

int PrintDialog::Kind() const
{
    for (int i = 0; i < 4; ++i) {
        if (m_kinds[size_t(i)]->isChecked())
            return i + 1;
    }
    return 1;
}

void PrintDialog::FillPrintLists()
{
    WaitCursor busy;
    const Cls_管理 &book = document().OpenBook();
    m_candidates->clear();
    for (int i = 1; i <= book.Count(); ++i) {
        const Cls_住所 &record = book.Item(i);
        auto *item = new QListWidgetItem(record.PName);
        item->setData(Qt::UserRole, record.PSkey.mid(1).toInt());
        m_candidates->addItem(item);
    }
    m_toPrint->clear();
    for (QListWidget *list : {m_candidates, m_toPrint}) {
        list->clearSelection();
        list->setCurrentItem(nullptr, QItemSelectionModel::NoUpdate);
    }
    showCounts();
    setResetEnabled(false);
    setDetailEnabled(0, false);
    setDetailEnabled(1, false);
}

void PrintDialog::showCounts()
{
    m_counts[0]->setText(countText(m_candidates->count()));
    m_counts[1]->setText(countText(m_toPrint->count()));
    m_sort->setActive(m_toPrint->count() > 1);
}

void PrintDialog::setDetailEnabled(int index, bool enabled) { m_detail[size_t(index)]->setActive(enabled); }

void PrintDialog::setResetEnabled(bool enabled) { m_reset->setActive(enabled); }

void PrintDialog::MoveEntries(int button)
{
    const bool forward = button < 2;
    QListWidget *from = forward ? m_candidates : m_toPrint;
    QListWidget *to = forward ? m_toPrint : m_candidates;
    switch (button) {
    case 0:
    case 2:
        // A list can have a current entry that is not selected; with nothing
        // selected nothing moves, and nothing counts as a change.
        if (!moveItems(from, to, true))
            return;
        break;
    case 1:
        // Even an empty candidate list counts as a move: reset becomes possible.
        moveItems(from, to, false);
        break;
    case 3:
        if (from->count() == 0)
            return;
        moveItems(from, to, false);
        break;
    default:
        return;
    }
    afterMove(from);
}

bool PrintDialog::moveItems(QListWidget *from, QListWidget *to, bool onlySelected)
{
    WaitCursor busy;
    // The source is rebuilt from what stays rather than emptied from the
    // top, which would cost a shift of the whole list per entry.
    QList<QListWidgetItem *> moved, kept;
    for (int i = 0; i < from->count(); ++i) {
        QListWidgetItem *item = from->item(i);
        (!onlySelected || item->isSelected() ? moved : kept).append(item);
    }
    if (moved.isEmpty())
        return false;
    from->setUpdatesEnabled(false);
    to->setUpdatesEnabled(false);
    for (int i = from->count() - 1; i >= 0; --i)
        from->takeItem(i);
    for (QListWidgetItem *item : std::as_const(kept))
        from->addItem(item);
    for (QListWidgetItem *item : std::as_const(moved)) {
        to->addItem(item);
        item->setSelected(false);
    }
    from->setUpdatesEnabled(true);
    to->setUpdatesEnabled(true);
    return true;
}

void PrintDialog::moveOne(QListWidget *from, QListWidget *to)
{
    const int row = from->currentRow();
    if (row < 0)
        return;
    QListWidgetItem *item = from->takeItem(row);
    to->addItem(item);
    item->setSelected(false);
    afterMove(from);
}

void PrintDialog::afterMove(QListWidget *from)
{
    showCounts();
    m_run.PrintListsChanged = true;
    setResetEnabled(true);
    from->clearSelection();
    from->setCurrentItem(nullptr, QItemSelectionModel::NoUpdate);
    setDetailEnabled(from == m_candidates ? 0 : 1, false);
}

void PrintDialog::OpenSortDialog()
{
    if (m_toPrint->count() < 2)
        return;
    SortDialog::Open(this, m_main.state().LastSort, [this](SortOrder order) { SortToPrint(order); });
}

void PrintDialog::SortToPrint(SortOrder order)
{
    m_main.state().LastSort = order;
    WaitCursor busy;
    const Cls_管理 &book = document().OpenBook();
    std::vector<const Cls_住所 *> records;
    records.reserve(size_t(m_toPrint->count()));
    for (int i = 0; i < m_toPrint->count(); ++i) {
        const QString key = u"s"_s + QString::number(m_toPrint->item(i)->data(Qt::UserRole).toInt());
        records.push_back(book.Contains(key) ? &book.Item(key) : nullptr);
    }
    const std::vector<int> sorted = SortedOrder(records, order);
    // Taken out and put back in the new order; the items keep their selection.
    QList<QListWidgetItem *> items;
    m_toPrint->setUpdatesEnabled(false);
    for (int i = m_toPrint->count() - 1; i >= 0; --i)
        items.prepend(m_toPrint->takeItem(i));
    for (const int from : sorted)
        m_toPrint->addItem(items[from]);
    m_toPrint->setUpdatesEnabled(true);
    m_run.PrintListsChanged = true;
    setResetEnabled(true);
}

void PrintDialog::storePrintSettings()
{
    M_RegS::SavePrintSection(m_main.store(), m_main.AppSettings());
    if (!m_main.store().sync())
        MessageBoxes::ReportError(this, u"設定を保存できませんでした。設定ファイル「%1」に書き込めません。"_s
                                            .arg(m_main.store().fileName()));
}

void PrintDialog::keepAddressing()
{
    SettingsRecord &settings = m_main.AppSettings();
    settings.Honorific = qint16(m_honorific->currentIndex());
    settings.JointNames = m_joint->isChecked();
    storePrintSettings();
}

void PrintDialog::showLabelControls()
{
    const bool labels = Kind() == 2;
    if (labels)
        resolveStoredSheet();
    const std::optional<LabelSheet> &sheet = m_run.Labels.Sheet;
    m_sheet->setText(sheet ? sheet->Caption() : StandardSheetCaption());
    const int count = sheet ? sheet->LabelCount() : StandardLabelCount;
    {
        const QSignalBlocker quiet(m_start);
        m_start->setMaximum(count);
        m_start->setValue(std::clamp(m_run.Labels.Start, 1, count));
    }
    m_run.Labels.Start = m_start->value();
    // The standard sheet: odd labels on the left, row by row.
    const int n = m_start->value();
    const QPoint place = sheet ? sheet->RowColumnOf(n) : QPoint(n % 2 ? 1 : 2, (n + 1) / 2);
    m_startPlace->setText(u"（%1行目・%2列目）"_s.arg(place.y()).arg(place.x()));
    for (QWidget *w : std::initializer_list<QWidget *>{m_sheet, m_start, m_startPlace, m_outlines})
        w->setEnabled(labels);
    m_paperNote->setText(labels && sheet && sheet->paperName != u"A4"_s
                             ? u"ラベル用紙は「%1」です"_s.arg(sheet->paperName)
                             : u"はがき以外は用紙は「A4」です"_s);
}

void PrintDialog::resolveStoredSheet()
{
    if (m_storedSheetResolved)
        return;
    m_storedSheetResolved = true;
    const SettingsRecord &settings = AppSettings();
    if (settings.LabelPart.isEmpty())
        return;
    const LabelSheet *sheet = nullptr;
    {
        WaitCursor busy;
        sheet = LabelSheetDatabase::System().Find(settings.LabelBrand, settings.LabelPart);
    }
    if (sheet) {
        m_run.Labels.Sheet = *sheet;
        return;
    }
    MessageBoxes::Show(this,
                       u"ラベル用紙「%1 %2」がラベル用紙のデータに見つかりません。\n"
                       u"標準の用紙（%3）で印刷します。"_s.arg(settings.LabelBrand, settings.LabelPart,
                                                               StandardSheetCaption()),
                       MsgIcon::Exclamation);
}

void PrintDialog::ChooseLabelSheet()
{
    if (Kind() != 2 || isRunning())
        return;
    const LabelSheetDatabase *database = nullptr;
    {
        WaitCursor busy;
        database = &LabelSheetDatabase::System();
    }
    if (database->Sheets().empty())
        MessageBoxes::Show(this,
                           u"ラベル用紙のデータが見つかりません。標準の用紙だけを選べます。\n"
                           u"ほかの用紙を使うには、パッケージ glabels-data を入れてください。"_s,
                           MsgIcon::Information);
    const LabelSheet *current = nullptr;
    if (m_run.Labels.Sheet)
        current = database->Find(m_run.Labels.Sheet->brand, m_run.Labels.Sheet->part);
    LabelSheetDialog::Open(this, database->Sheets(), current, [this](const LabelSheet *sheet) { UseLabelSheet(sheet); });
}

void PrintDialog::UseLabelSheet(const LabelSheet *sheet)
{
    m_run.Labels.Sheet = sheet ? std::optional<LabelSheet>(*sheet) : std::nullopt;
    m_storedSheetResolved = true;
    SettingsRecord &settings = m_main.AppSettings();
    settings.LabelBrand = sheet ? sheet->brand : QString();
    settings.LabelPart = sheet ? sheet->part : QString();
    storePrintSettings();
    showLabelControls();
}

void PrintDialog::LabelRunPrinted(int kind)
{
    if (kind != 2)
        return;
    m_run.Labels.Start = 1;
    showLabelControls();
}

bool PrintDialog::AskPdfFile(QWidget *owner)
{
    PrinterSetup &printer = CurrentPrinter();
    if (!printer.ToPdfFile)
        return true;
    const QString path = FileDialogs::GetSavePdfFileName(owner);
    if (path.isEmpty())
        return false;
    printer.PdfFileName = path;
    return true;
}

QString PrintDialog::DocumentName(int kind) const
{
    const PrintoutKind &row = *FindPrintoutKind(kind);
    return m_main.CurrentPrinter().ToPdfFile ? PrintDocumentTitle(row, document().BookFileName()) : row.name;
}

void PrintDialog::PrintAlignmentPage()
{
    if (isRunning())
        return;
    // One page, no entries: no progress window, nothing to cancel.
    class Quiet : public PrintProgress, public PrintEntries {
    public:
        void SetStatus(const QString &) override {}
        void SetValue(int) override {}
        void PumpEvents() override {}
        int Count() const override { return 0; }
        qint32 KeyNumber(int) const override { return 0; }
    } quiet;
    const PrintoutKind &kind = *FindPrintoutKind(Kind());
    if (!AskPdfFile(this))
        return;
    m_running = true;
    m_run.PrintCancelled = false;
    PrintJob job = MakeJob(quiet, quiet);
    job.reportFailure = ReportEachFailureOnce([this](const QString &text) { MessageBoxes::ReportError(this, text); });
    {
        WaitCursor busy;
        const std::unique_ptr<PrintSurface> surface =
            PrinterSurfaces::Create(CurrentPrinter(), u"位置合わせ印刷（%1）"_s.arg(kind.name));
        PrintAlignment(surface.get(), job, kind.kind);
    }
    m_running = false;
}

void PrintDialog::ShowDetail(int index)
{
    QListWidget *list = index == 0 ? m_candidates : m_toPrint;
    if (!list->currentItem())
        return;
    m_main.listCommands().EditCommand(index == 0 ? 3 : 4);
}

void PrintDialog::Reset()
{
    if (!m_run.PrintListsChanged)
        return;
    if (MessageBoxes::Show(this, u"最初の状態に戻しますか？"_s, MsgIcon::Question, MsgButtons::YesNo,
                           MsgAnswer::Yes)
        == MsgAnswer::Yes)
        FillPrintLists();
}

void PrintDialog::ChoosePrinter()
{
    auto *choice = new PrinterChoiceDialog(CurrentPrinter(), this);
    choice->setAttribute(Qt::WA_DeleteOnClose);
    choice->setWindowModality(Qt::ApplicationModal);
    choice->show();
    choice->activateWindow();
}

PreviewWindow *PrintDialog::previewWindow() const { return m_preview; }

PreviewWindow &PrintDialog::EnsurePreviewWindow()
{
    if (!m_preview)
        m_preview = new PreviewWindow(*this);
    return *m_preview;
}

bool PrintDialog::DiscardPreviewWindow()
{
    if (!m_preview)
        return true;
    if (!m_preview->close())
        return false;
    delete m_preview.data();
    return true;
}

bool PrintDialog::isRunning() const
{
    if (m_running)
        return true;
    const auto windows = findChildren<PrintProgressWindow *>();
    return std::any_of(windows.begin(), windows.end(), [](const QWidget *w) { return w->isVisible(); });
}

void PrintDialog::Go(int index)
{
    // A click that comes through while a printout lets window events run
    // must not start a second run or discard the preview being drawn on.
    if (isRunning())
        return;
    if (m_toPrint->count() == 0) {
        MessageBoxes::Show(this, u"印刷者が選択されていません。"_s, MsgIcon::Critical);
        return;
    }
    // The pages of two previews must never mix in one window; a printer run
    // leaves the preview the user is reading.
    if (index == 1 && !DiscardPreviewWindow())
        return;
    if (index == 0 && !AskPdfFile(this))
        return;

    QPointer<PrintProgressWindow> progress;
    const auto fail = [&](const QString &description) {
        setEnabled(true);
        if (progress)
            progress->close();
        MessageBoxes::ReportError(this, description);
    };
    m_running = true;
    try {
        const PrintoutKind &kind = *FindPrintoutKind(Kind());
        m_run.PrintKindName = kind.name;
        if (kind.asksSender)
            m_run.PrintSender = MessageBoxes::Show(this, u"差出人を印刷しますか？"_s, MsgIcon::Question,
                                                   MsgButtons::YesNo, MsgAnswer::Yes)
                                == MsgAnswer::Yes;
        m_run.LastRunMode = qint16(index);
        m_run.RunFromDialog = true;

        progress = new PrintProgressWindow(m_run, this);
        progress->Prepare(m_run.PrintKindName, index, m_toPrint->count());
        progress->show();
        progress->repaint();

        setEnabled(false);
        // Disabling the dialog reaches its progress window too; its cancel button must work.
        progress->setEnabled(true);
        m_run.PrintCancelled = false;
        m_run.RunFromPreview = false;

        RunPrintout(*progress, *this, kind.kind, index);

        if (!m_run.PrintCancelled && progress)
            progress->close();
        if (index == 0 && !m_run.PrintCancelled)
            LabelRunPrinted(kind.kind);
        setEnabled(true);
        if (index == 1 && !m_run.PrintCancelled && m_preview) {
            m_preview->activateWindow();
            m_preview->setFocus();
        }
    } catch (const AppError &e) {
        fail(e.description());
    } catch (const std::exception &e) {
        fail(QString::fromUtf8(e.what()));
    }
    // The run is over and nothing of the window is on the stack any more.
    delete progress.data();
    m_running = false;
}

void PrintDialog::done(int result)
{
    // Not before the dialog has loaded, and never under a running printout.
    if (!m_run.PrintDialogReady || isRunning())
        return;
    MainWindow &main = m_main;
    QDialog::done(result);
    main.setEnabled(true);
    main.activateWindow();
    main.focusList();
}

bool PrintDialog::eventFilter(QObject *watched, QEvent *event)
{
    // A disabled window still gets the close box's request. Closing the main
    // window now would empty the book under the lists and a running printout,
    // and leave this dialog open without a main window to return to.
    if (watched == &m_main && event->type() == QEvent::Close && event->spontaneous()) {
        event->ignore();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void RunPrintout(PrintProgressWindow &progressWindow, PrintDialog &printDialog, int kind, int previewFlag)
{
    PrintRunState &run = printDialog.run();
    run.PrintCancelled = false;

    QPointer<PrintProgressWindow> progress(&progressWindow);
    QPointer<PrintDialog> dialog(&printDialog);
    PrintJob job = printDialog.MakeJob(progressWindow, printDialog);
    job.reportFailure = ReportEachFailureOnce([progress, dialog](const QString &text) {
        QWidget *owner = progress && progress->isVisible() ? static_cast<QWidget *>(progress.data())
                                                            : dialog.data();
        MessageBoxes::ReportError(owner, text);
    });

    if (previewFlag == 0) {
        const std::unique_ptr<PrintSurface> surface =
            PrinterSurfaces::Create(printDialog.CurrentPrinter(), printDialog.DocumentName(kind));
        RunKindPrintout(kind, surface.get(), job, 0);
        return;
    }

    run.PreviewKind = qint16(kind);
    QPointer<PreviewWindow> preview(&printDialog.EnsurePreviewWindow());
    progressWindow.SetPreviewToCancel(preview);
    job.pages = preview;
    RunKindPrintout(kind, &preview->FirstPage(), job, previewFlag);
    if (!preview)
        return;
    if (run.PrintCancelled) {
        // The cancel closed it; the next preview starts from a fresh window.
        if (!preview->isVisible())
            preview->deleteLater();
        return;
    }
    preview->show();
}

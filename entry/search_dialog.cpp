#include "entry/search_dialog.h"

#include "entry/image_combo_box.h"
#include "entry/input_helpers.h"
#include "entry/picture_button.h"
#include "entry/text_match.h"
#include "mainwindow/address_list_model.h"
#include "mainwindow/address_list_view.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "mainwindow/twips.h"
#include "mainwindow/wait_cursor.h"
#include "model/address_record.h"
#include "model/app_state.h"
#include "model/book_document.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QScreen>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// The window's outer size, frame and caption bar included.
constexpr int kWindowWidthTwips = 6795;
constexpr int kWindowHeightTwips = 2085;

const TwipsPlace kLayout[] = {
    {u"lbl_検索項目", 300, 75, 1800, 255},
    {u"cmb_項目", 300, 375, 2190, 360},
    {u"lbl_検索内容", 2775, 75, 1800, 255},
    {u"cmb_氏名", 2700, 375, 2490, 360},
    {u"lbl_説明", 300, 825, 4890, 255},
    {u"Chk_検索", 1350, 1300, 225, 225},
    {u"Label1", 1800, 1350, 3390, 255},
    {u"cmd_検索", 5325, 300, 1220, 450},
    {u"cmd_閉じる", 5325, 900, 1220, 450},
};



} // namespace

SearchDialog *SearchDialog::Open(MainWindow &main, bool modal)
{
    // A closed dialog is hidden until it is deleted; it does not count.
    const auto open = main.findChildren<SearchDialog *>(QString(), Qt::FindDirectChildrenOnly);
    for (SearchDialog *dialog : open) {
        if (dialog->isVisible()) {
            dialog->raise();
            dialog->activateWindow();
            return dialog;
        }
    }
    auto *dialog = new SearchDialog(main);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (modal)
        dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
    dialog->activateWindow();
    dialog->m_text->setFocus();
    return dialog;
}

SearchDialog::SearchDialog(MainWindow &main)
    : QDialog(&main, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_main(main)
{
    setObjectName(u"F_Kensaku"_s);
    setWindowTitle(u"検索処理"_s);
    setFont(DesignFont(DialogFace, 9.75));
    setFixedSize(TwipsClientSize(kWindowWidthTwips, kWindowHeightTwips));

    buildControls();
    placeOverMain();

    // The history of this run, oldest first, under an empty text.
    m_text->clear();
    m_text->addItems(m_main.state().SearchHistory);
    m_text->setCurrentIndex(-1);
    m_text->clearEditText();
    m_field->setCurrentIndex(0);
    m_searchStart = 1;
    m_exact->setChecked(false);

    TintInputControls(this);
    m_text->setFocus();
}

void SearchDialog::buildControls()
{
    auto *fieldLabel = new QLabel(u"検索項目"_s, this);
    fieldLabel->setObjectName(u"lbl_検索項目"_s);

    m_field = new ImageComboBox(this);
    m_field->setObjectName(u"cmb_項目"_s);
    m_field->setIconSize(QSize(16, 16));
    // The icons of the main list's column headings.
    const AddressListModel *columns = m_main.listModel();
    for (int i = 0; i < FieldCount; ++i) {
        const QIcon icon = columns->headerData(i, Qt::Horizontal, Qt::DecorationRole).value<QIcon>();
        m_field->addItem(icon, FieldCaptions().at(i), u"k%1"_s.arg(i + 1));
    }

    auto *textLabel = new QLabel(u"検索内容"_s, this);
    textLabel->setObjectName(u"lbl_検索内容"_s);

    m_text = new QComboBox(this);
    m_text->setObjectName(u"cmb_氏名"_s);
    m_text->setEditable(true);
    // The search appends every text itself, duplicates included; completion
    // would change what was typed (by case, too), so there is none.
    m_text->setInsertPolicy(QComboBox::NoInsert);
    m_text->setDuplicatesEnabled(true);
    m_text->setCompleter(nullptr);
    m_text->setMaxVisibleItems(16);

    auto *explanation = new QLabel(u"(上記の文字列を含む検索項目を検索します)"_s, this);
    explanation->setObjectName(u"lbl_説明"_s);

    m_exact = new QCheckBox(this);
    m_exact->setObjectName(u"Chk_検索"_s);
    auto *exactLabel = new QLabel(u"完全に一致するもののみ検索"_s, this);
    exactLabel->setObjectName(u"Label1"_s);
    m_exact->setAccessibleName(exactLabel->text());
    // The words belong to the box: clicking them ticks it.
    TickOnCaptionClick(exactLabel, m_exact);

    m_searchButton = new PictureButton(this);
    m_searchButton->setObjectName(u"cmd_検索"_s);
    m_searchButton->setPictures(u":/search/search.svg"_s, u":/search/search_hover.svg"_s);
    m_searchButton->setCaption(u"検索"_s);
    m_searchButton->setAutoDefault(true);
    m_searchButton->setDefault(true);

    m_closeButton = new PictureButton(this);
    m_closeButton->setObjectName(u"cmd_閉じる"_s);
    m_closeButton->setPictures(u":/search/close.svg"_s, u":/search/close_hover.svg"_s);
    m_closeButton->setCaption(u"閉じる"_s);
    // Enter on a focused button presses that button.
    m_closeButton->setAutoDefault(true);

    for (const TwipsPlace &p : kLayout) {
        if (auto *w = findChild<QWidget *>(QString::fromUtf16(p.name), Qt::FindDirectChildrenOnly))
            w->setGeometry(p.rect());
    }

    setTabOrder(m_text, m_searchButton);
    setTabOrder(m_searchButton, m_closeButton);
    setTabOrder(m_closeButton, m_exact);
    setTabOrder(m_exact, m_field);

    connect(m_field, &QComboBox::activated, this, &SearchDialog::fieldChosen);
    // Any new text starts again from the top; so does choosing a history
    // entry, even the text already in the box.
    connect(m_text, &QComboBox::editTextChanged, this, [this] { m_searchStart = 1; });
    connect(m_text, &QComboBox::activated, this, [this] { m_searchStart = 1; });
    connect(m_searchButton, &QPushButton::clicked, this, &SearchDialog::Search);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

void SearchDialog::placeOverMain()
{
    // Centred across the screen; vertically where a centred main window's
    // top would be. Whole twips, halves dropped.
    const QScreen *screen = m_main.screen() ? m_main.screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect();
    const int screenWidth = m_main.state().ScreenWidth > 0 ? m_main.state().ScreenWidth
                                                           : PixelsToTwips(area.width());
    const int left = (screenWidth - kWindowWidthTwips) / 2;
    const int top = (PixelsToTwips(area.height()) - PixelsToTwips(m_main.frameGeometry().height())) / 2;
    // A main window taller than the screen would put the caption bar, and
    // with it the only handle to move the dialog, above the screen.
    move(area.topLeft() + QPoint(std::max(0, TwipsToPixels(left)), std::max(0, TwipsToPixels(top))));
}

void SearchDialog::fieldChosen()
{
    m_text->setFocus();
}

void SearchDialog::Search()
{
    // A name being renamed in the list counts as it reads in its editor;
    // one the file cannot carry is refused there first.
    if (!m_main.commitListEdit())
        return;
    const QString text = m_text->currentText();
    if (text.isEmpty()) {
        MessageBoxes::Show(this, u"検索する文字を入力して下さい。"_s, MsgIcon::Critical);
        m_text->setFocus();
        return;
    }
    const int field = m_field->currentIndex() + 1;
    if (field < 1 || field > FieldCount) {
        MessageBoxes::Show(this, u"検索項目を選択して下さい。"_s, MsgIcon::Critical);
        m_field->setFocus();
        return;
    }

    // Recording the text leaves it in the box as it is: no edit, no restart.
    m_text->addItem(text);
    m_main.state().SearchHistory.append(text);

    BookDocument &document = m_main.document();
    AddressListView *list = m_main.listView();
    {
        WaitCursor busy;
        m_searchFound = false;
        const TextMatcher matcher(text, m_exact->isChecked());
        const int count = document.Count();
        for (int j = m_searchStart; j <= count; ++j) {
            if (!matcher.matches(document.Record(j).field(Field(field - 1))))
                continue;
            list->setCurrentRow(j - 1);
            m_searchStart = j + 1;
            m_searchFound = true;
            document.MarkItem(j, false);
            break;
        }
        list->currentView()->viewport()->update();
    }

    if (!m_searchFound)
        MessageBoxes::Show(this, u"該当の"_s + m_field->currentText() + u"は見つかりませんでした。"_s,
                           MsgIcon::Information);
}

void SearchDialog::done(int result)
{
    MainWindow &main = m_main;
    QDialog::done(result);
    main.focusList();
}


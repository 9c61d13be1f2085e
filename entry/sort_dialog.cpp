#include "entry/sort_dialog.h"

#include "entry/input_helpers.h"
#include "entry/picture_button.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/twips.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>

using namespace Qt::Literals::StringLiterals;

namespace {

// The window's outer size, frame and caption bar included.
constexpr int kWidth = 5760;    // twips
constexpr int kHeight = 4245;

// The two headings are lettered on the background above the rows.
const TwipsPlace kLayout[] = {
    {u"opt_項目(0)", 450, 780, 1080, 315},
    {u"opt_項目(1)", 1620, 780, 1080, 315},
    {u"opt_項目(2)", 2790, 780, 1080, 315},
    {u"opt_項目(3)", 3960, 780, 1380, 315},
    {u"opt_順序(0)", 450, 1770, 2340, 315},
    {u"opt_順序(1)", 2940, 1770, 2340, 315},
    {u"lbl_説明", 450, 2280, 4920, 660},
    {u"cmd_閉じる", 450, 3180, 1500, 450},
    {u"cmd_Go", 3840, 3180, 1500, 450},
};

const SortKey kKeys[] = {SortKey::Yubin, SortKey::Address, SortKey::Name, SortKey::Tel};
const QString kDirections[] = {u"昇順（小さい順）"_s, u"降順（大きい順）"_s};

} // namespace

SortDialog *SortDialog::Open(QWidget *owner, SortOrder initial, Apply apply)
{
    return ShowApplicationModal(new SortDialog(owner, initial, std::move(apply)));
}

SortDialog::SortDialog(QWidget *owner, SortOrder initial, Apply apply)
    : PictureDialog(owner,
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                        | Qt::MSWindowsFixedSizeDialogHint,
                    u":/sort/background.svg"_s),
      m_apply(std::move(apply))
{
    setObjectName(u"F_Narabekae"_s);
    setWindowTitle(u"並べ替え"_s);
    setFont(DesignFont(DialogFace, 9.75));
    setFixedSize(TwipsClientSize(kWidth, kHeight));

    auto *keys = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto *option = new QRadioButton(SortKeyCaption(kKeys[i]), this);
        option->setObjectName(u"opt_項目(%1)"_s.arg(i));
        keys->addButton(option);
        m_keys[size_t(i)] = option;
    }
    auto *directions = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        auto *option = new QRadioButton(kDirections[i], this);
        option->setObjectName(u"opt_順序(%1)"_s.arg(i));
        directions->addButton(option);
        m_directions[size_t(i)] = option;
    }
    auto *note = new QLabel(u"〒と電話番号は数字の順、住所は都道府県の順（北海道～沖縄県）です。"
                            u"氏名は文字コードの順で、読みの順ではありません。空欄の項目は最後になります。"_s,
                            this);
    note->setObjectName(u"lbl_説明"_s);
    note->setWordWrap(true);
    note->setFont(DesignFont(DialogFace, 9));

    auto *close = new PictureButton(this);
    close->setObjectName(u"cmd_閉じる"_s);
    close->setPictures(u":/print/close.svg"_s, u":/print/close_hover.svg"_s);
    close->setCaption(u"閉じる"_s);
    m_go = new PictureButton(this);
    m_go->setObjectName(u"cmd_Go"_s);
    m_go->setPictures(u":/sort/sort.svg"_s, u":/sort/sort_hover.svg"_s);
    m_go->setCaption(u"並べ替え"_s);
    m_go->setAutoDefault(true);
    m_go->setDefault(true);

    for (const TwipsPlace &p : kLayout) {
        if (auto *w = findChild<QWidget *>(QString::fromUtf16(p.name), Qt::FindDirectChildrenOnly))
            w->setGeometry(p.rect());
    }

    for (int i = 0; i < 4; ++i)
        m_keys[size_t(i)]->setChecked(kKeys[i] == initial.key);
    m_directions[initial.descending ? 1 : 0]->setChecked(true);

    QWidget *order[] = {m_keys[0], m_keys[1], m_keys[2], m_keys[3], m_directions[0], m_directions[1], m_go, close};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_go, &QPushButton::clicked, this, &SortDialog::Go);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    TintInputControls(this);
    ShowFocusFromTheStart(m_go);
    m_go->setFocus();
}

SortOrder SortDialog::chosen() const
{
    SortOrder order;
    for (int i = 0; i < 4; ++i) {
        if (m_keys[size_t(i)]->isChecked())
            order.key = kKeys[i];
    }
    order.descending = m_directions[1]->isChecked();
    return order;
}

void SortDialog::Go()
{
    const SortOrder order = chosen();
    // The window goes first: what the caller does may take a moment.
    accept();
    if (m_apply)
        m_apply(order);
}

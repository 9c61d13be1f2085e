#include "entry/postal_choice_dialog.h"

#include "entry/input_helpers.h"
#include "entry/picture_button.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/twips.h"

#include <QListWidget>

using namespace Qt::Literals::StringLiterals;

namespace {

// The window's outer size, frame and caption bar included.
constexpr int kWidth = 7440;    // twips
constexpr int kHeight = 4905;

// The heading is lettered on the background.
const TwipsPlace kLayout[] = {
    {u"lst_候補", 210, 900, 6900, 2850},
    {u"cmd_閉じる", 210, 3900, 1500, 450},
    {u"cmd_Go", 5610, 3900, 1500, 450},
};

} // namespace

PostalChoiceDialog *PostalChoiceDialog::Open(QWidget *owner, const QString &title, const QStringList &lines,
                                             Apply apply)
{
    return ShowApplicationModal(new PostalChoiceDialog(owner, title, lines, std::move(apply)));
}

PostalChoiceDialog::PostalChoiceDialog(QWidget *owner, const QString &title, const QStringList &lines, Apply apply)
    : PictureDialog(owner,
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                        | Qt::MSWindowsFixedSizeDialogHint,
                    u":/postal/choice_background.svg"_s),
      m_apply(std::move(apply))
{
    setObjectName(u"F_候補"_s);
    setWindowTitle(title);
    setFont(DesignFont(DialogFace, 10.5));
    setFixedSize(TwipsClientSize(kWidth, kHeight));

    m_list = new QListWidget(this);
    m_list->setObjectName(u"lst_候補"_s);
    m_list->setAccessibleName(title);
    m_list->addItems(lines);
    m_list->setCurrentRow(0);
    m_list->setFont(DesignFont(DialogFace, 11.25));

    auto *close = addPictureButton(u"cmd_閉じる"_s, u":/print/close"_s, u"閉じる"_s);
    auto *go = addPictureButton(u"cmd_Go"_s, u":/postal/choose"_s, u"選択"_s, true);
    placeControls(kLayout);
    setTabOrder(m_list, go);
    setTabOrder(go, close);

    // Esc and the close box choose nothing.
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(go, &QPushButton::clicked, this, &PostalChoiceDialog::Choose);
    connect(m_list, &QListWidget::itemActivated, this, &PostalChoiceDialog::Choose);
    TintInputControls(this);
    m_list->setFocus();
}

void PostalChoiceDialog::Choose()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    accept();
    if (m_apply)
        m_apply(row);
}

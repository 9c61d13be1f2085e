#include "settings/print_position_dialog.h"

#include "entry/input_helpers.h"
#include "entry/picture_button.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/message_box.h"
#include "settings/app_settings.h"
#include "settings/print_position_page.h"
#include "settings/settings_controls.h"

using namespace Qt::Literals::StringLiterals;
using namespace SettingsControls;

namespace {

// The window's outer size, frame and caption bar included.
constexpr int kWidth = 6200;   // twips
constexpr int kHeight = 4900;

const TwipsPlace kPage = {u"Pic_位置", 0, 0, kWidth - DialogFrameWidthTwips, 4000};
const TwipsPlace kCloseButton = {u"cmd_閉じる", 150, 4000, 1515, 440};
const TwipsPlace kGoButton = {u"cmd_Go", 2700, 4000, 1515, 440};

} // namespace

PrintPositionDialog *PrintPositionDialog::Open(QWidget *owner, const SettingsRecord &settings, Apply apply)
{
    return ShowApplicationModal(new PrintPositionDialog(owner, settings, std::move(apply)));
}

PrintPositionDialog::PrintPositionDialog(QWidget *owner, const SettingsRecord &settings, Apply apply)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                         | Qt::MSWindowsFixedSizeDialogHint),
      m_apply(std::move(apply))
{
    setObjectName(u"F_Ichi"_s);
    setWindowTitle(u"印刷位置の調整"_s);
    setFont(DesignFont(DialogFace, 9));
    setFixedSize(TwipsClientSize(kWidth, kHeight));

    m_page = new PrintPositionPage(this);
    m_page->setGeometry(kPage.rect());
    m_page->load(settings);
    auto *close = makeButton(this, kCloseButton, ClosePictures, u"閉じる"_s);
    auto *go = makeButton(this, kGoButton, ApplyPictures, u"適用"_s);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(go, &QPushButton::clicked, this, &PrintPositionDialog::Go);
    connect(m_page->defaultsButton(), &QPushButton::clicked, this, &PrintPositionDialog::RestoreDefaults);
    TintInputControls(this);
    ShowFocusFromTheStart(close);
    close->setFocus();
}

void PrintPositionDialog::Go()
{
    SettingsRecord chosen;
    m_page->store(chosen);
    if (!m_apply || m_apply(chosen))
        accept();
}

void PrintPositionDialog::RestoreDefaults()
{
    if (MessageBoxes::Show(this, u"既定値に戻しますか？"_s, MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::Yes)
        == MsgAnswer::Yes)
        m_page->restoreDefaults();
}

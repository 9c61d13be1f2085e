#include "settings/sender_dialog.h"

#include "entry/input_helpers.h"
#include "entry/postal_lookup.h"
#include "entry/picture_button.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/message_box.h"
#include "mainwindow/twips.h"
#include "settings/app_settings.h"
#include "settings/settings_sections.h"
#include "settings/settings_store.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

using namespace Qt::Literals::StringLiterals;

namespace {

// Top to bottom, which is also the tab order of the boxes.
const TwipsPlace kLabels[] = {
    {u"lbl_氏名", 450, 1125, 2040, 240},
    {u"lbl_電話番号", 450, 1575, 2040, 240},
    {u"lbl_Mail", 450, 2025, 2040, 240},
    {u"lbl_郵便番号", 450, 2475, 2040, 240},
    {u"lbl_住所1", 450, 2925, 2040, 240},
    {u"lbl_住所2", 450, 3375, 2040, 240},
};

const TwipsPlace kBoxes[] = {
    {u"txt_氏名", 2625, 1050, 2865, 390},
    {u"txt_電話番号", 2625, 1500, 2865, 390},
    {u"txt_Mail", 2625, 1950, 4365, 390},
    {u"txt_郵便", 2625, 2400, 2865, 390},
    {u"txt_住所1", 2625, 2850, 4440, 390},
    {u"txt_住所2", 2625, 3300, 4440, 390},
};

// Beside the 〒 box.
const TwipsPlace kFindAddressButton = {u"cmd_住所検索", 5565, 2400, 750, 390};
const TwipsPlace kFindCodeButton = {u"cmd_〒検索", 6375, 2400, 750, 390};
const TwipsPlace kCloseButton = {u"cmd_閉じる", 525, 4150, 1370, 510};
const TwipsPlace kGoButton = {u"cmd_Go", 3225, 4150, 1370, 510};

constexpr int kWidth = 7290;    // twips
constexpr int kHeight = 5175;

constexpr int kTelLimit = 13;   // characters the user may type
constexpr int kYubinLimit = 8;

QLineEdit *makeBox(QWidget *form, const TwipsPlace &p)
{
    auto *box = new QLineEdit(form);
    box->setObjectName(QString::fromUtf16(p.name));
    box->setGeometry(p.rect());
    WireSelectAllText(box);
    WireEnterToTab(box);
    return box;
}

} // namespace

SenderDialog::SenderDialog(SettingsRecord &appSettings, SettingsStore &store, QWidget *parent,
                           PostalCodes *postalCodes)
    : QDialog(parent), m_settings(appSettings), m_store(store)
{
    setObjectName(u"F_Kojin"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"個人情報の登録"_s);
    // A fixed form: a close box, no minimise or maximise button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DesignFont(DialogFace, 11.25));

    const QFont labelFont = DesignFont(DialogFace, 11.25, true);
    for (const TwipsPlace &p : kLabels) {
        auto *label = new QLabel(this);
        label->setObjectName(QString::fromUtf16(p.name));
        label->setFont(labelFont);
        label->setGeometry(p.rect());
    }

    m_name = makeBox(this, kBoxes[0]);
    m_tel = makeBox(this, kBoxes[1]);
    m_mail = makeBox(this, kBoxes[2]);
    m_yubin = makeBox(this, kBoxes[3]);
    m_ju1 = makeBox(this, kBoxes[4]);
    m_ju2 = makeBox(this, kBoxes[5]);
    // Names and addresses are typed in Japanese; numbers and the mail address are not.
    SetInputMethodOn(m_name, true);
    SetInputMethodOn(m_tel, false);
    SetInputMethodOn(m_mail, false);
    SetInputMethodOn(m_yubin, false);
    SetInputMethodOn(m_ju1, true);
    SetInputMethodOn(m_ju2, true);

    m_go = new PictureButton(this);
    m_go->setObjectName(QString::fromUtf16(kGoButton.name));
    m_go->setGeometry(kGoButton.rect());
    m_go->setPictures(u":/sender/register.svg"_s, u":/sender/register_hover.svg"_s);
    m_go->setCaption(u"登録"_s);

    m_close = new PictureButton(this);
    m_close->setObjectName(QString::fromUtf16(kCloseButton.name));
    m_close->setGeometry(kCloseButton.rect());
    m_close->setPictures(u":/sender/close.svg"_s, u":/sender/close_hover.svg"_s);
    m_close->setCaption(u"閉じる"_s);

    if (postalCodes)
        m_postal = new PostalLookup(this, postalCodes, m_yubin, m_ju1, kFindAddressButton.rect(), kFindCodeButton.rect());

    connect(m_go, &QPushButton::clicked, this, &SenderDialog::Register);
    // Esc and the close box reject as well.
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    QWidget *order[] = {m_name, m_tel, m_mail, m_yubin, m_ju1, m_ju2, m_go, m_close};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    SetFieldCaptions(this);
    TintInputControls(this);

    const SenderInfo &sender = m_settings.Sender;
    m_name->setText(sender.Name);
    SetTextWithinLimit(m_tel, sender.Tel, kTelLimit);
    m_mail->setText(sender.Mail);
    SetTextWithinLimit(m_yubin, sender.Yubin, kYubinLimit);
    m_ju1->setText(sender.Ju1);
    m_ju2->setText(sender.Ju2);

    setFixedSize(TwipsClientSize(kWidth, kHeight));
    QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
    m_name->setFocus();
}

void SenderDialog::Register()
{
    // Stored exactly as typed: the postcard prints what the user wrote.
    SenderInfo &sender = m_settings.Sender;
    sender.Name = m_name->text();
    sender.Tel = m_tel->text();
    sender.Mail = m_mail->text();
    sender.Yubin = m_yubin->text();
    sender.Ju1 = m_ju1->text();
    sender.Ju2 = m_ju2->text();
    if (!M_RegS::SaveKojinSection(m_store, m_settings)) {
        // The form stays open so that the user knows the data is not kept.
        MessageBoxes::ReportError(this, u"個人情報を保存できませんでした。設定ファイル「%1」に書き込めません。"_s
                                            .arg(m_store.fileName()));
        return;
    }
    accept();
}

#include "entry/postal_lookup.h"

#include "entry/picture_button.h"
#include "entry/postal_choice_dialog.h"
#include "files/postal_codes.h"
#include "mainwindow/message_box.h"
#include "mainwindow/wait_cursor.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>

using namespace Qt::Literals::StringLiterals;

namespace {

// How a candidate reads in the list: an office with its name.
QString AddressLine(const PostalEntry &entry)
{
    return entry.office ? entry.address + u"（"_s + entry.officeName + u"）"_s : entry.address;
}

// Leaving a box by Tab or a click looks up; a window or a menu taking the
// focus away does not.
bool IsLeavingByUser(const QFocusEvent *event)
{
    const Qt::FocusReason reason = event->reason();
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::MouseFocusReason
           || reason == Qt::ShortcutFocusReason || reason == Qt::OtherFocusReason;
}

} // namespace

PostalLookup::PostalLookup(QWidget *form, PostalCodes *codes, QLineEdit *yubin, QLineEdit *address,
                           const QRect &addressButton, const QRect &codeButton)
    : QObject(form), m_form(form), m_codes(codes), m_yubin(yubin), m_address(address)
{
    setObjectName(u"PostalLookup"_s);
    m_addressButton = new PictureButton(form);
    m_addressButton->setObjectName(u"cmd_住所検索"_s);
    m_addressButton->setPictures(u":/entry/find_address.svg"_s, u":/entry/find_address_hover.svg"_s);
    m_addressButton->setCaption(u"住所検索"_s);
    m_addressButton->setGeometry(addressButton);
    m_addressButton->setFocusPolicy(Qt::NoFocus);
    m_codeButton = new PictureButton(form);
    m_codeButton->setObjectName(u"cmd_〒検索"_s);
    m_codeButton->setPictures(u":/entry/find_code.svg"_s, u":/entry/find_code_hover.svg"_s);
    m_codeButton->setCaption(u"〒検索"_s);
    m_codeButton->setGeometry(codeButton);
    m_codeButton->setFocusPolicy(Qt::NoFocus);
    connect(m_addressButton, &QPushButton::clicked, this, &PostalLookup::FindAddress);
    connect(m_codeButton, &QPushButton::clicked, this, &PostalLookup::FindCode);
    m_yubin->installEventFilter(this);
    m_address->installEventFilter(this);
    SetReadOnly(false);
}

bool PostalLookup::usable() const { return !m_readOnly && m_codes && m_codes->isAvailable(); }

void PostalLookup::SetReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    const bool available = m_codes && m_codes->isAvailable();
    for (PictureButton *button : {m_addressButton, m_codeButton}) {
        button->setVisible(!readOnly);
        button->setActive(usable());
    }
    // The tool tip says what a button does, or why it cannot.
    m_addressButton->setToolTip(available ? u"〒の郵便番号から住所1を調べます。"_s : PostalUnavailableText());
    m_codeButton->setToolTip(available ? u"住所1から郵便番号を調べます。"_s : PostalUnavailableText());
}

bool PostalLookup::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && usable() && IsLeavingByUser(static_cast<QFocusEvent *>(event))) {
        // After the focus has moved: a candidate list must not open in the middle of it.
        if (watched == m_yubin)
            QMetaObject::invokeMethod(this, &PostalLookup::afterCode, Qt::QueuedConnection);
        else if (watched == m_address)
            QMetaObject::invokeMethod(this, &PostalLookup::afterAddress, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void PostalLookup::afterCode()
{
    if (!m_form->isVisible() || !m_address->text().trimmed().isEmpty() || NormalisePostalCode(m_yubin->text()) < 0)
        return;
    fillAddress(false);
}

void PostalLookup::afterAddress()
{
    if (!m_form->isVisible() || !m_yubin->text().trimmed().isEmpty() || m_address->text().trimmed().isEmpty())
        return;
    fillCode(false, true);
}

void PostalLookup::FindAddress()
{
    if (!usable())
        return;
    if (NormalisePostalCode(m_yubin->text()) < 0) {
        MessageBoxes::Show(m_form, u"〒に7けたの郵便番号を入れて下さい。"_s, MsgIcon::Exclamation);
        m_yubin->setFocus();
        return;
    }
    fillAddress(true);
}

void PostalLookup::FindCode()
{
    if (!usable())
        return;
    if (m_address->text().trimmed().isEmpty()) {
        MessageBoxes::Show(m_form, u"住所1に住所を入れて下さい。"_s, MsgIcon::Exclamation);
        m_address->setFocus();
        return;
    }
    fillCode(true, false);
}

bool PostalLookup::mayReplace(QLineEdit *box, const QString &what)
{
    if (box->text().trimmed().isEmpty() || box->text() == what)
        return true;
    return MessageBoxes::Show(m_form, u"「%1」を「%2」に置き換えますか？"_s.arg(box->text(), what), MsgIcon::Question,
                              MsgButtons::YesNo, MsgAnswer::No)
           == MsgAnswer::Yes;
}

void PostalLookup::fillAddress(bool ask)
{
    QList<PostalEntry> entries;
    {
        WaitCursor busy;
        entries = m_codes->Lookup(m_yubin->text());
    }
    QStringList lines;
    for (const PostalEntry &entry : std::as_const(entries)) {
        if (!lines.contains(AddressLine(entry)))
            lines << AddressLine(entry);
    }
    if (lines.isEmpty()) {
        if (ask)
            MessageBoxes::Show(m_form, u"郵便番号「%1」の住所は見つかりませんでした。"_s.arg(m_yubin->text()),
                               MsgIcon::Information);
        return;
    }
    QPointer<QLineEdit> address = m_address;
    const auto fill = [this, address, entries, lines, ask](int index) {
        const QString line = lines.value(index);
        QString text;
        for (const PostalEntry &entry : entries) {
            if (AddressLine(entry) == line) {
                text = entry.address;
                break;
            }
        }
        if (!address || (ask && !mayReplace(address, text)))
            return;
        address->setText(text);
        address->setFocus();
        // The street number follows: the cursor goes to the end, after the
        // box's select-all on focus has run.
        QMetaObject::invokeMethod(
            address,
            [address] {
                if (address)
                    address->end(false);
            },
            Qt::QueuedConnection);
    };
    if (lines.size() == 1)
        fill(0);
    else
        PostalChoiceDialog::Open(m_form, u"住所の候補（〒%1）"_s.arg(FormatPostalCode(NormalisePostalCode(m_yubin->text()))),
                                 lines, fill);
}

void PostalLookup::fillCode(bool ask, bool onlyIfSure)
{
    QList<PostalEntry> entries;
    {
        WaitCursor busy;
        entries = m_codes->LookupAddress(m_address->text());
    }
    const QList<int> codes = DistinctCodes(entries);
    if (codes.isEmpty()) {
        if (ask)
            MessageBoxes::Show(m_form, u"住所「%1」に当てはまる郵便番号は見つかりませんでした。"_s.arg(m_address->text()),
                               MsgIcon::Information);
        return;
    }
    if (codes.size() > 1 && onlyIfSure)
        return;
    QPointer<QLineEdit> yubin = m_yubin;
    const auto fill = [this, yubin, codes, ask](int index) {
        const QString text = FormatPostalCode(codes.value(index));
        if (!yubin || (ask && !mayReplace(yubin, text)))
            return;
        yubin->setText(text);
    };
    if (codes.size() == 1) {
        fill(0);
        return;
    }
    QStringList lines;
    for (const int code : codes) {
        for (const PostalEntry &entry : std::as_const(entries)) {
            if (entry.code == code) {
                lines << FormatPostalCode(code) + u"\u3000"_s + entry.address;
                break;
            }
        }
    }
    PostalChoiceDialog::Open(m_form, u"郵便番号の候補"_s, lines, fill);
}

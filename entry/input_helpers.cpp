#include "entry/input_helpers.h"

#include "entry/image_combo_box.h"
#include "model/address_record.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

using namespace Qt::Literals::StringLiterals;

namespace {

bool isInputControl(QWidget *w)
{
    // A combo box's own line edit is tinted with its combo.
    if (qobject_cast<QLineEdit *>(w))
        return !qobject_cast<QComboBox *>(w->parentWidget());
    // A combo box with pictures is drawn like a list, not like a text box.
    if (qobject_cast<ImageComboBox *>(w))
        return false;
    return qobject_cast<QComboBox *>(w) || qobject_cast<QListWidget *>(w)
        || qobject_cast<QTextEdit *>(w) || qobject_cast<QPlainTextEdit *>(w);
}

class EnterToTabFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && watched->isWidgetType())
            return EnterToTab(static_cast<QWidget *>(watched), static_cast<QKeyEvent *>(event));
        return false;
    }
};

class SelectAllFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            if (auto *box = qobject_cast<QLineEdit *>(watched)) {
                // After the box's own focus handling, which may place the cursor.
                QMetaObject::invokeMethod(box, [box] { if (box->hasFocus()) SelectAllText(box); },
                                          Qt::QueuedConnection);
            }
        }
        return false;
    }
};

class CaptionClickFilter : public QObject {
public:
    CaptionClickFilter(QCheckBox *box, QObject *parent) : QObject(parent), m_box(box) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::MouseButtonRelease
            || static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton || !m_box->isEnabled())
            return false;
        m_box->toggle();
        return true;
    }

private:
    QCheckBox *m_box;
};

struct FieldLabel {
    const char16_t *label;
    const char16_t *box;
    char16_t accelerator;   // after the field's caption: "氏名(&N)"
};

// In field order.
const FieldLabel kFieldLabels[FieldCount] = {
    {u"lbl_氏名", u"txt_氏名", u'N'},
    {u"lbl_電話番号", u"txt_電話番号", u'T'},
    {u"lbl_Mail", u"txt_Mail", u'M'},
    {u"lbl_郵便番号", u"txt_郵便", u'Y'},
    {u"lbl_住所1", u"txt_住所1", u'J'},
    {u"lbl_住所2", u"txt_住所2", u'H'},
    {u"lbl_メモ", u"txt_メモ", u'M'},
};

} // namespace

bool EnterToTab(QWidget *control, QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    if (event->modifiers() & ~Qt::KeypadModifier)
        return false;
    // The widget's own Tab handling: the same order, wrap-around and focus reason.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(control, &tab);
    return true;
}

void WireEnterToTab(QWidget *control)
{
    control->installEventFilter(new EnterToTabFilter(control));
}

void SelectAllText(QLineEdit *box)
{
    box->setSelection(0, int(box->text().size()));
}

void WireSelectAllText(QLineEdit *box)
{
    box->installEventFilter(new SelectAllFilter(box));
}

void TintInputControls(QWidget *form)
{
    const QColor tint(250, 250, 228);
    for (QWidget *w : form->findChildren<QWidget *>()) {
        if (!isInputControl(w))
            continue;
        QPalette p = w->palette();
        p.setColor(QPalette::Base, tint);
        // A closed drop-down list paints its face with the button colour.
        if (qobject_cast<QComboBox *>(w))
            p.setColor(QPalette::Button, tint);
        w->setPalette(p);
    }
}

void SetFieldCaptions(QWidget *form)
{
    const bool withMemo = form->objectName() == u"F_Syusei"_s;
    for (int i = 0; i < FieldCount; ++i) {
        const FieldLabel &f = kFieldLabels[i];
        if (Field(i) == Field::Memo && !withMemo)
            continue;
        auto *label = form->findChild<QLabel *>(QString::fromUtf16(f.label));
        if (!label)
            continue;
        label->setText(FieldCaptions()[size_t(i)] + u"(&"_s + QChar(f.accelerator) + u')');
        if (auto *box = form->findChild<QWidget *>(QString::fromUtf16(f.box)))
            label->setBuddy(box);
    }
}

void SetInputMethodOn(QLineEdit *box, bool on)
{
    box->setAttribute(Qt::WA_InputMethodEnabled, on);
    box->setInputMethodHints(on ? Qt::ImhNone : Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
}

void TickOnCaptionClick(QLabel *caption, QCheckBox *box)
{
    caption->installEventFilter(new CaptionClickFilter(box, caption));
}

void SetTextWithinLimit(QLineEdit *box, const QString &text, int limit)
{
    box->setMaxLength(qMax(limit, int(text.size())));
    box->setText(text);
}

#include "entry/input_helpers.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

bool isInputControl(QWidget *w)
{
    // A combo box's own line edit is tinted with its combo.
    if (qobject_cast<QLineEdit *>(w))
        return !qobject_cast<QComboBox *>(w->parentWidget());
    return qobject_cast<QComboBox *>(w) || qobject_cast<QListWidget *>(w)
        || qobject_cast<QTextEdit *>(w) || qobject_cast<QPlainTextEdit *>(w);
}

} // namespace

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

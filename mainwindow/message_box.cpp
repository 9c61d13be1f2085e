#include "mainwindow/message_box.h"

#include <QMessageBox>
#include <QQueue>

namespace {

struct Script {
    bool active = false;
    QQueue<MsgAnswer> answers;
    QList<ShownMessage> shown;
};

Script &script()
{
    static Script s;
    return s;
}

QMessageBox::StandardButton toStandard(MsgAnswer a)
{
    switch (a) {
    case MsgAnswer::Ok: return QMessageBox::Ok;
    case MsgAnswer::Yes: return QMessageBox::Yes;
    case MsgAnswer::No: return QMessageBox::No;
    case MsgAnswer::Cancel: return QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

MsgAnswer fromStandard(int b)
{
    switch (b) {
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    default: return MsgAnswer::Ok;
    }
}

} // namespace

namespace MessageBoxes {

MsgAnswer Show(QWidget *parent, const QString &text, MsgIcon icon, MsgButtons buttons,
               MsgAnswer defaultButton)
{
    Script &s = script();
    if (s.active) {
        s.shown.append({text, icon, buttons, defaultButton});
        return s.answers.isEmpty() ? defaultButton : s.answers.dequeue();
    }

    QMessageBox box(parent);
    box.setWindowTitle(Title);
    // Texts keep Windows line ends for their callers; the label wants plain ones.
    box.setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    }
    switch (buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    box.setDefaultButton(toStandard(defaultButton));
    box.exec();
    // Closing a Yes/No box by its frame counts as No.
    const auto clicked = box.standardButton(box.clickedButton());
    if (clicked == QMessageBox::NoButton)
        return buttons == MsgButtons::YesNoCancel ? MsgAnswer::Cancel
               : buttons == MsgButtons::YesNo     ? MsgAnswer::No
                                                  : MsgAnswer::Ok;
    return fromStandard(clicked);
}

void ReportError(QWidget *parent, const QString &description)
{
    Show(parent, description, MsgIcon::Critical, MsgButtons::Ok, MsgAnswer::Ok);
}

void SetScripted(bool scripted)
{
    Script &s = script();
    s.active = scripted;
    s.answers.clear();
    s.shown.clear();
}

void QueueAnswer(MsgAnswer answer) { script().answers.enqueue(answer); }
int PendingAnswers() { return int(script().answers.size()); }

QList<ShownMessage> TakeShown()
{
    QList<ShownMessage> out;
    out.swap(script().shown);
    return out;
}

} // namespace MessageBoxes

#pragma once

#include <QList>
#include <QString>

class QWidget;

// Every message the program shows goes through here: one title, the icon,
// the buttons and the default button. Tests switch to scripted answers, so
// nothing modal ever blocks them, and read back what would have been shown.

enum class MsgIcon { Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

struct ShownMessage {
    QString text;
    MsgIcon icon;
    MsgButtons buttons;
    MsgAnswer defaultButton;
};

namespace MessageBoxes {

inline const QString Title = QStringLiteral("Yuzaribo(Ver1.0)");

MsgAnswer Show(QWidget *parent, const QString &text, MsgIcon icon,
               MsgButtons buttons = MsgButtons::Ok, MsgAnswer defaultButton = MsgAnswer::Ok);

// A command's failure: its description, OK, the stop icon.
void ReportError(QWidget *parent, const QString &description);

// Test seam. While scripted, no box is shown: each message takes the next
// queued answer, or its default button when none is queued, and is recorded.
void SetScripted(bool scripted);
void QueueAnswer(MsgAnswer answer);
int PendingAnswers();
QList<ShownMessage> TakeShown();

} // namespace MessageBoxes

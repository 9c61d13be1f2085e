#pragma once

#include <QColor>
#include <optional>

class QWidget;

// The colour picker of the program's common dialog. Tests switch to
// scripted answers, so the modal picker never blocks them.
namespace ColourPicker {

// Opens the picker with no colour preselected; nothing when the user cancels.
std::optional<QColor> Pick(QWidget *parent);

// Test seam. While scripted, no picker is shown: each call takes the next
// queued answer, or a cancel when none is queued, and is counted.
void SetScripted(bool scripted);
void QueueColour(const QColor &colour);
void QueueCancel();
int PendingAnswers();
// Pickers opened since the last call.
int TakeShownCount();

} // namespace ColourPicker

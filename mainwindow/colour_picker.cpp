#include "mainwindow/colour_picker.h"

#include <QColorDialog>
#include <QQueue>

namespace {

struct Script {
    bool active = false;
    QQueue<std::optional<QColor>> answers;
    int shown = 0;
};

Script &script()
{
    static Script s;
    return s;
}

} // namespace

namespace ColourPicker {

std::optional<QColor> Pick(QWidget *parent)
{
    Script &s = script();
    if (s.active) {
        ++s.shown;
        return s.answers.isEmpty() ? std::nullopt : s.answers.dequeue();
    }
    QColorDialog dialog(parent);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QColor chosen = dialog.selectedColor();
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

void SetScripted(bool scripted)
{
    Script &s = script();
    s.active = scripted;
    s.answers.clear();
    s.shown = 0;
}

void QueueColour(const QColor &colour) { script().answers.enqueue(colour); }

void QueueCancel() { script().answers.enqueue(std::nullopt); }

int PendingAnswers() { return int(script().answers.size()); }

int TakeShownCount()
{
    const int n = script().shown;
    script().shown = 0;
    return n;
}

} // namespace ColourPicker

#pragma once

#include "entry/picture_dialog.h"

#include <functional>

class QListWidget;

// F_候補: one of several postal-code candidates, by double click or Enter;
// Esc and the close box choose nothing.
class PostalChoiceDialog : public PictureDialog {
    Q_OBJECT
public:
    using Apply = std::function<void(int index)>;

    // Shows the dialog application-modal over owner; apply gets the index
    // of the line chosen.
    static PostalChoiceDialog *Open(QWidget *owner, const QString &title, const QStringList &lines, Apply apply);

    PostalChoiceDialog(QWidget *owner, const QString &title, const QStringList &lines, Apply apply);

    QListWidget *list() const { return m_list; }
    void Choose();

private:
    QListWidget *m_list = nullptr;
    Apply m_apply;
};

#pragma once

#include <QString>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QWidget;

// The keyboard behaviour and look shared by the data-entry windows.

// When the event is an Enter key press, moves the focus on exactly as Tab
// would (wrapping at the end) and returns true: the key is used up. Any
// other event is left alone and false returned.
bool EnterToTab(QWidget *control, QKeyEvent *event);
// Makes Enter in the control move on through EnterToTab from now on.
void WireEnterToTab(QWidget *control);

// Selects the whole text of the box, so that typing replaces it.
void SelectAllText(QLineEdit *box);
// Selects the whole text each time the box gets the focus.
void WireSelectAllText(QLineEdit *box);

// Shows a dialog application-modal without waiting for it; it deletes
// itself when closed. Returns the dialog.
template <typename Dialog>
Dialog *ShowApplicationModal(Dialog *dialog)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
    dialog->activateWindow();
    return dialog;
}

// Gives the text boxes, combo boxes and list boxes that exist on a form the
// input background colour (250, 250, 228). Item views such as the address
// list, image combo boxes, labels and buttons keep their own colours;
// controls made later are not tinted.
void TintInputControls(QWidget *form);

// Captions with accelerators for the address-field labels of a form (lbl_氏名,
// lbl_電話番号, ...), each label the buddy of its text box. The memo label
// exists only on the entry dialog F_Syusei.
void SetFieldCaptions(QWidget *form);

// Whether the Japanese input method may compose in the box. Off means typed
// keys reach the box directly; set it after any read-only change, which
// would switch it back on.
void SetInputMethodOn(QLineEdit *box, bool on);

// Fills a box whose typing is limited to limit characters. A longer value
// (from a file or a hand-edited store) is shown and kept whole rather than
// cut, so storing another field does not shorten it; it cannot grow by
// typing either.
void SetTextWithinLimit(QLineEdit *box, const QString &text, int limit);

// A click on the caption beside a check box ticks or unticks the box, as a
// click on a check box's own text does.
void TickOnCaptionClick(QLabel *caption, QCheckBox *box);

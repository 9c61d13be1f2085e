#pragma once

#include "model/record_order.h"

#include <QObject>
#include <QPoint>

class QKeyEvent;
class MainWindow;

// The commands that change the book from the main list: change, add and
// delete, the two view modes of the print dialog, cut, copy and paste of a
// whole entry, moving an entry by drag and drop, the list's keys, the double
// click, the pop-up menu, and writing a mail to the selected entry.
// Each command reports its own failures; the book and the list keep what
// was done before the failing step.
class ListCommands : public QObject {
    Q_OBJECT
public:
    explicit ListCommands(MainWindow &main);

    // 0 change, 1 add, 2 delete, 3 and 4 show the entry picked in the print
    // dialog's two lists.
    void EditCommand(int command);
    // 0 cut, 1 copy, 2 paste.
    void ClipboardCommand(int command);
    // Moves the entry at sourceRow in front of the entry at targetRow; the
    // moved entry gets a new key.
    void MoveItem(int sourceRow, int targetRow);
    // The end of a drag: targetRow is the highlighted entry or -1.
    void DropEntry(int sourceRow, int targetRow);
    // The list's key map; true when the key was used.
    bool ListKeyDown(QKeyEvent *event);
    void ListDoubleClick();
    void ShowPopupMenu(QPoint globalPos);
    // Opens the user's mail program on a new message to the selected entry.
    void SendMail();
    // 並べ替え...: asks for the order, then sorts the whole book.
    void OpenSortDialog();
    // Sorts the whole book as one undoable step; the selected entry stays selected.
    void SortBook(SortOrder order);

private:
    void openEntryDialog(int mode);
    void deleteSelected();
    void cut();
    void copy();
    void paste();
    void clickIfEnabled(const QString &button);

    MainWindow &m_main;
};

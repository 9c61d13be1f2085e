#pragma once

#include "entry/picture_dialog.h"

class MainWindow;
class QLabel;
class QTableWidget;

// One entry whose postal code does not fit.
struct PostalProblem {
    QString key;       // the entry's key when checked
    int number = 0;    // its place in the book then, from 1
    QString name, yubin, address1, problem;
};

// F_郵便番号チェック: the entries of the last check whose postal code is
// unknown, does not fit the address, or has no address. Double-clicking a
// row selects that entry in the main list and opens it for a change.
class PostalCheckWindow : public PictureDialog {
    Q_OBJECT
public:
    PostalCheckWindow(MainWindow &main, const QList<PostalProblem> &problems, int checked);

    QTableWidget *table() const { return m_table; }
    // Opens the entry of row (the book may have changed since the check).
    void OpenEntry(int row);

private:
    MainWindow &m_main;
    QList<PostalProblem> m_problems;
    QTableWidget *m_table = nullptr;
};

// 郵便番号のチェック: checks every entry with a progress window that can
// cancel, then shows the result window (or says that all is well).
void CheckBookPostalCodes(MainWindow &main);

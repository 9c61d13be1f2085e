#pragma once

#include <QString>

class QWidget;

// The window that shows the book, as the file commands see it. The main
// window is one; a test gives a stand-in, so the commands run without one.
class BookWindow {
public:
    virtual ~BookWindow() = default;

    // The owner of message boxes and file dialogs (null: none).
    virtual QWidget *dialogOwner() = 0;
    // Ends a rename in progress; false when its name cannot be stored and
    // the command must stop.
    virtual bool commitListEdit() = 0;
    // Disabled while a file loads or saves.
    virtual void setBusy(bool busy) = 0;
    // Paints what was just set at once, before a long step goes on.
    virtual void repaintNow() = 0;
    virtual void setStatusText(const QString &text) = 0;
    // The progress bar over status panel 1: shown with a range of 0 to
    // maximum, moved, hidden.
    virtual void showProgress(int maximum) = 0;
    virtual void setProgress(int value) = 0;
    virtual void hideProgress() = 0;
    // Selects and shows the entry at a row, as the program (not the user) does.
    virtual void selectRow(int row) = 0;
    virtual void focusList() = 0;
    // A file was opened or saved: it goes to the top of the recent files.
    virtual void AddRecentFile(const QString &path) = 0;
};

#pragma once

#include <QString>

class MainWindow;

// New, Open, Save and Save As, the unsaved-changes prompt, the exit check,
// the file named on the command line, and the two routines that move a
// whole book between OpenBook and a file, with their progress in the main
// window's status bar.
class FileCommands {
public:
    explicit FileCommands(MainWindow &window);

    // Answers of ConfirmDiscard.
    enum Discard { NothingToSave = 0, SavedAndDiscarded = 1, Discarded = 2, Cancelled = 3 };

    // Writes OpenBook to BookFileName; reports its own failure.
    bool SaveBook();
    // Reads the file into a new OpenBook; reports its own failure. LoadFailed
    // says how it ended.
    void LoadBook(const QString &path);
    bool LoadFailed = false;

    int ConfirmDiscard();
    // True when the exit is cancelled. Otherwise the book is released and
    // every settings section is written.
    bool ConfirmExit();

    void FileNew();
    void FileOpen();
    void FileSave();
    void FileSaveAs();
    // The argument text whole: opened when it ends in "csv", any letter case.
    void OpenCommandLineFile(const QString &argumentText);
    void OpenRecentFile(int i);

    // The unsaved-changes question for the current book.
    QString unsavedChangesText() const;

private:
    // The prompt's Yes: save under the file name, or ask for one. False when
    // the dialog was cancelled or the save failed.
    bool saveForPrompt();
    void discardBook();
    // The steps after a successful open of any kind.
    void afterOpen();
    void fileSaveWithTitle(bool alwaysAsk, const QString &title);

    MainWindow &m_window;
};

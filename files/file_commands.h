#pragma once

#include "files/book_file_stamp.h"

#include <QString>

class BookDocument;
class BookWindow;
class SettingsStore;
struct SettingsRecord;

// New, Open, Save and Save As, the unsaved-changes prompt, the exit check,
// the file named on the command line, and the two routines that move a
// whole book between the document and a file, with their progress in the
// window that shows the book.
class FileCommands {
public:
    FileCommands(BookDocument &document, BookWindow &window, SettingsRecord &settings, SettingsStore &store);

    // Answers of ConfirmDiscard.
    enum Discard { NothingToSave = 0, SavedAndDiscarded = 1, Discarded = 2, Cancelled = 3 };

    // Writes the book to BookFileName; reports its own failure.
    bool SaveBook();
    // Reads the file into a new book; reports its own failure. LoadFailed
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
    void OpenRecentFile(const QString &path);

    // The unsaved-changes question for the current book.
    QString unsavedChangesText() const;

private:
    // The prompt's Yes: save under the file name, or ask for one. False when
    // the dialog was cancelled, the user kept a file changed elsewhere, or
    // the save failed.
    bool saveForPrompt();
    // Before the book replaces its own file: when another program changed
    // that file since it was read or written here, asks whether to overwrite.
    bool mayOverwriteOwnFile();
    void discardBook();
    // The steps after a successful open of any kind.
    void afterOpen();
    void fileSaveWithTitle(bool alwaysAsk, const QString &title);

    BookDocument &m_document;
    BookWindow &m_window;
    SettingsRecord &m_settings;
    SettingsStore &m_store;
    BookFileStamp m_stamp;   // the file as last read or written here
};

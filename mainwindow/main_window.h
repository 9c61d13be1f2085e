#pragma once

#include "files/book_window.h"

#include <QList>
#include <QMainWindow>
#include <QSize>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QToolButton;
class BookDocument;
class SettingsStore;
struct AppState;
struct PrinterSetup;
struct SettingsRecord;
class AddressListModel;
class AddressListView;
class FileCommands;
class ListCommands;
class MainStatusBar;
class PostalCodes;
class RecentFilesMenu;

// What start-up takes from outside: the screen width and the room the
// desktop leaves for windows (read from the screen unless given), and the
// program's arguments joined by single blanks.
struct MainWindowOptions {
    std::optional<int> screenWidthTwips;
    std::optional<QSize> availableSize;   // pixels
    QString commandLine;
};

// F_Main: the program's one main window. Closing it ends the program.
// It shows the document's book and follows its signals: the Save controls,
// the record commands and the count label change with the book.
class MainWindow : public QMainWindow, public BookWindow {
    Q_OBJECT
public:
    MainWindow(BookDocument &document, AppState &state, SettingsRecord &appSettings, PrinterSetup &currentPrinter,
               SettingsStore &store, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence: state, list, settings, recent files, and the
    // file named on the command line. Throws AppError; the caller reports it
    // and ends the program.
    void Load(const MainWindowOptions &options = {});

    BookDocument &document() { return m_document; }
    AppState &state() { return m_state; }
    SettingsRecord &AppSettings() { return m_settings; }
    PrinterSetup &CurrentPrinter() { return m_printer; }
    SettingsStore &store() { return m_store; }
    AddressListModel *listModel() const { return m_model; }
    AddressListView *listView() const { return m_list; }
    FileCommands &fileCommands() { return *m_files; }
    RecentFilesMenu &recentFiles() { return *m_recent; }
    ListCommands &listCommands() { return *m_commands; }
    // The postal codes of the user's source (AppSettings' KEN_ALL.CSV, else
    // the system's dictionary), read on the first lookup.
    PostalCodes &postalCodes();

    // A command's menu item or control, by its name.
    void setEnabledByName(const QString &name, bool enabled);
    bool isEnabledByName(const QString &name) const;

    // Enables the record commands when the book holds a record; Save also
    // needs unsaved changes.
    void UpdateCommandState(int count);
    // The Save controls, enabled while the book has unsaved changes and a record.
    void SetChanged(bool changed);
    // Places the list between tool bar and status bar.
    void LayoutMain();

    // Status panel 1.
    void setStatusText(const QString &text) override;
    QString statusText() const;
    QProgressBar *progressBar() const;

    // lbl_件数: the record count followed by "件".
    void showRecordCount(int count);
    QString countText() const;

    // Ends a rename in progress as if the user had pressed Enter, so that a
    // command that looks at the book sees the new name.
    // False when the name cannot be stored: the editor stays open and the
    // command that asked should stop.
    bool commitListEdit() override;

    // Gives the list the focus; a list that cannot take it is left alone.
    void focusList() override;

    // The rest of what the file commands need of the window.
    QWidget *dialogOwner() override { return this; }
    void setBusy(bool busy) override;
    void repaintNow() override;
    void showProgress(int maximum) override;
    void setProgress(int value) override;
    void hideProgress() override;
    void selectRow(int row) override;
    void AddRecentFile(const QString &path) override;

    // The view mode as the combo's and the menu's clicks set it.
    void chooseViewFromCombo(int index);
    void chooseViewFromMenu(int index);

    // Colours and font of the list from AppSettings.
    void ApplyListSettings();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildToolBar();
    void buildMenus();
    void buildList();
    void connectCommands();
    void openSenderForm();
    void findCommandControls();
    static void setControlsEnabled(const QList<QObject *> &controls, bool enabled);
    // The window's outer size for the screen, within the room the desktop leaves.
    void sizeToScreen(const MainWindowOptions &options);
    QAction *menuAction(QMenu *menu, const QString &name, const QString &caption);
    QAction *menuSeparator(QMenu *menu, const QString &name);

    BookDocument &m_document;
    AppState &m_state;
    SettingsRecord &m_settings;
    PrinterSetup &m_printer;
    SettingsStore &m_store;
    AddressListModel *m_model = nullptr;
    AddressListView *m_list = nullptr;
    MainStatusBar *m_status = nullptr;
    QComboBox *m_viewCombo = nullptr;
    QLabel *m_countLabel = nullptr;
    QList<QAction *> m_viewActions;
    QList<QObject *> m_recordControls;   // switched by UpdateCommandState
    std::unique_ptr<PostalCodes> m_postal;
    QList<QObject *> m_saveControls;     // and these by SetChanged too
    std::unique_ptr<FileCommands> m_files;
    std::unique_ptr<RecentFilesMenu> m_recent;
    ListCommands *m_commands = nullptr;
    bool m_closed = false;
};

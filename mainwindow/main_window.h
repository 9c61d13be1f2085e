#pragma once

#include <QList>
#include <QMainWindow>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QToolButton;
class Cls_管理;
class SettingsStore;
struct AppState;
class AddressListModel;
class AddressListView;
class FileCommands;
class ListCommands;
class MainStatusBar;
class RecentFilesMenu;

// What start-up takes from outside: the screen width (read from the screen
// unless given) and the program's arguments joined by single blanks.
struct MainWindowOptions {
    std::optional<int> screenWidthTwips;
    QString commandLine;
};

// F_Main: the program's one main window. Closing it ends the program.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(AppState &state, SettingsStore &store, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence: state, list, settings, recent files, and the
    // file named on the command line. Throws AppError; the caller reports it
    // and ends the program.
    void Load(const MainWindowOptions &options = {});

    AppState &state() { return m_state; }
    SettingsStore &store() { return m_store; }
    AddressListModel *listModel() const { return m_model; }
    AddressListView *listView() const { return m_list; }
    FileCommands &fileCommands() { return *m_files; }
    RecentFilesMenu &recentFiles() { return *m_recent; }
    ListCommands &listCommands() { return *m_commands; }

    // A command's menu item or control, by its name.
    void setEnabledByName(const QString &name, bool enabled);
    bool isEnabledByName(const QString &name) const;

    // Enables the record commands when the book holds a record.
    void UpdateCommandState(const Cls_管理 &book);
    // The unsaved-changes flag, with the Save controls.
    void SetChanged(bool changed);
    // Places the list between tool bar and status bar.
    void LayoutMain();

    // Status panel 1.
    void setStatusText(const QString &text);
    QString statusText() const;
    QProgressBar *progressBar() const;

    // lbl_件数: the record count followed by "件", or any text.
    void showRecordCount();
    void setCountText(const QString &text);
    QString countText() const;

    // Ends a rename in progress as if the user had pressed Enter, so that a
    // command that looks at the book sees the new name.
    // False when the name cannot be stored: the editor stays open and the
    // command that asked should stop.
    bool commitListEdit();

    // Gives the list the focus; a list that cannot take it is left alone.
    void focusList();

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
    QAction *menuAction(QMenu *menu, const QString &name, const QString &caption);
    QAction *menuSeparator(QMenu *menu, const QString &name);

    AppState &m_state;
    SettingsStore &m_store;
    AddressListModel *m_model = nullptr;
    AddressListView *m_list = nullptr;
    MainStatusBar *m_status = nullptr;
    QComboBox *m_viewCombo = nullptr;
    QLabel *m_countLabel = nullptr;
    QList<QAction *> m_viewActions;
    std::unique_ptr<FileCommands> m_files;
    std::unique_ptr<RecentFilesMenu> m_recent;
    ListCommands *m_commands = nullptr;
    bool m_closed = false;
};

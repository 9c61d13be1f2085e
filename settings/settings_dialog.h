#pragma once

#include <QColor>
#include <QDialog>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

class MainWindow;
class PictureButton;
class QComboBox;
class QLabel;
class QProgressBar;
class QTabWidget;
class QToolButton;
struct AppState;
struct SettingsRecord;

// A small up/down arrow pair holding a number; the number itself is shown by
// its buddy label. It stops at both ends of its range.
class UpDownControl : public QWidget {
    Q_OBJECT
public:
    explicit UpDownControl(QWidget *parent = nullptr);

    void setRange(int minimum, int maximum);
    // The label that shows the value; it follows every change.
    void setBuddy(QLabel *buddy);
    // How the buddy shows a value; plain digits unless given.
    void setValueText(std::function<QString(int)> text);
    int value() const { return m_value; }
    // Without the stepped signal: a value set by the program is no user change.
    void setValue(int value);
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }

    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

Q_SIGNALS:
    // The user moved the value by one.
    void stepped(int value);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void step(int by);
    void showValue();
    void showFocus(bool focused);

    QToolButton *m_up = nullptr;
    QToolButton *m_down = nullptr;
    QLabel *m_buddy = nullptr;
    std::function<QString(int)> m_valueText;
    QColor m_buddyText;   // the buddy's own text colour while the focus is shown on it
    int m_min = 0, m_max = 0, m_value = 0;
};

// F_Kankyo: the settings dialog. Its three pages change the settings in
// three groups (recent files, the list's look, the print fonts); a group
// takes effect and is saved only when Apply is pressed, and stays marked
// for the rest of the dialog's life once changed.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    // The whole opening: the main window waits while F_KankyoKD shows the
    // preparation, then the dialog is shown application-modal (it deletes
    // itself when closed). Nothing when the preparation was cancelled or failed.
    static SettingsDialog *Open(MainWindow &main);

    // Creating the dialog prepares it (the load): the pages and the font
    // lists, counted on the progress bar; AppState.KankyoLoadState says how
    // it ended.
    SettingsDialog(MainWindow &main, QProgressBar *progress);

    // The click on cmd_Go.
    void Apply();
    // The click on cmd_初期化.
    void ClearRecentFiles();
    // The click on cmd_色(i).
    void ChooseColour(int i);
    // The clicks on cmd_既定値 and cmd_既定値1.
    void RestoreListDefaults();
    void RestorePrintDefaults();
    // The click on cmd_位置: the print position adjustment's own window.
    void OpenPrintPositions();

    bool recentChanged() const { return m_recentChanged; }
    bool listChanged() const { return m_listChanged; }
    bool printChanged() const { return m_printChanged; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void load(QProgressBar *progress);
    void buildPages();
    // The faces of one list, from the cache once it is complete, else as
    // found (keeping those accepted in the cache), each after the events
    // and the bar's step; false once the preparation is cancelled.
    bool listFaces(const QStringList &found, QStringList &cache, bool cached, bool printer,
                   const QPointer<QProgressBar> &progress, const std::function<void(const QString &)> &add);
    void setSwatch(int i, const QColor &colour);
    void markChanged(bool &flag);
    void showApplyIdle();
    void showClearLook(bool enabled);
    bool reportFailedSave();

    MainWindow &m_main;
    AppState &m_state;
    SettingsRecord &m_settings;
    QTabWidget *m_tabs = nullptr;
    PictureButton *m_close = nullptr;
    PictureButton *m_go = nullptr;
    PictureButton *m_clear = nullptr;
    UpDownControl *m_recentMax = nullptr;
    UpDownControl *m_hagaki = nullptr;
    QLabel *m_recentLabel = nullptr;
    QLabel *m_hagakiLabel = nullptr;
    std::array<QLabel *, 2> m_swatches {};
    std::array<QColor, 2> m_colours;
    QComboBox *m_listFont = nullptr;
    std::array<QComboBox *, 4> m_printFonts {};
    bool m_recentChanged = false;
    bool m_listChanged = false;
    bool m_printChanged = false;
};

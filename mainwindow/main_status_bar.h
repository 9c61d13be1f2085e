#pragma once

#include "mainwindow/key_state.h"

#include <QStatusBar>

#include <array>
#include <functional>

class QDate;
class QLabel;
class QProgressBar;
class QTime;
class QTimer;

// A white trough for a progress bar (Base and Window roles).
void WhiteProgressBar(QProgressBar *bar);

// StatusBar1 of the main window. Panel(1) holds the file name or a progress
// text (a path too long for it loses its middle, and the whole path is its
// tool tip), with the progress bar Pr_SI laid over it; Panel(2) and Panel(3) the
// date and time; Panel(4)-(6) CAPS, NUM and INS, their captions drawn in the
// disabled text colour while off or unknown.
class MainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    using KeyStateReader = std::function<KeyLockState()>;

    explicit MainStatusBar(QWidget *parent = nullptr);
    ~MainStatusBar() override;

    void setPanelText(const QString &text);
    QString panelText() const;

    QProgressBar *progress() const { return m_progress; }
    InsertKeyToggle *insertToggle() const { return m_insert; }

    // Where CAPS and NUM come from (ReadKeyLockState unless a test says
    // otherwise; an empty function restores it). Takes effect at once.
    void setKeyStateReader(KeyStateReader reader);
    void refreshKeyStates();
    // Shows the current date and time and arms the timer for the next minute.
    void refreshClock();

    static QString DateText(const QDate &date); // yyyy/MM/dd
    static QString TimeText(const QTime &time); // H:mm

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void placeProgress();
    // Panel 1's text as it fits: a long path gives way in the middle.
    void showPanelText();
    void showLit(int index, bool lit);
    void poll();

    std::array<QLabel *, 6> m_panels {};
    QString m_panelText;   // panel 1's whole text
    std::array<bool, 6> m_lit {};
    QProgressBar *m_progress = nullptr;
    InsertKeyToggle *m_insert = nullptr;
    QObject *m_keyWatch = nullptr;
    QTimer *m_clockTimer = nullptr; // "clockTimer": single shot at the next minute
    QTimer *m_pollTimer = nullptr; // "keyStatePoll": once a second
    QTimer *m_keyRefresh = nullptr; // folds the deliveries of one key event into one read
    KeyStateReader m_reader;
};

#pragma once

// No X11 header here: its macros (None, Bool, Status, KeyPress...) break Qt's headers.
#include <QObject>

#include <optional>

// The keyboard's lock states; nullopt where the platform does not tell.
struct KeyLockState {
    std::optional<bool> caps;
    std::optional<bool> num;

    bool operator==(const KeyLockState &) const = default;
};

// Asks the X server (xcb platform only); every other platform gives nullopt for both.
KeyLockState ReadKeyLockState();

// X11 keeps no Insert lock, so the program keeps its own: installed as an
// application-wide event filter, it flips on each press of the Insert key.
// A press reaches the filter several times (the window, then the focus widget
// and each parent that ignores it), so one press counts once until its release.
class InsertKeyToggle : public QObject {
    Q_OBJECT
public:
    explicit InsertKeyToggle(QObject *parent = nullptr);

    bool isOn() const { return m_on; }

Q_SIGNALS:
    void changed(bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_on = false;
    bool m_down = false;
};

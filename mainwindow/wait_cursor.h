#pragma once

#include <QApplication>

// The hourglass for as long as a routine runs, and back to the default on
// every way out, however many were set before.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { release(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

    void release()
    {
        if (m_on) {
            QApplication::restoreOverrideCursor();
            m_on = false;
        }
    }

private:
    bool m_on = true;
};

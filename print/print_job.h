#pragma once

#include <QDate>
#include <QString>
#include <functional>

class PrintSurface;
struct AppState;

// The progress window as a printout sees it.
class PrintProgress {
public:
    virtual ~PrintProgress() = default;
    // The status line, redrawn at once.
    virtual void SetStatus(const QString &text) = 0;
    virtual void SetValue(int value) = 0;
    // Lets pending window events run, so the cancel button can act.
    virtual void PumpEvents() = 0;
};

// The entries to print, in print order: the item data (a key's number) of
// the print dialog's to-print list.
class PrintEntries {
public:
    virtual ~PrintEntries() = default;
    virtual int Count() const = 0;
    virtual qint32 KeyNumber(int index) const = 0;
};

// The preview's page pictures as a printout sees them.
class PreviewPages {
public:
    virtual ~PreviewPages() = default;
    // A new blank page picture for page index + 1, set up like the first.
    virtual PrintSurface &AddPage(int index) = 0;
};

// Everything a printout reads and writes besides its surface.
struct PrintJob {
    AppState &state;                 // OpenBook, BookFileName, AppSettings, PrintCancelled, PreviewPageCount
    PrintProgress &progress;
    const PrintEntries &entries;
    PreviewPages *pages = nullptr;   // set for preview runs
    // Shows a failure's description (OK, stop icon).
    std::function<void(const QString &)> reportFailure;
    QDate today = QDate::currentDate();
};

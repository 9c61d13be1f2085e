#pragma once

#include <QDate>
#include <QString>
#include <functional>
#include <vector>

class BookDocument;
class PrintSurface;
struct PrintRunState;
struct SettingsRecord;

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

// The entries of a print list as they stood when a run started, so that a
// list changed during the run (the print dialog stays usable while the
// preview prints) cannot change what the run prints.
class PrintEntriesSnapshot : public PrintEntries {
public:
    explicit PrintEntriesSnapshot(const PrintEntries &from)
    {
        m_keys.reserve(size_t(from.Count()));
        for (int i = 0; i < from.Count(); ++i)
            m_keys.push_back(from.KeyNumber(i));
    }
    int Count() const override { return int(m_keys.size()); }
    qint32 KeyNumber(int index) const override { return m_keys[size_t(index)]; }

private:
    std::vector<qint32> m_keys;
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
    const BookDocument &document;    // the entries and BookFileName
    const SettingsRecord &settings;  // the print fonts, the postcard adjustment and the sender
    PrintRunState &run;              // PrintCancelled, PrintSender, PreviewPageCount
    PrintProgress &progress;
    const PrintEntries &entries;
    PreviewPages *pages = nullptr;   // set for preview runs
    // Shows a failure's description (OK, stop icon).
    std::function<void(const QString &)> reportFailure;
    QDate today = QDate::currentDate();
};

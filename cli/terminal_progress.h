#pragma once

#include "print/print_job.h"

#include <functional>

// The progress of a printout run from the command line: a bar on standard
// error with the percentage, the entries and the pages so far, redrawn in
// place, when standard error is a terminal; nothing otherwise.
class TerminalProgress : public PrintProgress {
public:
    // total: the entries to print; pages: how many pages the run has begun.
    TerminalProgress(int total, std::function<int()> pages);
    ~TerminalProgress() override;

    void SetStatus(const QString &) override {}
    void SetValue(int value) override;
    void PumpEvents() override {}

private:
    void draw(int value);

    int m_total;
    std::function<int()> m_pages;
    bool m_shown;
    int m_lastPercent = -1;
    int m_lastPages = -1;
    bool m_drawn = false;
};

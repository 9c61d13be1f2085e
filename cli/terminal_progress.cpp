#include "cli/terminal_progress.h"

#include <QString>

#include <cstdio>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

TerminalProgress::TerminalProgress(int total, std::function<int()> pages)
    : m_total(total), m_pages(std::move(pages)), m_shown(isatty(STDERR_FILENO) == 1)
{
}

TerminalProgress::~TerminalProgress()
{
    // The prompt comes back on a line of its own.
    if (m_drawn)
        std::fputc('\n', stderr);
}

void TerminalProgress::SetValue(int value)
{
    // The run sets 2 while it sets up the paper; entries count from 1.
    if (m_shown && value >= 0)
        draw(value);
}

void TerminalProgress::draw(int value)
{
    const int done = qBound(0, value, m_total);
    const int percent = m_total > 0 ? int(qint64(done) * 100 / m_total) : 100;
    const int pages = m_pages ? m_pages() : 0;
    // Redrawn only when something shown changes: 32767 writes would cost more than the run.
    if (percent == m_lastPercent && pages == m_lastPages)
        return;
    m_lastPercent = percent;
    m_lastPages = pages;
    constexpr int width = 30;
    const int filled = percent * width / 100;
    const QString bar = QString(filled, u'#') + QString(width - filled, u'.');
    const QString line = u"\r[%1] %2%  %3/%4件  %5ページ"_s.arg(bar).arg(percent, 3).arg(done).arg(m_total).arg(pages);
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    m_drawn = true;
}

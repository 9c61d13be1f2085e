#include "mainwindow/url_opener.h"

#include <QDesktopServices>

namespace {
bool g_scripted = false;
bool g_nextResult = true;
QList<QUrl> g_opened;
} // namespace

bool UrlOpener::Open(const QUrl &url)
{
    if (g_scripted) {
        g_opened.append(url);
        const bool result = g_nextResult;
        g_nextResult = true;
        return result;
    }
    return QDesktopServices::openUrl(url);
}

void UrlOpener::SetScripted(bool scripted)
{
    g_scripted = scripted;
    g_nextResult = true;
    g_opened.clear();
}

void UrlOpener::SetNextResult(bool opened) { g_nextResult = opened; }

QList<QUrl> UrlOpener::TakeOpened() { return std::exchange(g_opened, {}); }

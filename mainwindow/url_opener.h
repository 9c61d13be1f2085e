#pragma once

#include <QList>
#include <QUrl>

// Hands a link (mailto:, a local file) to the desktop, which opens it in the
// user's own program. Tests switch to scripted mode: nothing is opened, the
// links are recorded, and the result can be set to failure.
namespace UrlOpener {

bool Open(const QUrl &url);

void SetScripted(bool scripted);
void SetNextResult(bool opened);
QList<QUrl> TakeOpened();

} // namespace UrlOpener

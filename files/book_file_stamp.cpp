#include "files/book_file_stamp.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

BookFileStamp BookFileStamp::Of(const QString &path, QByteArrayView bytes)
{
    const QFileInfo info(path);
    return {path, info.size(), info.lastModified(), qHash(bytes)};
}

bool BookFileStamp::ChangedOnDisk() const
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    // The cheap look first; the bytes only when size or time differ.
    if (info.size() == size && info.lastModified() == modified)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true;   // what it holds now cannot be vouched for
    return qHash(QByteArrayView(file.readAll())) != contentHash;
}

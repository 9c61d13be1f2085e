#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

// What a book's file held when this program last read or wrote it, so that
// a save can tell whether another program or window has changed it since.
struct BookFileStamp {
    QString path;              // empty: no file to watch
    qint64 size = -1;
    QDateTime modified;
    size_t contentHash = 0;

    // The file at path as it is now on disk, holding bytes.
    static BookFileStamp Of(const QString &path, QByteArrayView bytes);

    // True when the file at path differs from what was stamped. A file that
    // is only touched (same bytes) is not changed; a file that is gone is
    // not either, since saving brings nothing of another program's back.
    bool ChangedOnDisk() const;
};

#pragma once

#include "model/address_book.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <memory>

// Reading the address file: seven items to a group, groups ignore lines.
// The first group is the header; its first item's ASCII digits give the
// expected record count.

struct CsvHeader {
    int expectedCount = -1;     // -1: the header holds no count
};

struct LoadedBook {
    std::unique_ptr<Cls_管理> book;
    qint32 keyCounter = 0;      // N + 1 after N records
    int invalidSequences = 0;   // bytes that could not be decoded (now U+FFFD)
};

// Whole file contents; throws AppError when it is missing or unreadable.
QByteArray ReadBookBytes(const QString &path);

// First pass. Throws AppError when the text ends before the header's seven
// items are complete, or when the expected count is above 32767.
CsvHeader ReadCsvHeader(QStringView text);

// Second pass: a new book keyed "s1", "s2", ... in file order. progress is
// called with the number of records read so far after each one. Throws
// AppError when the text ends inside a group or holds too many records.
// The header's count, when it has one, only sizes the book in advance.
LoadedBook ReadCsvRecords(QStringView text, const CsvHeader &header,
                          const std::function<void(int)> &progress = {});

// Every item of a text by the file's rule (commas and line ends separate,
// leading blanks skipped, a leading double quote opens a quoted item).
QStringList SplitCsvItems(QStringView text);

// Both passes over the bytes of a file.
LoadedBook LoadBookFromBytes(QByteArrayView bytes, const std::function<void(int)> &progress = {});

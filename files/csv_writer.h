#pragma once

#include "model/address_book.h"

#include <QByteArray>
#include <QString>
#include <functional>

// Writing the address file: the header line, then one line per record,
// CRLF after each, CP932. Values the plain line cannot carry are quoted.

// The file's bytes. Throws AppError naming the entry, the field and the
// character when a value cannot be stored; nothing is produced then.
QByteArray EncodeBook(const Cls_管理 &book);

// Replaces the file at path with bytes, atomically: on any failure (thrown
// as AppError) an existing file stays byte for byte and no temporary is left.
void WriteFileAtomically(const QString &path, const QByteArray &bytes);

// EncodeBook, then WriteFileAtomically.
void SaveBookToFile(const QString &path, const Cls_管理 &book);

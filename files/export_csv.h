#pragma once

#include "model/address_book.h"

#include <QByteArray>

// Writing the book as a UTF-8 CSV for other programs: a byte-order mark (so
// Excel reads it as UTF-8), a header line, one row per entry, CRLF line
// ends, values quoted where RFC 4180 needs it. The book's own file keeps
// its own format; this is an export only.

enum class CsvExportHeader {
    Ours,       // 氏名,電話番号,メールアドレス,〒,住所1,住所2,一言メモ
    Google,     // Google Contacts' column names, which Outlook and others also read
};

QByteArray WriteCsvUtf8(const Cls_管理 &book, CsvExportHeader header);

#pragma once

#include "files/postal_code_table.h"

#include <QByteArrayView>
#include <QDate>

// Readers of the two kinds of postal-code data, from bytes into a table
// builder.
//
// The SKK dictionaries of Debian's skkdic-extra (EUC-JIS-2004, read through
// ICU's "EUC-JP" converter): ";;" comment lines, then one line per code,
//   1000001 /東京都千代田区千代田/
//   0018501 /学校法人　創成学園　札幌創成高等学校 @ 北海道札幌市北区…/
// a line listing one or more candidates between slashes.
//
// Japan Post's KEN_ALL.CSV (CP932; the UTF-8 edition is recognised too):
// 15 columns a row, of which the code (3rd), prefecture, municipality and
// town (7th to 9th) are used.

// The largest file taken for KEN_ALL.CSV (the real one is about 12 MB).
inline constexpr qint64 MaxPostalFileBytes = 64 * 1024 * 1024;

enum class SkkDictionaryKind { Residential, Office };

struct PostalReadReport {
    int entries = 0;            // entries handed to the builder
    int undecodableLines = 0;   // lines with bytes the converter cannot read; skipped
    int skippedLines = 0;       // lines or rows of no known shape; skipped
    QDate timestamp;            // the dictionary's ";; Time-stamp: <04 May 2022>"
};

// Never fails: lines that cannot be read are counted and skipped.
PostalReadReport ReadSkkPostalDictionary(QByteArrayView bytes, SkkDictionaryKind kind,
                                         PostalCodeTable::Builder &builder);

// Throws AppError (a Japanese message) when the bytes are not KEN_ALL.CSV:
// too large, no row with a valid code, or most rows of another shape. The
// builder then holds part of the file; discard it.
//
// A town split over consecutive rows is joined; "以下に掲載がない場合", "○○の
// 次に番地がくる場合" and "○○一円" for the whole municipality become no town;
// the parenthesised part of a town name is dropped.
PostalReadReport ReadKenAll(QByteArrayView bytes, PostalCodeTable::Builder &builder);

// The town part KEN_ALL.CSV's town column stands for, once joined.
QString CleanKenAllTown(QStringView town, QStringView municipality);

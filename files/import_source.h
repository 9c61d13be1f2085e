#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// What a file offered for import is, judged by its content first and by its
// name only where the content does not tell.

// Larger files are refused before anything is read: a real address list is
// far smaller, and the whole file is held in memory.
inline constexpr qint64 MaxImportFileBytes = 64LL * 1024 * 1024;

enum class ImportFormat { Unknown, VCard, Csv };

// Empty when the file can be read for import; else one sentence for the
// user (missing, a folder, unreadable, or over the size limit).
QString ImportFileProblem(const QString &path);

struct ImportFileBytes {
    QByteArray bytes;
    QString problem;    // empty when bytes hold the whole file
    bool ok() const { return problem.isEmpty(); }
};

// The whole file, or the reason it was not read. The size is checked before
// reading and again while reading, so a growing file cannot pass the limit.
ImportFileBytes ReadImportFile(const QString &path);

// vCard when BEGIN:VCARD opens the text (after a byte-order mark and blank
// lines); CSV when the first line holds a comma or a tab. Otherwise the
// file name's extension decides; binary content is never recognised.
ImportFormat RecogniseImportFormat(QByteArrayView bytes, QStringView fileName = {});

// The sentence for a file RecogniseImportFormat does not recognise.
QString UnrecognisedImportText();

// Text encodings of CSV files from other programs.
enum class TextEncoding { Utf8, Utf8Bom, Utf16Le, Utf16Be, Cp932 };

// A byte-order mark decides; else valid UTF-8 is UTF-8 and anything else is
// taken for CP932 (Excel's "CSV" on Japanese Windows).
TextEncoding DetectTextEncoding(QByteArrayView bytes);

// "UTF-8", "UTF-8（BOM付き）", "Shift_JIS（CP932）", ... for the preview.
QString TextEncodingName(TextEncoding encoding);

// The text without its byte-order mark. Undecodable bytes become U+FFFD.
QString DecodeImportText(QByteArrayView bytes, TextEncoding encoding);

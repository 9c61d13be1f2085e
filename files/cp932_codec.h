#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Microsoft's code page 932 through ICU's "windows-31j" converter.

struct DecodedText {
    QString text;
    int invalidSequences = 0;   // byte sequences that became U+FFFD
};

// Never fails: an invalid byte sequence (a lone lead byte at the end
// included) becomes U+FFFD and is counted.
DecodedText DecodeCp932(QByteArrayView bytes);

// Replaces, in place, the characters other Shift_JIS tables give for CP932
// bytes (U+301C, U+2016, U+2212, U+2014, U+00A2, U+00A3, U+00AC) with the
// characters CP932 reads those bytes as. Returns whether anything changed.
bool FoldToCp932Forms(QString &text);
char16_t Cp932FormOf(char16_t c);

struct EncodedText {
    QByteArray bytes;
    qsizetype failedAt = -1;    // UTF-16 offset of the first character CP932 cannot hold
    bool ok() const { return failedAt < 0; }
};

// Encodes exactly: a character without a CP932 code stops the conversion
// (nothing is substituted). The text is not folded first.
EncodedText EncodeCp932(QStringView text);

// The code point at offset (a surrogate pair counts as one).
char32_t CodePointAt(QStringView text, qsizetype offset);

#include "files/storable_value.h"

#include "files/cp932_codec.h"

using namespace Qt::Literals::StringLiterals;

bool NeedsQuotes(QStringView value)
{
    if (value.isEmpty())
        return false;
    const char16_t first = value.front().unicode();
    // The reader skips leading blanks and takes a leading quote as an opening
    // quote; other programs also skip tabs there.
    if (first == u' ' || first == u'\t' || first == u'"')
        return true;
    for (QChar c : value) {
        const char16_t u = c.unicode();
        if (u == u',' || u == u'\r' || u == u'\n')
            return true;
    }
    return false;
}

StorageCheck CheckStorableValue(QStringView value)
{
    StorageCheck check;
    check.needsQuotes = NeedsQuotes(value);
    if (check.needsQuotes) {
        // A quoted value ends at its next double quote.
        if (value.front() == u'"') {
            check.problem = StorageCheck::QuoteAtStart;
            check.character = u'"';
            check.offset = 0;
            return check;
        }
        const qsizetype quote = value.indexOf(u'"');
        if (quote >= 0) {
            check.problem = StorageCheck::QuoteInQuotedValue;
            check.character = u'"';
            check.offset = quote;
            return check;
        }
    }

    QString folded = value.toString();
    FoldToCp932Forms(folded);
    const EncodedText encoded = EncodeCp932(folded);
    if (!encoded.ok()) {
        check.problem = StorageCheck::Unencodable;
        check.offset = encoded.failedAt;
        check.character = CodePointAt(folded, encoded.failedAt);
    }
    return check;
}

QString DescribeCharacter(char32_t c)
{
    const QString code = u"U+"_s + QString::number(uint(c), 16).toUpper().rightJustified(4, u'0');
    const bool printable = c >= 0x20 && c != 0x7F && !(c >= 0xD800 && c <= 0xDFFF) && c <= 0x10FFFF;
    if (!printable)
        return code;
    return u"「%1」(%2)"_s.arg(QString::fromUcs4(&c, 1), code);
}

QString StorageProblemText(const StorageCheck &check, const QString &fieldCaption)
{
    switch (check.problem) {
    case StorageCheck::Ok:
        return {};
    case StorageCheck::Unencodable:
        if (check.character == 0xFFFD) {
            return u"「%1」に、ファイルから読み取れなかった文字（U+FFFD）があります。"_s.arg(fieldCaption);
        }
        if (check.character == 0xA5) {
            return u"「%1」の半角の「¥」(U+00A5)はShift_JISで保存できません。全角の「￥」を使ってください。"_s
                .arg(fieldCaption);
        }
        return u"「%1」の文字%2はShift_JISで保存できません。"_s
            .arg(fieldCaption, DescribeCharacter(check.character));
    case StorageCheck::QuoteAtStart:
        return u"「%1」は二重引用符（\"）で始まるため保存できません。"_s.arg(fieldCaption);
    case StorageCheck::QuoteInQuotedValue:
        return u"「%1」はカンマ・改行または先頭の空白と二重引用符（\"）を同時に含むため保存できません。"_s
            .arg(fieldCaption);
    }
    return {};
}

QString TypedValueProblem(QStringView value, const QString &fieldCaption)
{
    if (value.contains(u','))
        return u"「%1」に半角のカンマ（,）は入力できません。全角の「，」か「、」を使ってください。"_s.arg(fieldCaption);
    if (value.contains(u'\r') || value.contains(u'\n'))
        return u"「%1」に改行は入力できません。"_s.arg(fieldCaption);
    return StorageProblemText(CheckStorableValue(value), fieldCaption);
}

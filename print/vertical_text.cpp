#include "print/vertical_text.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Row n belongs to the full-width digit n. Zero maps to the full-width zero,
// not to a kanji zero, so 10番地 prints as 一０番地.
constexpr char16_t kKanjiDigits[10] = {
    u'\uFF10', u'\u4E00', u'\u4E8C', u'\u4E09', u'\u56DB',
    u'\u4E94', u'\u516D', u'\u4E03', u'\u516B', u'\u4E5D',
};

constexpr char16_t kFullZero = u'\uFF10';
constexpr char16_t kFullNine = u'\uFF19';
constexpr char16_t kFullHyphen = u'\uFF0D';
constexpr char16_t kFullTilde = u'\uFF5E';
constexpr char16_t kFullBar = u'\uFF5C';
constexpr char16_t kMinusSign = u'\u2212';
constexpr char16_t kWaveDash = u'\u301C';
constexpr char16_t kProlongedMark = u'\u30FC';

bool isDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= kFullZero && c <= kFullNine);
}

char16_t fullWidthDigit(char16_t c)
{
    return c <= u'9' ? char16_t(kFullZero + (c - u'0')) : c;
}

// The file writer stores U+2212 and U+301C as the CP932 bytes that read back
// as U+FF0D and U+FF5E, and a Linux input method types U+301C for 〜. Folding
// them here keeps an address printing the same before and after a save and
// reopen.
char16_t foldDash(char16_t c)
{
    if (c == kMinusSign)
        return kFullHyphen;
    if (c == kWaveDash)
        return kFullTilde;
    return c;
}

} // namespace

QString KanjiDigit(QStringView ch)
{
    if (ch.size() != 1)
        return QString();
    const char16_t c = ch.front().unicode();
    if (c < kFullZero || c > kFullNine)
        return QString();
    return QString(QChar(kKanjiDigits[c - kFullZero]));
}

CellList AddressCells(QStringView text)
{
    CellList cells;
    cells.reserve(text.size());
    for (QChar qc : text) {
        const char16_t c = foldDash(qc.unicode());
        if (isDigit(c)) {
            const QChar full(fullWidthDigit(c));
            cells.append(KanjiDigit(QStringView(&full, 1)));
        } else if (c == u'-' || c == kFullHyphen || c == kProlongedMark || c == kFullTilde) {
            cells.append(QString(QChar(kFullBar)));
        } else {
            cells.append(QString(qc));
        }
    }
    return cells;
}

CellList PostalCells(QStringView text)
{
    CellList cells;
    cells.reserve(text.size());
    for (QChar qc : text) {
        const char16_t c = foldDash(qc.unicode());
        if (c == u'-')
            continue;
        if (isDigit(c))
            cells.append(QString(QChar(fullWidthDigit(c))));
        else
            cells.append(QString(QChar(c)));
    }
    return cells;
}

CellList NameCells(QStringView text, const QString &honorific)
{
    CellList cells = NameCells(text, false);
    if (cells.isEmpty() || honorific.isEmpty())
        return cells;
    cells.append(u"     "_s);
    for (const QChar c : honorific)
        cells.append(QString(c));
    return cells;
}

CellList NameCells(QStringView text, bool withHonorific)
{
    CellList cells;
    if (text.isEmpty())
        return cells;
    cells.reserve(text.size() + 2);
    for (QChar qc : text)
        cells.append(QString(qc));
    if (withHonorific) {
        // The spacer takes one line of the column: one empty line between
        // the name and 様.
        cells.append(u"     "_s);
        cells.append(u"様"_s);
    }
    return cells;
}

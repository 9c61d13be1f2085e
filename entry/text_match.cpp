#include "entry/text_match.h"

namespace {

constexpr char16_t kHiraganaFirst = u'\u3041';   // ぁ
constexpr char16_t kHiraganaLast = u'\u3096';    // ゖ
constexpr char16_t kKatakanaOffset = 0x60;        // ぁ → ァ

bool isAscii(QStringView s)
{
    for (QChar c : s) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// The Halfwidth and Fullwidth Forms block.
bool isWidthForm(char16_t u)
{
    return u >= 0xFF00 && u <= 0xFFEF;
}

} // namespace

QString FoldForSearch(QStringView text)
{
    // Most telephone numbers, mail addresses and postal codes are plain
    // ASCII, where the whole fold is lower-casing; skip the normaliser there.
    if (isAscii(text))
        return text.toString().toLower();
    // Only the width variants are folded: runs of half-width and full-width
    // forms go through compatibility normalisation, which turns ｶﾞ into one
    // ガ and Ａ or １ into A or 1. Other compatibility characters (①, ㈱)
    // stay themselves, as users see them as different characters.
    QString folded;
    folded.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const char16_t u = text[i].unicode();
        if (u == u'\u3000') {   // the ideographic space is a wide blank
            folded += u' ';
            ++i;
        } else if (isWidthForm(u)) {
            const qsizetype start = i;
            while (i < text.size() && isWidthForm(text[i].unicode()))
                ++i;
            folded += text.sliced(start, i - start).toString().normalized(QString::NormalizationForm_KC);
        } else {
            folded += text[i];
            ++i;
        }
    }
    folded = folded.toCaseFolded();
    for (QChar &c : folded) {
        const char16_t u = c.unicode();
        // Hiragana and the two hiragana iteration marks sit 0x60 below their katakana.
        if ((u >= kHiraganaFirst && u <= kHiraganaLast) || u == u'\u309D' || u == u'\u309E')
            c = QChar(char16_t(u + kKatakanaOffset));
    }
    return folded;
}

TextMatcher::TextMatcher(QStringView text, bool exact)
    : m_text(exact ? text.toString() : FoldForSearch(text)), m_exact(exact)
{
}

bool TextMatcher::matches(QStringView value) const
{
    if (value.isEmpty() || m_text.isEmpty())
        return false;
    if (m_exact)
        return value == m_text;
    return FoldForSearch(value).contains(m_text);
}

bool SearchMatches(QStringView value, QStringView text, bool exact)
{
    return TextMatcher(text, exact).matches(value);
}

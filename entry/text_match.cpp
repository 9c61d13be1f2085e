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

} // namespace

QString FoldForSearch(QStringView text)
{
    // Most telephone numbers, mail addresses and postal codes are plain
    // ASCII, where the whole fold is lower-casing; skip the normaliser there.
    if (isAscii(text))
        return text.toString().toLower();
    // NFKC turns half-width katakana (voiced marks included) into full-width
    // and full-width letters and digits into ASCII; it must see the whole
    // string so that ｶ and ﾞ combine into one ガ.
    QString folded = text.toString().normalized(QString::NormalizationForm_KC).toCaseFolded();
    for (QChar &c : folded) {
        const char16_t u = c.unicode();
        if (u >= kHiraganaFirst && u <= kHiraganaLast)
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

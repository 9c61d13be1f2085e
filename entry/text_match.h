#pragma once

#include <QString>
#include <QStringView>

// How the search compares a field value with the text the user looks for.
//
// Exact: the whole value equals the text, character for character and case
// for case.
// Contained: the text occurs anywhere in the value once both are folded, so
// that differences a Japanese user does not see as different are ignored:
// letter case, full-width against half-width forms (ｱ/ア, ｶﾞ/ガ, Ａ/A, １/1)
// the wide and the narrow blank, and hiragana against katakana. Other
// look-alikes (①/1, ㈱/(株)) stay different.
// An empty value, or an empty text, never matches.

// The folded form compared by a contained match: half-width and full-width
// forms normalised (NFKC on those alone), the ideographic space as a blank,
// case folding, hiragana mapped to katakana.
QString FoldForSearch(QStringView text);

// Folds the search text once, for a search over many values.
class TextMatcher {
public:
    TextMatcher(QStringView text, bool exact);

    bool matches(QStringView value) const;

private:
    QString m_text;   // as typed when exact, folded otherwise
    bool m_exact;
};

bool SearchMatches(QStringView value, QStringView text, bool exact);

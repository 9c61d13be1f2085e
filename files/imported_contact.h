#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <utility>

// One contact read from another program's file, in the book's seven fields.
// Every field is a single line: line breaks in the source became blanks.
struct ImportedContact {
    QString name, tel, mail, postal, address1, address2, memo;
    // What the source held that the book has no place for, in Japanese,
    // for the preview to show ("写真", "2件目以降の電話番号", ...).
    QStringList dropped;
};

// What a source can hold beyond the seven fields. The order is the order
// the dropped list shows them in.
enum class DroppedItem {
    ExtraTel,
    ExtraMail,
    ExtraAddress,
    ForeignCountry,
    Reading,
    Nickname,
    Organization,
    JobTitle,
    Birthday,
    Anniversary,
    WebPage,
    Photo,
};

inline const QString &DroppedItemText(DroppedItem item)
{
    using namespace Qt::Literals::StringLiterals;
    static const std::array<QString, 12> texts = {
        u"2件目以降の電話番号"_s, u"2件目以降のメールアドレス"_s, u"2件目以降の住所"_s,
        u"住所の国・地域"_s, u"ふりがな"_s, u"ニックネーム"_s, u"会社名"_s, u"役職"_s,
        u"誕生日"_s, u"記念日"_s, u"ホームページ"_s, u"写真"_s,
    };
    return texts[size_t(item)];
}

// Adds the item once, keeping the list in the order of DroppedItem.
inline void NoteDropped(ImportedContact &contact, DroppedItem item)
{
    const auto rankOf = [](const QString &text) {
        int rank = 0;
        while (rank <= int(DroppedItem::Photo) && DroppedItemText(DroppedItem(rank)) != text)
            ++rank;
        return rank;
    };
    const QString &text = DroppedItemText(item);
    qsizetype at = 0;
    while (at < contact.dropped.size() && rankOf(contact.dropped.at(at)) < int(item))
        ++at;
    if (at < contact.dropped.size() && contact.dropped.at(at) == text)
        return;
    contact.dropped.insert(at, text);
}

// An imported value as a book field holds it: one line (each run of line
// breaks becomes one blank) of whole characters (a lone surrogate half,
// which no file can carry, becomes U+FFFD). Blanks at the ends stay.
inline QString BookFieldText(QStringView text)
{
    const auto needsWork = [](QChar c) { return c == u'\r' || c == u'\n' || c.isSurrogate(); };
    qsizetype first = 0;
    while (first < text.size() && !needsWork(text[first]))
        ++first;
    if (first == text.size())
        return text.toString();
    QString out;
    out.reserve(text.size());
    out += text.left(first);
    bool inBreak = false;
    for (qsizetype i = first; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (!inBreak)
                out += u' ';
            inBreak = true;
            continue;
        }
        inBreak = false;
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (c.isSurrogate()) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += c;
        }
    }
    return out;
}

// Family and given name as the book writes a name: joined by a full-width
// blank, or whichever of the two is there.
inline QString JoinFamilyGiven(const QString &family, const QString &given)
{
    if (family.isEmpty())
        return given;
    if (given.isEmpty())
        return family;
    return family + u'\u3000' + given;
}

// The reverse, for writers that want the parts: the name splits at its
// first half- or full-width blank. A name without one is all family name.
inline std::pair<QString, QString> SplitFamilyGiven(const QString &name)
{
    const QString trimmed = name.trimmed();
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        if (trimmed[i] == u' ' || trimmed[i] == u'\u3000')
            return {trimmed.left(i), trimmed.mid(i + 1).trimmed()};
    }
    return {trimmed, QString()};
}

// Whether a country given with an address is Japan, whose addresses the
// book holds without a country.
inline bool IsJapan(QStringView country)
{
    using namespace Qt::Literals::StringLiterals;
    const QStringView c = country.trimmed();
    return c.isEmpty() || c == u"日本"_s || c == u"日本国"_s
           || c.compare(u"Japan"_s, Qt::CaseInsensitive) == 0 || c.compare(u"JP"_s, Qt::CaseInsensitive) == 0
           || c.compare(u"JPN"_s, Qt::CaseInsensitive) == 0;
}

#include "model/honorific.h"

#include <QStringView>

using namespace Qt::Literals::StringLiterals;

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\u3000'; }

// The half-width form comes from half-width kana input.
bool isSeparator(QChar c) { return c == u'・' || c == u'･'; }

QStringView trimBlanks(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isBlank(s[begin]))
        ++begin;
    while (end > begin && isBlank(s[end - 1]))
        --end;
    return s.sliced(begin, end - begin);
}

bool containsBlank(QStringView s)
{
    for (QChar c : s) {
        if (isBlank(c))
            return true;
    }
    return false;
}

// 各位 ("to everyone concerned") addresses its readers already: "各位様" is a known mistake.
constexpr QStringView HonorificEndings[] = {
    u"様", u"さま", u"殿", u"御中", u"先生", u"宛", u"各位",
};

bool endsWithHonorific(QStringView trimmed)
{
    for (QStringView ending : HonorificEndings) {
        if (trimmed.endsWith(ending))
            return true;
    }
    return false;
}

struct OrganisationWord {
    QStringView word;
    // Characters of the last word that must come before it. The one-character words also end
    // surnames (阿部, 服部, 氷室), which must not be addressed as 御中.
    qsizetype minBefore = 0;
};

// 会社 covers every 〜会社, 法人 every 〜法人 and 学校 小学校 and 中学校. 御一同 is not here on purpose:
// it is written "御一同様".
constexpr OrganisationWord OrganisationEndings[] = {
    {u"会社"},     {u"法人"},     {u"事務所"},   {u"研究所"},   {u"事業所"}, {u"営業所"},
    {u"出張所"},   {u"役所"},     {u"役場"},     {u"学校"},     {u"大学"},   {u"高校"},
    {u"学園"},     {u"幼稚園"},   {u"保育園"},   {u"病院"},     {u"医院"},   {u"クリニック"},
    {u"組合"},     {u"協会"},     {u"センター"}, {u"商店"},     {u"商事"},   {u"工業"},
    {u"産業"},     {u"銀行"},     {u"工場"},     {u"支社"},     {u"支店"},   {u"本社"},
    {u"本店"},     {u"㈱"},       {u"㈲"},       {u"(株)"},     {u"（株）"}, {u"(有)"},
    {u"（有）"},   {u"店", 2},    {u"部", 2},    {u"課", 2},    {u"係", 2},  {u"室", 2},
    {u"会", 2},
};

// Legal forms written before the organisation's own name.
constexpr QStringView LegalFormPrefixes[] = {
    u"株式会社",     u"有限会社",     u"合同会社",     u"合資会社",     u"合名会社",
    u"一般社団法人", u"一般財団法人", u"公益社団法人", u"公益財団法人", u"社団法人",
    u"財団法人",     u"医療法人",     u"学校法人",     u"社会福祉法人", u"宗教法人",
    u"特定非営利活動法人", u"NPO法人", u"ＮＰＯ法人",
    u"㈱",           u"㈲",           u"(株)",         u"（株）",       u"(有)",
    u"（有）",
};

QStringView lastWord(QStringView trimmed)
{
    qsizetype i = trimmed.size();
    while (i > 0 && !isBlank(trimmed[i - 1]))
        --i;
    return trimmed.sliced(i);
}

bool isOrganisation(QStringView trimmed)
{
    const QStringView last = lastWord(trimmed);
    for (const OrganisationWord &w : OrganisationEndings) {
        if (last.endsWith(w.word) && last.size() - w.word.size() >= w.minBefore)
            return true;
    }
    for (QStringView form : LegalFormPrefixes) {
        if (trimmed.startsWith(form)) {
            // Only the organisation alone: a further word names a person there
            // ("株式会社ゆざりぼ 山田太郎"); a department would have matched its ending above.
            return !containsBlank(trimBlanks(trimmed.sliced(form.size())));
        }
    }
    return false;
}

} // namespace

QString HonorificModeCaption(HonorificMode mode)
{
    switch (mode) {
    case HonorificMode::Sama:
        return u"様"_s;
    case HonorificMode::Dono:
        return u"殿"_s;
    case HonorificMode::Onchu:
        return u"御中"_s;
    case HonorificMode::Sensei:
        return u"先生"_s;
    case HonorificMode::Auto:
        return u"自動"_s;
    case HonorificMode::None:
        return u"なし"_s;
    }
    return {};
}

int HonorificModeNumber(HonorificMode mode) { return int(mode); }

HonorificMode HonorificModeFromNumber(int number)
{
    // A damaged or future settings value must not reach the switch statements as a stray enum.
    if (number < 0 || number >= HonorificModeCount)
        return HonorificMode::Sama;
    return HonorificMode(number);
}

qsizetype WrittenHonorificLength(const QString &name)
{
    const QStringView trimmed = trimBlanks(name);
    for (QStringView ending : HonorificEndings) {
        if (trimmed.endsWith(ending)) {
            // The honorific, and any blanks before it and after the name's end.
            qsizetype start = trimmed.size() - ending.size();
            while (start > 0 && isBlank(trimmed[start - 1]))
                --start;
            const qsizetype before = trimmed.data() - name.data();
            return name.size() - (before + start);
        }
    }
    return 0;
}

QString HonorificFor(const QString &name, HonorificMode mode)
{
    const QStringView trimmed = trimBlanks(name);
    // A lone "様" on an envelope with no name is worse than nothing.
    if (mode == HonorificMode::None || trimmed.isEmpty() || endsWithHonorific(trimmed))
        return {};
    if (mode == HonorificMode::Auto)
        return isOrganisation(trimmed) ? u"御中"_s : u"様"_s;
    // The other modes print their own caption.
    return HonorificModeCaption(mode);
}

std::optional<JointName> ParseJointName(const QString &name)
{
    const QStringView trimmed = trimBlanks(name);
    qsizetype blank = -1;
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        if (!isBlank(trimmed[i]))
            continue;
        if (blank >= 0)
            return std::nullopt;
        blank = i;
    }
    if (blank < 0)
        return std::nullopt;

    // Trimmed, so neither side of the blank is empty.
    const QStringView family = trimmed.first(blank);
    const QStringView given = trimmed.sliced(blank + 1);
    for (QChar c : family) {
        if (isSeparator(c))
            return std::nullopt;
    }

    JointName joint;
    joint.family = family.toString();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= given.size(); ++i) {
        if (i < given.size() && !isSeparator(given[i]))
            continue;
        const QStringView part = given.sliced(start, i - start);
        if (part.isEmpty() || endsWithHonorific(part))
            return std::nullopt;
        joint.givenNames.append(part.toString());
        start = i + 1;
    }
    if (joint.givenNames.size() < 2)
        return std::nullopt;
    return joint;
}

#include "files/postal_check.h"

#include <array>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr std::array<const char16_t *, 47> Prefectures = {
    u"北海道", u"青森県", u"岩手県", u"宮城県", u"秋田県", u"山形県", u"福島県", u"茨城県",
    u"栃木県", u"群馬県", u"埼玉県", u"千葉県", u"東京都", u"神奈川県", u"新潟県", u"富山県",
    u"石川県", u"福井県", u"山梨県", u"長野県", u"岐阜県", u"静岡県", u"愛知県", u"三重県",
    u"滋賀県", u"京都府", u"大阪府", u"兵庫県", u"奈良県", u"和歌山県", u"鳥取県", u"島根県",
    u"岡山県", u"広島県", u"山口県", u"徳島県", u"香川県", u"愛媛県", u"高知県", u"福岡県",
    u"佐賀県", u"長崎県", u"熊本県", u"大分県", u"宮崎県", u"鹿児島県", u"沖縄県",
};

// Designated cities: their wards belong to the municipality.
constexpr std::array<const char16_t *, 20> DesignatedCities = {
    u"札幌市", u"仙台市", u"さいたま市", u"千葉市", u"横浜市", u"川崎市", u"相模原市",
    u"新潟市", u"静岡市", u"浜松市", u"名古屋市", u"京都市", u"大阪市", u"堺市",
    u"神戸市", u"岡山市", u"広島市", u"北九州市", u"福岡市", u"熊本市",
};

// Municipalities whose name holds 市, 町, 村 or 郡 before its end, which the
// shortest-match rules below would cut short (checked against every entry
// of Debian's postal dictionary).
constexpr std::array<const char16_t *, 15> CitiesWithInnerMarks = {
    u"四日市市", u"廿日市市", u"野々市市", u"十日町市", u"大町市", u"大村市", u"田村市",
    u"東村山市", u"武蔵村山市", u"羽村市", u"大和郡山市", u"郡山市", u"小郡市", u"郡上市", u"蒲郡市",
};
constexpr std::array<const char16_t *, 2> TownsWithInnerMarks = {u"大町町", u"玉村町"};
constexpr std::array<const char16_t *, 2> CountiesWithInnerMarks = {u"余市郡", u"高市郡"};

template <size_t N>
qsizetype startingName(QStringView text, const std::array<const char16_t *, N> &names)
{
    for (const char16_t *name : names) {
        const QStringView n(name);
        if (text.startsWith(n))
            return n.size();
    }
    return 0;
}

// Length of the shortest start of text, at least two characters long, that
// ends in one of marks; 0 when there is none.
qsizetype shortestEndingIn(QStringView text, QStringView marks)
{
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (marks.contains(text[i]))
            return i + 1;
    }
    return 0;
}

struct MunicipalitySplit {
    qsizetype county = 0;
    qsizetype length = 0;
};

// text starts right after the prefecture.
MunicipalitySplit splitMunicipality(QStringView text)
{
    if (const qsizetype n = startingName(text, CitiesWithInnerMarks))
        return {0, n};
    if (const qsizetype city = startingName(text, DesignatedCities)) {
        const qsizetype ward = shortestEndingIn(text.sliced(city), u"区");
        return {0, city + ward};
    }
    qsizetype county = startingName(text, CountiesWithInnerMarks);
    if (county == 0) {
        // A 郡 with no 市 or 区 before it; "山口市小郡…" is a town of a city.
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c == u'市' || c == u'区')
                break;
            if (c == u'郡' && i > 0) {
                county = i + 1;
                break;
            }
        }
    }
    if (county > 0) {
        const QStringView rest = text.sliced(county);
        qsizetype town = startingName(rest, TownsWithInnerMarks);
        if (town == 0)
            town = shortestEndingIn(rest, u"町村");
        return {county, county + town};
    }
    return {0, shortestEndingIn(text, u"市区町村")};
}

bool startsWithFolded(const QString &foldedText, QStringView prefix)
{
    if (prefix.isEmpty())
        return false;
    return foldedText.startsWith(FoldAddressForMatch(prefix));
}

} // namespace

AddressParts SplitAddress(QStringView address, int municipalityLength)
{
    AddressParts parts;
    parts.prefecture = address.first(startingName(address, Prefectures));
    const QStringView rest = address.sliced(parts.prefecture.size());
    if (municipalityLength > parts.prefecture.size() && municipalityLength <= address.size()) {
        parts.municipality = address.sliced(parts.prefecture.size(), municipalityLength - parts.prefecture.size());
        const MunicipalitySplit split = splitMunicipality(parts.municipality);
        if (split.length == parts.municipality.size())
            parts.county = parts.municipality.first(split.county);
        return parts;
    }
    const MunicipalitySplit split = splitMunicipality(rest);
    parts.county = rest.first(split.county);
    parts.municipality = rest.first(split.length);
    return parts;
}

PostalCheckResult CheckPostalEntry(const PostalCodeTable &table, QStringView yubin, QStringView ju1)
{
    if (yubin.trimmed().isEmpty())
        return PostalCheckResult::NoCode;
    const int code = NormalisePostalCode(yubin);
    if (code < 0 || !table.Contains(code))
        return PostalCheckResult::UnknownCode;
    if (ju1.trimmed().isEmpty())
        return PostalCheckResult::EmptyAddress;

    const QString folded = FoldAddressForMatch(ju1);
    for (const PostalEntry &entry : table.Lookup(code)) {
        const QStringView address = entry.address;
        const AddressParts parts = SplitAddress(address, entry.municipalityLength);
        if (parts.municipality.isEmpty()) {
            // Nothing recognised: the whole address must lead.
            if (startsWithFolded(folded, address))
                return PostalCheckResult::Ok;
            continue;
        }
        const QStringView withPrefecture = address.first(parts.prefecture.size() + parts.municipality.size());
        if (startsWithFolded(folded, withPrefecture) || startsWithFolded(folded, parts.municipality))
            return PostalCheckResult::Ok;
        if (!parts.county.isEmpty()) {
            const QStringView town = parts.municipality.sliced(parts.county.size());
            if (startsWithFolded(folded, parts.prefecture.toString() + town.toString()) || startsWithFolded(folded, town))
                return PostalCheckResult::Ok;
        }
    }
    return PostalCheckResult::Mismatch;
}

QString PostalCheckDescription(PostalCheckResult result)
{
    switch (result) {
    case PostalCheckResult::Ok:
        return u"郵便番号と住所は合っています。"_s;
    case PostalCheckResult::NoCode:
        return u"郵便番号が入力されていません。"_s;
    case PostalCheckResult::UnknownCode:
        return u"郵便番号が見つかりません。"_s;
    case PostalCheckResult::EmptyAddress:
        return u"住所1が入力されていません。"_s;
    case PostalCheckResult::Mismatch:
        return u"郵便番号と住所1の市区町村が一致しません。"_s;
    }
    return {};
}

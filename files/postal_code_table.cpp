#include "files/postal_code_table.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <unordered_set>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int MaxCode = 9999999;

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

bool isCodeSeparator(char16_t c)
{
    switch (c) {
    case u'-':
    case u'\u2010': case u'\u2011': case u'\u2012': case u'\u2013': case u'\u2014': case u'\u2015':
    case u'\u2212':     // minus sign
    case u'\u30FC':     // prolonged sound mark, typed for a dash more often than one thinks
    case u'\uFF0D':     // full-width hyphen-minus
    case u'\uFF70':     // half-width prolonged sound mark
    case u'\u3012':     // 〒
        return true;
    default:
        return isBlank(c);
    }
}

// -1 for a character the comparison ignores.
constexpr int Ignored = -1;

int foldAddressChar(char16_t c)
{
    if (isBlank(c))
        return Ignored;
    if (c >= 0xFF01 && c <= 0xFF5E)
        return c - 0xFF01 + 0x21;   // full-width ASCII block
    switch (c) {
    case u'ヶ':
    case u'ｹ':
    case u'が':
        return u'ケ';
    default:
        return c;
    }
}

std::u16string_view viewOf(QStringView s)
{
    return {reinterpret_cast<const char16_t *>(s.utf16()), size_t(s.size())};
}

QStringView qviewOf(std::u16string_view s)
{
    return QStringView(s.data(), qsizetype(s.size()));
}

QString stringOf(std::u16string_view s)
{
    return qviewOf(s).toString();
}

size_t commonPrefixLength(std::u16string_view a, std::u16string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    size_t i = 0;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

} // namespace

int NormalisePostalCode(QStringView text)
{
    int value = 0;
    int digits = 0;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'０' && c <= u'９')
            digit = c - u'０';
        else if (isCodeSeparator(c))
            continue;
        else
            return -1;
        if (++digits > 7)
            return -1;
        value = value * 10 + digit;
    }
    return digits == 7 ? value : -1;
}

QString FormatPostalCode(int code)
{
    if (code < 0 || code > MaxCode)
        return {};
    return u"%1-%2"_s.arg(code / 10000, 3, 10, QLatin1Char('0')).arg(code % 10000, 4, 10, QLatin1Char('0'));
}

QString FoldAddressForMatch(QStringView address)
{
    QString folded;
    folded.reserve(address.size());
    for (const QChar ch : address) {
        if (const int c = foldAddressChar(ch.unicode()); c != Ignored)
            folded.append(QChar(char16_t(c)));
    }
    return folded;
}

QList<int> DistinctCodes(const QList<PostalEntry> &entries)
{
    QList<int> codes;
    for (const PostalEntry &e : entries) {
        if (!codes.contains(e.code))
            codes.append(e.code);
    }
    return codes;
}

// ---------------------------------------------------------------- table

std::u16string_view PostalCodeTable::textAt(std::uint32_t offset, std::uint16_t length) const
{
    return {reinterpret_cast<const char16_t *>(m_text.constData()) + offset, length};
}

std::u16string_view PostalCodeTable::keyOf(std::uint32_t row) const
{
    const Row &r = m_rows[row];
    return textAt(r.key, r.keyLength);
}

PostalEntry PostalCodeTable::entryOf(const Row &row) const
{
    PostalEntry e;
    e.code = int(row.code);
    e.address = stringOf(textAt(row.address, row.addressLength));
    e.office = row.office != 0;
    if (e.office)
        e.officeName = stringOf(textAt(row.officeName, row.officeNameLength));
    e.municipalityLength = row.municipalityLength;
    return e;
}

PostalEntry PostalCodeTable::entryAt(int index) const
{
    if (index < 0 || size_t(index) >= m_rows.size())
        return {};
    return entryOf(m_rows[size_t(index)]);
}

QList<PostalEntry> PostalCodeTable::Lookup(QStringView code) const
{
    const int value = NormalisePostalCode(code);
    return value < 0 ? QList<PostalEntry>() : Lookup(value);
}

QList<PostalEntry> PostalCodeTable::Lookup(int code) const
{
    QList<PostalEntry> found;
    if (code < 0 || code > MaxCode)
        return found;
    struct ByCode {
        bool operator()(const Row &r, std::uint32_t c) const { return r.code < c; }
        bool operator()(std::uint32_t c, const Row &r) const { return c < r.code; }
    };
    const auto range = std::equal_range(m_rows.begin(), m_rows.end(), std::uint32_t(code), ByCode());
    found.reserve(range.second - range.first);
    for (auto it = range.first; it != range.second; ++it)
        found.append(entryOf(*it));
    return found;
}

bool PostalCodeTable::Contains(int code) const
{
    if (code < 0 || code > MaxCode)
        return false;
    const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), std::uint32_t(code),
                                     [](const Row &r, std::uint32_t c) { return r.code < c; });
    return it != m_rows.end() && it->code == std::uint32_t(code);
}

QList<PostalEntry> PostalCodeTable::LookupAddress(QStringView address1) const
{
    QList<PostalEntry> found;
    const QString folded = FoldAddressForMatch(address1);
    const std::u16string_view query = viewOf(folded);
    const auto keyBefore = [this](std::uint32_t row, std::u16string_view s) { return keyOf(row) < s; };

    // Try prefixes of the query, longest first. A key that is a prefix of
    // the current one sorts before it, and every key between the two starts
    // with it; so the key just before where the prefix would go bounds the
    // next length worth trying, and most lengths are skipped.
    auto end = m_byAddress.end();
    size_t length = query.size();
    while (length > 0) {
        const std::u16string_view prefix = query.substr(0, length);
        const auto at = std::lower_bound(m_byAddress.begin(), end, prefix, keyBefore);
        if (at != end && keyOf(*at) == prefix) {
            for (auto it = at; it != m_byAddress.end() && keyOf(*it) == prefix; ++it)
                found.append(entryOf(m_rows[*it]));
            break;
        }
        if (at == m_byAddress.begin())
            break;
        end = at;
        length = std::min(length - 1, commonPrefixLength(keyOf(*(at - 1)), prefix));
    }
    return found;
}

// ---------------------------------------------------------------- builder

bool PostalCodeTable::Builder::addResidential(int code, QStringView address, int municipalityLength)
{
    return add(code, {}, address, false, municipalityLength);
}

bool PostalCodeTable::Builder::addOffice(int code, QStringView officeName, QStringView address)
{
    return add(code, officeName, address, true, 0);
}

bool PostalCodeTable::Builder::add(int code, QStringView officeName, QStringView address, bool office,
                                   int municipalityLength)
{
    // Offsets live in 32 bits and must not wrap.
    constexpr qsizetype MaxBuffer = std::numeric_limits<std::int32_t>::max() / 4;
    address = address.trimmed();
    officeName = officeName.trimmed();
    if (code < 0 || code > MaxCode || address.isEmpty() || address.size() > MaxTextLength
        || officeName.size() > MaxTextLength || m_text.size() > MaxBuffer)
        return false;
    // The source's municipality must be a real prefix; otherwise work it out later.
    if (municipalityLength < 0 || municipalityLength > address.size()
        || municipalityLength > std::numeric_limits<std::uint8_t>::max())
        municipalityLength = 0;

    Row r{};
    r.code = std::uint32_t(code);
    r.address = std::uint32_t(m_text.size());
    r.addressLength = std::uint16_t(address.size());
    m_text.append(address);
    r.officeName = std::uint32_t(m_text.size());
    r.officeNameLength = std::uint16_t(officeName.size());
    m_text.append(officeName);
    r.office = office ? 1 : 0;
    r.municipalityLength = std::uint8_t(municipalityLength);
    m_rows.push_back(r);
    return true;
}

namespace {

struct EntryIdentity {
    std::u16string_view address;
    std::u16string_view officeName;
    bool office;
    bool operator==(const EntryIdentity &) const = default;
};

struct EntryIdentityHash {
    size_t operator()(const EntryIdentity &e) const
    {
        const std::hash<std::u16string_view> h;
        return (h(e.address) * 31 + h(e.officeName)) * 2 + size_t(e.office);
    }
};

} // namespace

PostalCodeTable PostalCodeTable::Builder::build()
{
    PostalCodeTable table;
    table.m_text = std::move(m_text);
    std::vector<Row> rows = std::move(m_rows);
    m_text = QString();
    m_rows = {};

    // Residential before office within a code; otherwise the order added.
    std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) {
        return a.code != b.code ? a.code < b.code : a.office < b.office;
    });

    // Drop repeats within each code: KEN_ALL.CSV gives one town several
    // rows that differ only in the parts we drop.
    table.m_rows.reserve(rows.size());
    std::unordered_set<EntryIdentity, EntryIdentityHash> seen;
    for (size_t begin = 0; begin < rows.size();) {
        size_t end = begin + 1;
        while (end < rows.size() && rows[end].code == rows[begin].code)
            ++end;
        if (end - begin == 1) {
            table.m_rows.push_back(rows[begin]);
            ++table.m_codeCount;
        } else {
            seen.clear();
            for (size_t i = begin; i < end; ++i) {
                const Row &r = rows[i];
                const EntryIdentity id{table.textAt(r.address, r.addressLength),
                                       table.textAt(r.officeName, r.officeNameLength), r.office != 0};
                if (seen.insert(id).second)
                    table.m_rows.push_back(r);
            }
            ++table.m_codeCount;
        }
        begin = end;
    }
    rows = {};

    // Folded keys for the reverse lookup; most addresses fold to themselves
    // and share their text.
    for (std::uint32_t i = 0; i < table.m_rows.size(); ++i) {
        Row &r = table.m_rows[i];
        if (r.office)
            continue;
        const std::u16string_view address = table.textAt(r.address, r.addressLength);
        bool same = true;
        for (const char16_t c : address) {
            if (foldAddressChar(c) != int(c)) {
                same = false;
                break;
            }
        }
        if (same) {
            r.key = r.address;
            r.keyLength = r.addressLength;
        } else {
            const QString folded = FoldAddressForMatch(qviewOf(address));
            r.key = std::uint32_t(table.m_text.size());
            r.keyLength = std::uint16_t(folded.size());
            table.m_text.append(folded);
        }
        table.m_byAddress.push_back(i);
    }
    table.m_text.squeeze();
    table.m_rows.shrink_to_fit();
    table.m_byAddress.shrink_to_fit();
    // Sort the keys themselves rather than row numbers, which would look
    // each key up afresh on every comparison.
    std::vector<std::pair<std::u16string_view, std::uint32_t>> keyed;
    keyed.reserve(table.m_byAddress.size());
    for (const std::uint32_t row : table.m_byAddress)
        keyed.emplace_back(table.keyOf(row), row);
    std::sort(keyed.begin(), keyed.end());
    for (size_t i = 0; i < keyed.size(); ++i)
        table.m_byAddress[i] = keyed[i].second;
    return table;
}

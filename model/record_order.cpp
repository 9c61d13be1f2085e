#include "model/record_order.h"

#include "model/address_book.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <string>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

// JIS X 0401 order: the index + 1 is the prefecture code.
constexpr QStringView Prefectures[] = {
    u"北海道",   u"青森県", u"岩手県", u"宮城県", u"秋田県", u"山形県", u"福島県",
    u"茨城県",   u"栃木県", u"群馬県", u"埼玉県", u"千葉県", u"東京都", u"神奈川県",
    u"新潟県",   u"富山県", u"石川県", u"福井県", u"山梨県", u"長野県", u"岐阜県",
    u"静岡県",   u"愛知県", u"三重県", u"滋賀県", u"京都府", u"大阪府", u"兵庫県",
    u"奈良県",   u"和歌山県", u"鳥取県", u"島根県", u"岡山県", u"広島県", u"山口県",
    u"徳島県",   u"香川県", u"愛媛県", u"高知県", u"福岡県", u"佐賀県", u"長崎県",
    u"熊本県",   u"大分県", u"宮崎県", u"鹿児島県", u"沖縄県",
};
static_assert(std::size(Prefectures) == 47);

bool isBlank(QChar c) { return c == u' ' || c == u'\u3000'; }

QStringView skipBlanks(QStringView s)
{
    qsizetype i = 0;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    return s.sliced(i);
}

// The prefecture's code and the text after its name, blanks skipped on both sides of it.
std::pair<int, QStringView> splitPrefecture(QStringView address)
{
    const QStringView text = skipBlanks(address);
    for (size_t i = 0; i < std::size(Prefectures); ++i) {
        if (text.startsWith(Prefectures[i]))
            return {int(i) + 1, skipBlanks(text.sliced(Prefectures[i].size()))};
    }
    return {0, text};
}

// QString compares UTF-16 code units, which puts characters beyond the BMP (𠮷 and the other
// extension kanji met in names) before U+E000…U+FFFF (the full-width forms). Shifting the units
// so that surrogates rank above every other unit makes a plain unit comparison follow code points.
void appendCodePointKey(std::u16string &out, QStringView s)
{
    out.reserve(out.size() + size_t(s.size()));
    for (QChar c : s) {
        char16_t u = c.unicode();
        if (u >= 0xE000)
            u -= 0x800;
        else if (u >= 0xD800)
            u += 0x2000;
        out.push_back(u);
    }
}

// Only the digits count, so that "100-0001", "1000001" and "〒１００－０００１" are the same code.
std::u16string digitsOf(QStringView s)
{
    std::u16string out;
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            out.push_back(u);
        else if (u >= u'０' && u <= u'９')
            out.push_back(char16_t(u'0' + (u - u'０')));
    }
    return out;
}

struct RecordKey {
    bool missing = true;   // no value for the key: always placed last
    int rank = 0;          // prefecture code for the address, 48 for "no prefecture"
    std::u16string text;
};

RecordKey keyOf(const Cls_住所 *record, SortKey key)
{
    RecordKey k;
    if (!record)
        return k;
    switch (key) {
    case SortKey::Yubin:
        k.text = digitsOf(record->PYubin);
        k.missing = k.text.empty();
        break;
    case SortKey::Tel:
        k.text = digitsOf(record->PTel);
        k.missing = k.text.empty();
        break;
    case SortKey::Name:
        // A name of blanks only would otherwise lead the list.
        k.missing = skipBlanks(record->PName).isEmpty();
        if (!k.missing)
            appendCodePointKey(k.text, record->PName);
        break;
    case SortKey::Address: {
        const auto [rank, rest] = splitPrefecture(record->PJu1);
        const QStringView ju2 = skipBlanks(record->PJu2);
        k.missing = skipBlanks(record->PJu1).isEmpty() && ju2.isEmpty();
        k.rank = rank == 0 ? int(std::size(Prefectures)) + 1 : rank;
        // One text across both lines: where a user breaks an address into two lines is arbitrary.
        appendCodePointKey(k.text, rest);
        appendCodePointKey(k.text, ju2);
        break;
    }
    }
    return k;
}

} // namespace

QString SortKeyCaption(SortKey key)
{
    switch (key) {
    case SortKey::Yubin:
        return u"〒"_s;
    case SortKey::Address:
        return u"住所"_s;
    case SortKey::Name:
        return u"氏名"_s;
    case SortKey::Tel:
        return u"電話番号"_s;
    }
    return {};
}

int PrefectureRank(QStringView address) { return splitPrefecture(address).first; }

std::vector<int> SortedOrder(const std::vector<const Cls_住所 *> &records, SortOrder order)
{
    std::vector<RecordKey> keys;
    keys.reserve(records.size());
    for (const Cls_住所 *r : records)
        keys.push_back(keyOf(r, order.key));

    std::vector<int> indices(records.size());
    std::iota(indices.begin(), indices.end(), 0);
    const bool descending = order.descending;
    // Descending swaps the operands rather than reversing the result, so that equal entries keep
    // their book order and the entries without a value stay at the end.
    std::stable_sort(indices.begin(), indices.end(), [&keys, descending](int ia, int ib) {
        const RecordKey &a = keys[size_t(ia)];
        const RecordKey &b = keys[size_t(ib)];
        if (a.missing || b.missing)
            return !a.missing && b.missing;
        const RecordKey &lo = descending ? b : a;
        const RecordKey &hi = descending ? a : b;
        if (lo.rank != hi.rank)
            return lo.rank < hi.rank;
        return lo.text < hi.text;
    });
    return indices;
}

std::vector<int> SortedOrder(const Cls_管理 &book, SortOrder order)
{
    std::vector<const Cls_住所 *> records;
    records.reserve(size_t(book.Count()));
    for (const auto &record : book)
        records.push_back(record.get());
    return SortedOrder(records, order);
}

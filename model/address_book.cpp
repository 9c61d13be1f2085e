#include "model/address_book.h"

#include "model/app_error.h"
#include "model/record_keys.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Room for one more element, growing geometrically (reserve(size() + 1)
// alone would reallocate on every add).
template<typename T>
void growForOneMore(std::vector<T> &v)
{
    if (v.size() == v.capacity())
        v.reserve(std::max<size_t>(16, v.capacity() * 2));
}

} // namespace

Cls_管理::~Cls_管理()
{
    // Records that outlive the book must not point at it any more.
    for (const RecordPtr &r : m_items) {
        if (r->m_owner == this)
            r->m_owner = nullptr;
    }
}

void Cls_管理::CheckRoomForOne() const
{
    if (Count() >= MaxBookRecords)
        throw AppError(u"住所録に登録できるのは%1件までです。これ以上追加できません。"_s.arg(MaxBookRecords));
}

void Cls_管理::checkPlace(int Before) const
{
    if (Before != -1 && (Before < 1 || Before > Count()))
        throw AppError(u"挿入位置 %1 は範囲外です（1～%2）。"_s.arg(Before).arg(Count()));
    CheckRoomForOne();
}

void Cls_管理::CheckAdd(int Before, const QString &Key) const
{
    checkPlace(Before);
    if (m_byKey.contains(Key))
        throw AppError(u"キー「%1」の住所はすでに登録されています。"_s.arg(Key));
}

Cls_住所 &Cls_管理::Add(const QString &name, const QString &tel, const QString &mail,
                      const QString &yubin, const QString &ju1, const QString &ju2,
                      const QString &memo, Cls_管理 *owner, int Before, const QString &Key)
{
    checkPlace(Before);
    // Everything that can fail happens before the book changes.
    growForOneMore(m_items);
    growForOneMore(m_keys);
    auto record = std::make_shared<Cls_住所>();
    record->PName = name;
    record->PTel = tel;
    record->PMail = mail;
    record->PYubin = yubin;
    record->PJu1 = ju1;
    record->PJu2 = ju2;
    record->PMemo = memo;
    record->PSkey = Key;
    record->m_owner = owner;

    // One hash look-up: the slot is new exactly when the hash grew.
    const qsizetype keysBefore = m_byKey.size();
    Cls_住所 *&slot = m_byKey[Key];
    if (m_byKey.size() == keysBefore)
        throw AppError(u"キー「%1」の住所はすでに登録されています。"_s.arg(Key));
    slot = record.get();

    if (Before == -1) {
        m_items.push_back(record);
        m_keys.push_back(Key);
    } else {
        m_items.insert(m_items.begin() + (Before - 1), record);
        m_keys.insert(m_keys.begin() + (Before - 1), Key);
    }
    return *record;
}

void Cls_管理::checkPosition(int position) const
{
    if (position < 1 || position > Count())
        throw AppError(u"位置 %1 の住所はありません（1～%2）。"_s.arg(position).arg(Count()));
}

Cls_住所 &Cls_管理::Item(int position) const
{
    checkPosition(position);
    return *m_items[size_t(position - 1)];
}

Cls_住所 &Cls_管理::Item(const QString &key) const
{
    Cls_住所 *r = m_byKey.value(key, nullptr);
    if (!r)
        throw AppError(u"キー「%1」の住所はありません。"_s.arg(key));
    return *r;
}

Cls_管理::RecordPtr Cls_管理::ItemPtr(int position) const
{
    checkPosition(position);
    return m_items[size_t(position - 1)];
}

int Cls_管理::PositionOf(const QString &key) const
{
    if (!m_byKey.contains(key))
        return 0;
    for (size_t i = 0; i < m_keys.size(); ++i) {
        if (m_keys[i] == key)
            return int(i) + 1;
    }
    return 0;
}

void Cls_管理::Remove(int position)
{
    checkPosition(position);
    const size_t i = size_t(position - 1);
    m_byKey.remove(m_keys[i]);
    if (m_items[i]->m_owner == this)
        m_items[i]->m_owner = nullptr;
    m_items.erase(m_items.begin() + ptrdiff_t(i));
    m_keys.erase(m_keys.begin() + ptrdiff_t(i));
}

void Cls_管理::Remove(const QString &key)
{
    const int position = PositionOf(key);
    if (position == 0)
        throw AppError(u"キー「%1」の住所はありません。"_s.arg(key));
    Remove(position);
}

void Cls_管理::Reorder(const std::vector<int> &order)
{
    const size_t n = m_items.size();
    std::vector<bool> seen(n, false);
    if (order.size() != n)
        throw AppError(u"並べ替えの順序が住所録の件数（%1件）と合いません。"_s.arg(n));
    for (const int from : order) {
        if (from < 0 || size_t(from) >= n || seen[size_t(from)])
            throw AppError(u"並べ替えの順序が正しくありません。"_s);
        seen[size_t(from)] = true;
    }
    std::vector<RecordPtr> items;
    std::vector<QString> keys;
    items.reserve(n);
    keys.reserve(n);
    for (const int from : order) {
        items.push_back(std::move(m_items[size_t(from)]));
        keys.push_back(std::move(m_keys[size_t(from)]));
    }
    m_items = std::move(items);
    m_keys = std::move(keys);
}

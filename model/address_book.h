#pragma once

#include "model/address_record.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

// The ordered, keyed list of records that makes up an address book.
// Positions are 1-based. Failures throw AppError and leave the book unchanged.
class Cls_管理 {
public:
    using RecordPtr = std::shared_ptr<Cls_住所>;

    Cls_管理() = default;
    Cls_管理(const Cls_管理 &) = delete;
    Cls_管理 &operator=(const Cls_管理 &) = delete;
    ~Cls_管理();

    // Before = -1 appends; otherwise the record goes in front of position Before.
    Cls_住所 &Add(const QString &name, const QString &tel, const QString &mail,
                 const QString &yubin, const QString &ju1, const QString &ju2,
                 const QString &memo, Cls_管理 *owner, int Before, const QString &Key);

    // Throws AppError when Add(…, Before, Key) would fail; the book is not touched.
    void CheckAdd(int Before, const QString &Key) const;
    // Throws AppError when the book has no room for one more record.
    void CheckRoomForOne() const;

    Cls_住所 &Item(int position) const;
    Cls_住所 &Item(const QString &key) const;
    bool Contains(const QString &key) const { return m_byKey.contains(key); }
    // 1-based position of the record stored under key, 0 when absent.
    int PositionOf(const QString &key) const;
    int Count() const { return int(m_items.size()); }

    void Remove(int position);
    void Remove(const QString &key);

    // Puts the records in a new order: element i of order is the 0-based
    // place the record now at place i comes from. Throws AppError unless
    // order holds every place exactly once; the book is then not touched.
    void Reorder(const std::vector<int> &order);

    // The shared handle, for callers that keep a record beyond its removal.
    RecordPtr ItemPtr(int position) const;

    // Enumeration in book order (range-for).
    auto begin() const { return m_items.cbegin(); }
    auto end() const { return m_items.cend(); }

    void reserve(int n) { m_items.reserve(size_t(n)); m_keys.reserve(size_t(n)); m_byKey.reserve(n); }

private:
    void checkPosition(int position) const;
    void checkPlace(int Before) const;   // insertion place and room

    std::vector<RecordPtr> m_items;
    std::vector<QString> m_keys;          // the key each element was added under
    QHash<QString, Cls_住所 *> m_byKey;
};

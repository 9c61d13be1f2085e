#pragma once

#include <QString>
#include <QStringView>
#include <vector>

class Cls_住所;
class Cls_管理;

// The orders the list can be sorted in. The book itself is not touched: the
// result is a permutation the caller applies.
enum class SortKey { Yubin, Address, Name, Tel };

struct SortOrder {
    SortKey key = SortKey::Yubin;
    bool descending = false;
};

// The caption of a key as the user sees it: "〒", "住所", "氏名", "電話番号".
QString SortKeyCaption(SortKey key);

// 1 … 47 for an address that begins with one of the 47 prefectures (北海道 = 1 … 沖縄県 = 47,
// the official JIS X 0401 order), 0 otherwise. Leading half- and full-width blanks are skipped.
int PrefectureRank(QStringView address);

// The records' new order as 0-based indices into the given sequence: element i of the result is
// the index of the record that goes to place i. Stable: records that compare equal keep their order.
//
// Entries without a value for the key (no digit in 〒 or 電話番号, a blank name, both address
// lines blank) go last in either direction; a null pointer counts as such an entry.
std::vector<int> SortedOrder(const std::vector<const Cls_住所 *> &records, SortOrder order);
std::vector<int> SortedOrder(const Cls_管理 &book, SortOrder order);

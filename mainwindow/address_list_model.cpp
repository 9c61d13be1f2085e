#include "mainwindow/address_list_model.h"

#include "files/storable_value.h"
#include "mainwindow/artwork.h"
#include "model/app_error.h"
#include "model/record_keys.h"
#include "model/address_record.h"
#include "model/app_state.h"

using namespace Qt::Literals::StringLiterals;

AddressListModel::AddressListModel(AppState &state, QObject *parent)
    : QAbstractTableModel(parent), m_state(state)
{
    setObjectName(u"ListView1Items"_s);
    m_img1 = ArtIcon(u":/list/img1_small.svg"_s, u":/list/img1_large.svg"_s);
    m_img2 = ArtIcon(u":/list/img2_small.svg"_s, u":/list/img2_large.svg"_s);
    for (const char *name : {"KName", "KTel", "KMail", "KYubin", "KJu1", "KJu2", "KMemo"})
        m_headerIcons.append(ArtIcon(u":/columns/"_s + QLatin1StringView(name) + u".svg"_s, QSize(16, 16)));
}

int AddressListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_state.OpenBook->Count();
}

int AddressListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FieldCount;
}

QVariant AddressListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Cls_住所 &record = m_state.OpenBook->Item(index.row() + 1);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return record.field(static_cast<Field>(index.column()));
    case Qt::DecorationRole:
        if (index.column() == 0)
            return m_marked.contains(record.PSkey) ? m_img2 : m_img1;
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == 0 ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
    case KeyRole:
        return record.PSkey;
    case MarkedRole:
        return m_marked.contains(record.PSkey);
    default:
        return {};
    }
}

QVariant AddressListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= FieldCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return FieldCaptions().at(section);
    case Qt::DecorationRole:
        return m_headerIcons.value(section);
    case Qt::TextAlignmentRole:
        return section == 0 ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
    default:
        return {};
    }
}

Qt::ItemFlags AddressListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool AddressListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != 0 || index.row() >= rowCount())
        return false;
    Cls_住所 &record = m_state.OpenBook->Item(index.row() + 1);
    const QString name = value.toString();
    if (record.PName == name)
        return true;   // an edit that changes nothing is no change to the book
    // The editor tells the user; a name the book cannot carry never gets in.
    if (!TypedValueProblem(name, FieldCaptions()[0]).isEmpty())
        return false;
    record.PName = name;
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    Q_EMIT nameEdited(index.row());
    return true;
}

void AddressListModel::bookReplaced()
{
    beginResetModel();
    m_marked.clear();
    endResetModel();
}

void AddressListModel::beginInsertRecord(int position)
{
    beginInsertRows({}, position - 1, position - 1);
}

void AddressListModel::endInsertRecord() { endInsertRows(); }

void AddressListModel::beginRemoveRecord(int position)
{
    m_marked.remove(keyOf(position - 1));
    beginRemoveRows({}, position - 1, position - 1);
}

void AddressListModel::endRemoveRecord() { endRemoveRows(); }

int AddressListModel::addRecord(const Cls_住所 &fields, int before, const QString &key)
{
    Cls_管理 &book = *m_state.OpenBook;
    // The view must not hear of a row the book then refuses.
    book.CheckAdd(before, key);
    const int position = before == -1 ? book.Count() + 1 : before;
    beginInsertRecord(position);
    book.Add(fields.PName, fields.PTel, fields.PMail, fields.PYubin, fields.PJu1, fields.PJu2,
             fields.PMemo, &book, before, key);
    endInsertRecord();
    return position - 1;
}

void AddressListModel::removeRecord(int row)
{
    if (row < 0 || row >= rowCount())
        throw AppError(u"削除する項目が選択されていません。"_s);
    beginRemoveRecord(row + 1);
    m_state.OpenBook->Remove(row + 1);
    endRemoveRecord();
}

void AddressListModel::recordChanged(int position)
{
    Q_EMIT dataChanged(index(position - 1, 0), index(position - 1, FieldCount - 1));
}

QString AddressListModel::keyOf(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return m_state.OpenBook->Item(row + 1).PSkey;
}

bool AddressListModel::isMarked(int row) const
{
    const QString key = keyOf(row);
    return !key.isEmpty() && m_marked.contains(key);
}

void AddressListModel::setMarked(int row, bool marked)
{
    const QString key = keyOf(row);
    if (key.isEmpty() || m_marked.contains(key) == marked)
        return;
    if (marked)
        m_marked.insert(key);
    else
        m_marked.remove(key);
    const QModelIndex i = index(row, 0);
    Q_EMIT dataChanged(i, i, {Qt::DecorationRole, MarkedRole});
}

void AddressListModel::MarkItem(int row, bool skip)
{
    if (!skip)
        setMarked(m_state.MarkedIndex - 1, false);
    if (row < 0 || row >= rowCount())
        return;
    setMarked(row, true);
    m_state.MarkedIndex = row + 1;
}

void AddressListModel::ItemClick(int row)
{
    const bool skip = m_state.SkipUnmark;
    m_state.SkipUnmark = false;
    MarkItem(row, skip);
}

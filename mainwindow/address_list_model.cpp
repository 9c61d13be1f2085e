#include "mainwindow/address_list_model.h"

#include "files/storable_value.h"
#include "mainwindow/artwork.h"
#include "model/address_record.h"
#include "model/book_document.h"

using namespace Qt::Literals::StringLiterals;

AddressListModel::AddressListModel(BookDocument &document, QObject *parent)
    : QAbstractTableModel(parent), m_document(document)
{
    setObjectName(u"ListView1Items"_s);
    m_img1 = ArtIcon(u":/list/img1_small.svg"_s, u":/list/img1_large.svg"_s);
    m_img2 = ArtIcon(u":/list/img2_small.svg"_s, u":/list/img2_large.svg"_s);
    for (const char *name : {"KName", "KTel", "KMail", "KYubin", "KJu1", "KJu2", "KMemo"})
        m_headerIcons.append(ArtIcon(u":/columns/"_s + QLatin1StringView(name) + u".svg"_s, QSize(16, 16)));

    // The document says before and after each change, so the views never
    // see a row the book no longer has.
    connect(&document, &BookDocument::bookAboutToBeReplaced, this, &AddressListModel::beginResetModel);
    connect(&document, &BookDocument::bookReplaced, this, &AddressListModel::endResetModel);
    connect(&document, &BookDocument::recordAboutToBeInserted, this,
            [this](int position) { beginInsertRows({}, position - 1, position - 1); });
    connect(&document, &BookDocument::recordInserted, this, &AddressListModel::endInsertRows);
    connect(&document, &BookDocument::recordAboutToBeRemoved, this,
            [this](int position) { beginRemoveRows({}, position - 1, position - 1); });
    connect(&document, &BookDocument::recordRemoved, this, &AddressListModel::endRemoveRows);
    connect(&document, &BookDocument::recordChanged, this, [this](int position) {
        Q_EMIT dataChanged(index(position - 1, 0), index(position - 1, FieldCount - 1));
    });
    connect(&document, &BookDocument::recordsAboutToBeReordered, this, [this] { Q_EMIT layoutAboutToBeChanged(); });
    connect(&document, &BookDocument::recordsReordered, this, &AddressListModel::followReorder);
    connect(&document, &BookDocument::markerChanged, this, [this](int position) {
        const QModelIndex i = index(position - 1, 0);
        Q_EMIT dataChanged(i, i, {Qt::DecorationRole, MarkedRole});
    });
}

int AddressListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_document.Count();
}

int AddressListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FieldCount;
}

QVariant AddressListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Cls_住所 &record = m_document.Record(index.row() + 1);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return record.field(static_cast<Field>(index.column()));
    case Qt::DecorationRole:
        if (index.column() == 0)
            return m_document.IsMarked(record) ? m_img2 : m_img1;
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == 0 ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
    case KeyRole:
        return record.PSkey;
    case MarkedRole:
        return m_document.IsMarked(record);
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
    const int position = index.row() + 1;
    const QString name = value.toString();
    if (m_document.Record(position).PName == name)
        return true;   // an edit that changes nothing is no change to the book
    // The editor tells the user; a name the book cannot carry never gets in.
    if (!TypedValueProblem(name, FieldCaptions()[0]).isEmpty())
        return false;
    BookDocument::Step step(m_document, u"氏名の変更"_s);
    m_document.RenameRecord(position, name);
    return true;
}

void AddressListModel::followReorder(const std::vector<int> &order)
{
    // The selection and the current entry stay with their entries.
    if (!order.empty()) {
        std::vector<int> placeOf(order.size());
        for (size_t i = 0; i < order.size(); ++i)
            placeOf[size_t(order[i])] = int(i);
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex &i : before)
            after.append(index(placeOf[size_t(i.row())], i.column()));
        changePersistentIndexList(before, after);
    }
    Q_EMIT layoutChanged();
}

bool AddressListModel::isMarked(int row) const { return m_document.IsMarked(row + 1); }

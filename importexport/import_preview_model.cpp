#include "importexport/import_preview_model.h"

#include "model/address_record.h"

#include <QBrush>
#include <QColor>

using namespace Qt::Literals::StringLiterals;

ImportPreviewModel::ImportPreviewModel(std::vector<ImportedContact> contacts, std::vector<char> duplicates,
                                       std::vector<int> problems, QObject *parent)
    : QAbstractTableModel(parent), m_contacts(std::move(contacts)), m_duplicates(std::move(duplicates)),
      m_problems(std::move(problems))
{
    setObjectName(u"ImportPreviewModel"_s);
    m_duplicates.resize(m_contacts.size());
    m_problems.resize(m_contacts.size());
    m_taken.resize(m_contacts.size());
    for (size_t i = 0; i < m_contacts.size(); ++i)
        m_taken[i] = !m_duplicates[i];
}

void ImportPreviewModel::setTaken(int row, bool taken)
{
    if (row < 0 || row >= rowCount() || bool(m_taken[size_t(row)]) == taken)
        return;
    m_taken[size_t(row)] = taken;
    Q_EMIT dataChanged(index(row, Take), index(row, Take), {Qt::CheckStateRole});
    Q_EMIT takenChanged();
}

int ImportPreviewModel::takenCount() const { return int(std::count(m_taken.begin(), m_taken.end(), char(1))); }

int ImportPreviewModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_contacts.size()); }

int ImportPreviewModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString ImportPreviewModel::noteOf(int row) const
{
    QStringList notes;
    if (m_duplicates[size_t(row)])
        notes << u"住所録にある人と重複している可能性"_s;
    if (m_problems[size_t(row)] > 0)
        notes << u"保存できない文字など（下の一覧）"_s;
    const QStringList &dropped = m_contacts[size_t(row)].dropped;
    if (!dropped.isEmpty())
        notes << u"取り込まない：%1"_s.arg(dropped.join(u'、'));
    return notes.join(u"／"_s);
}

QVariant ImportPreviewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int row = index.row();
    if (index.column() == Take && role == Qt::CheckStateRole)
        return m_taken[size_t(row)] ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::BackgroundRole) {
        if (m_problems[size_t(row)] > 0)
            return QBrush(QColor(255, 228, 225));
        if (m_duplicates[size_t(row)])
            return QBrush(QColor(255, 244, 204));
        return {};
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const ImportedContact &c = m_contacts[size_t(row)];
    switch (index.column()) {
    case Take: return role == Qt::ToolTipRole ? u"取り込むときはチェックを付けます。"_s : QVariant();
    case FirstField + 0: return c.name;
    case FirstField + 1: return c.tel;
    case FirstField + 2: return c.mail;
    case FirstField + 3: return c.postal;
    case FirstField + 4: return c.address1;
    case FirstField + 5: return c.address2;
    case FirstField + 6: return c.memo;
    case Note: return noteOf(row);
    }
    return {};
}

bool ImportPreviewModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() != Take || role != Qt::CheckStateRole)
        return false;
    setTaken(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
    return true;
}

Qt::ItemFlags ImportPreviewModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == Take)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant ImportPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section == Take)
        return u"取込"_s;
    if (section == Note)
        return u"注意"_s;
    if (section >= FirstField && section < Note)
        return FieldCaptions()[size_t(section - FirstField)];
    return {};
}

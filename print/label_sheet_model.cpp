#include "print/label_sheet_model.h"

#include "files/label_sheet.h"
#include "print/standard_label_sheet.h"

#include <QLocale>
#include <set>

using namespace Qt::Literals::StringLiterals;

namespace {

// Full-width letters and digits as half-width, lower case: "ＯＰ３１０２" finds "OP3102".
QString Folded(const QString &text) { return text.normalized(QString::NormalizationForm_KC).toCaseFolded(); }

QString Decimal(double mm)
{
    QString text = QString::number(mm, 'f', 1);
    if (text.endsWith(u".0"_s))
        text.chop(2);
    return text;
}

} // namespace

QString MillimetreSize(double width, double height) { return Decimal(width) + u"×"_s + Decimal(height) + u"mm"_s; }

LabelSheetModel::LabelSheetModel(const std::vector<LabelSheet> &sheets, QObject *parent)
    : QAbstractTableModel(parent), m_sheets(sheets)
{
    setObjectName(u"LabelSheetModel"_s);
    m_searchText.reserve(sheets.size());
    for (const LabelSheet &sheet : sheets)
        m_searchText.push_back(Folded(sheet.brand + u' ' + sheet.part + u' ' + sheet.description + u' '
                                      + QString::number(sheet.LabelCount()) + u"面"_s));
    SetFilter({}, 0);
}

void LabelSheetModel::SetFilter(const QString &search, int labelsPerSheet)
{
    const QStringList words = Folded(search).split(u' ', Qt::SkipEmptyParts);
    beginResetModel();
    m_rows.clear();
    const auto matches = [&words](const QString &text) {
        for (const QString &word : words) {
            if (!text.contains(word))
                return false;
        }
        return true;
    };
    if (matches(Folded(StandardSheetSearchText())) && (labelsPerSheet == 0 || labelsPerSheet == StandardLabelCount))
        m_rows.push_back(nullptr);
    for (size_t i = 0; i < m_sheets.size(); ++i) {
        const LabelSheet &sheet = m_sheets[i];
        if ((labelsPerSheet == 0 || sheet.LabelCount() == labelsPerSheet) && matches(m_searchText[i]))
            m_rows.push_back(&sheet);
    }
    endResetModel();
}

const LabelSheet *LabelSheetModel::SheetAt(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? m_rows[size_t(row)] : nullptr;
}

int LabelSheetModel::RowOf(const LabelSheet *sheet) const
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i] == sheet)
            return int(i);
    }
    return -1;
}

std::vector<int> LabelSheetModel::LabelCounts() const
{
    std::set<int> counts = {StandardLabelCount};
    for (const LabelSheet &sheet : m_sheets)
        counts.insert(sheet.LabelCount());
    return {counts.begin(), counts.end()};
}

int LabelSheetModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

int LabelSheetModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant LabelSheetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const LabelSheet *sheet = m_rows[size_t(index.row())];
    if (role == Qt::TextAlignmentRole && index.column() == Count)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    if (!sheet) {
        switch (index.column()) {
        case Brand: return u"標準"_s;
        case Part: return u"2列×7行"_s;
        case Count: return QString::number(StandardLabelCount);
        case Size: return MillimetreSize(StandardLabelWidthMm, StandardLabelHeightMm);
        case Paper: return u"A4"_s;
        case Description: return u"この住所録の標準のラベル（見出し付き）"_s;
        }
        return {};
    }
    switch (index.column()) {
    case Brand: return sheet->brand;
    case Part: return sheet->part;
    case Count: return QString::number(sheet->LabelCount());
    case Size: return MillimetreSize(sheet->widthMm, sheet->heightMm);
    case Paper: return sheet->paperName;
    case Description: return sheet->description;
    }
    return {};
}

QVariant LabelSheetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const QString captions[] = {u"メーカー"_s, u"品番"_s, u"面数"_s, u"ラベルの大きさ"_s, u"用紙"_s, u"説明"_s};
    return section >= 0 && section < ColumnCount ? captions[section] : QVariant();
}

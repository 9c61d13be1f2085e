#pragma once

#include <QAbstractTableModel>
#include <vector>

struct LabelSheet;

// The sheets of the chooser as a table: the standard sheet first (a null
// row), then the database's sheets that pass the search and the filter.
class LabelSheetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Brand, Part, Count, Size, Paper, Description, ColumnCount };

    LabelSheetModel(const std::vector<LabelSheet> &sheets, QObject *parent = nullptr);

    // Words (all of them) found in the maker, the part number or the
    // description, in either width and either case; labelsPerSheet 0 for any.
    void SetFilter(const QString &search, int labelsPerSheet);
    // The sheet of a row; null for the standard sheet.
    const LabelSheet *SheetAt(int row) const;
    // The row of a sheet (null: the standard one), -1 when it is filtered out.
    int RowOf(const LabelSheet *sheet) const;
    // The label counts the database has, ascending.
    std::vector<int> LabelCounts() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const std::vector<LabelSheet> &m_sheets;
    std::vector<QString> m_searchText;        // per sheet, folded for matching
    std::vector<const LabelSheet *> m_rows;   // after the filter; null is the standard sheet
};

// "93.5×37mm": a size in millimetres with at most one decimal.
QString MillimetreSize(double width, double height);

#pragma once

#include "files/imported_contact.h"

#include <QAbstractTableModel>
#include <vector>

// The contacts of an import as a table: a check box each (whether it is
// taken in), the seven fields, and a note of what is special about it.
class ImportPreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Take, FirstField, Note = FirstField + 7, ColumnCount };

    // duplicates and problems: per contact; a probable duplicate starts unchecked.
    ImportPreviewModel(std::vector<ImportedContact> contacts, std::vector<char> duplicates,
                       std::vector<int> problems, QObject *parent = nullptr);

    const std::vector<ImportedContact> &contacts() const { return m_contacts; }
    bool isTaken(int row) const { return m_taken[size_t(row)]; }
    void setTaken(int row, bool taken);
    int takenCount() const;
    bool isDuplicate(int row) const { return m_duplicates[size_t(row)]; }
    int problemCount(int row) const { return m_problems[size_t(row)]; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

Q_SIGNALS:
    void takenChanged();

private:
    QString noteOf(int row) const;

    std::vector<ImportedContact> m_contacts;
    std::vector<char> m_taken;
    std::vector<char> m_duplicates;
    std::vector<int> m_problems;
};

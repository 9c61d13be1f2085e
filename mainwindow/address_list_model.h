#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <vector>

class BookDocument;

// ListView1's rows: the records of the open book, in book order, one column
// per field. The model reads the book directly and follows the document's
// signals, so list and book cannot drift apart.
class AddressListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role { KeyRole = Qt::UserRole + 1, MarkedRole };

    explicit AddressListModel(BookDocument &document, QObject *parent = nullptr);

    BookDocument &document() const { return m_document; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Renaming in place (first column only): an edit of the book.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Whether the entry at a row shows the marker img2.
    bool isMarked(int row) const;

private:
    void followReorder(const std::vector<int> &order);

    BookDocument &m_document;
    QIcon m_img1, m_img2;
    QList<QIcon> m_headerIcons;
};

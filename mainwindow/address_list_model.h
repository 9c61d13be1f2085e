#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QSet>

class Cls_住所;
struct AppState;

// ListView1's rows: the records of OpenBook, in book order, one column per
// field. The model reads the book directly, so list and book cannot drift
// apart; the commands that change the book tell the model around the change.
class AddressListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role { KeyRole = Qt::UserRole + 1, MarkedRole };

    explicit AddressListModel(AppState &state, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Renaming in place (first column only).
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // The whole book was replaced or emptied: every row is new and unmarked.
    void bookReplaced();
    // Around an insertion at, or removal of, a 1-based book position.
    void beginInsertRecord(int position);
    void endInsertRecord();
    void beginRemoveRecord(int position);
    void endRemoveRecord();
    // Adds a record to the book and a row to the list in one step: in front
    // of the 1-based position before, or at the end for -1. Everything that
    // can fail is checked first; returns the new row.
    int addRecord(const Cls_住所 &fields, int before, const QString &key);
    // Removes the record at a row from list and book.
    void removeRecord(int row);
    // A record's fields changed in place.
    void recordChanged(int position);

    // The marker icon img2, kept per entry like any icon.
    bool isMarked(int row) const;
    void setMarked(int row, bool marked);
    // Moves the marker to row: unless skip, the entry at MarkedIndex loses it;
    // MarkedIndex follows. A row that does not exist is passed over.
    void MarkItem(int row, bool skip);
    // An item picked by the user: the marker moves, except that the first
    // pick after SkipUnmark leaves the old position alone.
    void ItemClick(int row);

Q_SIGNALS:
    // The user renamed an entry in place.
    void nameEdited(int row);

private:
    QString keyOf(int row) const;

    AppState &m_state;
    QSet<QString> m_marked;   // keys of the entries that show img2
    QIcon m_img1, m_img2;
    QList<QIcon> m_headerIcons;
};

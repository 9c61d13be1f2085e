#pragma once

#include "model/address_book.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QUndoStack>
#include <functional>
#include <memory>
#include <vector>

class BookStep;
struct BookViewState;

// The open address book and all that belongs to it: the records (OpenBook),
// the file they came from (BookFileName), the unsaved-changes flag
// (BookChanged), the key source (KeyCounter), the marker (MarkedIndex,
// SkipUnmark and the entries that show img2) and the scratch record
// (WorkRecord). Every change goes through here and is announced, so the list
// model and the window follow whatever command made it.
//
// Every change is also kept in History(): the changes a command makes
// between the start and the end of one Step are one undoable step, and
// BookChanged follows the history's clean state (Save marks it).
//
// Positions are 1-based, as in the book.
class BookDocument : public QObject {
    Q_OBJECT
public:
    explicit BookDocument(QObject *parent = nullptr);
    ~BookDocument() override;

    const Cls_管理 &OpenBook() const { return *m_book; }
    int Count() const { return m_book->Count(); }
    const Cls_住所 &Record(int position) const { return m_book->Item(position); }

    const QString &BookFileName() const { return m_fileName; }
    void SetBookFileName(const QString &path);

    bool BookChanged() const { return m_changed; }
    // The flag alone; the window's Save controls follow its signal.
    void SetChanged(bool changed);
    // The book now matches its file: unchanged, and undoing or redoing back
    // to this point makes it unchanged again.
    void MarkSaved();

    // The steps that can be undone and redone. A replaced book starts a new history.
    QUndoStack &History() { return m_history; }

    // Groups the changes made while it lives into one undoable step named
    // name (shown as "元に戻す（name）"). Steps nest; the outermost one
    // counts. A step without changes is dropped.
    class Step {
    public:
        Step(BookDocument &document, const QString &name);
        ~Step();
        Step(const Step &) = delete;
        Step &operator=(const Step &) = delete;

    private:
        BookDocument &m_document;
    };

    // Where the selected entry is read when a step begins and ends; a step
    // undone or redone hands its selection back through selectionRestored.
    void SetSelectionSource(std::function<int()> selectedPosition);

    qint32 KeyCounter() const { return m_keyCounter; }
    // The key of an added, pasted or moved record: the counter only grows.
    QString NextRecordKey();

    // A scratch record for conversions; it holds no meaning between commands.
    Cls_住所 &WorkRecord();
    void ReleaseWorkRecord() { m_workRecord.reset(); }

    // Puts a whole new book in place: the list hears of it before the old
    // book goes and after the new one is in. No entry shows the marker and
    // the next pick unmarks as usual. The first form keeps KeyCounter (New,
    // a discard), the second sets it (a load).
    void ReplaceBook(std::unique_ptr<Cls_管理> book);
    void ReplaceBook(std::unique_ptr<Cls_管理> book, qint32 keyCounter);

    // Adds a record in front of position before (-1: at the end). Everything
    // that can fail is checked first; returns the new record's position.
    int AddRecord(const Cls_住所 &fields, int before, const QString &key);
    void RemoveRecord(int position);
    // New values for the seven fields of the record at position.
    void SetRecordFields(int position, const Cls_住所 &fields);
    void RenameRecord(int position, const QString &name);
    // Puts the records in a new order: element i of order is the 0-based
    // place the record now at place i comes from.
    void ReorderRecords(const std::vector<int> &order);

    // The marker: MarkedIndex is the position of the entry last picked.
    qint32 MarkedIndex() const { return m_markedIndex; }
    void SetMarkedIndex(qint32 position) { m_markedIndex = position; }
    bool SkipUnmark() const { return m_skipUnmark; }
    void SetSkipUnmark(bool skip) { m_skipUnmark = skip; }
    bool IsMarked(int position) const;
    bool IsMarked(const Cls_住所 &record) const { return m_marked.contains(record.PSkey); }
    void SetMarked(int position, bool marked);
    // Moves the marker to position: unless skip, the entry at MarkedIndex
    // loses it; MarkedIndex follows. A position that does not exist is passed over.
    void MarkItem(int position, bool skip);
    // An entry picked by the user: the marker moves, except that the first
    // pick after SkipUnmark leaves the old position alone.
    void ItemClick(int position);

Q_SIGNALS:
    void bookAboutToBeReplaced();
    void bookReplaced();
    void recordAboutToBeInserted(int position);
    void recordInserted(int position);
    void recordAboutToBeRemoved(int position);
    void recordRemoved(int position);
    void recordChanged(int position);
    void recordsAboutToBeReordered();
    // order as given to ReorderRecords.
    void recordsReordered(const std::vector<int> &order);
    // An undone or redone step chose this entry (0: none).
    void selectionRestored(int position);
    // The marker came to or left the entry at position.
    void markerChanged(int position);
    // After every change of the number of records, and after a replacement.
    void countChanged(int count);
    // BookChanged became changed.
    void modificationChanged(bool changed);
    void fileNameChanged(const QString &path);

private:
    friend class BookStep;
    friend class InsertChange;
    friend class RemoveChange;
    friend class FieldsChange;
    friend class ReorderChange;

    QString keyAt(int position) const;
    void beginStep(const QString &name);
    void endStep();
    BookViewState viewState() const;
    void restoreViewState(const BookViewState &state, bool withFileName);
    void followHistory();

    // The changes themselves, announced but not recorded.
    void applyInsert(int position, const Cls_住所 &fields, const QString &key);
    void applyRemove(int position);
    void applyFields(int position, const Cls_住所 &fields);
    void applyReorder(const std::vector<int> &order);

    std::unique_ptr<Cls_管理> m_book;
    std::unique_ptr<Cls_住所> m_workRecord;
    QString m_fileName;
    bool m_changed = false;
    qint32 m_keyCounter = 0;
    qint32 m_markedIndex = 1;
    bool m_skipUnmark = false;
    QSet<QString> m_marked;   // keys of the entries that show img2
    QUndoStack m_history;
    BookStep *m_step = nullptr;   // owned until pushed
    int m_stepDepth = 0;
    std::function<int()> m_selectedPosition;
};

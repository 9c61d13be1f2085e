#pragma once

#include "model/address_record.h"

#include <QSet>
#include <QString>
#include <QUndoCommand>
#include <vector>

class BookDocument;

// What the user sees around the book that a step restores with it: the
// selected entry, the marker, and the file name (deleting the last entry
// forgets it).
struct BookViewState {
    int selected = 0;            // position, 0 when nothing is selected
    qint32 markedIndex = 1;
    bool skipUnmark = false;
    QSet<QString> marked;        // keys of the entries that show img2
    QString fileName;
};

// One command of the user as one undoable step. The document records the
// step's changes as its children while the command runs; the step is pushed
// on the history only afterwards, so its first redo does nothing.
class BookStep : public QUndoCommand {
public:
    BookStep(BookDocument &document, const QString &name);

    // Takes the state after the command's last change.
    void finish();

    void undo() override;
    void redo() override;

private:
    // Only a step that changed the name (deleting the last entry) takes it
    // back: a Save As since must not be undone with an edit.
    bool changesFileName() const { return m_before.fileName != m_after.fileName; }

    BookDocument &m_document;
    BookViewState m_before;
    BookViewState m_after;
    bool m_done = true;
};

// The changes a step is made of. Each holds what it needs to go both ways:
// the fields and the key of one entry, or the order of a reordering, never
// a copy of the book.
class InsertChange : public QUndoCommand {
public:
    InsertChange(BookDocument &document, int position, const Cls_住所 &fields, const QString &key,
                 QUndoCommand *step);
    void undo() override;
    void redo() override;

private:
    BookDocument &m_document;
    int m_position;
    Cls_住所 m_fields;
    QString m_key;
};

class RemoveChange : public QUndoCommand {
public:
    RemoveChange(BookDocument &document, int position, const Cls_住所 &removed, QUndoCommand *step);
    void undo() override;
    void redo() override;

private:
    BookDocument &m_document;
    int m_position;
    Cls_住所 m_fields;   // with the key it was stored under
};

class FieldsChange : public QUndoCommand {
public:
    FieldsChange(BookDocument &document, int position, const Cls_住所 &before, const Cls_住所 &after,
                 QUndoCommand *step);
    void undo() override;
    void redo() override;

private:
    BookDocument &m_document;
    int m_position;
    Cls_住所 m_before, m_after;
};

class ReorderChange : public QUndoCommand {
public:
    ReorderChange(BookDocument &document, std::vector<int> order, QUndoCommand *step);
    void undo() override;
    void redo() override;

private:
    BookDocument &m_document;
    std::vector<int> m_order;
};

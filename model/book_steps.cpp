#include "model/book_steps.h"

#include "model/book_document.h"

BookStep::BookStep(BookDocument &document, const QString &name)
    : m_document(document), m_before(document.viewState())
{
    setText(name);
}

void BookStep::finish() { m_after = m_document.viewState(); }

void BookStep::undo()
{
    QUndoCommand::undo();   // the changes, last first
    m_document.restoreViewState(m_before, changesFileName());
}

void BookStep::redo()
{
    // Pushed after the command has made its changes.
    if (std::exchange(m_done, false))
        return;
    QUndoCommand::redo();
    m_document.restoreViewState(m_after, changesFileName());
}

InsertChange::InsertChange(BookDocument &document, int position, const Cls_住所 &fields, const QString &key,
                           QUndoCommand *step)
    : QUndoCommand(step), m_document(document), m_position(position), m_fields(fields), m_key(key)
{
}

void InsertChange::undo() { m_document.applyRemove(m_position); }
void InsertChange::redo() { m_document.applyInsert(m_position, m_fields, m_key); }

RemoveChange::RemoveChange(BookDocument &document, int position, const Cls_住所 &removed, QUndoCommand *step)
    : QUndoCommand(step), m_document(document), m_position(position), m_fields(removed)
{
}

void RemoveChange::undo() { m_document.applyInsert(m_position, m_fields, m_fields.PSkey); }
void RemoveChange::redo() { m_document.applyRemove(m_position); }

FieldsChange::FieldsChange(BookDocument &document, int position, const Cls_住所 &before, const Cls_住所 &after,
                           QUndoCommand *step)
    : QUndoCommand(step), m_document(document), m_position(position), m_before(before), m_after(after)
{
}

void FieldsChange::undo() { m_document.applyFields(m_position, m_before); }
void FieldsChange::redo() { m_document.applyFields(m_position, m_after); }

ReorderChange::ReorderChange(BookDocument &document, std::vector<int> order, QUndoCommand *step)
    : QUndoCommand(step), m_document(document), m_order(std::move(order))
{
}

void ReorderChange::undo()
{
    // The way back: the record now at place i goes back to place order[i].
    std::vector<int> back(m_order.size());
    for (size_t i = 0; i < m_order.size(); ++i)
        back[size_t(m_order[i])] = int(i);
    m_document.applyReorder(back);
}

void ReorderChange::redo() { m_document.applyReorder(m_order); }

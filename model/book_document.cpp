#include "model/book_document.h"

#include "model/book_steps.h"
#include "model/record_keys.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// The name of a change made outside any command's step.
const QString kChangeStep = u"変更"_s;

} // namespace

BookDocument::BookDocument(QObject *parent) : QObject(parent), m_book(std::make_unique<Cls_管理>())
{
    setObjectName(u"OpenBook"_s);
    m_history.setObjectName(u"BookHistory"_s);
    connect(&m_history, &QUndoStack::indexChanged, this, &BookDocument::followHistory);
    connect(&m_history, &QUndoStack::cleanChanged, this, &BookDocument::followHistory);
}

BookDocument::~BookDocument()
{
    delete m_step;
    // The steps refer to the book; they go first.
    m_history.clear();
}

void BookDocument::SetBookFileName(const QString &path)
{
    if (m_fileName == path)
        return;
    m_fileName = path;
    Q_EMIT fileNameChanged(path);
}

void BookDocument::SetChanged(bool changed)
{
    if (m_changed == changed)
        return;
    m_changed = changed;
    Q_EMIT modificationChanged(changed);
}

void BookDocument::MarkSaved()
{
    m_history.setClean();
    SetChanged(false);
}

void BookDocument::followHistory()
{
    // An empty book without a name is a new book: nothing to save, whatever
    // led to it (deleting the last entry forgets the file).
    SetChanged(!m_history.isClean() && !(Count() == 0 && m_fileName.isEmpty()));
}

QString BookDocument::NextRecordKey() { return MakeRecordKey(++m_keyCounter); }

Cls_住所 &BookDocument::WorkRecord()
{
    if (!m_workRecord)
        m_workRecord = std::make_unique<Cls_住所>();
    return *m_workRecord;
}

void BookDocument::ReplaceBook(std::unique_ptr<Cls_管理> book)
{
    // The old book's steps cannot be undone in the new one.
    m_history.clear();
    Q_EMIT bookAboutToBeReplaced();
    // The old book goes after the list has let go of it.
    std::unique_ptr<Cls_管理> old = std::exchange(m_book, book ? std::move(book) : std::make_unique<Cls_管理>());
    m_marked.clear();
    // A cut's pending skip belongs to the book it was cut from.
    m_skipUnmark = false;
    Q_EMIT bookReplaced();
    old.reset();
    Q_EMIT countChanged(Count());
}

void BookDocument::ReplaceBook(std::unique_ptr<Cls_管理> book, qint32 keyCounter)
{
    m_keyCounter = keyCounter;
    ReplaceBook(std::move(book));
}

BookDocument::Step::Step(BookDocument &document, const QString &name) : m_document(document)
{
    m_document.beginStep(name);
}

BookDocument::Step::~Step() { m_document.endStep(); }

void BookDocument::SetSelectionSource(std::function<int()> selectedPosition)
{
    m_selectedPosition = std::move(selectedPosition);
}

void BookDocument::beginStep(const QString &name)
{
    if (m_stepDepth++ == 0)
        m_step = new BookStep(*this, name);
}

void BookDocument::endStep()
{
    if (--m_stepDepth > 0)
        return;
    std::unique_ptr<BookStep> step(std::exchange(m_step, nullptr));
    // A command that failed before changing anything leaves no step behind;
    // one that failed half-way leaves what it did, so it can be undone.
    if (step->childCount() == 0)
        return;
    step->finish();
    m_history.push(step.release());
}

BookViewState BookDocument::viewState() const
{
    return {m_selectedPosition ? m_selectedPosition() : 0, m_markedIndex, m_skipUnmark, m_marked, m_fileName};
}

void BookDocument::restoreViewState(const BookViewState &state, bool withFileName)
{
    // Only the entries whose marker differs are announced.
    const QSet<QString> now = std::exchange(m_marked, state.marked);
    for (const QString &key : now) {
        if (!m_marked.contains(key))
            if (const int position = m_book->PositionOf(key))
                Q_EMIT markerChanged(position);
    }
    for (const QString &key : m_marked) {
        if (!now.contains(key))
            if (const int position = m_book->PositionOf(key))
                Q_EMIT markerChanged(position);
    }
    m_markedIndex = state.markedIndex;
    m_skipUnmark = state.skipUnmark;
    if (withFileName)
        SetBookFileName(state.fileName);
    Q_EMIT selectionRestored(state.selected);
}

int BookDocument::AddRecord(const Cls_住所 &fields, int before, const QString &key)
{
    // The list must not hear of a record the book then refuses.
    m_book->CheckAdd(before, key);
    const int position = before == -1 ? Count() + 1 : before;
    Step step(*this, kChangeStep);
    applyInsert(position, fields, key);
    new InsertChange(*this, position, fields, key, m_step);
    return position;
}

void BookDocument::RemoveRecord(int position)
{
    // The book refuses a position it does not have before the list hears of it.
    const Cls_住所 removed = m_book->Item(position);
    Step step(*this, kChangeStep);
    applyRemove(position);
    new RemoveChange(*this, position, removed, m_step);
}

void BookDocument::SetRecordFields(int position, const Cls_住所 &fields)
{
    const Cls_住所 before = m_book->Item(position);
    Step step(*this, kChangeStep);
    applyFields(position, fields);
    new FieldsChange(*this, position, before, m_book->Item(position), m_step);
}

void BookDocument::RenameRecord(int position, const QString &name)
{
    Cls_住所 renamed = m_book->Item(position);
    renamed.PName = name;
    SetRecordFields(position, renamed);
}

void BookDocument::ReorderRecords(const std::vector<int> &order)
{
    Step step(*this, kChangeStep);
    applyReorder(order);
    new ReorderChange(*this, order, m_step);
}

void BookDocument::applyInsert(int position, const Cls_住所 &fields, const QString &key)
{
    const int before = position > Count() ? -1 : position;
    m_book->CheckAdd(before, key);
    Q_EMIT recordAboutToBeInserted(position);
    m_book->Add(fields.PName, fields.PTel, fields.PMail, fields.PYubin, fields.PJu1, fields.PJu2, fields.PMemo,
                m_book.get(), before, key);
    Q_EMIT recordInserted(position);
    Q_EMIT countChanged(Count());
}

void BookDocument::applyRemove(int position)
{
    const QString key = m_book->Item(position).PSkey;
    Q_EMIT recordAboutToBeRemoved(position);
    m_marked.remove(key);
    m_book->Remove(position);
    Q_EMIT recordRemoved(position);
    Q_EMIT countChanged(Count());
}

void BookDocument::applyFields(int position, const Cls_住所 &fields)
{
    Cls_住所 &record = m_book->Item(position);
    for (int i = 0; i < FieldCount; ++i)
        record.field(Field(i)) = fields.field(Field(i));
    Q_EMIT recordChanged(position);
}

void BookDocument::applyReorder(const std::vector<int> &order)
{
    Q_EMIT recordsAboutToBeReordered();
    try {
        m_book->Reorder(order);
    } catch (...) {
        // The list must hear that nothing moved.
        Q_EMIT recordsReordered({});
        throw;
    }
    // MarkedIndex is a place: it goes where its entry went.
    if (const auto it = std::find(order.begin(), order.end(), m_markedIndex - 1); it != order.end())
        m_markedIndex = qint32(it - order.begin()) + 1;
    Q_EMIT recordsReordered(order);
}

QString BookDocument::keyAt(int position) const
{
    if (position < 1 || position > Count())
        return {};
    return m_book->Item(position).PSkey;
}

bool BookDocument::IsMarked(int position) const
{
    const QString key = keyAt(position);
    return !key.isEmpty() && m_marked.contains(key);
}

void BookDocument::SetMarked(int position, bool marked)
{
    const QString key = keyAt(position);
    if (key.isEmpty() || m_marked.contains(key) == marked)
        return;
    if (marked)
        m_marked.insert(key);
    else
        m_marked.remove(key);
    Q_EMIT markerChanged(position);
}

void BookDocument::MarkItem(int position, bool skip)
{
    if (!skip)
        SetMarked(m_markedIndex, false);
    if (position < 1 || position > Count())
        return;
    SetMarked(position, true);
    m_markedIndex = position;
}

void BookDocument::ItemClick(int position)
{
    const bool skip = m_skipUnmark;
    m_skipUnmark = false;
    MarkItem(position, skip);
}

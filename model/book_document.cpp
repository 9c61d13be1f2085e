#include "model/book_document.h"

#include "model/record_keys.h"

using namespace Qt::Literals::StringLiterals;

BookDocument::BookDocument(QObject *parent) : QObject(parent), m_book(std::make_unique<Cls_管理>())
{
    setObjectName(u"OpenBook"_s);
}

BookDocument::~BookDocument() = default;

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

QString BookDocument::NextRecordKey() { return MakeRecordKey(++m_keyCounter); }

Cls_住所 &BookDocument::WorkRecord()
{
    if (!m_workRecord)
        m_workRecord = std::make_unique<Cls_住所>();
    return *m_workRecord;
}

void BookDocument::ReplaceBook(std::unique_ptr<Cls_管理> book)
{
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

int BookDocument::AddRecord(const Cls_住所 &fields, int before, const QString &key)
{
    // The list must not hear of a record the book then refuses.
    m_book->CheckAdd(before, key);
    const int position = before == -1 ? Count() + 1 : before;
    Q_EMIT recordAboutToBeInserted(position);
    m_book->Add(fields.PName, fields.PTel, fields.PMail, fields.PYubin, fields.PJu1, fields.PJu2, fields.PMemo,
                m_book.get(), before, key);
    Q_EMIT recordInserted(position);
    Q_EMIT countChanged(Count());
    return position;
}

void BookDocument::RemoveRecord(int position)
{
    // The book refuses a position it does not have before the list hears of it.
    const QString key = m_book->Item(position).PSkey;
    Q_EMIT recordAboutToBeRemoved(position);
    m_marked.remove(key);
    m_book->Remove(position);
    Q_EMIT recordRemoved(position);
    Q_EMIT countChanged(Count());
}

void BookDocument::SetRecordFields(int position, const Cls_住所 &fields)
{
    Cls_住所 &record = m_book->Item(position);
    for (int i = 0; i < FieldCount; ++i)
        record.field(Field(i)) = fields.field(Field(i));
    Q_EMIT recordChanged(position);
}

void BookDocument::RenameRecord(int position, const QString &name)
{
    m_book->Item(position).PName = name;
    Q_EMIT recordChanged(position);
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

#include "files/csv_reader.h"

#include "files/cp932_codec.h"
#include "model/app_error.h"
#include "model/record_keys.h"

#include <QFile>
#include <QFileInfo>
#include <array>

using namespace Qt::Literals::StringLiterals;

namespace {

// Larger files cannot be address books of at most 32767 lines; refusing them
// early keeps a wrong pick in the file dialog from exhausting memory.
constexpr qint64 MaxBookFileBytes = 256 * 1024 * 1024;

// Walks the text item by item. An item ends at a comma, a line end (CR, LF
// or CRLF) or the end of the text; leading blanks are skipped; an item that
// starts with a double quote runs to the next double quote and whatever
// follows up to the delimiter is dropped. Tabs and trailing blanks are data.
class ItemScanner {
public:
    explicit ItemScanner(QStringView text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }

    // True when nothing but line ends is left.
    bool onlyLineEndsRemain() const
    {
        for (qsizetype i = m_pos; i < m_text.size(); ++i) {
            const char16_t c = m_text[i].unicode();
            if (c != u'\r' && c != u'\n')
                return false;
        }
        return true;
    }

    // False when no item is left: the text ended, and not right after a
    // comma (a comma always promises one more, possibly empty, item).
    bool next(QString &out)
    {
        const qsizetype n = m_text.size();
        if (m_pos >= n) {
            if (!m_afterComma)
                return false;
            m_afterComma = false;
            out.clear();
            return true;
        }
        while (m_pos < n && m_text[m_pos] == u' ')
            ++m_pos;
        if (m_pos < n && m_text[m_pos] == u'"') {
            const qsizetype start = m_pos + 1;
            qsizetype close = m_text.indexOf(u'"', start);
            if (close < 0)
                close = n;
            out = m_text.sliced(start, close - start).toString();
            m_pos = qMin(close + 1, n);
            while (m_pos < n && !isDelimiter(m_text[m_pos].unicode()))
                ++m_pos;
        } else {
            const qsizetype start = m_pos;
            while (m_pos < n && !isDelimiter(m_text[m_pos].unicode()))
                ++m_pos;
            out = m_text.sliced(start, m_pos - start).toString();
        }
        consumeDelimiter();
        return true;
    }

private:
    static bool isDelimiter(char16_t c) { return c == u',' || c == u'\r' || c == u'\n'; }

    void consumeDelimiter()
    {
        m_afterComma = false;
        if (m_pos >= m_text.size())
            return;
        const char16_t c = m_text[m_pos].unicode();
        ++m_pos;
        if (c == u',')
            m_afterComma = true;
        else if (c == u'\r' && m_pos < m_text.size() && m_text[m_pos] == u'\n')
            ++m_pos;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
    bool m_afterComma = false;
};

using Group = std::array<QString, FieldCount>;

bool readGroup(ItemScanner &scanner, Group &group)
{
    for (QString &item : group) {
        if (!scanner.next(item))
            return false;
    }
    return true;
}

} // namespace

QByteArray ReadBookBytes(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        throw AppError(u"ファイル「%1」が見つかりません。"_s.arg(path));
    if (info.isDir())
        throw AppError(u"「%1」はフォルダーです。住所録のファイルを選んでください。"_s.arg(path));
    if (info.size() > MaxBookFileBytes)
        throw AppError(u"ファイル「%1」は大きすぎるため、住所録として読み込めません。"_s.arg(path));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(u"ファイル「%1」を開けません（%2）。"_s.arg(path, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError(u"ファイル「%1」を読み取れません（%2）。"_s.arg(path, file.errorString()));
    return bytes;
}

CsvHeader ReadCsvHeader(QStringView text)
{
    ItemScanner scanner(text);
    Group header;
    if (!readGroup(scanner, header))
        throw AppError(u"ファイルが見出しの途中で終わっています。住所録のファイルではないか、壊れています。"_s);

    CsvHeader result;
    QString digits;
    qint64 count = 0;
    for (QChar c : std::as_const(header[0])) {
        if (c < u'0' || c > u'9')
            continue;
        digits += c;
        if (count <= MaxBookRecords)
            count = count * 10 + (c.unicode() - u'0');
    }
    if (digits.isEmpty())
        return result;
    if (count > MaxBookRecords) {
        if (digits.size() > 12)
            digits = digits.left(12) + u"…"_s;
        throw AppError(u"見出しの件数（%1件）が多すぎます。読み込めるのは%2件までです。"_s
                           .arg(digits).arg(MaxBookRecords));
    }
    result.expectedCount = int(count);
    return result;
}

LoadedBook ReadCsvRecords(QStringView text, const CsvHeader &header,
                          const std::function<void(int)> &progress)
{
    LoadedBook result;
    result.book = std::make_unique<Cls_管理>();
    Cls_管理 &book = *result.book;
    if (header.expectedCount > 0)
        book.reserve(header.expectedCount);

    ItemScanner scanner(text);
    Group group;
    qint32 keyCounter = 0;
    // Line ends after the last complete group are not a record; the header
    // group is always read, even when it is made of line ends alone.
    while (!scanner.atEnd() && (keyCounter == 0 || !scanner.onlyLineEndsRemain())) {
        if (!readGroup(scanner, group)) {
            throw AppError(u"%1件目の住所の途中でファイルが終わっています。"_s
                               .arg(qMax(keyCounter, 1)));
        }
        if (keyCounter != 0) {
            if (book.Count() >= MaxBookRecords) {
                throw AppError(u"このファイルには%1件を超える住所があります。読み込めるのは%1件までです。"_s
                                   .arg(MaxBookRecords));
            }
            book.Add(group[0], group[1], group[2], group[3], group[4], group[5], group[6],
                     &book, -1, MakeRecordKey(keyCounter));
            if (progress)
                progress(book.Count());
        }
        ++keyCounter;
    }
    result.keyCounter = keyCounter;
    return result;
}

QStringList SplitCsvItems(QStringView text)
{
    QStringList items;
    ItemScanner scanner(text);
    QString item;
    while (scanner.next(item)) {
        items.append(item);
        // A text that ends in a line end has no empty item after it.
        if (scanner.onlyLineEndsRemain())
            break;
    }
    return items;
}

LoadedBook LoadBookFromBytes(QByteArrayView bytes, const std::function<void(int)> &progress)
{
    const DecodedText decoded = DecodeCp932(bytes);
    const CsvHeader header = ReadCsvHeader(decoded.text);
    LoadedBook loaded = ReadCsvRecords(decoded.text, header, progress);
    loaded.invalidSequences = decoded.invalidSequences;
    return loaded;
}

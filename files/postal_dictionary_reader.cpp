#include "files/postal_dictionary_reader.h"

#include "files/cp932_codec.h"
#include "model/app_error.h"

#include <QLocale>
#include <QStringDecoder>

#include <unicode/ucnv.h>

#include <memory>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

// ---------------------------------------------------------------- lines

// Calls body with each line of bytes, without its line end (LF or CRLF).
// 0x0A is never part of a multi-byte character in EUC-JP or CP932.
template <typename Body>
void forEachLine(QByteArrayView bytes, Body body)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = bytes.sliced(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        body(line);
        start = next;
    }
}

// The longest real line (a code with 66 towns) is under 8 KB; far longer
// ones are not data, and decoding them whole would cost memory for nothing.
constexpr qsizetype MaxLineBytes = 128 * 1024;

bool isSevenDigits(QByteArrayView key)
{
    if (key.size() != 7)
        return false;
    for (const char c : key) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool isSevenDigits(QStringView key)
{
    if (key.size() != 7)
        return false;
    for (const QChar c : key) {
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return false;
    }
    return true;
}

int codeOf(QByteArrayView key)
{
    int code = 0;
    for (const char c : key)
        code = code * 10 + (c - '0');
    return code;
}

// ---------------------------------------------------------------- EUC-JP

struct ConverterCloser {
    void operator()(UConverter *c) const { ucnv_close(c); }
};

// Opened once per thread: opening costs far more than one line.
UConverter *eucJpDecoder()
{
    thread_local std::unique_ptr<UConverter, ConverterCloser> conv = [] {
        UErrorCode err = U_ZERO_ERROR;
        std::unique_ptr<UConverter, ConverterCloser> c(ucnv_open("EUC-JP", &err));
        if (U_FAILURE(err))
            qFatal("ICU has no EUC-JP converter: %s", u_errorName(err));
        // Stop at the first byte sequence without a character: the line is
        // then skipped whole rather than kept with a hole in it.
        err = U_ZERO_ERROR;
        ucnv_setToUCallBack(c.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
        return c;
    }();
    return conv.get();
}

// Decodes into out (reused between lines); false when any byte sequence
// cannot be read.
bool decodeEucJp(QByteArrayView bytes, QString &out)
{
    // A character takes at least one byte and at most two UTF-16 units for
    // three bytes; twice the bytes is always room enough.
    out.resize(bytes.size() * 2 + 1);
    UConverter *conv = eucJpDecoder();
    ucnv_reset(conv);
    UChar *target = reinterpret_cast<UChar *>(out.data());
    UChar *const targetStart = target;
    const char *source = bytes.data();
    UErrorCode err = U_ZERO_ERROR;
    ucnv_toUnicode(conv, &target, targetStart + out.size(), &source, bytes.data() + bytes.size(), nullptr,
                   /*flush*/ true, &err);
    out.truncate(target - targetStart);
    return U_SUCCESS(err) && !out.contains(QChar(QChar::ReplacementCharacter));
}

// ";; Time-stamp: <04 May 2022>"
QDate timestampOf(QByteArrayView comment)
{
    const qsizetype at = comment.indexOf("Time-stamp:");
    if (at < 0)
        return {};
    const qsizetype open = comment.indexOf('<', at);
    const qsizetype close = open < 0 ? -1 : comment.indexOf('>', open);
    if (close < 0)
        return {};
    const QString text = QString::fromLatin1(comment.sliced(open + 1, close - open - 1)).simplified();
    const QLocale c = QLocale::c();
    for (const QString &format : {u"dd MMM yyyy"_s, u"d MMM yyyy"_s, u"yyyy-MM-dd"_s, u"yyyy/MM/dd"_s}) {
        const QDate date = c.toDate(text, format);
        if (date.isValid())
            return date;
    }
    return {};
}

// SKK puts an annotation after ';' in a candidate.
QStringView withoutAnnotation(QStringView candidate)
{
    const qsizetype semicolon = candidate.indexOf(u';');
    return semicolon < 0 ? candidate : candidate.first(semicolon);
}

// ---------------------------------------------------------------- CSV

// One CSV row of KEN_ALL.CSV into fields; false when it is malformed (an
// unclosed quote, text after a closing quote, too many fields).
class CsvRow {
public:
    static constexpr int MaxFields = 32;

    bool split(QStringView line)
    {
        m_fields.clear();
        m_unescaped.clear();
        qsizetype pos = 0;
        const qsizetype n = line.size();
        while (true) {
            if (m_fields.size() >= MaxFields)
                return false;
            if (pos < n && line[pos] == u'"') {
                qsizetype i = pos + 1;
                bool escaped = false;
                while (i < n) {
                    if (line[i] == u'"') {
                        if (i + 1 < n && line[i + 1] == u'"') {
                            escaped = true;
                            i += 2;
                            continue;
                        }
                        break;
                    }
                    ++i;
                }
                if (i >= n)
                    return false;
                QStringView field = line.sliced(pos + 1, i - pos - 1);
                if (escaped) {
                    m_unescaped.append(field.toString().replace(u"\"\""_s, u"\""_s));
                    field = m_unescaped.last();
                }
                m_fields.append(field);
                pos = i + 1;
                if (pos < n && line[pos] != u',')
                    return false;
            } else {
                qsizetype comma = line.indexOf(u',', pos);
                if (comma < 0)
                    comma = n;
                m_fields.append(line.sliced(pos, comma - pos));
                pos = comma;
            }
            if (pos >= n)
                return true;
            ++pos;   // the comma
            if (pos == n) {
                m_fields.append(QStringView());
                return true;
            }
        }
    }

    qsizetype size() const { return m_fields.size(); }
    QStringView operator[](qsizetype i) const { return m_fields[i]; }

private:
    QList<QStringView> m_fields;
    QList<QString> m_unescaped;   // moving a QString keeps its characters where they are
};

enum KenAllColumn { CodeColumn = 2, PrefectureColumn = 6, MunicipalityColumn = 7, TownColumn = 8 };
constexpr int KenAllColumns = 15;

// Opening minus closing parentheses, full- or half-width.
int parenthesisBalance(QStringView s)
{
    int balance = 0;
    for (const QChar c : s) {
        if (c == u'（' || c == u'(')
            ++balance;
        else if (c == u'）' || c == u')')
            --balance;
    }
    return balance;
}

// The UTF-8 edition of KEN_ALL.CSV read as CP932 would give wrong
// characters without a single error, so tell the two apart first.
bool looksLikeUtf8(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return true;
    QByteArrayView sample = bytes.first(std::min<qsizetype>(bytes.size(), 1024 * 1024));
    if (sample.size() < bytes.size()) {
        // Whole lines only, so no character is cut in two.
        const qsizetype lastLine = sample.lastIndexOf('\n');
        if (lastLine > 0)
            sample = sample.first(lastLine);
    }
    bool nonAscii = false;
    for (const char c : sample) {
        if (uchar(c) >= 0x80) {
            nonAscii = true;
            break;
        }
    }
    if (!nonAscii)
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // The decoding happens when the result becomes a QString.
    const QString decoded = decoder.decode(sample);
    Q_UNUSED(decoded);
    return !decoder.hasError();
}

// A town split over rows: the part before its parenthesis, while the
// parenthesis stays open.
struct PendingTown {
    bool active = false;
    QString code, prefecture, municipality;
    QString head;
    int balance = 0;
};

} // namespace

PostalReadReport ReadSkkPostalDictionary(QByteArrayView bytes, SkkDictionaryKind kind,
                                         PostalCodeTable::Builder &builder)
{
    PostalReadReport report;
    QString decoded;
    forEachLine(bytes, [&](QByteArrayView line) {
        if (line.trimmed().isEmpty())
            return;
        if (line.startsWith(';')) {
            if (!report.timestamp.isValid())
                report.timestamp = timestampOf(line);
            return;
        }
        if (line.size() > MaxLineBytes) {
            ++report.skippedLines;
            return;
        }
        const qsizetype space = line.indexOf(' ');
        const QByteArrayView key = space < 0 ? line : line.first(space);
        const QByteArrayView rest = space < 0 ? QByteArrayView() : line.sliced(space + 1).trimmed();
        if (!isSevenDigits(key) || !rest.startsWith('/')) {
            ++report.skippedLines;
            return;
        }
        if (!decodeEucJp(rest, decoded)) {
            ++report.undecodableLines;
            return;
        }
        const int code = codeOf(key);
        int added = 0;
        for (const QStringView part : QStringView(decoded).tokenize(u'/', Qt::SkipEmptyParts)) {
            const QStringView candidate = withoutAnnotation(part);
            if (kind == SkkDictionaryKind::Residential) {
                added += builder.addResidential(code, candidate);
            } else {
                const qsizetype at = candidate.indexOf(u" @ ");
                if (at >= 0)
                    added += builder.addOffice(code, candidate.first(at), candidate.sliced(at + 3));
            }
        }
        if (added == 0)
            ++report.skippedLines;
        report.entries += added;
    });
    return report;
}

QString CleanKenAllTown(QStringView town, QStringView municipality)
{
    town = town.trimmed();
    if (town == u"以下に掲載がない場合")
        return {};
    for (const char16_t paren : {u'（', u'('}) {
        const qsizetype at = town.indexOf(QChar(paren));
        if (at >= 0)
            town = town.first(at).trimmed();
    }
    if (town.endsWith(u"の次に番地がくる場合"))
        return {};
    // "与那国町一円": the whole municipality has this one code. A place
    // really called 一円 (犬上郡多賀町一円) stays.
    if (town.endsWith(u"一円")) {
        const QStringView place = town.chopped(2);
        if (!place.isEmpty()
            && (place == municipality
                || (municipality.endsWith(place) && municipality.size() > place.size()
                    && municipality[municipality.size() - place.size() - 1] == u'郡')))
            return {};
    }
    return town.toString();
}

PostalReadReport ReadKenAll(QByteArrayView bytes, PostalCodeTable::Builder &builder)
{
    const QString notKenAll = u"KEN_ALL.CSV の形式ではありません。日本郵便の「住所の郵便番号」"
                              u"（15 列の CSV ファイル）を指定してください。"_s;
    if (bytes.size() > MaxPostalFileBytes)
        throw AppError(u"ファイルが大きすぎます（64 MB を超えています）。KEN_ALL.CSV ではないようです。"_s);

    const bool utf8 = looksLikeUtf8(bytes);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);

    PostalReadReport report;
    int validRows = 0;
    int brokenRows = 0;
    CsvRow row;
    PendingTown pending;

    QString address;
    const auto addEntry = [&](QStringView code, QStringView prefecture, QStringView municipality,
                              QStringView town) {
        const QString cleaned = CleanKenAllTown(town, municipality);
        address.clear();
        address.append(prefecture).append(municipality).append(cleaned);
        if (builder.addResidential(code.toInt(), address, int(prefecture.size() + municipality.size())))
            ++report.entries;
        else
            ++report.skippedLines;
    };
    const auto finishPending = [&] {
        if (pending.active)
            addEntry(pending.code, pending.prefecture, pending.municipality, pending.head);
        pending.active = false;
    };

    int linesSeen = 0;
    forEachLine(bytes, [&](QByteArrayView line) {
        if (line.trimmed().isEmpty())
            return;
        // A file that starts with a thousand rows of something else is not
        // KEN_ALL.CSV; say so without reading 64 MB.
        if (++linesSeen == 1000 && validRows == 0)
            throw AppError(notKenAll);
        if (line.size() > MaxLineBytes) {
            ++brokenRows;
            ++report.skippedLines;
            return;
        }
        QString text;
        if (utf8) {
            text = QString::fromUtf8(line);
        } else {
            DecodedText decoded = DecodeCp932(line);
            text = std::move(decoded.text);
        }
        if (text.contains(QChar(QChar::ReplacementCharacter))) {
            ++report.undecodableLines;
            return;
        }
        if (!row.split(text) || row.size() != KenAllColumns || !isSevenDigits(row[CodeColumn].trimmed())
            || row[PrefectureColumn].trimmed().isEmpty() || row[MunicipalityColumn].trimmed().isEmpty()) {
            ++brokenRows;
            ++report.skippedLines;
            return;
        }
        ++validRows;
        const QStringView code = row[CodeColumn].trimmed();
        const QStringView prefecture = row[PrefectureColumn].trimmed();
        const QStringView municipality = row[MunicipalityColumn].trimmed();
        const QStringView town = row[TownColumn];

        if (pending.active) {
            if (code == pending.code && prefecture == pending.prefecture
                && municipality == pending.municipality) {
                pending.balance += parenthesisBalance(town);
                if (pending.balance <= 0)
                    finishPending();
                return;
            }
            // The parenthesis never closed: keep what came before it.
            finishPending();
        }
        const int balance = parenthesisBalance(town);
        if (balance > 0) {
            pending.active = true;
            pending.code = code.toString();
            pending.prefecture = prefecture.toString();
            pending.municipality = municipality.toString();
            pending.head = town.toString();
            pending.balance = balance;
            return;
        }
        addEntry(code, prefecture, municipality, town);
    });
    finishPending();

    if (report.entries == 0 || brokenRows + report.undecodableLines > validRows)
        throw AppError(notKenAll);
    return report;
}

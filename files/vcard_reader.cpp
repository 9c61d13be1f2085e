#include "files/vcard_reader.h"

#include "files/cp932_codec.h"
#include "files/import_source.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <unicode/ucnv.h>

#include <array>
#include <cstring>
#include <limits>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

enum class Version { V21, V30, V40 };

// A property line longer than this without a colon is not a property; its
// folded continuation is stepped over rather than collected.
constexpr qsizetype MaxHeaderBytes = 64 * 1024;

// ---------------------------------------------------------------- lines

// Physical lines of the file: CRLF, LF or a lone CR ends one. The next CR
// and LF are remembered, so a file of very long lines or of CRs only is
// still read in one pass.
class LineReader {
public:
    explicit LineReader(QByteArrayView data) : m_data(data) {}

    bool atEnd() const { return m_pos >= m_data.size(); }

    QByteArrayView next()
    {
        const qsizetype start = m_pos;
        const qsizetype lf = nextOf('\n', m_lf);
        const qsizetype cr = nextOf('\r', m_cr);
        qsizetype end = qMin(lf, cr);
        m_pos = end;
        if (end < m_data.size()) {
            m_pos = end + 1;
            if (end == cr && cr + 1 == lf)
                m_pos = lf + 1;
        }
        return m_data.sliced(start, end - start);
    }

    QByteArrayView peek()
    {
        const qsizetype saved = m_pos;
        const QByteArrayView line = next();
        m_pos = saved;
        return line;
    }

    // A line that begins with a blank continues the one before it.
    bool nextIsFolded() const { return !atEnd() && (m_data[m_pos] == ' ' || m_data[m_pos] == '\t'); }

private:
    qsizetype nextOf(char c, qsizetype &cached) const
    {
        if (cached < m_pos) {
            const void *hit = std::memchr(m_data.data() + m_pos, c, size_t(m_data.size() - m_pos));
            cached = hit ? static_cast<const char *>(hit) - m_data.data() : m_data.size();
        }
        return cached;
    }

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    qsizetype m_lf = -1;
    qsizetype m_cr = -1;
};

bool IsBlank(QByteArrayView line)
{
    for (char c : line) {
        if (c != ' ' && c != '\t')
            return false;
    }
    return true;
}

bool IsVCardWord(QByteArrayView value)
{
    return value.trimmed().compare("VCARD", Qt::CaseInsensitive) == 0;
}

// BEGIN:VCARD or END:VCARD on a line of its own.
bool IsCardBoundary(QByteArrayView line)
{
    const QByteArrayView t = line.trimmed();
    for (QByteArrayView word : {QByteArrayView("BEGIN:"), QByteArrayView("END:")}) {
        if (t.size() >= word.size() && t.first(word.size()).compare(word, Qt::CaseInsensitive) == 0)
            return IsVCardWord(t.sliced(word.size()));
    }
    return false;
}

// ---------------------------------------------------------------- properties

struct PropertyHeader {
    QByteArray name;            // upper case, without its group
    bool quotedPrintable = false;
    bool base64 = false;
    QByteArray charset;         // upper case; empty when not given
    int pref = 0;               // 0: not preferred; else 1..100, lower first
    bool notForCalls = false;   // a fax or pager number
    bool uri = false;           // VALUE=uri: "tel:" and "mailto:" forms
    bool reading = false;       // SOUND;X-IRMC-N holds the reading of the name
};

bool IsNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

QByteArrayView Unquoted(QByteArrayView v)
{
    v = v.trimmed();
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        v = v.sliced(1, v.size() - 2);
    return v;
}

// Splits at sep outside double quotes; a quote opens only where a
// parameter value begins, as in TYPE="home,pref".
template <typename Fn>
void SplitOutsideQuotes(QByteArrayView text, char sep, Fn &&fn)
{
    qsizetype start = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            quoted = c != '"';
        } else if (c == '"' && (i == 0 || text[i - 1] == '=' || text[i - 1] == ',')) {
            quoted = true;
        } else if (c == sep) {
            fn(text.sliced(start, i - start));
            start = i + 1;
        }
    }
    fn(text.sliced(start));
}

// Finds where the value begins: the first colon outside a quoted parameter
// value. Fed a growing header, it scans only what was added.
class ValueColon {
public:
    // The colon's offset in header, or -1 when it holds none yet.
    qsizetype find(QByteArrayView header)
    {
        for (; m_pos < header.size(); ++m_pos) {
            const char c = header[m_pos];
            if (c == ':' && m_firstColon < 0)
                m_firstColon = m_pos;
            if (m_quoted) {
                m_quoted = c != '"';
            } else if (c == '"' && m_pos > 0 && (header[m_pos - 1] == '=' || header[m_pos - 1] == ',')) {
                m_quoted = true;
            } else if (c == ':') {
                return m_pos;
            }
        }
        return -1;
    }

    // At the end of the header: an unclosed quote does not hide the colon.
    qsizetype fallback() const { return m_firstColon; }

private:
    qsizetype m_pos = 0;
    bool m_quoted = false;
    qsizetype m_firstColon = -1;
};

void ApplyTypeValue(PropertyHeader &h, QByteArrayView v)
{
    if (v.compare("pref", Qt::CaseInsensitive) == 0) {
        if (h.pref == 0)
            h.pref = 1;
    } else if (v.compare("fax", Qt::CaseInsensitive) == 0 || v.compare("pager", Qt::CaseInsensitive) == 0) {
        h.notForCalls = true;
    } else if (v.compare("x-irmc-n", Qt::CaseInsensitive) == 0) {
        h.reading = true;
    }
}

void ApplyParameter(PropertyHeader &h, QByteArrayView param)
{
    const qsizetype eq = param.indexOf('=');
    if (eq < 0) {
        // vCard 2.1 gives bare values: ;CELL;PREF;QUOTED-PRINTABLE
        const QByteArrayView v = param.trimmed();
        if (v.compare("QUOTED-PRINTABLE", Qt::CaseInsensitive) == 0)
            h.quotedPrintable = true;
        else if (v.compare("BASE64", Qt::CaseInsensitive) == 0)
            h.base64 = true;
        else
            ApplyTypeValue(h, v);
        return;
    }
    const QByteArrayView key = param.first(eq).trimmed();
    const QByteArrayView value = param.sliced(eq + 1);
    if (key.compare("ENCODING", Qt::CaseInsensitive) == 0) {
        const QByteArrayView v = Unquoted(value);
        if (v.compare("QUOTED-PRINTABLE", Qt::CaseInsensitive) == 0)
            h.quotedPrintable = true;
        else if (v.compare("BASE64", Qt::CaseInsensitive) == 0 || v.compare("B", Qt::CaseInsensitive) == 0)
            h.base64 = true;
    } else if (key.compare("CHARSET", Qt::CaseInsensitive) == 0) {
        h.charset = Unquoted(value).toByteArray().toUpper();
    } else if (key.compare("TYPE", Qt::CaseInsensitive) == 0) {
        SplitOutsideQuotes(Unquoted(value), ',', [&](QByteArrayView v) { ApplyTypeValue(h, Unquoted(v)); });
    } else if (key.compare("PREF", Qt::CaseInsensitive) == 0) {
        bool ok = false;
        const int n = Unquoted(value).toInt(&ok);
        h.pref = ok && n >= 1 && n <= 100 ? n : 1;
    } else if (key.compare("VALUE", Qt::CaseInsensitive) == 0) {
        h.uri = Unquoted(value).compare("uri", Qt::CaseInsensitive) == 0;
    }
}

// The part before the value's colon: [group.]NAME *(;param). Nullopt when
// the name is not a property name.
std::optional<PropertyHeader> ParseHeader(QByteArrayView text)
{
    PropertyHeader h;
    bool first = true;
    bool valid = true;
    SplitOutsideQuotes(text, ';', [&](QByteArrayView part) {
        if (!first) {
            ApplyParameter(h, part);
            return;
        }
        first = false;
        part = part.trimmed();
        // A group (item1.) may precede the name; each part is a plain word.
        qsizetype start = 0;
        for (qsizetype i = 0; i <= part.size(); ++i) {
            if (i == part.size() || part[i] == '.') {
                valid = valid && i > start;
                start = i + 1;
            } else {
                valid = valid && IsNameChar(part[i]);
            }
        }
        const qsizetype dot = part.lastIndexOf('.');
        h.name = part.sliced(dot + 1).toByteArray().toUpper();
    });
    if (!valid)
        return std::nullopt;
    return h;
}

// The properties whose values the contact is made of; the rest are
// stepped over.
bool KeepsValue(const QByteArray &name)
{
    static const std::array<QByteArrayView, 12> kept = {
        "FN", "N", "TEL", "EMAIL", "ADR", "NOTE", "ORG", "LABEL", "VERSION", "BEGIN", "END", "AGENT",
    };
    for (QByteArrayView k : kept) {
        if (name == k)
            return true;
    }
    return false;
}

std::optional<DroppedItem> DroppedItemOf(const PropertyHeader &h)
{
    const QByteArray &n = h.name;
    if (n == "PHOTO")
        return DroppedItem::Photo;
    if (n == "BDAY")
        return DroppedItem::Birthday;
    if (n == "ANNIVERSARY" || n == "X-ANNIVERSARY")
        return DroppedItem::Anniversary;
    if (n == "NICKNAME")
        return DroppedItem::Nickname;
    if (n == "TITLE" || n == "ROLE")
        return DroppedItem::JobTitle;
    if (n == "URL")
        return DroppedItem::WebPage;
    if (n.startsWith("X-PHONETIC-") || n == "SORT-STRING" || (n == "SOUND" && h.reading))
        return DroppedItem::Reading;
    return std::nullopt;
}

struct LogicalLine {
    enum Kind { Blank, NotAProperty, NoColon, Property } kind = Blank;
    PropertyHeader header;
    QByteArray value;           // collected for kept properties only
    bool hasValue = false;      // anything after the colon, kept or not
    QByteArray text;            // a NoColon line as it stands
};

// One logical line: folded continuations and quoted-printable soft line
// breaks joined. Values of properties that are not kept are never copied.
LogicalLine ReadLogicalLine(LineReader &reader)
{
    LogicalLine out;
    QByteArrayView line = reader.next();
    if (IsBlank(line) && !reader.nextIsFolded())
        return out;

    // The name and parameters may themselves be folded.
    QByteArray joined;
    QByteArrayView head = line;
    ValueColon colonFinder;
    qsizetype colon = colonFinder.find(head);
    while (colon < 0 && reader.nextIsFolded()) {
        if (joined.size() > MaxHeaderBytes) {
            reader.next();
            continue;
        }
        if (joined.isEmpty())
            joined = head.toByteArray();
        line = reader.next();
        joined += line.sliced(1);
        head = joined;
        colon = colonFinder.find(head);
    }
    if (colon < 0)
        colon = colonFinder.fallback();
    if (colon < 0) {
        out.kind = LogicalLine::NoColon;
        out.text = head.first(qMin(head.size(), MaxHeaderBytes)).toByteArray();
        return out;
    }
    std::optional<PropertyHeader> header = ParseHeader(head.first(colon));
    const bool keep = header && KeepsValue(header->name);
    const bool quotedPrintable = header && header->quotedPrintable;

    const QByteArrayView first = head.sliced(colon + 1);
    out.hasValue = !first.isEmpty();
    if (keep)
        out.value = first.toByteArray();
    // The soft break test looks at the physical line, where the colon may
    // have been on an earlier one.
    QByteArrayView last = joined.isEmpty() ? first : line;
    for (;;) {
        // A soft break before the card's end is a writer's slip, not a
        // reason to swallow the end.
        if (quotedPrintable && last.endsWith('=') && !reader.atEnd() && !IsCardBoundary(reader.peek())) {
            last = reader.next();
            if (keep) {
                out.value.chop(1);
                out.value += last;
            }
        } else if (reader.nextIsFolded()) {
            last = reader.next();
            if (keep)
                out.value += last.sliced(1);
        } else {
            break;
        }
        out.hasValue = true;
    }
    if (!header) {
        out.kind = LogicalLine::NotAProperty;
        return out;
    }
    out.kind = LogicalLine::Property;
    out.header = std::move(*header);
    return out;
}

// ---------------------------------------------------------------- values

QByteArray DecodeQuotedPrintable(QByteArrayView in)
{
    const auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return -1;
    };
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (c == '=' && i + 2 < in.size() && hex(in[i + 1]) >= 0 && hex(in[i + 2]) >= 0) {
            out += char(hex(in[i + 1]) * 16 + hex(in[i + 2]));
            i += 2;
        } else if (c == '=' && i + 1 == in.size()) {
            // A soft line break with nothing after it.
        } else {
            // Not an escape: kept as written rather than lost.
            out += c;
        }
    }
    return out;
}

QString DecodeWithIcu(QByteArrayView bytes, const QByteArray &charset, bool &known)
{
    UErrorCode err = U_ZERO_ERROR;
    UConverter *conv = ucnv_open(charset.constData(), &err);
    known = U_SUCCESS(err) && conv;
    if (!known)
        return {};
    const int32_t length = ucnv_toUChars(conv, nullptr, 0, bytes.data(), int32_t(bytes.size()), &err);
    QString text;
    if (err == U_BUFFER_OVERFLOW_ERROR || U_SUCCESS(err)) {
        err = U_ZERO_ERROR;
        text.resize(length);
        ucnv_toUChars(conv, reinterpret_cast<UChar *>(text.data()), length, bytes.data(), int32_t(bytes.size()), &err);
        if (U_FAILURE(err) && err != U_STRING_NOT_TERMINATED_WARNING)
            text.clear();
    }
    ucnv_close(conv);
    return text;
}

// QString::fromUtf8 drops a leading U+FEFF; in a value it is data.
QString FromUtf8KeepingBom(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

// Without a CHARSET, valid UTF-8 is UTF-8 and anything else the Shift_JIS
// of Japanese phones.
QString DecodeCharset(QByteArrayView bytes, const QByteArray &charset)
{
    static const std::array<QByteArrayView, 10> shiftJis = {
        "SHIFT_JIS", "SHIFT-JIS", "SJIS", "X-SJIS", "CP932", "WINDOWS-31J", "MS932", "MS_KANJI",
        "CSSHIFTJIS", "CSWINDOWS31J",
    };
    if (charset == "UTF-8" || charset == "UTF8")
        return FromUtf8KeepingBom(bytes);
    for (QByteArrayView name : shiftJis) {
        if (charset == name)
            return DecodeCp932(bytes).text;
    }
    if (charset == "ISO-8859-1" || charset == "LATIN1" || charset == "US-ASCII" || charset == "ASCII")
        return QString::fromLatin1(bytes);
    if (!charset.isEmpty() && bytes.size() <= std::numeric_limits<int32_t>::max() / 2) {
        bool known = false;
        QString text = DecodeWithIcu(bytes, charset, known);
        if (known)
            return text;
    }
    const TextEncoding guess = DetectTextEncoding(bytes);
    if (guess == TextEncoding::Utf8 || guess == TextEncoding::Utf8Bom)
        return FromUtf8KeepingBom(bytes);
    return DecodeCp932(bytes).text;
}

QString DecodeValue(const PropertyHeader &h, QByteArrayView raw)
{
    if (h.quotedPrintable)
        return DecodeCharset(DecodeQuotedPrintable(raw), h.charset);
    if (h.base64)
        return DecodeCharset(QByteArray::fromBase64(raw.toByteArray()), h.charset);
    return DecodeCharset(raw, h.charset);
}

// vCard 3.0 and 4.0 escape \n \, \; \\ in text; 2.1 only the semicolon.
// Done on decoded text: in Shift_JIS a backslash byte can be the second
// half of a character (表, ソ).
bool Escapes(QChar next, Version v)
{
    if (v == Version::V21)
        return next == u';';
    return next == u'n' || next == u'N' || next == u',' || next == u';' || next == u'\\' || next == u':';
}

QString Unescape(QStringView s, Version v)
{
    if (!s.contains(u'\\'))
        return s.toString();
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'\\' && i + 1 < s.size() && Escapes(s[i + 1], v)) {
            ++i;
            out += (s[i] == u'n' || s[i] == u'N') ? u'\n' : s[i];
        } else {
            out += s[i];
        }
    }
    return out;
}

// The parts of a structured value (N, ADR, ORG), split at semicolons
// that are not escaped, each unescaped; at least count parts.
QStringList SplitStructured(QStringView s, Version v, int count)
{
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'\\' && i + 1 < s.size() && Escapes(s[i + 1], v)) {
            ++i;
        } else if (s[i] == u';') {
            parts << Unescape(s.sliced(start, i - start), v);
            start = i + 1;
        }
    }
    parts << Unescape(s.sliced(start), v);
    while (parts.size() < count)
        parts << QString();
    return parts;
}

QString JoinWithBlank(const QString &a, const QString &b)
{
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    return a + u' ' + b;
}

// ---------------------------------------------------------------- cards

struct KeptProperty {
    PropertyHeader header;
    QByteArray value;
};

struct Card {
    Version version = Version::V30;     // until VERSION says otherwise
    std::vector<KeptProperty> kept;
    std::array<bool, size_t(DroppedItem::Photo) + 1> seen{};
    bool broken = false;
    bool continuesText = false;         // a line without a colon goes on the last kept value
    bool lastWasEmptyAgent = false;     // a 2.1 AGENT: a whole card follows
};

// The candidate a book field takes among several: the preferred one, else
// the first one that is not a fax, else the first.
struct Choice {
    int count = 0;
    int bestKey = 0;
    qsizetype best = -1;

    bool offer(const PropertyHeader &h, qsizetype index)
    {
        const int key = (h.pref ? h.pref : 101) * 2 + (h.notForCalls ? 1 : 0);
        ++count;
        if (best >= 0 && key >= bestKey)
            return false;
        best = index;
        bestKey = key;
        return true;
    }
};

QString WithoutScheme(QString value, bool uri, QStringView scheme)
{
    if (uri && value.startsWith(scheme, Qt::CaseInsensitive))
        value.remove(0, scheme.size());
    return value;
}

ImportedContact BuildContact(const Card &card)
{
    const Version v = card.version;
    ImportedContact c;
    QString fn, nName, org, label;
    QStringList notes;
    QString tel, mail;
    QStringList address;
    Choice telChoice, mailChoice, adrChoice;

    for (qsizetype i = 0; i < qsizetype(card.kept.size()); ++i) {
        const KeptProperty &p = card.kept[size_t(i)];
        const QByteArray &name = p.header.name;
        if (name == "VERSION" || name == "BEGIN" || name == "END" || name == "AGENT")
            continue;
        const QString text = DecodeValue(p.header, p.value);
        if (name == "FN") {
            if (fn.isEmpty())
                fn = Unescape(text, v);
        } else if (name == "N") {
            if (nName.isEmpty()) {
                const QStringList n = SplitStructured(text, v, 3);
                nName = JoinFamilyGiven(n[0], JoinWithBlank(n[1], n[2]));
            }
        } else if (name == "ORG") {
            if (org.isEmpty())
                org = SplitStructured(text, v, 1).first();
        } else if (name == "LABEL") {
            if (label.isEmpty())
                label = Unescape(text, v);
        } else if (name == "NOTE") {
            const QString note = Unescape(text, v);
            if (!note.isEmpty())
                notes << note;
        } else if (name == "TEL") {
            const QString value = WithoutScheme(Unescape(text, v), p.header.uri, u"tel:");
            if (!value.isEmpty() && telChoice.offer(p.header, i))
                tel = value;
        } else if (name == "EMAIL") {
            const QString value = WithoutScheme(Unescape(text, v), p.header.uri, u"mailto:");
            if (!value.isEmpty() && mailChoice.offer(p.header, i))
                mail = value;
        } else if (name == "ADR") {
            const QStringList parts = SplitStructured(text, v, 7);
            bool any = false;
            for (const QString &part : parts)
                any = any || !part.isEmpty();
            if (any && adrChoice.offer(p.header, i))
                address = parts;
        }
    }

    c.name = !fn.isEmpty() ? fn : !nName.isEmpty() ? nName : org;
    c.tel = tel;
    c.mail = mail;
    if (!address.isEmpty()) {
        // post office box; extended; street; locality; region; postal code; country
        c.postal = address[5];
        c.address1 = address[4] + address[3] + address[2];
        c.address2 = JoinWithBlank(address[1], address[0]);
        if (!IsJapan(address[6]))
            NoteDropped(c, DroppedItem::ForeignCountry);
    } else {
        c.address1 = label;
    }
    c.memo = notes.join(u' ');

    for (QString *field : {&c.name, &c.tel, &c.mail, &c.postal, &c.address1, &c.address2, &c.memo})
        *field = BookFieldText(*field);

    if (telChoice.count > 1)
        NoteDropped(c, DroppedItem::ExtraTel);
    if (mailChoice.count > 1)
        NoteDropped(c, DroppedItem::ExtraMail);
    if (adrChoice.count > 1)
        NoteDropped(c, DroppedItem::ExtraAddress);
    if (!org.isEmpty() && BookFieldText(org) != c.name)
        NoteDropped(c, DroppedItem::Organization);
    for (size_t i = 0; i < card.seen.size(); ++i) {
        if (card.seen[i])
            NoteDropped(c, DroppedItem(i));
    }
    return c;
}

Version VersionOf(QByteArrayView value)
{
    const QByteArrayView v = value.trimmed();
    if (v.startsWith("2."))
        return Version::V21;
    if (v.startsWith("4."))
        return Version::V40;
    return Version::V30;
}

// A file written in UTF-16 is read as the UTF-8 it holds.
QByteArray Utf16AsUtf8(QByteArrayView bytes)
{
    const TextEncoding e = DetectTextEncoding(bytes.first(qMin<qsizetype>(bytes.size(), 3)));
    if (e != TextEncoding::Utf16Le && e != TextEncoding::Utf16Be)
        return {};
    return DecodeImportText(bytes, e).toUtf8();
}

} // namespace

VCardReadResult ReadVCards(QByteArrayView bytes)
{
    const QByteArray fromUtf16 = Utf16AsUtf8(bytes);
    if (!fromUtf16.isEmpty())
        bytes = fromUtf16;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);

    VCardReadResult result;
    LineReader reader(bytes);
    std::optional<Card> card;
    int nested = 0;     // depth inside a 2.1 AGENT's card

    while (!reader.atEnd()) {
        LogicalLine line = ReadLogicalLine(reader);
        if (line.kind == LogicalLine::Blank)
            continue;
        const bool isProperty = line.kind == LogicalLine::Property;
        const QByteArray &name = line.header.name;
        const bool begins = isProperty && name == "BEGIN" && IsVCardWord(line.value);
        const bool ends = isProperty && name == "END" && IsVCardWord(line.value);

        if (!card) {
            // Outside a card only a beginning matters.
            if (begins)
                card.emplace();
            continue;
        }
        if (nested > 0) {
            nested += begins ? 1 : ends ? -1 : 0;
            continue;
        }
        if (begins) {
            if (card->lastWasEmptyAgent) {
                nested = 1;
                card->lastWasEmptyAgent = false;
                continue;
            }
            // A new card before this one ended: this one is cut short.
            ++result.unreadableCards;
            card.emplace();
            continue;
        }
        if (ends) {
            if (card->broken)
                ++result.unreadableCards;
            else
                result.contacts.push_back(BuildContact(*card));
            card.reset();
            continue;
        }

        switch (line.kind) {
        case LogicalLine::Blank:
            break;
        case LogicalLine::NotAProperty:
            card->broken = true;
            break;
        case LogicalLine::NoColon:
            // Some writers put the line breaks of a note or an address into
            // the file as they are; the line then belongs to that value.
            // Unfolded base64 lines of a 2.1 photo land here too, and go
            // with the photo.
            if (card->continuesText) {
                KeptProperty &previous = card->kept.back();
                previous.value += '\n';
                previous.value += line.text;
            }
            break;
        case LogicalLine::Property:
            if (name == "VERSION")
                card->version = VersionOf(line.value);
            card->lastWasEmptyAgent = name == "AGENT" && line.value.trimmed().isEmpty();
            card->continuesText = (name == "NOTE" || name == "ADR" || name == "LABEL") && !line.header.base64;
            if (KeepsValue(name)) {
                card->kept.push_back({std::move(line.header), std::move(line.value)});
                break;
            }
            if (const std::optional<DroppedItem> item = DroppedItemOf(line.header); item && line.hasValue)
                card->seen[size_t(*item)] = true;
            break;
        }
        if (line.kind == LogicalLine::NotAProperty)
            card->continuesText = false;
        if (line.kind != LogicalLine::Property)
            card->lastWasEmptyAgent = false;
    }
    if (card)
        ++result.unreadableCards;
    return result;
}

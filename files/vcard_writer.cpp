#include "files/vcard_writer.h"

#include "files/imported_contact.h"

#include <QString>

namespace {

constexpr qsizetype MaxLineOctets = 75;

// Text values escape backslash, comma and semicolon; a line break becomes \n.
void AppendEscaped(QByteArray &out, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        switch (c) {
        case '\\': out += "\\\\"; break;
        case ',': out += "\\,"; break;
        case ';': out += "\\;"; break;
        case '\r':
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n')
                ++i;
            out += "\\n";
            break;
        case '\n': out += "\\n"; break;
        default: out += c; break;
        }
    }
}

// Ends the line begun at lineStart, folding it: a continuation line starts
// with a blank and holds at most 74 more octets, and a fold never falls
// inside a UTF-8 sequence.
void EndLine(QByteArray &out, qsizetype lineStart)
{
    const qsizetype length = out.size() - lineStart;
    if (length <= MaxLineOctets) {
        out += "\r\n";
        return;
    }
    const QByteArray line = out.sliced(lineStart);
    out.truncate(lineStart);
    qsizetype pos = 0;
    qsizetype room = MaxLineOctets;
    while (pos < line.size()) {
        qsizetype n = qMin(room, line.size() - pos);
        while (n > 1 && pos + n < line.size() && (uchar(line[pos + n]) & 0xC0) == 0x80)
            --n;
        if (pos > 0)
            out += ' ';
        out += QByteArrayView(line).sliced(pos, n);
        out += "\r\n";
        pos += n;
        room = MaxLineOctets - 1;
    }
}

void AppendProperty(QByteArray &out, const char *nameAndParams, const QStringList &parts)
{
    const qsizetype start = out.size();
    out += nameAndParams;
    out += ':';
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += ';';
        AppendEscaped(out, parts[i]);
    }
    EndLine(out, start);
}

void AppendCard(QByteArray &out, const Cls_住所 &r)
{
    out += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    AppendProperty(out, "FN", {r.PName});
    const auto [family, given] = SplitFamilyGiven(r.PName);
    AppendProperty(out, "N", {family, given, QString(), QString(), QString()});
    if (!r.PTel.isEmpty())
        AppendProperty(out, "TEL", {r.PTel});
    if (!r.PMail.isEmpty())
        AppendProperty(out, "EMAIL;TYPE=INTERNET", {r.PMail});
    if (!r.PYubin.isEmpty() || !r.PJu1.isEmpty() || !r.PJu2.isEmpty()) {
        // The book's first address line is the whole street address from the
        // prefecture on; the second (building, room) is the extended address.
        AppendProperty(out, "ADR", {QString(), r.PJu2, r.PJu1, QString(), QString(), r.PYubin, QString()});
    }
    if (!r.PMemo.isEmpty())
        AppendProperty(out, "NOTE", {r.PMemo});
    out += "END:VCARD\r\n";
}

} // namespace

QByteArray WriteVCards(const Cls_管理 &book)
{
    QByteArray out;
    out.reserve(qsizetype(book.Count()) * 256);
    for (const auto &record : book)
        AppendCard(out, *record);
    return out;
}

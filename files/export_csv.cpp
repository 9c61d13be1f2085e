#include "files/export_csv.h"

#include "files/imported_contact.h"

#include <QString>
#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace {

void AppendValue(QByteArray &out, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    const bool quote = utf8.contains(',') || utf8.contains('"') || utf8.contains('\r') || utf8.contains('\n');
    if (!quote) {
        out += utf8;
        return;
    }
    out += '"';
    for (char c : utf8) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void AppendRow(QByteArray &out, const QStringList &values)
{
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += ',';
        AppendValue(out, values[i]);
    }
    out += "\r\n";
}

const QStringList &GoogleHeader()
{
    static const QStringList header = {
        u"Name"_s, u"Given Name"_s, u"Family Name"_s, u"Phone 1 - Value"_s, u"E-mail 1 - Value"_s,
        u"Address 1 - Postal Code"_s, u"Address 1 - Street"_s, u"Address 1 - Extended Address"_s, u"Notes"_s,
    };
    return header;
}

QStringList GoogleRow(const Cls_住所 &r)
{
    const auto [family, given] = SplitFamilyGiven(r.PName);
    // The whole name stays in Name; the parts are for programs that want them.
    return {r.PName, given, family, r.PTel, r.PMail, r.PYubin, r.PJu1, r.PJu2, r.PMemo};
}

QStringList OurRow(const Cls_住所 &r)
{
    return {r.PName, r.PTel, r.PMail, r.PYubin, r.PJu1, r.PJu2, r.PMemo};
}

} // namespace

QByteArray WriteCsvUtf8(const Cls_管理 &book, CsvExportHeader header)
{
    QByteArray out = "\xEF\xBB\xBF";
    out.reserve(qsizetype(book.Count()) * 160);
    if (header == CsvExportHeader::Google) {
        AppendRow(out, GoogleHeader());
        for (const auto &record : book)
            AppendRow(out, GoogleRow(*record));
    } else {
        AppendRow(out, QStringList(FieldCaptions().begin(), FieldCaptions().end()));
        for (const auto &record : book)
            AppendRow(out, OurRow(*record));
    }
    return out;
}

// Arbitrary bytes as a vCard file and as a CSV file of another program.
// Reading must never crash or hang; every contact must fit the book (single
// lines, whole characters, a dropped list without repeats); and what was
// read must come back the same through each export and its import.
// Anything else aborts, for libFuzzer to report.

#include "files/export_csv.h"
#include "files/import_csv.h"
#include "files/import_source.h"
#include "files/vcard_reader.h"
#include "files/vcard_writer.h"
#include "model/address_book.h"
#include "model/record_keys.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include "fuzz/fuzz_report.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

// Real address files of this size already hold thousands of contacts;
// larger inputs only slow the search.
constexpr size_t MaxInputBytes = 256 * 1024;

QByteArray Escaped(const QString &s) { return FuzzEscaped(s, 300); }

[[noreturn]] void Fail(const char *what, const QByteArray &detail = {})
{
    FuzzFail("fuzz_import_readers", what, detail);
}

QStringList FieldsOf(const ImportedContact &c)
{
    return {c.name, c.tel, c.mail, c.postal, c.address1, c.address2, c.memo};
}

void CheckContact(const ImportedContact &c, const char *reader)
{
    for (const QString &field : FieldsOf(c)) {
        if (field.contains(u'\r') || field.contains(u'\n'))
            Fail(reader, "a field holds a line break: " + Escaped(field));
        for (qsizetype i = 0; i < field.size(); ++i) {
            const QChar ch = field[i];
            if (ch.isHighSurrogate() && i + 1 < field.size() && field[i + 1].isLowSurrogate())
                ++i;
            else if (ch.isSurrogate())
                Fail(reader, "a field holds half a character: " + Escaped(field));
        }
    }
    QStringList known;
    for (int i = 0; i <= int(DroppedItem::Photo); ++i)
        known << DroppedItemText(DroppedItem(i));
    int last = -1;
    for (const QString &item : c.dropped) {
        const int at = int(known.indexOf(item));
        if (at <= last)
            Fail(reader, "dropped list out of order, repeated or unknown: " + Escaped(c.dropped.join(u',')));
        last = at;
    }
}

bool IsEmpty(const ImportedContact &c)
{
    for (const QString &field : FieldsOf(c)) {
        if (!field.isEmpty())
            return false;
    }
    return true;
}

void CompareBack(const char *route, const std::vector<QStringList> &expected,
                 const std::vector<ImportedContact> &back)
{
    if (back.size() != expected.size())
        Fail(route, "contact count " + QByteArray::number(qulonglong(expected.size())) + " -> "
                        + QByteArray::number(qulonglong(back.size())));
    for (size_t i = 0; i < back.size(); ++i) {
        CheckContact(back[i], route);
        const QStringList got = FieldsOf(back[i]);
        if (got != expected[i])
            Fail(route, "contact " + QByteArray::number(qulonglong(i)) + ": \"" + Escaped(expected[i].join(u'|'))
                            + "\" -> \"" + Escaped(got.join(u'|')) + "\"");
        if (!back[i].dropped.isEmpty())
            Fail(route, "an exported contact comes back with dropped items: " + Escaped(back[i].dropped.join(u',')));
    }
}

std::vector<ImportedContact> CsvContacts(const QByteArray &bytes)
{
    const ImportCsvTable table = ReadImportCsv(bytes);
    return ContactsFromCsv(table, GuessImportMapping(table.header));
}

// Every contact with a value, through each export and back.
void CheckRoundTrips(const std::vector<ImportedContact> &contacts)
{
    Cls_管理 book;
    std::vector<QStringList> all;
    std::vector<QStringList> forGoogle;
    for (const ImportedContact &c : contacts) {
        // A row of empty cells is spreadsheet padding to the CSV import.
        if (IsEmpty(c) || book.Count() >= 200)
            continue;
        book.Add(c.name, c.tel, c.mail, c.postal, c.address1, c.address2, c.memo, &book, -1,
                 MakeRecordKey(book.Count() + 1));
        all.push_back(FieldsOf(c));
    }
    if (book.Count() == 0)
        return;

    const VCardReadResult vcards = ReadVCards(WriteVCards(book));
    if (vcards.unreadableCards != 0)
        Fail("vCard export", "its own cards are unreadable");
    CompareBack("vCard export", all, vcards.contacts);
    CompareBack("CSV export", all, CsvContacts(WriteCsvUtf8(book, CsvExportHeader::Ours)));

    // Google's format has no way to write " ::: " in a phone or mail.
    for (const QStringList &fields : all) {
        if (fields[1].contains(u" ::: "_s) || fields[2].contains(u" ::: "_s))
            return;
    }
    CompareBack("Google CSV export", all, CsvContacts(WriteCsvUtf8(book, CsvExportHeader::Google)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > MaxInputBytes)
        return 0;
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));

    (void)RecogniseImportFormat(input, u"input.csv"_s);

    const VCardReadResult vcards = ReadVCards(input);
    if (vcards.unreadableCards < 0)
        Fail("vCard reader", "negative count of unreadable cards");
    for (const ImportedContact &c : vcards.contacts)
        CheckContact(c, "vCard reader");
    CheckRoundTrips(vcards.contacts);

    const ImportCsvTable table = ReadImportCsv(input);
    const ImportMapping mapping = GuessImportMapping(table.header);
    if (mapping.size() != size_t(table.header.size()))
        Fail("CSV mapping", "not one entry per column");
    const std::vector<ImportedContact> rows = ContactsFromCsv(table, mapping);
    if (rows.size() > table.rows.size())
        Fail("CSV import", "more contacts than rows");
    for (const ImportedContact &c : rows)
        CheckContact(c, "CSV import");
    CheckRoundTrips(rows);
    return 0;
}

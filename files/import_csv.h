#pragma once

#include "files/import_source.h"
#include "files/imported_contact.h"

#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Importing CSV files of other programs (Google Contacts, Outlook,
// spreadsheets): the file as a table, which column goes where, and the
// contacts the rows make. The book's own file has its own reader.

struct ImportCsvTable {
    QStringList header;
    std::vector<QStringList> rows;      // blank lines left out; rows may be shorter or longer than the header
    TextEncoding encoding = TextEncoding::Utf8;
    QString encodingName;               // for the preview: "UTF-8", "Shift_JIS（CP932）", ...
    QChar separator = u',';
    bool unterminatedQuote = false;     // a quoted field ran on to the end of the file
};

// RFC 4180 fields: quoted or not, doubled quotes inside quotes, line breaks
// inside quotes; CRLF, LF or CR end a row. Blanks around a value are part of
// it. The encoding is detected unless given (DetectTextEncoding); the
// separator is a tab when the header line holds more tabs than commas.
ImportCsvTable ReadImportCsv(QByteArrayView bytes, std::optional<TextEncoding> encoding = std::nullopt);

// Where a column's values go.
enum class ImportTarget {
    Ignore,
    Name,           // the whole name
    FamilyName,     // with GivenName, joined by a full-width blank, when no Name
    GivenName,      // several (given, middle) join with a blank
    Tel,            // the first candidate with a value goes in, the rest are dropped
    Mail,           // likewise
    Postal,         // the parts of an address; see ImportColumn::set
    Region,         // 都道府県: 住所1 is region, locality, address, street joined
    Locality,       // 市区町村
    Address1,       // a street address in one column
    Street,         // 番地
    Address2,       // building and room
    PoBox,          // after the building in 住所2
    Country,        // not stored; a country other than Japan is reported as dropped
    Memo,           // several join with a blank
};

struct ImportColumn {
    ImportTarget target = ImportTarget::Ignore;
    // Which candidate the column belongs to when there are several: the
    // parts of one address share a set, and the lowest set with a value in
    // it goes in. Phone and mail columns are tried by set, then left to right.
    int set = 1;

    bool operator==(const ImportColumn &) const = default;
};

// One entry per header column.
using ImportMapping = std::vector<ImportColumn>;

// Recognises the headers of Google Contacts (old and new), Outlook (English
// and Japanese), Japanese spreadsheets and this program's own export.
// Columns it does not know are ignored.
ImportMapping GuessImportMapping(const QStringList &header);

// Every row with a value in a mapped column, as a contact. Values are kept
// as they are except that line breaks become blanks. Google Contacts puts
// several phones or mails into one cell with " ::: " between them; in its
// columns the first goes in and the rest are dropped.
std::vector<ImportedContact> ContactsFromCsv(const ImportCsvTable &table, const ImportMapping &mapping);

// The targets in the order a mapping list offers them, and their captions.
const std::vector<ImportTarget> &ImportTargets();
QString ImportTargetCaption(ImportTarget target);

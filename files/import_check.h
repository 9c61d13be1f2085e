#pragma once

#include "files/imported_contact.h"
#include "model/address_record.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <vector>

class Cls_管理;

// What an imported contact holds that the book's file cannot take as it is,
// found before anything is added, so the user decides.
struct ImportIssue {
    enum Kind {
        Character,   // a character the file cannot hold: skipped, or replaced by 〓 on request
        Length,      // longer than the entry dialog lets one type: kept whole, or skipped
    };
    Kind kind = Character;
    int contact = 0;       // index into the contacts
    Field field = Field::Name;
    QString description;   // one Japanese sentence naming the field and the character
};

// Every issue of every contact, in contact and field order; each character
// once per field.
std::vector<ImportIssue> FindImportIssues(const std::vector<ImportedContact> &contacts);

// The character that stands for one the file cannot hold.
inline constexpr char16_t ReplacementMark = u'〓';

// The contact with each character its fields cannot store replaced by 〓
// (a double quote the file cannot carry included); nothing else changes.
ImportedContact ReplaceUnstorable(const ImportedContact &contact);

// The seven fields as a record.
Cls_住所 RecordOf(const ImportedContact &contact);

// The entries a contact probably duplicates: the same name (blanks, width
// and case aside) and the same telephone number (digits only) or mail
// address (case aside).
class DuplicateFinder {
public:
    explicit DuplicateFinder(const Cls_管理 &book);
    bool IsProbableDuplicate(const ImportedContact &contact) const;

private:
    struct Known {
        QSet<QString> tels, mails;
    };
    QHash<QString, Known> m_byName;
};

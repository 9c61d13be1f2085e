#include "files/import_check.h"

#include "files/storable_value.h"
#include "model/address_book.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The longest values the entry dialog lets one type; the file holds longer ones.
int TypingLimit(Field field)
{
    switch (field) {
    case Field::Tel: return 13;
    case Field::Yubin: return 8;
    default: return 0;
    }
}

// The value with the problem of check mended: the character replaced, or
// every double quote when the quotes are the problem.
QString Mended(const QString &value, const StorageCheck &check)
{
    QString out = value;
    if (check.problem == StorageCheck::Unencodable) {
        const int units = check.character > 0xFFFF ? 2 : 1;
        out.replace(check.offset, units, QChar(ReplacementMark));
    } else {
        out.replace(u'"', QChar(ReplacementMark));
    }
    return out;
}

QString NameKey(const QString &name)
{
    QString key = name.normalized(QString::NormalizationForm_KC).toCaseFolded();
    key.remove(u' ');
    return key;
}

QString TelKey(const QString &tel)
{
    QString digits;
    for (const QChar c : tel.normalized(QString::NormalizationForm_KC)) {
        if (c.isDigit())
            digits += c;
    }
    return digits;
}

QString MailKey(const QString &mail) { return mail.trimmed().toCaseFolded(); }

} // namespace

std::vector<ImportIssue> FindImportIssues(const std::vector<ImportedContact> &contacts)
{
    std::vector<ImportIssue> issues;
    const auto &captions = FieldCaptions();
    for (int i = 0; i < int(contacts.size()); ++i) {
        const Cls_住所 record = RecordOf(contacts[size_t(i)]);
        for (int f = 0; f < FieldCount; ++f) {
            const Field field = Field(f);
            QString value = record.field(field);
            // Each character once: a mended copy is checked again for the next.
            QList<char32_t> seen;
            for (int guard = 0; guard < value.size() + 1; ++guard) {
                const StorageCheck check = CheckStorableValue(value);
                if (check.ok())
                    break;
                if (!seen.contains(check.character)) {
                    seen.append(check.character);
                    issues.push_back({ImportIssue::Character, i, field, StorageProblemText(check, captions[size_t(f)])});
                }
                value = Mended(value, check);
            }
            const int limit = TypingLimit(field);
            if (limit > 0 && record.field(field).size() > limit)
                issues.push_back({ImportIssue::Length, i, field,
                                  u"「%1」が%2文字を超えています（%3文字）。"_s.arg(captions[size_t(f)])
                                      .arg(limit)
                                      .arg(record.field(field).size())});
        }
    }
    return issues;
}

ImportedContact ReplaceUnstorable(const ImportedContact &contact)
{
    ImportedContact out = contact;
    for (QString *value : {&out.name, &out.tel, &out.mail, &out.postal, &out.address1, &out.address2, &out.memo}) {
        for (int guard = 0; guard < value->size() + 1; ++guard) {
            const StorageCheck check = CheckStorableValue(*value);
            if (check.ok())
                break;
            *value = Mended(*value, check);
        }
    }
    return out;
}

Cls_住所 RecordOf(const ImportedContact &contact)
{
    Cls_住所 record;
    record.PName = contact.name;
    record.PTel = contact.tel;
    record.PMail = contact.mail;
    record.PYubin = contact.postal;
    record.PJu1 = contact.address1;
    record.PJu2 = contact.address2;
    record.PMemo = contact.memo;
    return record;
}

DuplicateFinder::DuplicateFinder(const Cls_管理 &book)
{
    m_byName.reserve(book.Count());
    for (const auto &record : book) {
        Known &known = m_byName[NameKey(record->PName)];
        if (const QString tel = TelKey(record->PTel); !tel.isEmpty())
            known.tels.insert(tel);
        if (const QString mail = MailKey(record->PMail); !mail.isEmpty())
            known.mails.insert(mail);
    }
}

bool DuplicateFinder::IsProbableDuplicate(const ImportedContact &contact) const
{
    const auto known = m_byName.constFind(NameKey(contact.name));
    if (known == m_byName.cend())
        return false;
    const QString tel = TelKey(contact.tel), mail = MailKey(contact.mail);
    return (!tel.isEmpty() && known->tels.contains(tel)) || (!mail.isEmpty() && known->mails.contains(mail));
}

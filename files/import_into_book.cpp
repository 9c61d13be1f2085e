#include "files/import_into_book.h"

#include "files/import_check.h"
#include "model/app_error.h"
#include "model/book_document.h"
#include "model/record_keys.h"

using namespace Qt::Literals::StringLiterals;

int RoomInBook(const BookDocument &document) { return MaxBookRecords - document.Count(); }

int AddImportedContacts(BookDocument &document, const std::vector<ImportedContact> &contacts, int before)
{
    if (contacts.empty())
        return 0;
    const int room = RoomInBook(document);
    if (int(contacts.size()) > room)
        throw AppError(u"住所録に入るのは、あと%1件です（%2件まで）。取り込む人を%3件減らして下さい。"_s.arg(room)
                           .arg(MaxBookRecords)
                           .arg(int(contacts.size()) - room));
    if (before != -1 && (before < 1 || before > document.Count()))
        before = -1;
    BookDocument::Step step(document, u"インポート"_s);
    const int first = before == -1 ? document.Count() + 1 : before;
    int at = before;
    for (const ImportedContact &contact : contacts) {
        const int position = document.AddRecord(RecordOf(contact), at, document.NextRecordKey());
        if (at != -1)
            at = position + 1;
    }
    return first;
}

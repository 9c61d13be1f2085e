#include "importexport/import_command.h"

#include "files/import_csv.h"
#include "files/import_into_book.h"
#include "files/import_source.h"
#include "files/vcard_reader.h"
#include "importexport/import_mapping_dialog.h"
#include "importexport/import_preview_dialog.h"
#include "mainwindow/address_list_view.h"
#include "mainwindow/file_dialog.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "mainwindow/wait_cursor.h"
#include "model/app_error.h"
#include "model/book_document.h"

#include <QFileInfo>
#include <QPointer>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

bool AddChosen(MainWindow &main, const std::vector<ImportedContact> &chosen, bool atEnd, QWidget *owner)
{
    BookDocument &document = main.document();
    const int room = RoomInBook(document);
    if (int(chosen.size()) > room) {
        MessageBoxes::Show(owner,
                           u"住所録に入るのは、あと%1件です。取り込む人を%2件減らして下さい。"_s.arg(room)
                               .arg(int(chosen.size()) - room),
                           MsgIcon::Exclamation);
        return false;
    }
    const int row = main.listView()->currentRow();
    const int before = atEnd || row < 0 ? -1 : row + 1;
    try {
        WaitCursor busy;
        const int first = AddImportedContacts(document, chosen, before);
        main.selectRow(first - 1);
        main.focusList();
    } catch (const AppError &e) {
        MessageBoxes::ReportError(owner, e.description());
        return false;
    }
    return true;
}

void ShowPreview(MainWindow &main, std::vector<ImportedContact> contacts, const ImportOrigin &origin)
{
    if (contacts.empty()) {
        QString text = u"「%1」には、取り込める人がいませんでした。"_s.arg(origin.fileName);
        if (origin.unreadableCards > 0)
            text += u"%1件のカードを読み取れませんでした。"_s.arg(origin.unreadableCards);
        MessageBoxes::Show(&main, text, MsgIcon::Exclamation);
        return;
    }
    const bool canInsertBefore = main.document().Count() > 0 && main.listView()->currentRow() >= 0;
    QPointer<MainWindow> window(&main);
    ImportPreviewDialog::Open(&main, std::move(contacts), origin, main.document().OpenBook(), canInsertBefore,
                              [window](const auto &chosen, bool atEnd, QWidget *dialog) {
                                  return window && AddChosen(*window, chosen, atEnd, dialog);
                              });
}

} // namespace

void ImportContacts(MainWindow &main)
{
    if (!main.commitListEdit())
        return;
    const QString path = FileDialogs::GetImportFileName(&main);
    if (path.isEmpty())
        return;
    const QString fileName = QFileInfo(path).fileName();
    ImportFileBytes file;
    {
        WaitCursor busy;
        file = ReadImportFile(path);
    }
    if (!file.ok()) {
        MessageBoxes::Show(&main, file.problem, MsgIcon::Exclamation);
        return;
    }
    switch (RecogniseImportFormat(file.bytes, fileName)) {
    case ImportFormat::VCard: {
        VCardReadResult read;
        {
            WaitCursor busy;
            read = ReadVCards(file.bytes);
        }
        ShowPreview(main, std::move(read.contacts), {fileName, u"vCard"_s, read.unreadableCards});
        return;
    }
    case ImportFormat::Csv: {
        auto table = std::make_shared<ImportCsvTable>(ReadImportCsv(file.bytes));
        if (table->header.isEmpty() || table->rows.empty()) {
            MessageBoxes::Show(&main, u"「%1」には、見出しの行と、取り込む行がありません。"_s.arg(fileName),
                               MsgIcon::Exclamation);
            return;
        }
        QPointer<MainWindow> window(&main);
        ImportMappingDialog::Open(&main, *table, path, [window, table, fileName](const ImportMapping &mapping) {
            if (!window)
                return;
            std::vector<ImportedContact> contacts;
            {
                WaitCursor busy;
                contacts = ContactsFromCsv(*table, mapping);
            }
            ShowPreview(*window, std::move(contacts), {fileName, u"CSV・"_s + table->encodingName, 0});
        });
        return;
    }
    case ImportFormat::Unknown:
        break;
    }
    MessageBoxes::Show(&main, UnrecognisedImportText(), MsgIcon::Exclamation);
}

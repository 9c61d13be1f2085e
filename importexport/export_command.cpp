#include "importexport/export_command.h"

#include "files/book_export.h"
#include "files/csv_writer.h"
#include "mainwindow/file_dialog.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "mainwindow/wait_cursor.h"
#include "model/app_error.h"
#include "model/book_document.h"

#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

void ExportBook(MainWindow &main)
{
    if (!main.commitListEdit())
        return;
    const BookDocument &document = main.document();
    if (document.Count() == 0) {
        MessageBoxes::Show(&main, u"エクスポートする項目がありません。"_s, MsgIcon::Information);
        return;
    }
    int filter = 0;
    const QString path = FileDialogs::GetExportFileName(&main, filter);
    if (path.isEmpty())
        return;
    const ExportFormat format = filter == 1 ? ExportFormat::CsvOurs
                                : filter == 2 ? ExportFormat::CsvGoogle
                                              : ExportFormat::VCard;
    try {
        WaitCursor busy;
        WriteFileAtomically(path, ExportBytes(document.OpenBook(), format));
    } catch (const AppError &e) {
        MessageBoxes::ReportError(&main, e.description());
        return;
    }
    main.setStatusText(u"「%1」に%2件をエクスポートしました。"_s.arg(QFileInfo(path).fileName()).arg(document.Count()));
}

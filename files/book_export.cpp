#include "files/book_export.h"

#include "files/export_csv.h"
#include "files/vcard_writer.h"

using namespace Qt::Literals::StringLiterals;

QByteArray ExportBytes(const Cls_管理 &book, ExportFormat format)
{
    switch (format) {
    case ExportFormat::VCard: return WriteVCards(book);
    case ExportFormat::CsvOurs: return WriteCsvUtf8(book, CsvExportHeader::Ours);
    case ExportFormat::CsvGoogle: return WriteCsvUtf8(book, CsvExportHeader::Google);
    }
    return {};
}

std::optional<ExportFormat> ExportFormatNamed(const QString &name)
{
    if (name == u"vcard"_s)
        return ExportFormat::VCard;
    if (name == u"csv-utf8"_s)
        return ExportFormat::CsvOurs;
    if (name == u"csv-google"_s)
        return ExportFormat::CsvGoogle;
    return std::nullopt;
}

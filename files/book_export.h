#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class Cls_管理;

// The forms the book is exported in for other programs.
enum class ExportFormat {
    VCard,       // vCard 3.0, UTF-8
    CsvOurs,     // UTF-8 CSV with a BOM and this program's header
    CsvGoogle,   // UTF-8 CSV with a BOM and Google Contacts' header
};

QByteArray ExportBytes(const Cls_管理 &book, ExportFormat format);

// "vcard", "csv-utf8", "csv-google", as the command line names them.
std::optional<ExportFormat> ExportFormatNamed(const QString &name);

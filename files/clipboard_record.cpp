#include "files/clipboard_record.h"

#include "files/csv_reader.h"
#include "files/storable_value.h"
#include "model/address_record.h"
#include "model/app_error.h"

using namespace Qt::Literals::StringLiterals;

namespace {

bool holdsSeparator(const QString &value)
{
    return value.contains(u',') || value.contains(u'\r') || value.contains(u'\n');
}

// True when an item, after the blanks the reader skips, opens with a quote.
bool hasQuotedItem(const QString &text)
{
    bool itemStart = true;
    for (QChar c : text) {
        if (itemStart && c == u' ')
            continue;
        if (itemStart && c == u'"')
            return true;
        itemStart = c == u',' || c == u'\r' || c == u'\n';
    }
    return false;
}

} // namespace

QString RecordClipboardText(const Cls_住所 &record)
{
    bool quoted = false;
    for (int f = 0; f < FieldCount; ++f)
        quoted = quoted || holdsSeparator(record.field(Field(f)));
    if (!quoted)
        return record.GetRecord();

    QString line;
    for (int f = 0; f < FieldCount; ++f) {
        const QString &value = record.field(Field(f));
        if (f > 0)
            line += u',';
        // A quoted value ends at its next quote, so one holding a quote
        // cannot be quoted; the file cannot hold it either.
        if (NeedsQuotes(value) && !value.contains(u'"'))
            line += u'"' + value + u'"';
        else
            line += value;
    }
    return line;
}

void SetRecordFromClipboard(Cls_住所 &record, const QString &text)
{
    if (!hasQuotedItem(text)) {
        // A line copied from an editor or a spreadsheet ends in a line end;
        // it ends the line and is no part of the memo.
        QString line = text;
        if (line.endsWith(u'\n'))
            line.chop(1);
        if (line.endsWith(u'\r'))
            line.chop(1);
        record.SetRecord(line);
        return;
    }
    if (text.size() > 32767)
        throw AppError(u"貼り付ける文字列が長すぎます（32767文字まで）。"_s);
    const QStringList items = SplitCsvItems(text);
    for (int f = 0; f < FieldCount && f < items.size(); ++f)
        record.field(Field(f)) = items.at(f);
}

void CheckRecordStorable(const Cls_住所 &record)
{
    for (int f = 0; f < FieldCount; ++f) {
        const StorageCheck check = CheckStorableValue(record.field(Field(f)));
        if (!check.ok())
            throw AppError(StorageProblemText(check, FieldCaptions()[size_t(f)]));
    }
}

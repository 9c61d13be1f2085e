#pragma once

#include <QString>

class Cls_住所;

// An entry on the clipboard: its seven fields on one line, joined by commas,
// without the key and without a line end. When a value holds a comma or a
// line break (entries read from quoted files can), the line would not come
// back as the same entry, so such a line is written the way the address file
// writes it: each value the plain line cannot carry in double quotes.
QString RecordClipboardText(const Cls_住所 &record);

// Fills a record from clipboard text. A text in which some item opens with a
// double quote is read the way the address file is read; any other text
// follows SetRecord's rule, after one line end at its very end is dropped.
// Throws AppError when the text is too long.
void SetRecordFromClipboard(Cls_住所 &record, const QString &text);

// Throws AppError naming the first field the address file could not store.
void CheckRecordStorable(const Cls_住所 &record);

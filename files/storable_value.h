#pragma once

#include <QString>
#include <QStringView>

// Whether one field value can be stored in the address file, and why not.
struct StorageCheck {
    enum Problem {
        Ok,
        Unencodable,         // a character CP932 cannot hold (after folding)
        QuoteAtStart,        // begins with a double quote: even quotes cannot carry it
        QuoteInQuotedValue,  // needs quotes and holds a double quote
    };
    Problem problem = Ok;
    bool needsQuotes = false;  // holds a comma, CR or LF, or begins with a blank or tab
    char32_t character = 0;    // the character that cannot be stored
    qsizetype offset = -1;     // where it is, in UTF-16 units

    bool ok() const { return problem == Ok; }
};

// True when the plain, unquoted line cannot carry the value.
bool NeedsQuotes(QStringView value);

StorageCheck CheckStorableValue(QStringView value);

// One Japanese sentence for the user: what in the field cannot be stored.
QString StorageProblemText(const StorageCheck &check, const QString &fieldCaption);

// "「𠮷」(U+20BB7)": how a character is named in messages.
QString DescribeCharacter(char32_t c);

// Why a value typed by the user cannot go into the book, or an empty text.
// Besides what the file cannot store, a half-width comma and a line break
// are refused: they would split the entry on the clipboard and in other
// programs that read the file line by line.
QString TypedValueProblem(QStringView value, const QString &fieldCaption);

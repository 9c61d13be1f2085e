#pragma once

#include "files/imported_contact.h"

#include <QByteArrayView>

#include <vector>

// Reading vCard files (2.1, 3.0 and 4.0, any number of cards) from phones,
// mail programs and web address books into the book's seven fields.

struct VCardReadResult {
    std::vector<ImportedContact> contacts;   // in file order
    // Cards skipped because they could not be read: no END before the next
    // card or the end of the file, or a line that is not a property.
    int unreadableCards = 0;
};

// Never throws. Time and memory grow linearly with the input; photos and
// other embedded files are stepped over, never copied.
VCardReadResult ReadVCards(QByteArrayView bytes);

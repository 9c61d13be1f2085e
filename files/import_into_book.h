#pragma once

#include "files/imported_contact.h"

#include <vector>

class BookDocument;

// How many more entries the book can take.
int RoomInBook(const BookDocument &document);

// Adds the contacts, in order, in front of position before (-1: at the
// end), each under a new key, as one undoable step "インポート". Throws
// AppError, with the book untouched, when they do not all fit. Returns the
// position of the first one added.
int AddImportedContacts(BookDocument &document, const std::vector<ImportedContact> &contacts, int before);

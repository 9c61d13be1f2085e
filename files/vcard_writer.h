#pragma once

#include "model/address_book.h"

#include <QByteArray>

// Writing the book as vCard 3.0 in UTF-8 with CRLF line ends, the form that
// phones, mail programs and web address books all read. One card per entry,
// in book order; empty fields are left out, except FN and N, which every
// 3.0 card carries. Lines are folded at 75 octets, never inside a character.
QByteArray WriteVCards(const Cls_管理 &book);

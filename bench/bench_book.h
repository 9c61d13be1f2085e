#pragma once

#include "model/address_book.h"

#include <memory>

// A full, realistic book for the benchmarks: the same records on every
// machine for a given seed.
std::unique_ptr<Cls_管理> MakeBook(int records, quint64 seed);

// Writes the benchmarks' generated book (32767 entries unless a count is
// given) as an address file, for the scripts that time whole processes.
//
//   yuzaribo-write-bench-book FILE [COUNT]

#include "bench/bench_book.h"
#include "files/csv_writer.h"
#include "model/address_book.h"
#include "model/app_error.h"
#include "model/record_keys.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [COUNT]\n", argv[0]);
        return 2;
    }
    const int count = argc > 2 ? std::atoi(argv[2]) : MaxBookRecords;
    try {
        SaveBookToFile(QString::fromLocal8Bit(argv[1]), *MakeBook(count, 20240601));
    } catch (const AppError &e) {
        std::fprintf(stderr, "%s\n", e.description().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

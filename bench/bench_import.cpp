// Timings of importing and exporting other programs' address files.
//
//   yuzaribo-bench-import              every figure
//   yuzaribo-bench-import --runs 11    more runs per figure (default 7)
//
// One "name value" line per figure: times in milliseconds, the median of the
// runs. floor_ms is decoding the generated vCard file from UTF-8, the least
// any reader of it must do, measured in the same run so the other figures
// can be given as ratios on any machine.

#include "bench/bench_book.h"
#include "bench/bench_measure.h"
#include "files/export_csv.h"
#include "files/import_csv.h"
#include "files/vcard_reader.h"
#include "files/vcard_writer.h"
#include "model/address_book.h"
#include "model/record_keys.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <malloc.h>
#include <memory>
#include <vector>

namespace {

constexpr int ImportCards = 10000;

template <typename Body>
double TimeMs(int runs, Body body)
{
    std::vector<double> times;
    body();     // warm-up: first touches of the converters and the allocator
    for (int i = 0; i < runs; ++i) {
        const auto start = BenchClock::now();
        auto result = body();
        times.push_back(msSince(start));
        (void)result;   // freed outside the timing
    }
    return median(std::move(times));
}

// A benchmark of a reader that loses contacts would be worthless.
bool ReadsBack(const Cls_管理 &book, const std::vector<ImportedContact> &contacts, const char *what)
{
    if (int(contacts.size()) != book.Count()) {
        std::fprintf(stderr, "%s: %zu contacts for %d entries\n", what, contacts.size(), book.Count());
        return false;
    }
    for (int i = 1; i <= book.Count(); ++i) {
        const Cls_住所 &r = book.Item(i);
        const ImportedContact &c = contacts[size_t(i - 1)];
        if (c.name != r.PName || c.tel != r.PTel || c.mail != r.PMail || c.postal != r.PYubin
            || c.address1 != r.PJu1 || c.address2 != r.PJu2 || c.memo != r.PMemo) {
            std::fprintf(stderr, "%s: entry %d does not read back\n", what, i);
            return false;
        }
    }
    return true;
}

std::vector<ImportedContact> ImportCsv(const QByteArray &bytes)
{
    const ImportCsvTable table = ReadImportCsv(bytes);
    return ContactsFromCsv(table, GuessImportMapping(table.header));
}

} // namespace

int main(int argc, char **argv)
{
    // Keep freed memory in the process between runs, as bench_main does.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
    const int runs = RunsFromArguments(argc, argv, 7);

    const std::unique_ptr<Cls_管理> importBook = MakeBook(ImportCards, 20240601);
    const std::unique_ptr<Cls_管理> fullBook = MakeBook(MaxBookRecords, 20240601);
    const QByteArray vcards = WriteVCards(*importBook);
    const QByteArray csv = WriteCsvUtf8(*importBook, CsvExportHeader::Google);
    if (!ReadsBack(*importBook, ReadVCards(vcards).contacts, "vCard") || !ReadsBack(*importBook, ImportCsv(csv), "CSV"))
        return 1;

    const double floorMs = TimeMs(runs, [&] { return QString::fromUtf8(vcards); });
    const double importMs = TimeMs(runs, [&] { return ReadVCards(vcards); });
    const double exportMs = TimeMs(runs, [&] { return WriteVCards(*fullBook); });
    const double importCsvMs = TimeMs(runs, [&] { return ImportCsv(csv); });
    const double exportCsvMs = TimeMs(runs, [&] { return WriteCsvUtf8(*fullBook, CsvExportHeader::Ours); });

    std::printf("floor_ms %.2f\n", floorMs);
    std::printf("import_vcard_10k_ms %.2f\n", importMs);
    std::printf("export_vcard_ms %.2f\n", exportMs);
    std::printf("import_csv_10k_ms %.2f\n", importCsvMs);
    std::printf("export_csv_ms %.2f\n", exportCsvMs);
    std::printf("import_vcard_over_floor %.2f\n", importMs / floorMs);
    std::printf("export_vcard_over_floor %.2f\n", exportMs / floorMs);
    std::printf("vcard_10k_bytes %lld\n", static_cast<long long>(vcards.size()));
    return 0;
}

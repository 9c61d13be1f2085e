// Timings of the postal-code lookups on Debian's dictionary (skkdic-extra).
//
//   yuzaribo-bench-postal            every figure
//   yuzaribo-bench-postal --runs 11  more runs per figure (default 7)
//
// One "name value" line per figure, times the median of the runs:
//   postal_rss_added_mb        resident memory the loaded table adds (measured
//                              first, before any other run touches the heap)
//   postal_floor_ms            the least any reader could do: read both
//                              dictionary files and decode them through ICU
//   postal_first_lookup_ms     a new source to the first code found: reading,
//                              decoding, parsing, sorting and indexing
//   postal_first_lookup_over_floor   the two above, as a ratio
//   postal_lookup_us           one code lookup ("100-0001" form) on the table
//   postal_reverse_lookup_us   one address lookup (a book entry's 住所1)
//   postal_check_32767_ms      checking every entry of the generated book
//   postal_check_known_codes_32767_ms   the same with every 〒 replaced by a
//                              code the data holds, so each check compares
//                              addresses rather than stopping at the code
//   postal_kenall_first_lookup_ms    the first lookup from a KEN_ALL.CSV made
//                              from the dictionary (CP932, same entries)

#include "bench/bench_book.h"
#include "bench/bench_measure.h"
#include "files/cp932_codec.h"
#include "files/postal_check.h"
#include "files/postal_codes.h"
#include "model/record_keys.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <unicode/ucnv.h>

#include <cstdio>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "yuzaribo-bench-postal: %s\n", what);
    std::exit(1);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        fail("cannot read a dictionary file");
    return f.readAll();
}

// The floor: both files read and decoded, nothing kept.
qsizetype decodeFloor(const PostalSourcePaths &paths)
{
    qsizetype units = 0;
    UErrorCode err = U_ZERO_ERROR;
    UConverter *conv = ucnv_open("EUC-JP", &err);
    for (const QString &path : {paths.dictionary, OfficePostalDictionaryPath(paths.dictionary)}) {
        const QByteArray bytes = readAll(path);
        std::unique_ptr<UChar[]> out(new UChar[size_t(bytes.size()) * 2 + 1]);
        err = U_ZERO_ERROR;
        units += ucnv_toUChars(conv, out.get(), int32_t(bytes.size() * 2 + 1), bytes.constData(),
                               int32_t(bytes.size()), &err);
    }
    ucnv_close(conv);
    return units;
}

template <typename Body>
double medianMs(int runs, Body body)
{
    std::vector<double> times;
    body();   // warm-up: page cache, converters
    for (int i = 0; i < runs; ++i) {
        const auto start = BenchClock::now();
        body();
        times.push_back(msSince(start));
    }
    return median(std::move(times));
}

// KEN_ALL.CSV rows for every residential entry the CP932 code page can hold.
QByteArray kenAllFrom(const PostalCodeTable &table)
{
    QByteArray out;
    for (int i = 0; i < table.entryCount(); ++i) {
        const PostalEntry e = table.entryAt(i);
        if (e.office)
            continue;
        const AddressParts parts = SplitAddress(e.address);
        const QStringView town = QStringView(e.address).sliced(parts.prefecture.size() + parts.municipality.size());
        const QString code = u"%1"_s.arg(e.code, 7, 10, QLatin1Char('0'));
        const QString row = u"00000,\"%1\",\"%2\",\"ｶﾅ\",\"ｶﾅ\",\"ｶﾅ\",\"%3\",\"%4\",\"%5\",0,0,0,0,0,0\r\n"_s.arg(
            code.left(5), code, parts.prefecture.toString(), parts.municipality.toString(),
            town.isEmpty() ? u"以下に掲載がない場合"_s : town.toString());
        const EncodedText encoded = EncodeCp932(row);
        if (encoded.ok())
            out += encoded.bytes;
    }
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = RunsFromArguments(argc, argv, 7);
    const PostalSourcePaths paths = PostalSourcePaths::Default();
    if (paths.dictionary.isEmpty())
        fail("skkdic-extra is not installed (no skk/SKK-JISYO.zipcode)");

    // Memory first, while the heap is fresh.
    const double rssBefore = residentMegabytes();
    auto kept = std::make_unique<PostalCodes>(paths);
    if (kept->Lookup(u"100-0001"_s).isEmpty())
        fail("100-0001 is not in the dictionary");
    const double rssAdded = residentMegabytes() - rssBefore;
    const PostalCodeTable &table = kept->table();
    std::printf("postal_rss_added_mb %.1f\n", rssAdded);
    std::fflush(stdout);

    const double floorMs = medianMs(runs, [&] { return decodeFloor(paths); });
    std::printf("postal_floor_ms %.2f\n", floorMs);

    const double firstMs = medianMs(runs, [&] {
        PostalCodes codes(paths);
        return codes.Lookup(u"100-0001"_s).size();
    });
    std::printf("postal_first_lookup_ms %.2f\n", firstMs);
    std::printf("postal_first_lookup_over_floor %.2f\n", firstMs / floorMs);
    std::fflush(stdout);

    // Codes the data holds and codes it does not, in the form users type.
    QStringList codes;
    QRandomGenerator rng(20240601);
    for (int i = 0; i < 20000; ++i) {
        const int code = i % 4 == 3 ? int(rng.bounded(10000000))
                                    : table.entryAt(int(rng.bounded(table.entryCount()))).code;
        codes.append(FormatPostalCode(code));
    }
    qsizetype found = 0;
    const double lookupMs = medianMs(runs, [&] {
        for (const QString &c : codes)
            found += table.Lookup(c).size();
    });
    std::printf("postal_lookup_us %.3f\n", lookupMs * 1000.0 / double(codes.size()));

    const std::unique_ptr<Cls_管理> book = MakeBook(MaxBookRecords, 20240601);
    QStringList addresses;
    for (int i = 1; i <= book->Count(); ++i)
        addresses.append(book->Item(i).PJu1);
    const double reverseMs = medianMs(runs, [&] {
        for (const QString &a : addresses)
            found += table.LookupAddress(a).size();
    });
    std::printf("postal_reverse_lookup_us %.3f\n", reverseMs * 1000.0 / double(addresses.size()));
    std::fflush(stdout);

    int results[5] = {};
    const double checkMs = medianMs(runs, [&] {
        for (int i = 1; i <= book->Count(); ++i) {
            const Cls_住所 &r = book->Item(i);
            ++results[int(CheckPostalEntry(table, r.PYubin, r.PJu1))];
        }
    });
    std::printf("postal_check_32767_ms %.2f\n", checkMs);

    // Every 〒 a code of the data: the code found for the address where
    // there is one, else any code (which then mostly mismatches).
    QStringList knownCodes;
    for (int i = 1; i <= book->Count(); ++i) {
        const QList<PostalEntry> hits = table.LookupAddress(book->Item(i).PJu1);
        knownCodes.append(FormatPostalCode(hits.isEmpty() ? table.entryAt(i * 3).code : hits.first().code));
    }
    const double knownMs = medianMs(runs, [&] {
        for (int i = 1; i <= book->Count(); ++i)
            ++results[int(CheckPostalEntry(table, knownCodes[i - 1], book->Item(i).PJu1))];
    });
    std::printf("postal_check_known_codes_32767_ms %.2f\n", knownMs);
    std::fflush(stdout);

    QTemporaryDir dir;
    const QString kenAllPath = dir.filePath(u"KEN_ALL.CSV"_s);
    {
        QFile f(kenAllPath);
        const QByteArray bytes = kenAllFrom(table);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            fail("cannot write the KEN_ALL.CSV copy");
    }
    const double kenAllMs = medianMs(runs, [&] {
        PostalCodes source({kenAllPath, {}});
        if (source.info().kind != PostalSourceKind::KenAll)
            fail("the KEN_ALL.CSV copy was refused");
        return source.Lookup(u"100-0001"_s).size();
    });
    std::printf("postal_kenall_first_lookup_ms %.2f\n", kenAllMs);

    // Keep the results alive, so nothing above is optimised away.
    if (found < 0 || results[0] < 0)
        std::printf("unreachable\n");
    return 0;
}

// Timings of the address file on a full book (32767 generated records).
//
//   yuzaribo-bench               every figure
//   yuzaribo-bench load_ms ...   only the named figures
//   yuzaribo-bench --list        the names
//   yuzaribo-bench --runs 11     more runs per figure (default 7)
//
// One "name value" line per figure: times in milliseconds, the median of the
// runs; ratios are medians divided by medians. To add a figure, add a row to
// Figures() below; measure() and the shared Fixture do the rest.

#include "files/cp932_codec.h"
#include "files/csv_reader.h"
#include "files/csv_writer.h"
#include "model/address_book.h"
#include "model/app_error.h"
#include "model/record_keys.h"
#include "bench/bench_book.h"

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <malloc.h>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

// ---------------------------------------------------------------- timing

using Clock = std::chrono::steady_clock;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Everything the figures share, built once and on first use.
class Fixture {
public:
    int runs = 7;

    const Cls_管理 &book()
    {
        if (!m_book)
            m_book = MakeBook(MaxBookRecords, 20240601);
        return *m_book;
    }

    // The book as the file holds it; also written to a file for ReadBookBytes.
    const QByteArray &fileBytes()
    {
        if (m_bytes.isEmpty()) {
            m_bytes = EncodeBook(book());
            SaveBookToFile(bookPath(), book());
        }
        return m_bytes;
    }

    QString bookPath() { return dir().filePath(u"book.csv"_s); }
    QString savePath() { return dir().filePath(u"saved.csv"_s); }

    // The median time of body over the runs, in milliseconds. The body
    // returns whatever it built, so that freeing it is not timed.
    template <typename Body>
    double timeMs(Body body)
    {
        std::vector<double> times;
        body();     // warm-up: first touches of the converters and the page cache
        for (int i = 0; i < runs; ++i) {
            const auto start = Clock::now();
            auto result = body();
            const auto stop = Clock::now();
            times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
            (void)result;
        }
        return median(std::move(times));
    }

    // Memoised: a ratio reuses the medians printed before it.
    double value(const std::string &name);

private:
    QTemporaryDir &dir()
    {
        if (!m_dir) {
            m_dir.emplace(QDir::tempPath() + u"/yuzaribo-bench-XXXXXX"_s);
            if (!m_dir->isValid()) {
                std::fprintf(stderr, "cannot create a temporary folder\n");
                std::exit(2);
            }
        }
        return *m_dir;
    }

    std::unique_ptr<Cls_管理> m_book;
    QByteArray m_bytes;
    std::optional<QTemporaryDir> m_dir;
    std::map<std::string, double> m_values;
};

struct Figure {
    const char *name;
    int decimals;
    double (*measure)(Fixture &);
};

double floorMs(Fixture &fx)
{
    const QByteArray &bytes = fx.fileBytes();
    return fx.timeMs([&] { return DecodeCp932(bytes); });
}

// The bytes are already in memory: the reader's work, not the disk's.
double loadMs(Fixture &fx)
{
    const QByteArray &bytes = fx.fileBytes();
    return fx.timeMs([&] { return LoadBookFromBytes(bytes); });
}

double loadFileMs(Fixture &fx)
{
    fx.fileBytes();
    const QString path = fx.bookPath();
    return fx.timeMs([&] { return LoadBookFromBytes(ReadBookBytes(path)); });
}

double encodeMs(Fixture &fx)
{
    const Cls_管理 &book = fx.book();
    return fx.timeMs([&] { return EncodeBook(book); });
}

// Encoding and the atomic replacement of an existing file.
double saveMs(Fixture &fx)
{
    const Cls_管理 &book = fx.book();
    const QString path = fx.savePath();
    return fx.timeMs([&] {
        SaveBookToFile(path, book);
        return 0;
    });
}

// Not a time: the size of the generated file, to keep the book realistic.
double lineBytes(Fixture &fx)
{
    return double(fx.fileBytes().size()) / double(fx.fileBytes().count('\n'));
}

double loadOverFloor(Fixture &fx) { return fx.value("load_ms") / fx.value("floor_ms"); }
double saveOverFloor(Fixture &fx) { return fx.value("save_ms") / fx.value("floor_ms"); }

// The figures printed when none is named, in this order. Rows with
// inDefault = false run only when named.
struct Row {
    Figure figure;
    bool inDefault;
};

const std::vector<Row> &Figures()
{
    static const std::vector<Row> rows = {
        {{"floor_ms", 2, floorMs}, true},
        {{"load_ms", 2, loadMs}, true},
        {{"save_ms", 2, saveMs}, true},
        {{"load_over_floor", 2, loadOverFloor}, true},
        {{"save_over_floor", 2, saveOverFloor}, true},
        {{"load_file_ms", 2, loadFileMs}, false},
        {{"encode_ms", 2, encodeMs}, false},
        {{"line_bytes", 1, lineBytes}, false},
    };
    return rows;
}

const Figure *findFigure(const std::string &name)
{
    for (const Row &row : Figures()) {
        if (name == row.figure.name)
            return &row.figure;
    }
    return nullptr;
}

double Fixture::value(const std::string &name)
{
    if (auto it = m_values.find(name); it != m_values.end())
        return it->second;
    const Figure *f = findFigure(name);
    const double v = f->measure(*this);
    m_values.emplace(name, v);
    return v;
}

// A benchmark of a reader that loses records would be worthless: check the
// generated file loads back whole before timing anything.
bool CheckRoundTrip(Fixture &fx)
{
    const LoadedBook loaded = LoadBookFromBytes(fx.fileBytes());
    const Cls_管理 &book = fx.book();
    if (loaded.book->Count() != book.Count() || loaded.invalidSequences != 0) {
        std::fprintf(stderr, "the generated book does not load back: %d of %d records\n",
                     loaded.book->Count(), book.Count());
        return false;
    }
    for (int i = 1; i <= book.Count(); ++i) {
        if (!loaded.book->Item(i).sameFields(book.Item(i))) {
            std::fprintf(stderr, "record %d does not load back as written\n", i);
            return false;
        }
    }
    return true;
}

int usage()
{
    std::fprintf(stderr, "usage: yuzaribo-bench [--runs N] [--list] [figure...]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    // Keep freed memory in the process between runs. Otherwise glibc hands
    // the heap back after some runs and not others, and every later load
    // pays for touching 20 MB afresh; in a virtual machine that doubled or
    // quadrupled single figures at random. The figures measure our code.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);

    Fixture fx;
    std::vector<const Figure *> wanted;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            fx.runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--list") {
            for (const Row &row : Figures())
                std::printf("%s\n", row.figure.name);
            return 0;
        } else if (const Figure *f = findFigure(arg)) {
            wanted.push_back(f);
        } else {
            std::fprintf(stderr, "unknown figure: %s\n", arg.c_str());
            return usage();
        }
    }
    if (wanted.empty()) {
        for (const Row &row : Figures()) {
            if (row.inDefault)
                wanted.push_back(&row.figure);
        }
    }

    try {
        if (!CheckRoundTrip(fx))
            return 1;
        for (const Figure *f : wanted)
            std::printf("%s %.*f\n", f->name, f->decimals, fx.value(f->name));
        std::fflush(stdout);
    } catch (const AppError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

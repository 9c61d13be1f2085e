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

// ---------------------------------------------------------------- the book

// A fixed generator of our own: std:: distributions differ between standard
// libraries, and the book must be the same everywhere.
class Rng {
public:
    explicit Rng(quint64 seed) : m_state(seed) {}
    quint32 next()
    {
        // splitmix64
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return quint32((z ^ (z >> 31)) >> 32);
    }
    int below(int n) { return int(next() % quint32(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool percent(int p) { return below(100) < p; }
    template <size_t N>
    const char16_t *pick(const std::array<const char16_t *, N> &list) { return list[size_t(below(int(N)))]; }

private:
    quint64 m_state;
};

struct FamilyName { const char16_t *kanji; const char *romaji; };
struct GivenName { const char16_t *kanji; const char *romaji; };

constexpr std::array<FamilyName, 40> Families = {{
    {u"佐藤", "sato"}, {u"鈴木", "suzuki"}, {u"高橋", "takahashi"}, {u"田中", "tanaka"},
    {u"伊藤", "ito"}, {u"渡辺", "watanabe"}, {u"山本", "yamamoto"}, {u"中村", "nakamura"},
    {u"小林", "kobayashi"}, {u"加藤", "kato"}, {u"吉田", "yoshida"}, {u"山田", "yamada"},
    {u"佐々木", "sasaki"}, {u"山口", "yamaguchi"}, {u"松本", "matsumoto"}, {u"井上", "inoue"},
    {u"木村", "kimura"}, {u"林", "hayashi"}, {u"斎藤", "saito"}, {u"清水", "shimizu"},
    {u"山崎", "yamazaki"}, {u"森", "mori"}, {u"池田", "ikeda"}, {u"橋本", "hashimoto"},
    {u"阿部", "abe"}, {u"石川", "ishikawa"}, {u"山下", "yamashita"}, {u"中島", "nakajima"},
    {u"石井", "ishii"}, {u"小川", "ogawa"}, {u"前田", "maeda"}, {u"岡田", "okada"},
    {u"長谷川", "hasegawa"}, {u"藤田", "fujita"}, {u"後藤", "goto"}, {u"近藤", "kondo"},
    {u"村上", "murakami"}, {u"遠藤", "endo"}, {u"青木", "aoki"}, {u"髙橋", "takahashi"},
}};

constexpr std::array<GivenName, 32> Givens = {{
    {u"太郎", "taro"}, {u"花子", "hanako"}, {u"翔太", "shota"}, {u"美咲", "misaki"},
    {u"健一", "kenichi"}, {u"由美", "yumi"}, {u"大輔", "daisuke"}, {u"恵子", "keiko"},
    {u"誠", "makoto"}, {u"陽菜", "hina"}, {u"拓也", "takuya"}, {u"さくら", "sakura"},
    {u"浩二", "koji"}, {u"真由美", "mayumi"}, {u"直樹", "naoki"}, {u"久美子", "kumiko"},
    {u"蓮", "ren"}, {u"結衣", "yui"}, {u"和也", "kazuya"}, {u"明美", "akemi"},
    {u"悠斗", "yuto"}, {u"智子", "tomoko"}, {u"隆", "takashi"}, {u"綾香", "ayaka"},
    {u"修", "osamu"}, {u"千尋", "chihiro"}, {u"勇気", "yuki"}, {u"幸子", "sachiko"},
    {u"剛", "tsuyoshi"}, {u"奈々", "nana"}, {u"光太郎", "kotaro"}, {u"舞", "mai"},
}};

struct Place { const char16_t *prefecture; const char16_t *city; const char *areaCode; };

constexpr std::array<Place, 16> Places = {{
    {u"東京都", u"世田谷区", "03"}, {u"東京都", u"杉並区", "03"}, {u"東京都", u"八王子市", "042"},
    {u"神奈川県", u"横浜市港北区", "045"}, {u"神奈川県", u"川崎市中原区", "044"},
    {u"埼玉県", u"さいたま市浦和区", "048"}, {u"千葉県", u"船橋市", "047"},
    {u"大阪府", u"大阪市北区", "06"}, {u"大阪府", u"豊中市", "06"}, {u"京都府", u"京都市左京区", "075"},
    {u"愛知県", u"名古屋市千種区", "052"}, {u"兵庫県", u"神戸市灘区", "078"},
    {u"福岡県", u"福岡市中央区", "092"}, {u"北海道", u"札幌市中央区", "011"},
    {u"宮城県", u"仙台市青葉区", "022"}, {u"広島県", u"広島市中区", "082"},
}};

constexpr std::array<const char16_t *, 16> Towns = {
    u"桜丘", u"若葉町", u"本町", u"緑が丘", u"中央", u"旭町", u"栄町", u"東山",
    u"南台", u"西原", u"北沢", u"松ケ丘", u"日吉", u"新田", u"大和町", u"朝日",
};

constexpr std::array<const char16_t *, 12> Buildings = {
    u"サンハイツ", u"グランメゾン", u"コーポ", u"パークハウス", u"メゾン", u"レジデンス",
    u"ハイツ", u"シティコート", u"ライオンズマンション", u"ヴィラ", u"荘", u"グリーンヒルズ",
};

constexpr std::array<const char16_t *, 20> Memos = {
    u"大学の同期", u"年賀状のみ", u"元同僚（営業部）", u"叔父", u"テニス仲間", u"喪中 2023年",
    u"引越し予定あり", u"取引先・担当者", u"高校の恩師", u"ご近所", u"PTA役員", u"いとこ",
    u"結婚式に出席", u"お中元を送る", u"旧姓：田村", u"FAX兼用", u"会社の先輩", u"幼なじみ",
    u"サークルＯＢ", u"歯科医院",
};

constexpr std::array<const char *, 6> MailDomains = {
    "example.co.jp", "example.ne.jp", "mail.example.com", "example.jp", "docomo.example.jp",
    "ezweb.example.jp",
};

QString digits(Rng &rng, int count)
{
    QString s;
    for (int i = 0; i < count; ++i)
        s += QChar(u'0' + rng.below(10));
    return s;
}

std::unique_ptr<Cls_管理> MakeBook(int records, quint64 seed)
{
    Rng rng(seed);
    auto book = std::make_unique<Cls_管理>();
    book->reserve(records);
    for (int i = 1; i <= records; ++i) {
        const FamilyName &family = Families[size_t(rng.below(int(Families.size())))];
        const GivenName &given = Givens[size_t(rng.below(int(Givens.size())))];
        const Place &place = Places[size_t(rng.below(int(Places.size())))];

        const QString name = QString::fromUtf16(family.kanji)
                             + (rng.percent(70) ? u"\u3000"_s : u" "_s) + QString::fromUtf16(given.kanji);

        QString tel;
        if (rng.percent(40)) {
            tel = u"0"_s + QString::number(rng.between(7, 9)) + u"0-"_s + digits(rng, 4) + u'-' + digits(rng, 4);
        } else {
            const QString area = QString::fromLatin1(place.areaCode);
            tel = area + u'-' + digits(rng, 6 - int(area.size())) + u'-' + digits(rng, 4);
        }

        QString mail;
        if (!rng.percent(15)) {
            mail = QString::fromLatin1(given.romaji) + (rng.percent(50) ? u"."_s : u"_"_s)
                   + QString::fromLatin1(family.romaji);
            if (rng.percent(40))
                mail += QString::number(rng.between(1, 99));
            mail += u'@' + QString::fromLatin1(MailDomains[size_t(rng.below(int(MailDomains.size())))]);
        }

        const QString yubin = digits(rng, 3) + u'-' + digits(rng, 4);

        QString ju1 = QString::fromUtf16(place.prefecture) + QString::fromUtf16(place.city)
                      + QString::fromUtf16(rng.pick(Towns)) + QString::number(rng.between(1, 9)) + u'-'
                      + QString::number(rng.between(1, 30)) + u'-' + QString::number(rng.between(1, 25));

        QString ju2;
        if (rng.percent(55)) {
            ju2 = QString::fromUtf16(rng.pick(Towns)) + QString::fromUtf16(rng.pick(Buildings));
            if (rng.percent(50))
                ju2 += u' ';
            ju2 += QString::number(rng.between(1, 12)) + u"0"_s + QString::number(rng.between(1, 9))
                   + u"号"_s;
        }

        QString memo;
        if (rng.percent(45)) {
            memo = QString::fromUtf16(rng.pick(Memos));
            // Now and then a memo with a comma, which the file carries quoted.
            if (rng.percent(10))
                memo += u", "_s + QString::fromUtf16(rng.pick(Memos));
        }

        book->Add(name, tel, mail, yubin, ju1, ju2, memo, book.get(), -1, MakeRecordKey(i));
    }
    return book;
}

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

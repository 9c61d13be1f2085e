#include "bench/bench_book.h"

#include "model/record_keys.h"

#include <QString>
#include <array>

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

} // namespace

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

#include "files/cp932_codec.h"
#include "files/postal_check.h"
#include "files/postal_code_table.h"
#include "files/postal_codes.h"
#include "files/postal_dictionary_reader.h"
#include "model/app_error.h"

#include "file_helpers.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QString fixture(const QString &name)
{
    return QStringLiteral(YUZARIBO_TEST_DATA) + u"/postal/"_s + name;
}

// Entries as "address" or "office name @ address", in the order given.
QStringList describe(const QList<PostalEntry> &entries)
{
    QStringList out;
    for (const PostalEntry &e : entries)
        out << (e.office ? e.officeName + u" @ "_s + e.address : e.address);
    return out;
}

QStringList codesOf(const QList<PostalEntry> &entries)
{
    QStringList out;
    for (const int code : DistinctCodes(entries))
        out << FormatPostalCode(code);
    return out;
}

PostalCodeTable tableOf(const PostalSourcePaths &paths)
{
    PostalCodeTable table;
    LoadPostalSource(paths, table);
    return table;
}

const PostalCodeTable &dictionaryFixture()
{
    static const PostalCodeTable table = tableOf({{}, fixture(u"SKK-JISYO.zipcode"_s)});
    return table;
}

const PostalCodeTable &kenAllFixture()
{
    static const PostalCodeTable table = tableOf({fixture(u"KEN_ALL.CSV"_s), {}});
    return table;
}

} // namespace

class TestPostalCodes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void normalise_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        QTest::newRow("plain") << u"1000001"_s << 1000001;
        QTest::newRow("hyphen") << u"100-0001"_s << 1000001;
        QTest::newRow("leading zero") << u"001-0010"_s << 10010;
        QTest::newRow("mark and blanks") << u"〒 100-0001 "_s << 1000001;
        QTest::newRow("full-width") << u"〒１００－０００１"_s << 1000001;
        QTest::newRow("wide blank") << u"１００　０００１"_s << 1000001;
        QTest::newRow("prolonged mark") << u"100ー0001"_s << 1000001;
        QTest::newRow("minus sign") << u"100−0001"_s << 1000001;
        QTest::newRow("hyphen U+2010") << u"100‐0001"_s << 1000001;
        QTest::newRow("six digits") << u"100-001"_s << -1;
        QTest::newRow("eight digits") << u"100-00011"_s << -1;
        QTest::newRow("letter") << u"100-000a"_s << -1;
        QTest::newRow("other digits") << u"١٠٠٠٠٠١"_s << -1;
        QTest::newRow("empty") << QString() << -1;
        QTest::newRow("only marks") << u"〒 -"_s << -1;
    }

    void normalise()
    {
        QFETCH(QString, text);
        QFETCH(int, code);
        QCOMPARE(NormalisePostalCode(text), code);
        if (code >= 0)
            QCOMPARE(NormalisePostalCode(FormatPostalCode(code)), code);
    }

    void lookup_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one town") << u"1000001"_s << QStringList{u"東京都千代田区千代田"_s};
        QTest::newRow("municipality only") << u"100-0000"_s << QStringList{u"東京都千代田区"_s};
        QTest::newRow("two towns")
            << u"004-0000"_s << QStringList{u"北海道札幌市厚別区"_s, u"北海道札幌市清田区"_s};
        // The file's "−" comes back as "－" through the EUC-JP converter.
        QTest::newRow("residential before office")
            << u"〒１００－０００５"_s
            << QStringList{u"東京都千代田区丸の内"_s,
                           u"株式会社　丸の内見本 @ 東京都千代田区丸の内１丁目９－９"_s};
        QTest::newRow("two offices")
            << u"100-8799"_s
            << QStringList{u"株式会社　見本銀行　本店 @ 東京都千代田区大手町１丁目１番"_s,
                           u"見本証券　株式会社 @ 東京都千代田区大手町１丁目１番"_s};
        QTest::newRow("office line without address") << u"100-8800"_s << QStringList();
        QTest::newRow("unknown") << u"999-9999"_s << QStringList();
        QTest::newRow("not a code") << u"12345"_s << QStringList();
    }

    void lookup()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, expected);
        const PostalCodeTable &table = dictionaryFixture();
        const QList<PostalEntry> found = table.Lookup(code);
        QCOMPARE(describe(found), expected);
        for (const PostalEntry &e : found)
            QCOMPARE(e.code, NormalisePostalCode(code));
        QCOMPARE(table.Contains(NormalisePostalCode(code)), !expected.isEmpty());
    }

    void lookupAddress_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QStringList>("addresses");
        QTest::newRow("town")
            << u"東京都千代田区千代田１－１"_s << QStringList{u"100-0001"_s}
            << QStringList{u"東京都千代田区千代田"_s};
        QTest::newRow("longest prefix wins")
            << u"長野県北佐久郡軽井沢町軽井沢大字軽井沢１"_s << QStringList{u"389-0102"_s}
            << QStringList{u"長野県北佐久郡軽井沢町軽井沢大字"_s};
        QTest::newRow("municipality when no town matches")
            << u"東京都千代田区永田町１"_s << QStringList{u"100-0000"_s} << QStringList{u"東京都千代田区"_s};
        QTest::newRow("several codes")
            << u"北海道札幌市白石区南郷通１丁目"_s << QStringList{u"003-0022"_s, u"003-0023"_s}
            << QStringList{u"北海道札幌市白石区南郷通"_s, u"北海道札幌市白石区南郷通"_s};
        QTest::newRow("one of a code's towns")
            << u"北海道札幌市清田区平岡"_s << QStringList{u"004-0000"_s} << QStringList{u"北海道札幌市清田区"_s};
        QTest::newRow("ヶ for ケ")
            << u"千葉県鎌ヶ谷市富岡１"_s << QStringList{u"273-0101"_s} << QStringList{u"千葉県鎌ケ谷市富岡"_s};
        QTest::newRow("ケ for が")
            << u"東京都西東京市ひばりケ丘１"_s << QStringList{u"202-0001"_s}
            << QStringList{u"東京都西東京市ひばりが丘"_s};
        QTest::newRow("half-width digits")
            << u"北海道旭川市4区1条2丁目"_s << QStringList{u"071-1234"_s} << QStringList{u"北海道旭川市４区１条"_s};
        QTest::newRow("blanks")
            << u"東京都 千代田区　丸の内１"_s << QStringList{u"100-0005"_s} << QStringList{u"東京都千代田区丸の内"_s};
        QTest::newRow("offices take no part")
            << u"東京都千代田区大手町１丁目１番"_s << QStringList{u"100-0000"_s} << QStringList{u"東京都千代田区"_s};
        QTest::newRow("no prefix") << u"大阪府大阪市北区梅田"_s << QStringList() << QStringList();
        QTest::newRow("prefecture alone") << u"北海道"_s << QStringList() << QStringList();
        QTest::newRow("empty") << QString() << QStringList() << QStringList();
    }

    void lookupAddress()
    {
        QFETCH(QString, address);
        QFETCH(QStringList, codes);
        QFETCH(QStringList, addresses);
        const QList<PostalEntry> found = dictionaryFixture().LookupAddress(address);
        QCOMPARE(codesOf(found), codes);
        QCOMPARE(describe(found), addresses);
    }

    void skkReader()
    {
        PostalCodeTable::Builder builder;
        const PostalReadReport report =
            ReadSkkPostalDictionary(readFile(fixture(u"broken.skk"_s)), SkkDictionaryKind::Residential, builder);
        QCOMPARE(report.entries, 3);
        QCOMPARE(report.undecodableLines, 1);
        QCOMPARE(report.skippedLines, 6);
        QVERIFY(!report.timestamp.isValid());
        const PostalCodeTable table = builder.build();
        QCOMPARE(describe(table.Lookup(1000006)), QStringList{u"東京都千代田区大手町"_s});   // CRLF, annotation
        QCOMPARE(describe(table.Lookup(1000010)), QStringList{u"東京都千代田区"_s});         // no final line end
    }

    void skkOddInput_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("skipped");
        QTest::newRow("empty") << QByteArray() << 0 << 0;
        QTest::newRow("only line ends") << QByteArray("\n\r\n\n") << 0 << 0;
        QTest::newRow("long address") << "1000001 /" + QByteArray(2000, 'a') + "/a/\n" << 1 << 0;
        QTest::newRow("very long line") << "1000001 /" + QByteArray(200000, 'a') + "/\n1000002 /b/" << 1 << 1;
        QTest::newRow("slashes only") << "1000001 " + QByteArray(5000, '/') << 0 << 1;
        QTest::newRow("blank candidates") << QByteArray("1000001 / /\t/\n") << 0 << 1;
        QTest::newRow("NUL bytes") << QByteArray("1000001 /a\0b/\n", 14) << 1 << 0;
    }

    void skkOddInput()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, entries);
        QFETCH(int, skipped);
        PostalCodeTable::Builder builder;
        const PostalReadReport report = ReadSkkPostalDictionary(bytes, SkkDictionaryKind::Residential, builder);
        QCOMPARE(report.entries, entries);
        QCOMPARE(report.skippedLines, skipped);
        QCOMPARE(report.undecodableLines, 0);
        // Whatever was taken is found again by its own address.
        const PostalCodeTable table = builder.build();
        for (int i = 0; i < table.entryCount(); ++i)
            QVERIFY(!table.LookupAddress(table.entryAt(i).address).isEmpty());
    }

    void kenAll_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("以下に掲載がない場合") << u"0600000"_s << QStringList{u"北海道札幌市中央区"_s};
        QTest::newRow("parenthesis dropped, rows merged")
            << u"0600042"_s << QStringList{u"北海道札幌市中央区大通西"_s};
        QTest::newRow("town over three rows") << u"3890111"_s << QStringList{u"長野県北佐久郡軽井沢町長倉"_s};
        QTest::newRow("parenthesis never closed") << u"3890112"_s << QStringList{u"長野県北佐久郡軽井沢町長倉"_s};
        QTest::newRow("row after an unclosed one") << u"3890113"_s << QStringList{u"長野県北佐久郡軽井沢町発地"_s};
        QTest::newRow("code shared by towns")
            << u"3890102"_s << QStringList{u"長野県北佐久郡軽井沢町軽井沢"_s, u"長野県北佐久郡軽井沢町軽井沢東"_s};
        QTest::newRow("の次に番地がくる場合") << u"4840081"_s << QStringList{u"愛知県犬山市"_s};
        QTest::newRow("whole municipality 一円") << u"9071800"_s << QStringList{u"沖縄県八重山郡与那国町"_s};
        QTest::newRow("place called 一円") << u"5221321"_s << QStringList{u"滋賀県犬上郡多賀町一円"_s};
        QTest::newRow("wrong column count") << u"1000002"_s << QStringList();
        QTest::newRow("undecodable row") << u"1000003"_s << QStringList();
    }

    void kenAll()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, expected);
        const QByteArray cp932 = readFile(fixture(u"KEN_ALL.CSV"_s));
        // Japan Post's UTF-8 edition reads the same (the undecodable row aside).
        const QByteArray utf8 = "\xEF\xBB\xBF" + DecodeCp932(cp932).text.toUtf8();
        for (const QByteArray &bytes : {cp932, utf8}) {
            PostalCodeTable::Builder builder;
            const PostalReadReport report = ReadKenAll(bytes, builder);
            QCOMPARE(report.skippedLines, 1);
            QCOMPARE(report.undecodableLines, 1);
            const PostalCodeTable table = builder.build();
            QCOMPARE(describe(table.Lookup(code)), expected);
        }
    }

    void kenAllMunicipalityFromColumns()
    {
        const QList<PostalEntry> found = kenAllFixture().Lookup(u"3890111"_s);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found[0].address.first(found[0].municipalityLength), u"長野県北佐久郡軽井沢町"_s);
        QCOMPARE(codesOf(kenAllFixture().LookupAddress(u"長野県北佐久郡軽井沢町軽井沢東１２"_s)),
                 QStringList{u"389-0102"_s});
    }

    void cleanKenAllTown_data()
    {
        QTest::addColumn<QString>("town");
        QTest::addColumn<QString>("municipality");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << u"千代田"_s << u"千代田区"_s << u"千代田"_s;
        QTest::newRow("not listed") << u"以下に掲載がない場合"_s << u"千代田区"_s << QString();
        QTest::newRow("range") << u"大通西（１～１９丁目）"_s << u"札幌市中央区"_s << u"大通西"_s;
        QTest::newRow("except") << u"藤野（次のビルを除く）"_s << u"札幌市南区"_s << u"藤野"_s;
        QTest::newRow("half-width parenthesis") << u"藤野(1)"_s << u"札幌市南区"_s << u"藤野"_s;
        QTest::newRow("number follows") << u"犬山市の次に番地がくる場合"_s << u"犬山市"_s << QString();
        QTest::newRow("whole city") << u"奥尻町一円"_s << u"奥尻郡奥尻町"_s << QString();
        QTest::newRow("whole, named as the municipality") << u"三宅村一円"_s << u"三宅村"_s << QString();
        QTest::newRow("town named 一円") << u"一円"_s << u"犬上郡多賀町"_s << u"一円"_s;
        QTest::newRow("another place's 一円") << u"大字東一円"_s << u"犬上郡多賀町"_s << u"大字東一円"_s;
    }

    void cleanKenAllTown()
    {
        QFETCH(QString, town);
        QFETCH(QString, municipality);
        QFETCH(QString, expected);
        QCOMPARE(CleanKenAllTown(town, municipality), expected);
    }

    void kenAllRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("address book") << QByteArray("\x8e\x81\x96\xbc(3),a,b,c,d,e,f\r\nx,y,z,1,2,3,4\r\n");
        QTest::newRow("codes in the wrong column")
            << QByteArray("1000001,a,b,c,d,e,f,g,h,i,j,k,l,m,n\r\n").repeated(3);
        QTest::newRow("mostly broken")
            << QByteArray("13101,\"100  \",\"1000001\",a,b,c,d,e,f,0,0,0,0,0,0\r\n")
                   + QByteArray("x,y\r\n").repeated(2);
        QTest::newRow("unclosed quote") << QByteArray("13101,\"100  ,\"1000001\",a,b,c,d,e,f,0,0,0,0,0,0\r\n");
        QTest::newRow("over 64 MB") << QByteArray(MaxPostalFileBytes + 1, '\n');
    }

    void kenAllRefused()
    {
        QFETCH(QByteArray, bytes);
        PostalCodeTable::Builder builder;
        try {
            ReadKenAll(bytes, builder);
            QFAIL("accepted");
        } catch (const AppError &e) {
            QVERIFY(e.description().contains(u"KEN_ALL.CSV"_s));
            QVERIFY(e.description().endsWith(u'。'));
        }
    }

    void splitAddress_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("prefecture");
        QTest::addColumn<QString>("county");
        QTest::addColumn<QString>("municipality");
        QTest::newRow("ward of Tokyo") << u"東京都千代田区千代田"_s << u"東京都"_s << QString() << u"千代田区"_s;
        QTest::newRow("designated city") << u"北海道札幌市北区北十条西"_s << u"北海道"_s << QString() << u"札幌市北区"_s;
        QTest::newRow("town in a county")
            << u"長野県北佐久郡軽井沢町軽井沢"_s << u"長野県"_s << u"北佐久郡"_s << u"北佐久郡軽井沢町"_s;
        QTest::newRow("village") << u"沖縄県島尻郡渡名喜村１"_s << u"沖縄県"_s << u"島尻郡"_s << u"島尻郡渡名喜村"_s;
        QTest::newRow("city starting with 市") << u"千葉県市川市市川"_s << u"千葉県"_s << QString() << u"市川市"_s;
        QTest::newRow("市 inside") << u"三重県四日市市安島"_s << u"三重県"_s << QString() << u"四日市市"_s;
        QTest::newRow("町 inside") << u"東京都町田市原町田"_s << u"東京都"_s << QString() << u"町田市"_s;
        QTest::newRow("村 inside") << u"東京都武蔵村山市本町"_s << u"東京都"_s << QString() << u"武蔵村山市"_s;
        QTest::newRow("郡 inside") << u"奈良県大和郡山市北郡山町"_s << u"奈良県"_s << QString() << u"大和郡山市"_s;
        QTest::newRow("郡 at the end") << u"愛知県蒲郡市港町"_s << u"愛知県"_s << QString() << u"蒲郡市"_s;
        QTest::newRow("郡 in the town") << u"山口県山口市小郡下郷"_s << u"山口県"_s << QString() << u"山口市"_s;
        QTest::newRow("市 in the county")
            << u"北海道余市郡余市町黒川町"_s << u"北海道"_s << u"余市郡"_s << u"余市郡余市町"_s;
        QTest::newRow("市 in the town")
            << u"富山県中新川郡上市町若杉"_s << u"富山県"_s << u"中新川郡"_s << u"中新川郡上市町"_s;
        QTest::newRow("no prefecture") << u"札幌市中央区大通西"_s << QString() << QString() << u"札幌市中央区"_s;
        QTest::newRow("nothing known") << u"どこか"_s << QString() << QString() << QString();
    }

    void splitAddress()
    {
        QFETCH(QString, address);
        QFETCH(QString, prefecture);
        QFETCH(QString, county);
        QFETCH(QString, municipality);
        const AddressParts parts = SplitAddress(address);
        QCOMPARE(parts.prefecture.toString(), prefecture);
        QCOMPARE(parts.county.toString(), county);
        QCOMPARE(parts.municipality.toString(), municipality);
    }

    void check_data()
    {
        QTest::addColumn<QString>("yubin");
        QTest::addColumn<QString>("ju1");
        QTest::addColumn<PostalCheckResult>("expected");
        using R = PostalCheckResult;
        QTest::newRow("ok") << u"100-0001"_s << u"東京都千代田区千代田１－１"_s << R::Ok;
        QTest::newRow("ok, another town of the ward") << u"100-0001"_s << u"東京都千代田区丸の内１"_s << R::Ok;
        QTest::newRow("ok without prefecture") << u"100-0001"_s << u"千代田区千代田１"_s << R::Ok;
        QTest::newRow("ok without county") << u"389-0102"_s << u"長野県軽井沢町軽井沢１"_s << R::Ok;
        QTest::newRow("ok, town only") << u"389-0102"_s << u"軽井沢町軽井沢１"_s << R::Ok;
        QTest::newRow("ok, second town of the code") << u"004-0000"_s << u"北海道札幌市清田区平岡"_s << R::Ok;
        QTest::newRow("ok, office code") << u"100-8799"_s << u"東京都千代田区大手町１－１"_s << R::Ok;
        QTest::newRow("ok, ヶ") << u"２７３－０１０１"_s << u"千葉県鎌ヶ谷市富岡"_s << R::Ok;
        QTest::newRow("other ward") << u"225-0011"_s << u"神奈川県横浜市緑区"_s << R::Mismatch;
        QTest::newRow("other city") << u"100-0001"_s << u"東京都港区芝公園"_s << R::Mismatch;
        QTest::newRow("other town, same county") << u"389-0102"_s << u"長野県北佐久郡御代田町１"_s << R::Mismatch;
        QTest::newRow("prefecture alone") << u"100-0001"_s << u"東京都"_s << R::Mismatch;
        QTest::newRow("no code") << QString() << u"東京都千代田区千代田"_s << R::NoCode;
        QTest::newRow("blank code") << u"　"_s << u"東京都千代田区千代田"_s << R::NoCode;
        QTest::newRow("nothing at all") << QString() << QString() << R::NoCode;
        QTest::newRow("unknown code") << u"999-9999"_s << u"東京都千代田区千代田"_s << R::UnknownCode;
        QTest::newRow("not a code") << u"100-00"_s << u"東京都千代田区千代田"_s << R::UnknownCode;
        QTest::newRow("unknown code, no address") << u"999-9999"_s << QString() << R::UnknownCode;
        QTest::newRow("no address") << u"100-0001"_s << QString() << R::EmptyAddress;
        QTest::newRow("blank address") << u"100-0001"_s << u"　 "_s << R::EmptyAddress;
    }

    void check()
    {
        QFETCH(QString, yubin);
        QFETCH(QString, ju1);
        QFETCH(PostalCheckResult, expected);
        QCOMPARE(CheckPostalEntry(dictionaryFixture(), yubin, ju1), expected);
    }

    void checkDescriptions()
    {
        QSet<QString> seen;
        for (const PostalCheckResult r : {PostalCheckResult::Ok, PostalCheckResult::NoCode, PostalCheckResult::UnknownCode,
                                          PostalCheckResult::EmptyAddress, PostalCheckResult::Mismatch}) {
            const QString text = PostalCheckDescription(r);
            QVERIFY(text.endsWith(u'。'));
            seen.insert(text);
        }
        QCOMPARE(seen.size(), 5);
        QCOMPARE(PostalCheckDescription(PostalCheckResult::UnknownCode), u"郵便番号が見つかりません。"_s);
    }

    void sourceDebian()
    {
        PostalCodes codes({{}, fixture(u"SKK-JISYO.zipcode"_s)});
        QVERIFY(codes.isAvailable());
        QVERIFY(!codes.isLoaded());
        QCOMPARE(codes.Lookup(u"100-0001"_s).size(), 1);
        QVERIFY(codes.isLoaded());
        const PostalSourceInfo &info = codes.info();
        QCOMPARE(info.kind, PostalSourceKind::DebianDictionary);
        QCOMPARE(info.description, u"Debian の郵便番号辞書（skkdic-extra）"_s);
        QCOMPARE(info.date, QDate(2021, 3, 15));
        QCOMPARE(info.codeCount, 18);   // 17 residential, 2 office (one of them shared)
        QCOMPARE(info.undecodableLines, 0);
        QCOMPARE(info.skippedLines, 1);   // the office line without an address
        QCOMPARE(info.files.size(), 2);
        QVERIFY(info.notice.isEmpty());
    }

    void sourceKenAll()
    {
        PostalCodes codes({fixture(u"KEN_ALL.CSV"_s), fixture(u"SKK-JISYO.zipcode"_s)});
        const PostalSourceInfo &info = codes.info();
        QCOMPARE(info.kind, PostalSourceKind::KenAll);
        QCOMPARE(info.description, u"KEN_ALL.CSV"_s);
        QCOMPARE(info.date, QFileInfo(fixture(u"KEN_ALL.CSV"_s)).lastModified().date());
        QCOMPARE(info.undecodableLines, 1);
        QVERIFY(info.notice.isEmpty());
        QVERIFY(codes.Lookup(u"071-1234"_s).isEmpty());   // only in the dictionary
    }

    void sourceFallback_data()
    {
        QTest::addColumn<QString>("kenAllName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << u"none.csv"_s << QByteArray() << qint64(-1) << u"見つかりません"_s;
        QTest::newRow("not KEN_ALL") << u"book.csv"_s << QByteArray("a,b,c\r\n") << qint64(0) << u"形式ではありません"_s;
        QTest::newRow("too large") << u"big.csv"_s << QByteArray() << MaxPostalFileBytes + 1 << u"64 MB"_s;
    }

    void sourceFallback()
    {
        QFETCH(QString, kenAllName);
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, size);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(kenAllName);
        if (size >= 0) {
            writeFile(path, bytes);
            if (size > 0)
                QVERIFY(QFile(path).resize(size));   // sparse: nothing is written
        }
        PostalCodes codes({path, fixture(u"SKK-JISYO.zipcode"_s)});
        const PostalSourceInfo &info = codes.info();
        QCOMPARE(info.kind, PostalSourceKind::DebianDictionary);
        QVERIFY2(info.notice.contains(u"Debian の郵便番号辞書を使っています"_s), qPrintable(info.notice));
        QVERIFY2(info.notice.contains(reason), qPrintable(info.notice));
        QCOMPARE(codes.Lookup(u"100-0001"_s).size(), 1);
    }

    void sourceUnavailable()
    {
        QTemporaryDir dir;
        const PostalSourcePaths nothing{{}, {}};
        const PostalSourcePaths missing{dir.filePath(u"KEN_ALL.CSV"_s), dir.filePath(u"SKK-JISYO.zipcode"_s)};
        for (const PostalSourcePaths &paths : {nothing, missing}) {
            PostalCodes codes(paths);
            QVERIFY(!codes.isAvailable());
            QVERIFY(codes.table().isEmpty());
            QCOMPARE(codes.info().kind, PostalSourceKind::None);
            QVERIFY(codes.info().notice.contains(u"skkdic-extra"_s));
            QCOMPARE(codes.Check(u"100-0001"_s, u"東京都"_s), PostalCheckResult::UnknownCode);
        }
        QVERIFY(PostalUnavailableText().contains(u"skkdic-extra"_s));
    }

    void setPathsReloads()
    {
        PostalCodes codes({{}, fixture(u"SKK-JISYO.zipcode"_s)});
        QCOMPARE(codes.info().kind, PostalSourceKind::DebianDictionary);
        codes.setPaths({fixture(u"KEN_ALL.CSV"_s), fixture(u"SKK-JISYO.zipcode"_s)});
        QVERIFY(!codes.isLoaded());
        QCOMPARE(codes.info().kind, PostalSourceKind::KenAll);
    }

    // The dictionary Debian ships, when it is installed here.
    void realDictionary()
    {
        const QString path = DebianPostalDictionaryPath();
        if (path.isEmpty())
            QSKIP("skkdic-extra is not installed");
        PostalCodes codes(PostalSourcePaths::Default());
        const PostalSourceInfo &info = codes.info();
        QCOMPARE(info.kind, PostalSourceKind::DebianDictionary);
        QCOMPARE(info.undecodableLines, 0);
        QCOMPARE(info.skippedLines, 0);
        QVERIFY(info.date.isValid());
        QVERIFY2(info.codeCount > 140000, qPrintable(QString::number(info.codeCount)));

        QCOMPARE(describe(codes.Lookup(u"100-0001"_s)), QStringList{u"東京都千代田区千代田"_s});
        QCOMPARE(describe(codes.Lookup(u"060-0000"_s)), QStringList{u"北海道札幌市中央区"_s});
        QCOMPARE(describe(codes.Lookup(u"907-1800"_s)), QStringList{u"沖縄県八重山郡与那国町"_s});
        QVERIFY(describe(codes.Lookup(u"389-0102"_s)).contains(u"長野県北佐久郡軽井沢町軽井沢"_s));
        QCOMPARE(codesOf(codes.LookupAddress(u"東京都千代田区千代田１－１"_s)), QStringList{u"100-0001"_s});
        QCOMPARE(codes.Check(u"100-0001"_s, u"東京都千代田区千代田1-1"_s), PostalCheckResult::Ok);
        QCOMPARE(codes.Check(u"100-0001"_s, u"大阪府大阪市北区梅田"_s), PostalCheckResult::Mismatch);

        // Codes ending in 00 name a whole municipality: the split must take
        // all of it, and every entry must find its own prefecture.
        const PostalCodeTable &table = codes.table();
        int municipalities = 0;
        for (int i = 0; i < table.entryCount(); ++i) {
            const PostalEntry e = table.entryAt(i);
            const AddressParts parts = SplitAddress(e.address);
            QVERIFY2(!parts.prefecture.isEmpty() && !parts.municipality.isEmpty(), qPrintable(e.address));
            if (!e.office && e.code % 100 == 0) {
                QCOMPARE(parts.prefecture.size() + parts.municipality.size(), e.address.size());
                ++municipalities;
            }
        }
        QVERIFY(municipalities > 1500);
    }
};

QTEST_GUILESS_MAIN(TestPostalCodes)
#include "test_postal_codes.moc"

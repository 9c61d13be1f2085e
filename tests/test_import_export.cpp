#include "files/cp932_codec.h"
#include "files/export_csv.h"
#include "files/import_csv.h"
#include "files/import_source.h"
#include "files/vcard_reader.h"
#include "files/vcard_writer.h"
#include "model/address_book.h"
#include "model/record_keys.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(ImportFormat)
Q_DECLARE_METATYPE(ImportTarget)

namespace {

QString fixturePath(const QString &name)
{
    return QStringLiteral(YUZARIBO_TEST_DATA "/import/") + name;
}

QByteArray fixture(const QString &name)
{
    QFile f(fixturePath(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return f.readAll();
}

QByteArray cp932(const QString &text)
{
    const EncodedText e = EncodeCp932(text);
    if (!e.ok())
        qFatal("test text is not CP932");
    return e.bytes;
}

// The seven fields joined by "|", for compact expectations.
QString fieldsOf(const ImportedContact &c)
{
    return QStringList{c.name, c.tel, c.mail, c.postal, c.address1, c.address2, c.memo}.join(u'|');
}

QByteArray utf16le(const QString &text)
{
    QByteArray bytes;
    for (QChar c : text) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    return bytes;
}

void addEntry(Cls_管理 &book, const QStringList &f)
{
    book.Add(f[0], f[1], f[2], f[3], f[4], f[5], f[6], &book, -1, MakeRecordKey(book.Count() + 1));
}

QStringList fieldsOf(const Cls_住所 &r)
{
    QStringList out;
    for (int i = 0; i < FieldCount; ++i)
        out << r.field(Field(i));
    return out;
}

std::vector<ImportedContact> importCsv(const QByteArray &bytes)
{
    const ImportCsvTable table = ReadImportCsv(bytes);
    return ContactsFromCsv(table, GuessImportMapping(table.header));
}

// Values a writer must escape, quote or fold, and a reader must not trim.
const QList<QStringList> &AwkwardEntries()
{
    static const QList<QStringList> entries = {
        {u"山田　太郎"_s, u"03-1234-5678"_s, u"taro@example.jp"_s, u"156-0054"_s, u"東京都世田谷区桜丘1-2-3"_s,
         u"サンハイツ101"_s, u"大学の同期"_s},
        {u" 鈴木, 花子 "_s, u"\"03\";5678"_s, u"a\\b@example.jp"_s, u""_s, u"大阪府;大阪市\\北区,梅田\\"_s, u" "_s,
         u"メモ, \"引用\" ; 終わり\\n"_s},
        {u"𠮷野 家"_s, u"tel:0120-000-000"_s, u""_s, u""_s, u"𩸽町1-2"_s, u""_s, u"🍣\t寿司"_s},
        {u"ゆずりぼ"_s, u""_s, u"mailto:x@example.com"_s, u""_s, u"\uFEFF先頭の印"_s, u"ビル"_s, u"END:VCARD"_s},
        {u""_s, u""_s, u""_s, u"100-0001"_s, u""_s, u""_s, u""_s},
        {u"長い　メモ"_s, u""_s, u""_s, u""_s, u""_s, u""_s,
         u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん𠀋𡈽𡌛"_s
             + u"abc,def;ghi\\jkl 0123456789 いろはにほへとちりぬるをわかよたれそつねならむ"_s},
    };
    return entries;
}

} // namespace

class TestImportExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // ------------------------------------------------------------ vCard reading

    void readsVCardFixtures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QStringList>("dropped");

        QTest::newRow("Google 3.0, folded note, extra phone and mail")
            << u"google_contacts_3.0.vcf"_s << 0
            << u"山田 太郎|090-1234-5678|taro.yamada@example.jp|156-0054|東京都世田谷区桜丘1-2-3|サンハイツ101|"
               "大学の同期 年賀状は毎年、元日に届くように早めに出すこと。住所が変わったら連絡をもらう約束。"_s
            << QStringList{u"2件目以降の電話番号"_s, u"2件目以降のメールアドレス"_s, u"ニックネーム"_s,
                           u"会社名"_s, u"誕生日"_s};
        QTest::newRow("Google 3.0, escaped comma, semicolon and backslash")
            << u"google_contacts_3.0.vcf"_s << 1
            << u"鈴木 花子|06-1111-2222|hanako.suzuki@example.jp|530-0001|大阪府大阪市北区梅田2-3-4||"
               "テニス仲間, 火曜; 木曜\\夜"_s
            << QStringList();
        QTest::newRow("iPhone 3.0, preferred phone, mail and address, photo")
            << u"iphone_3.0.vcf"_s << 0
            << u"佐藤 花子|090-1111-2222|hanako.sato@example.jp|223-0061|"
               "神奈川県横浜市港北区日吉1-2-3 グリーンヒルズ202||"_s
            << QStringList{u"2件目以降の電話番号"_s, u"2件目以降のメールアドレス"_s, u"2件目以降の住所"_s,
                           u"ふりがな"_s, u"写真"_s};
        QTest::newRow("iPhone 3.0, company card")
            << u"iphone_3.0.vcf"_s << 1 << u"株式会社サンプル商事|03-9999-0000|||||"_s << QStringList();
        QTest::newRow("Android 2.1, quoted-printable UTF-8 with soft line breaks")
            << u"android_2.1.vcf"_s << 0
            << u"高橋 健一|090-2222-3333|kenichi@example.jp|180-0001|東京都武蔵野市緑が丘1-2-3|メゾン緑が丘305号室|"
               "テニス仲間 毎週土曜日の朝、市民コートで会う。"_s
            << QStringList{u"2件目以降の電話番号"_s, u"ふりがな"_s, u"誕生日"_s, u"写真"_s};
        QTest::newRow("Android 2.1, card after a base64 photo")
            << u"android_2.1.vcf"_s << 1 << u"John Smith|+81-3-0000-1234|john.smith@example.com||||"_s
            << QStringList();
        QTest::newRow("feature phone 2.1, Shift_JIS, N only, bare PREF")
            << u"feature_phone_2.1_sjis.vcf"_s << 0
            << u"田中　浩二|086-444-5555|koji@docomo.example.jp|700-0822|岡山県岡山市北区表町1-2-3||金曜に連絡～夜は不可"_s
            << QStringList{u"2件目以降の電話番号"_s, u"ふりがな"_s};
        // 表 and ソ end in the byte of a backslash in Shift_JIS.
        QTest::newRow("feature phone 2.1, backslash byte before a semicolon")
            << u"feature_phone_2.1_sjis.vcf"_s << 1 << u"表　ソウタ|0120-000-111|||||"_s << QStringList();
        QTest::newRow("Thunderbird 4.0, PREF=1, LF line ends")
            << u"thunderbird_4.0.vcf"_s << 0
            << u"伊藤 誠|080-5555-6666|makoto.ito@example.com|460-0008|愛知県名古屋市中区栄4-5-6||サークルOB, 幹事"_s
            << QStringList{u"2件目以降の電話番号"_s, u"2件目以降のメールアドレス"_s, u"誕生日"_s, u"ホームページ"_s};
        QTest::newRow("Thunderbird 4.0, tel URI, quoted colon in a parameter, post office box")
            << u"thunderbird_4.0.vcf"_s << 1
            << u"Emily Brown|+1-555-0100||62701|ILSpringfield100 Example Ave.|Suite 3 PO Box 12|"_s
            << QStringList{u"住所の国・地域"_s};
    }

    void readsVCardFixtures()
    {
        QFETCH(QString, file);
        QFETCH(int, index);
        QFETCH(QString, fields);
        QFETCH(QStringList, dropped);
        const VCardReadResult result = ReadVCards(fixture(file));
        QCOMPARE(result.unreadableCards, 0);
        QCOMPARE(result.contacts.size(), size_t(2));
        const ImportedContact &c = result.contacts[size_t(index)];
        QCOMPARE(fieldsOf(c), fields);
        QCOMPARE(c.dropped, dropped);
    }

    void readsBrokenAndOddVCards_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("contacts");
        QTest::addColumn<int>("unreadable");

        QTest::newRow("no END at the end of the file")
            << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\n") << QStringList() << 1;
        QTest::newRow("next card begins before END")
            << QByteArray("BEGIN:VCARD\nFN:A\nBEGIN:VCARD\nFN:B\nEND:VCARD\n") << QStringList{u"B||||||"_s} << 1;
        QTest::newRow("garbage line spoils only its card")
            << QByteArray("BEGIN:VCARD\nFN:A\nEND:VCARD\nBEGIN:VCARD\n\x01\x02 junk: here\nFN:B\nEND:VCARD\n"
                          "BEGIN:VCARD\nFN:C\nEND:VCARD\n")
            << QStringList{u"A||||||"_s, u"C||||||"_s} << 1;
        QTest::newRow("text outside cards is ignored")
            << QByteArray("some notes\n\nBEGIN:VCARD\nFN:A\nEND:VCARD\nEND:VCARD\ntrailing")
            << QStringList{u"A||||||"_s} << 0;
        QTest::newRow("card without FN or N is kept without a name")
            << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nTEL:03-0000-0000\r\nEND:VCARD\r\n")
            << QStringList{u"|03-0000-0000|||||"_s} << 0;
        QTest::newRow("ORG names a card without FN or N")
            << QByteArray("BEGIN:VCARD\nVERSION:3.0\nORG:Example Inc.;Sales\nEND:VCARD\n")
            << QStringList{u"Example Inc.||||||"_s} << 0;
        QTest::newRow("soft break before the next card")
            << QByteArray("BEGIN:VCARD\nFN;QUOTED-PRINTABLE:A=\nBEGIN:VCARD\nFN:B\nEND:VCARD\n")
            << QStringList{u"B||||||"_s} << 1;
        QTest::newRow("invalid quoted-printable is kept as written, END not swallowed")
            << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nFN;ENCODING=QUOTED-PRINTABLE:=ZZ=4=\r\nEND:VCARD\r\n")
            << QStringList{u"=ZZ=4||||||"_s} << 0;
        QTest::newRow("invalid UTF-8 becomes replacement characters")
            << QByteArray("BEGIN:VCARD\nVERSION:3.0\nFN;CHARSET=UTF-8:\xff\xfe" "A\nEND:VCARD\n")
            << QStringList{u"\uFFFD\uFFFDA||||||"_s} << 0;
        QTest::newRow("Shift_JIS without CHARSET")
            << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nFN:") + cp932(u"山田"_s) + QByteArray("\r\nEND:VCARD\r\n")
            << QStringList{u"山田||||||"_s} << 0;
        QTest::newRow("ISO-8859-1, a charset through ICU, an unknown charset")
            << QByteArray("BEGIN:VCARD\nVERSION:2.1\nFN;CHARSET=ISO-8859-1:Jos\xe9\nNOTE;CHARSET=EUC-JP:\xa4\xa2\n"
                          "TEL;CHARSET=NO-SUCH-CHARSET:1\nEND:VCARD\n")
            << QStringList{u"José|1|||||あ"_s} << 0;
        QTest::newRow("fold inside a UTF-8 character")
            << QByteArray("BEGIN:VCARD\r\nFN:\xe5\xb1\xb1\xe7\r\n \x94\xb0\r\nEND:VCARD\r\n")
            << QStringList{u"山田||||||"_s} << 0;
        QTest::newRow("folded name and parameters")
            << QByteArray("BEGIN:VCARD\nFN:A\nTEL;TYPE=HOME\nTEL;TY\n PE=CELL;TYPE=pr\n ef:2\nEND:VCARD\n")
            << QStringList{u"A|2|||||"_s} << 0;
        QTest::newRow("fax is not the phone number")
            << QByteArray("BEGIN:VCARD\nFN:A\nTEL;TYPE=FAX:1\nTEL;TYPE=HOME:2\nEND:VCARD\n")
            << QStringList{u"A|2|||||"_s} << 0;
        QTest::newRow("pref in a TYPE list")
            << QByteArray("BEGIN:VCARD\nFN:A\nTEL;TYPE=HOME:1\nTEL;TYPE=CELL,VOICE,PREF:2\nEND:VCARD\n")
            << QStringList{u"A|2|||||"_s} << 0;
        QTest::newRow("lowest PREF wins")
            << QByteArray("BEGIN:VCARD\nVERSION:4.0\nFN:A\nTEL;PREF=2:1\nTEL;PREF=1:2\nTEL;PREF=1:3\nEND:VCARD\n")
            << QStringList{u"A|2|||||"_s} << 0;
        QTest::newRow("nested 2.1 AGENT card is skipped")
            << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nFN:A\r\nAGENT:\r\nBEGIN:VCARD\r\nVERSION:2.1\r\n"
                          "FN:Secretary\r\nTEL:9\r\nEND:VCARD\r\nTEL:1\r\nEND:VCARD\r\n")
            << QStringList{u"A|1|||||"_s} << 0;
        QTest::newRow("a note's raw line breaks, not folded")
            << QByteArray("BEGIN:VCARD\nFN:A\nNOTE:line one\nline two\nEND:VCARD\n")
            << QStringList{u"A||||||line one line two"_s} << 0;
        QTest::newRow("lone CR line ends, BOM, lower case")
            << QByteArray("\xEF\xBB\xBF\rbegin:vcard\rfn:A\rtel:1\rend:vcard\r") << QStringList{u"A|1|||||"_s} << 0;
        QTest::newRow("UTF-16 file")
            << utf16le(u"\uFEFFBEGIN:VCARD\nFN:山田\nEND:VCARD\n"_s) << QStringList{u"山田||||||"_s} << 0;
        QTest::newRow("nothing but garbage") << QByteArray("\x00\xff\xfe:::\n;;;\n", 11) << QStringList() << 0;
    }

    void readsBrokenAndOddVCards()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, contacts);
        QFETCH(int, unreadable);
        const VCardReadResult result = ReadVCards(bytes);
        QStringList got;
        for (const ImportedContact &c : result.contacts)
            got << fieldsOf(c);
        QCOMPARE(got, contacts);
        QCOMPARE(result.unreadableCards, unreadable);
    }

    // Ten megabytes in shapes a quadratic reader would take minutes over.
    void readsLongInputInOnePass_data()
    {
        const qsizetype size = 10 * 1024 * 1024;
        const QByteArray begin = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\n";
        const QByteArray end = "TEL:1\r\nEND:VCARD\r\n";
        QByteArray folded;
        for (qsizetype i = 0; i < size / 76; ++i)
            folded += " AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA\r\n";
        QByteArray softBreaks;
        for (qsizetype i = 0; i < size / 4; ++i)
            softBreaks += "=\r\n";

        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("one 10 MB photo line") << begin + "PHOTO;ENCODING=b:" + QByteArray(size, 'A') + "\r\n" + end;
        QTest::newRow("folded 10 MB photo") << begin + "PHOTO;ENCODING=b:" + "\r\n" + folded + end;
        QTest::newRow("2.1 base64 lines without folding")
            << begin + "PHOTO;ENCODING=BASE64:AAAA\r\n" + (QByteArray(size / 100, 'A') + "\r\n").repeated(100) + "\r\n"
                   + end;
        QTest::newRow("10 MB without a colon, folded") << begin + "X-JUNK" + "\r\n" + folded + end;
        QTest::newRow("quoted-printable soft breaks") << begin + "X-A;ENCODING=QUOTED-PRINTABLE:" + softBreaks + "\r\n" + end;
        QTest::newRow("CR-only lines") << begin + QByteArray(size, '\r') + end;
        QTest::newRow("unclosed quote in parameters")
            << begin + "X-A;X-B=\"" + QByteArray(size, ':') + "\r\n" + end;
    }

    void readsLongInputInOnePass()
    {
        QFETCH(QByteArray, bytes);
        QElapsedTimer timer;
        timer.start();
        const VCardReadResult result = ReadVCards(bytes);
        QVERIFY2(timer.elapsed() < 5000, qPrintable(u"%1 ms"_s.arg(timer.elapsed())));
        QCOMPARE(result.unreadableCards, 0);
        QCOMPARE(result.contacts.size(), size_t(1));
        QCOMPARE(result.contacts[0].name + u'|' + result.contacts[0].tel, u"A|1"_s);
    }

    // ------------------------------------------------------------ CSV reading

    void readsCsvFixtures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QStringList>("dropped");

        QTest::newRow("Google, old header, ::: between values")
            << u"google_contacts.csv"_s << 0
            << u"山田 太郎|090-1234-5678|taro@example.jp|156-0054|東京都世田谷区桜丘1-2-3|サンハイツ101|大学の同期 年賀状は毎年"_s
            << QStringList{u"2件目以降の電話番号"_s, u"2件目以降のメールアドレス"_s};
        QTest::newRow("Google, family and given name, doubled quotes")
            << u"google_contacts.csv"_s << 1 << u"鈴木　花子||hanako.suzuki@example.jp||||口癖は\"よろしく\""_s
            << QStringList();
        QTest::newRow("Google, new header, post office box")
            << u"google_contacts_new.csv"_s << 0
            << u"井上　美咲|075-123-4567|misaki@example.jp|606-8267|京都府京都市左京区北白川1-2|私書箱7号|PTA役員"_s
            << QStringList();
        QTest::newRow("Outlook in CP932, home before business")
            << u"outlook.csv"_s << 0
            << u"小林　恵子|047-777-8888|keiko@example.jp|273-0001|千葉県船橋市旭町5-6-7|コーポ旭201|お中元を送る"_s
            << QStringList{u"2件目以降の電話番号"_s, u"2件目以降の住所"_s};
        QTest::newRow("spreadsheet in CP932 with Japanese headings")
            << u"spreadsheet_cp932.csv"_s << 0
            << u"中村 陽菜|011-222-3333|hina@example.jp|060-0001|北海道札幌市中央区北一条西1-2-3|メゾン北一条305|いとこ, 札幌在住"_s
            << QStringList{u"2件目以降の電話番号"_s};
        QTest::newRow("spreadsheet, empty phone column, wave dash")
            << u"spreadsheet_cp932.csv"_s << 1
            << u"木村 拓也|090-3333-4444||980-0811|宮城県仙台市青葉区一番町4-5-6||連絡は10時～18時"_s << QStringList();
        QTest::newRow("tab-separated")
            << u"tab_separated.tsv"_s << 0
            << u"松本　直樹|092-333-4444|naoki@example.jp|810-0001|福岡県福岡市中央区天神1-2-3||会社の先輩\t(元)"_s
            << QStringList();
        QTest::newRow("our own header, UTF-8 with BOM")
            << u"ours_utf8_bom.csv"_s << 0
            << u"清水 由美|03-5555-1111|yumi@example.jp|150-0001|東京都渋谷区神宮前1-2-3|ハイツ神宮前 2,3号室|\"幼なじみ\""_s
            << QStringList();
    }

    void readsCsvFixtures()
    {
        QFETCH(QString, file);
        QFETCH(int, index);
        QFETCH(QString, fields);
        QFETCH(QStringList, dropped);
        const std::vector<ImportedContact> contacts = importCsv(fixture(file));
        QVERIFY(size_t(index) < contacts.size());
        QCOMPARE(fieldsOf(contacts[size_t(index)]), fields);
        QCOMPARE(contacts[size_t(index)].dropped, dropped);
    }

    void detectsCsvEncodingAndSeparator_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<int>("rows");
        QTest::newRow("Google") << u"google_contacts.csv"_s << u"UTF-8"_s << QChar(u',') << 2;
        QTest::newRow("Outlook") << u"outlook.csv"_s << u"Shift_JIS（CP932）"_s << QChar(u',') << 1;
        QTest::newRow("spreadsheet") << u"spreadsheet_cp932.csv"_s << u"Shift_JIS（CP932）"_s << QChar(u',') << 2;
        QTest::newRow("tabs") << u"tab_separated.tsv"_s << u"UTF-8"_s << QChar(u'\t') << 1;
        QTest::newRow("BOM") << u"ours_utf8_bom.csv"_s << u"UTF-8（BOM付き）"_s << QChar(u',') << 1;
    }

    void detectsCsvEncodingAndSeparator()
    {
        QFETCH(QString, file);
        QFETCH(QString, encoding);
        QFETCH(QChar, separator);
        QFETCH(int, rows);
        const ImportCsvTable table = ReadImportCsv(fixture(file));
        QCOMPARE(table.encodingName, encoding);
        QCOMPARE(table.separator, separator);
        QCOMPARE(int(table.rows.size()), rows);
        QVERIFY(!table.header.first().startsWith(u'\uFEFF'));
    }

    void readsCsvFields_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<QStringList>>("rows");   // the header first
        QTest::addColumn<bool>("unterminated");

        using Rows = QList<QStringList>;
        QTest::newRow("quotes, doubled quotes, line breaks inside quotes")
            << QByteArray("a,b\r\n\"x,1\",\"say \"\"hi\"\"\"\r\n\"line\r\nbreak\",\"\"\r\n")
            << Rows{{u"a"_s, u"b"_s}, {u"x,1"_s, u"say \"hi\""_s}, {u"line\r\nbreak"_s, u""_s}} << false;
        QTest::newRow("blank lines skipped, blanks kept, no final line end")
            << QByteArray("a,b\n\n  x , y\n\r\nlast,") << Rows{{u"a"_s, u"b"_s}, {u"  x "_s, u" y"_s}, {u"last"_s, u""_s}}
            << false;
        QTest::newRow("CR line ends, short and long rows")
            << QByteArray("a,b,c\rx\ry,z,w,v\r") << Rows{{u"a"_s, u"b"_s, u"c"_s}, {u"x"_s}, {u"y"_s, u"z"_s, u"w"_s, u"v"_s}}
            << false;
        QTest::newRow("quote inside a field and text after a closing quote are data")
            << QByteArray("a,b\nx\"y\",\"q\"z\n") << Rows{{u"a"_s, u"b"_s}, {u"x\"y\""_s, u"qz"_s}} << false;
        QTest::newRow("a quoted empty line is a row")
            << QByteArray("a\n\"\"\n") << Rows{{u"a"_s}, {u""_s}} << false;
        QTest::newRow("unclosed quote runs to the end and is reported")
            << QByteArray("a,b\nx,\"open\ny,z\n") << Rows{{u"a"_s, u"b"_s}, {u"x"_s, u"open\ny,z\n"_s}} << true;
        QTest::newRow("tab-separated with commas in values")
            << QByteArray("氏名\t住所\n山田\t\"東京都,千代田区\"\n") << Rows{{u"氏名"_s, u"住所"_s}, {u"山田"_s, u"東京都,千代田区"_s}}
            << false;
    }

    void readsCsvFields()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QStringList>, rows);
        QFETCH(bool, unterminated);
        const ImportCsvTable table = ReadImportCsv(bytes);
        QList<QStringList> got{table.header};
        for (const QStringList &row : table.rows)
            got << row;
        QCOMPARE(got, rows);
        QCOMPARE(table.unterminatedQuote, unterminated);
    }

    void guessesColumns_data()
    {
        QTest::addColumn<QString>("heading");
        QTest::addColumn<ImportTarget>("target");
        QTest::addColumn<int>("set");
        using T = ImportTarget;
        // Google Contacts
        QTest::newRow("Google Name") << u"Name"_s << T::Name << 1;
        QTest::newRow("Google Additional Name") << u"Additional Name"_s << T::GivenName << 1;
        QTest::newRow("Google Phone 2 - Value") << u"Phone 2 - Value"_s << T::Tel << 2;
        QTest::newRow("Google Phone 1 - Label") << u"Phone 1 - Label"_s << T::Ignore << 1;
        QTest::newRow("Google E-mail 1 - Value") << u"E-mail 1 - Value"_s << T::Mail << 1;
        QTest::newRow("Google Address 2 - City") << u"Address 2 - City"_s << T::Locality << 2;
        QTest::newRow("Google Address 1 - Extended Address") << u"Address 1 - Extended Address"_s << T::Address2 << 1;
        QTest::newRow("Google Address 1 - Formatted") << u"Address 1 - Formatted"_s << T::Ignore << 1;
        QTest::newRow("Google Given Name Yomi") << u"Given Name Yomi"_s << T::Ignore << 1;
        // Outlook
        QTest::newRow("Outlook Last Name") << u"Last Name"_s << T::FamilyName << 1;
        QTest::newRow("Outlook Primary Phone") << u"Primary Phone"_s << T::Tel << 1;
        QTest::newRow("Outlook Business Phone") << u"Business Phone"_s << T::Tel << 5;
        QTest::newRow("Outlook Business Fax") << u"Business Fax"_s << T::Ignore << 1;
        QTest::newRow("Outlook E-mail 2 Address") << u"E-mail 2 Address"_s << T::Mail << 2;
        QTest::newRow("Outlook E-mail Display Name") << u"E-mail Display Name"_s << T::Ignore << 1;
        QTest::newRow("Outlook Home Street") << u"Home Street"_s << T::Street << 1;
        QTest::newRow("Outlook Home Street 2") << u"Home Street 2"_s << T::Address2 << 1;
        QTest::newRow("Outlook Business Postal Code") << u"Business Postal Code"_s << T::Postal << 2;
        QTest::newRow("Outlook Other Country/Region") << u"Other Country/Region"_s << T::Country << 3;
        QTest::newRow("Outlook Home Address PO Box") << u"Home Address PO Box"_s << T::PoBox << 1;
        // Japanese headings
        QTest::newRow("郵便番号 (自宅)") << u"郵便番号 (自宅)"_s << T::Postal << 1;
        QTest::newRow("番地 2 (会社)") << u"番地 2 (会社)"_s << T::Address2 << 2;
        QTest::newRow("自宅電話") << u"自宅電話"_s << T::Tel << 1;
        QTest::newRow("会社名 is not a given name") << u"会社名"_s << T::Ignore << 1;
        QTest::newRow("電話番号２ in full width") << u"電話番号２"_s << T::Tel << 1;
        QTest::newRow("ｅメール in full width") << u"ｅメール"_s << T::Mail << 1;
        QTest::newRow("住所１") << u"住所１"_s << T::Address1 << 1;
        QTest::newRow("都道府県") << u"都道府県"_s << T::Region << 1;
        QTest::newRow("建物名") << u"建物名"_s << T::Address2 << 1;
        QTest::newRow("備考") << u"備考"_s << T::Memo << 1;
        QTest::newRow("姓") << u"姓"_s << T::FamilyName << 1;
        QTest::newRow("名") << u"名"_s << T::GivenName << 1;
        QTest::newRow("フリガナ") << u"フリガナ"_s << T::Ignore << 1;
        // Ours, and the first heading of the book's own file
        QTest::newRow("〒") << u"〒"_s << T::Postal << 1;
        QTest::newRow("一言メモ") << u"一言メモ"_s << T::Memo << 1;
        QTest::newRow("氏名(123)") << u"氏名(123)"_s << T::Name << 1;
    }

    void guessesColumns()
    {
        QFETCH(QString, heading);
        QFETCH(ImportTarget, target);
        QFETCH(int, set);
        const ImportMapping mapping = GuessImportMapping({heading});
        QCOMPARE(mapping.size(), size_t(1));
        QCOMPARE(mapping[0].target, target);
        QCOMPARE(mapping[0].set, set);
    }

    // A mapping set by hand, as the mapping window will: candidates go by
    // set before column, address parts of one set stay together, only
    // Google's columns split at " ::: ", rows with nothing mapped are left out.
    void appliesAMappingByHand()
    {
        ImportCsvTable table;
        table.header = {u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, u"f"_s};
        table.rows = {
            {u"03-1"_s, u"090-2 ::: 3"_s, u"Springfield"_s, u"USA"_s, u"横浜市"_s, u"x"_s},
            {u""_s, u""_s, u""_s, u""_s, u""_s, u"only ignored"_s},
            {u""_s, u"090-3"_s},
        };
        using T = ImportTarget;
        const ImportMapping mapping = {{T::Tel, 2}, {T::Tel, 1}, {T::Locality, 1}, {T::Country, 1},
                                       {T::Locality, 2}, {T::Ignore, 1}};
        const std::vector<ImportedContact> contacts = ContactsFromCsv(table, mapping);
        QCOMPARE(contacts.size(), size_t(2));
        QCOMPARE(fieldsOf(contacts[0]), u"|090-2 ::: 3|||Springfield||"_s);
        QCOMPARE(contacts[0].dropped,
                 (QStringList{u"2件目以降の電話番号"_s, u"2件目以降の住所"_s, u"住所の国・地域"_s}));
        QCOMPARE(fieldsOf(contacts[1]), u"|090-3|||||"_s);
        QVERIFY(contacts[1].dropped.isEmpty());
    }

    // ------------------------------------------------------------ recognising the source

    void recognisesFixturesByContent()
    {
        const QStringList files = QDir(fixturePath(QString())).entryList(QDir::Files);
        QVERIFY(files.size() >= 11);
        for (const QString &file : files) {
            const ImportFormat expected = file.endsWith(u".vcf"_s) ? ImportFormat::VCard : ImportFormat::Csv;
            QCOMPARE(RecogniseImportFormat(fixture(file), u"download.bin"_s), expected);
        }
    }

    void recognisesFormat_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<ImportFormat>("format");
        QTest::newRow("vCard after BOM and blank lines, named .csv")
            << QByteArray("\xEF\xBB\xBF\r\n  \r\nbegin:vcard\r\n") << u"a.csv"_s << ImportFormat::VCard;
        QTest::newRow("CSV named .vcf") << QByteArray("Name,Phone\r\n") << u"a.vcf"_s << ImportFormat::Csv;
        QTest::newRow("UTF-16 CSV") << utf16le(u"\uFEFFa,b\r\n"_s) << u"a"_s << ImportFormat::Csv;
        QTest::newRow("one column, named .csv") << QByteArray("氏名\n山田\n") << u"a.CSV"_s << ImportFormat::Csv;
        QTest::newRow("broken start, named .vcf") << QByteArray("X\nBEGIN:VCARD\n") << u"a.vcf"_s << ImportFormat::VCard;
        QTest::newRow("plain text") << QByteArray("hello\n") << u"a.dat"_s << ImportFormat::Unknown;
        QTest::newRow("binary, named .csv") << QByteArray("PK\x03\x04\0\0,", 7) << u"a.csv"_s << ImportFormat::Unknown;
        QTest::newRow("empty") << QByteArray() << u"a"_s << ImportFormat::Unknown;
    }

    void recognisesFormat()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fileName);
        QFETCH(ImportFormat, format);
        QCOMPARE(RecogniseImportFormat(bytes, fileName), format);
    }

    void refusesFilesBeforeReading()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString big = dir.filePath(u"big.vcf"_s);
        QFile f(big);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(MaxImportFileBytes));     // sparse: no 64 MB written
        f.close();
        QVERIFY(ImportFileProblem(big).isEmpty());
        QVERIFY(f.resize(MaxImportFileBytes + 1));
        QVERIFY(ImportFileProblem(big).contains(u"64MB"_s));
        const ImportFileBytes refused = ReadImportFile(big);
        QVERIFY(!refused.ok() && refused.bytes.isEmpty());

        QVERIFY(ReadImportFile(dir.filePath(u"missing.vcf"_s)).problem.contains(u"見つかりません"_s));
        QVERIFY(!ReadImportFile(dir.path()).ok());
        const ImportFileBytes read = ReadImportFile(fixturePath(u"iphone_3.0.vcf"_s));
        QVERIFY(read.ok());
        QCOMPARE(read.bytes, fixture(u"iphone_3.0.vcf"_s));
    }

    // ------------------------------------------------------------ writing

    void writesExactOutput_data()
    {
        QTest::addColumn<int>("format");    // 0 vCard, 1 our CSV, 2 Google CSV
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("vCard")
            << 0
            << (u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:山田　太郎\r\nN:山田;太郎;;;\r\nTEL:03-1234-5678\r\n"
                "EMAIL;TYPE=INTERNET:taro@example.jp\r\nADR:;サンハイツ101;東京都世田谷区桜丘1-2-3;;;156-0054;\r\n"
                "NOTE:同期\\, 幹事\\; 会計\\\\\\n次行\r\nEND:VCARD\r\n"
                "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:ゆずりぼ\r\nN:ゆずりぼ;;;;\r\nEND:VCARD\r\n"_s)
                   .toUtf8();
        QTest::newRow("our CSV")
            << 1
            << (u"\uFEFF氏名,電話番号,メールアドレス,〒,住所1,住所2,一言メモ\r\n"
                "山田　太郎,03-1234-5678,taro@example.jp,156-0054,東京都世田谷区桜丘1-2-3,サンハイツ101,"
                "\"同期, 幹事; 会計\\\n次行\"\r\nゆずりぼ,,,,,,\r\n"_s)
                   .toUtf8();
        QTest::newRow("Google CSV")
            << 2
            << (u"\uFEFFName,Given Name,Family Name,Phone 1 - Value,E-mail 1 - Value,Address 1 - Postal Code,"
                "Address 1 - Street,Address 1 - Extended Address,Notes\r\n"
                "山田　太郎,太郎,山田,03-1234-5678,taro@example.jp,156-0054,東京都世田谷区桜丘1-2-3,サンハイツ101,"
                "\"同期, 幹事; 会計\\\n次行\"\r\nゆずりぼ,,ゆずりぼ,,,,,,\r\n"_s)
                   .toUtf8();
    }

    void writesExactOutput()
    {
        QFETCH(int, format);
        QFETCH(QByteArray, expected);
        Cls_管理 book;
        addEntry(book, {u"山田　太郎"_s, u"03-1234-5678"_s, u"taro@example.jp"_s, u"156-0054"_s,
                        u"東京都世田谷区桜丘1-2-3"_s, u"サンハイツ101"_s, u"同期, 幹事; 会計\\\n次行"_s});
        addEntry(book, {u"ゆずりぼ"_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s});
        const QByteArray out = format == 0 ? WriteVCards(book)
                               : format == 1 ? WriteCsvUtf8(book, CsvExportHeader::Ours)
                                             : WriteCsvUtf8(book, CsvExportHeader::Google);
        const QList<QByteArray> got = out.split('\n');
        const QList<QByteArray> want = expected.split('\n');
        for (qsizetype i = 0; i < qMin(got.size(), want.size()); ++i)
            QVERIFY2(got[i] == want[i], qPrintable(u"line %1: %2"_s.arg(i + 1).arg(QString::fromUtf8(got[i]))));
        QCOMPARE(got.size(), want.size());
    }

    void foldsVCardLinesBetweenCharacters()
    {
        Cls_管理 book;
        for (const QStringList &entry : AwkwardEntries())
            addEntry(book, entry);
        const QByteArray out = WriteVCards(book);
        QVERIFY(out.endsWith("\r\n"));
        int folds = 0;
        for (const QByteArray &line : out.chopped(1).split('\n')) {
            QVERIFY(line.endsWith('\r'));
            QVERIFY2(line.size() - 1 <= 75, line.constData());
            QStringDecoder strict(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
            strict.decode(line);
            QVERIFY2(!strict.hasError(), line.constData());
            folds += line.startsWith(' ');
        }
        QVERIFY(folds >= 2);
    }

    // ------------------------------------------------------------ round trip

    void roundTrips_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("vCard") << 0;
        QTest::newRow("CSV with our header") << 1;
        QTest::newRow("CSV with Google's header") << 2;
    }

    void roundTrips()
    {
        QFETCH(int, format);
        Cls_管理 book;
        for (const QStringList &entry : AwkwardEntries())
            addEntry(book, entry);

        std::vector<ImportedContact> contacts;
        if (format == 0) {
            const VCardReadResult r = ReadVCards(WriteVCards(book));
            QCOMPARE(r.unreadableCards, 0);
            contacts = r.contacts;
        } else {
            const QByteArray csv =
                WriteCsvUtf8(book, format == 1 ? CsvExportHeader::Ours : CsvExportHeader::Google);
            QCOMPARE(RecogniseImportFormat(csv, u"export.csv"_s), ImportFormat::Csv);
            contacts = importCsv(csv);
        }
        QCOMPARE(int(contacts.size()), book.Count());
        for (int i = 1; i <= book.Count(); ++i) {
            QCOMPARE(fieldsOf(contacts[size_t(i - 1)]), fieldsOf(book.Item(i)).join(u'|'));
            QVERIFY(contacts[size_t(i - 1)].dropped.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestImportExport)
#include "test_import_export.moc"

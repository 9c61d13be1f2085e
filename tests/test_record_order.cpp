#include "model/address_book.h"
#include "model/record_keys.h"
#include "model/record_order.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(SortKey)

namespace {

// A book with one record per value, the value put into the field the key sorts by.
// For the address, "line 1|line 2".
std::unique_ptr<Cls_管理> bookOf(SortKey key, const QStringList &values)
{
    auto book = std::make_unique<Cls_管理>();
    for (int i = 0; i < values.size(); ++i) {
        Cls_住所 &r = book->Add({}, {}, {}, {}, {}, {}, {}, book.get(), -1, MakeRecordKey(i + 1));
        const QString &v = values[i];
        switch (key) {
        case SortKey::Yubin: r.PYubin = v; break;
        case SortKey::Tel: r.PTel = v; break;
        case SortKey::Name: r.PName = v; break;
        case SortKey::Address:
            r.PJu1 = v.section(u'|', 0, 0);
            r.PJu2 = v.section(u'|', 1);
            break;
        }
    }
    return book;
}

QList<int> toList(const std::vector<int> &v) { return QList<int>(v.begin(), v.end()); }

} // namespace

class TestRecordOrder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void prefectureRank_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("rank");
        QTest::newRow("first") << u"北海道札幌市中央区"_s << 1;
        QTest::newRow("capital") << u"東京都千代田区"_s << 13;
        QTest::newRow("four characters") << u"神奈川県横浜市"_s << 14;
        QTest::newRow("fu, not to be read as to") << u"京都府京都市"_s << 26;
        QTest::newRow("last") << u"沖縄県那覇市"_s << 47;
        QTest::newRow("name alone") << u"大阪府"_s << 27;
        QTest::newRow("leading blanks of both widths") << u" \u3000 鹿児島県鹿児島市"_s << 46;
        QTest::newRow("without the suffix") << u"東京千代田区"_s << 0;
        QTest::newRow("city only") << u"千代田区丸の内"_s << 0;
        QTest::newRow("not at the start") << u"札幌市北海道"_s << 0;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("blanks only") << u"\u3000 "_s << 0;
    }
    void prefectureRank()
    {
        QFETCH(QString, address);
        QFETCH(int, rank);
        QCOMPARE(PrefectureRank(address), rank);
    }

    void everyPrefectureHasItsCode()
    {
        const QStringList names = {
            u"北海道"_s, u"青森県"_s, u"岩手県"_s, u"宮城県"_s, u"秋田県"_s, u"山形県"_s,
            u"福島県"_s, u"茨城県"_s, u"栃木県"_s, u"群馬県"_s, u"埼玉県"_s, u"千葉県"_s,
            u"東京都"_s, u"神奈川県"_s, u"新潟県"_s, u"富山県"_s, u"石川県"_s, u"福井県"_s,
            u"山梨県"_s, u"長野県"_s, u"岐阜県"_s, u"静岡県"_s, u"愛知県"_s, u"三重県"_s,
            u"滋賀県"_s, u"京都府"_s, u"大阪府"_s, u"兵庫県"_s, u"奈良県"_s, u"和歌山県"_s,
            u"鳥取県"_s, u"島根県"_s, u"岡山県"_s, u"広島県"_s, u"山口県"_s, u"徳島県"_s,
            u"香川県"_s, u"愛媛県"_s, u"高知県"_s, u"福岡県"_s, u"佐賀県"_s, u"長崎県"_s,
            u"熊本県"_s, u"大分県"_s, u"宮崎県"_s, u"鹿児島県"_s, u"沖縄県"_s,
        };
        QCOMPARE(names.size(), 47);
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(PrefectureRank(QString(names[i] + u"中央1-1"_s)), i + 1);
    }

    void sortedOrder_data()
    {
        QTest::addColumn<SortKey>("key");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QList<int>>("expected");

        // Equal codes 0 and 5 keep their order both ways; 2 and 4 have no digit.
        const QStringList codes = {u"100-0001"_s, u"０６０－０００１"_s, QString(),
                                   u"〒 530-0001"_s, u"なし"_s, u"1000001"_s};
        QTest::newRow("〒 ascending") << SortKey::Yubin << false << codes
                                       << QList<int>{1, 0, 5, 3, 2, 4};
        QTest::newRow("〒 descending") << SortKey::Yubin << true << codes
                                        << QList<int>{3, 0, 5, 1, 2, 4};
        QTest::newRow("〒 widths and hyphens are one code")
            << SortKey::Yubin << true
            << QStringList{u"１００－０００１"_s, u"100-0001"_s, u"〒1000001"_s, u"100 0001"_s}
            << QList<int>{0, 1, 2, 3};
        QTest::newRow("〒 none has a code")
            << SortKey::Yubin << true << QStringList{u"-"_s, QString(), u"〒"_s}
            << QList<int>{0, 1, 2};

        const QStringList phones = {u"03-1234-5678"_s, QString(), u"(090) 1111-2222"_s,
                                    u"０３－１２３４－５６７８"_s, u"06 9999 0000"_s, u"内線なし"_s};
        QTest::newRow("電話番号 ascending") << SortKey::Tel << false << phones
                                            << QList<int>{0, 3, 4, 2, 1, 5};
        QTest::newRow("電話番号 descending") << SortKey::Tel << true << phones
                                             << QList<int>{2, 4, 0, 3, 1, 5};

        // 𠮷 lies beyond U+FFFF and so after the full-width Ａ, though its first UTF-16 unit is
        // smaller; a blank-only name counts as no name.
        const QStringList names = {u"山田太郎"_s, QString(), u"伊藤"_s, u"Ａ子"_s,
                                   u"𠮷田"_s, u"\u3000"_s, u"伊藤"_s, u"山田"_s};
        QTest::newRow("氏名 ascending") << SortKey::Name << false << names
                                        << QList<int>{2, 6, 7, 0, 3, 4, 1, 5};
        QTest::newRow("氏名 descending") << SortKey::Name << true << names
                                         << QList<int>{4, 3, 0, 7, 2, 6, 1, 5};
        QTest::newRow("氏名 code points, not collation")
            << SortKey::Name << false << QStringList{u"あ"_s, u"abc"_s, u"ア"_s, u"ABC"_s}
            << QList<int>{3, 1, 0, 2};

        // Prefecture code first, then the rest; 1 and 8 differ only in blanks around the
        // prefecture; 7 has no prefecture (line 1 empty); 5 has no address at all.
        const QStringList addresses = {
            u"沖縄県那覇市"_s, u"東京都千代田区"_s, u"北海道札幌市"_s, u"千代田区丸の内"_s,
            u"京都府京都市"_s, u"|"_s, u"東京都中央区"_s, u"|ビル"_s, u"　東京都 千代田区"_s,
        };
        QTest::newRow("住所 ascending") << SortKey::Address << false << addresses
                                        << QList<int>{2, 6, 1, 8, 4, 0, 7, 3, 5};
        QTest::newRow("住所 descending") << SortKey::Address << true << addresses
                                         << QList<int>{3, 7, 0, 4, 1, 8, 6, 2, 5};
        // The two lines are read as one text, wherever the user broke it.
        QTest::newRow("住所 line 2 continues line 1")
            << SortKey::Address << false
            << QStringList{u"東京都港区芝|1-2"_s, u"東京都港区芝1-1|ビル"_s, u"東京都港区|芝1-1ビル"_s,
                           u"東京都港区芝1-1"_s}
            << QList<int>{3, 1, 2, 0};
        QTest::newRow("住所 prefecture over text")
            << SortKey::Address << false
            << QStringList{u"沖縄県あ"_s, u"あ"_s, u"北海道ん"_s}
            << QList<int>{2, 0, 1};
    }
    void sortedOrder()
    {
        QFETCH(SortKey, key);
        QFETCH(bool, descending);
        QFETCH(QStringList, values);
        QFETCH(QList<int>, expected);
        const auto book = bookOf(key, values);
        QCOMPARE(toList(SortedOrder(*book, SortOrder{key, descending})), expected);
    }

    void sequenceOfRecords()
    {
        Cls_住所 a, b;
        a.PName = u"乙"_s;
        b.PName = u"甲"_s;
        // A missing record is placed like an entry without a value, not dereferenced.
        const std::vector<const Cls_住所 *> records = {nullptr, &b, &a};
        QCOMPARE(toList(SortedOrder(records, {SortKey::Name, false})), (QList<int>{2, 1, 0}));
        QCOMPARE(toList(SortedOrder(records, {SortKey::Name, true})), (QList<int>{1, 2, 0}));
        QVERIFY(SortedOrder(std::vector<const Cls_住所 *>{}, {}).empty());
        QVERIFY(SortedOrder(Cls_管理(), {SortKey::Address, true}).empty());
    }

    // A full book with many equal and missing codes: the result is a permutation, ordered, with
    // ties in their original order, both ways.
    void fullBook()
    {
        std::vector<Cls_住所> storage(MaxBookRecords);
        std::vector<const Cls_住所 *> records;
        for (int i = 0; i < MaxBookRecords; ++i) {
            const int code = (i * 7919) % 1000;
            if (code >= 50) // the rest have no code
                storage[size_t(i)].PYubin =
                    u"〒%1-%2"_s.arg(code / 100).arg(code % 100, 2, 10, QLatin1Char('0'));
            records.push_back(&storage[size_t(i)]);
        }
        for (const bool descending : {false, true}) {
            const std::vector<int> order = SortedOrder(records, {SortKey::Yubin, descending});
            QCOMPARE(order.size(), size_t(MaxBookRecords));
            std::vector<bool> seen(order.size());
            auto codeAt = [&](int index) {
                const QString &y = storage[size_t(index)].PYubin;
                return y.isEmpty() ? -1 : QStringView(y).sliced(1).toString().remove(u'-').toInt();
            };
            for (size_t p = 0; p < order.size(); ++p) {
                QVERIFY(!seen[size_t(order[p])]);
                seen[size_t(order[p])] = true;
                if (p == 0)
                    continue;
                const int prev = codeAt(order[p - 1]), cur = codeAt(order[p]);
                if (prev == cur)
                    QVERIFY(order[p - 1] < order[p]);
                else if (cur != -1)
                    QVERIFY(prev != -1 && (descending ? prev > cur : prev < cur));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestRecordOrder)
#include "test_record_order.moc"

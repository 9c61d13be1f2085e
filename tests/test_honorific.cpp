#include "model/honorific.h"

#include <QtTest>

#include <climits>

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(HonorificMode)

class TestHonorific : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writtenHonorificLength_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("length");
        QTest::newRow("none") << u"山田太郎"_s << 0;
        QTest::newRow("様") << u"山田太郎様"_s << 1;
        QTest::newRow("blank and 御中") << u"総務部　御中"_s << 3;
        QTest::newRow("trailing blank") << u"山田太郎 様 "_s << 3;
    }

    void writtenHonorificLength()
    {
        QFETCH(QString, name);
        QFETCH(int, length);
        QCOMPARE(WrittenHonorificLength(name), qsizetype(length));
    }

    // The numbers are stored in the settings and the captions fill the print dialog in this order.
    void modes()
    {
        const QStringList captions = {u"様"_s, u"殿"_s, u"御中"_s, u"先生"_s, u"自動"_s, u"なし"_s};
        QCOMPARE(captions.size(), HonorificModeCount);
        for (int n = 0; n < HonorificModeCount; ++n) {
            const HonorificMode mode = HonorificModeFromNumber(n);
            QCOMPARE(HonorificModeNumber(mode), n);
            QCOMPARE(HonorificModeCaption(mode), captions[n]);
        }
    }

    void fromNumberOutOfRange_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("-1") << -1;
        QTest::newRow("count") << HonorificModeCount;
        QTest::newRow("min") << INT_MIN;
        QTest::newRow("max") << INT_MAX;
    }
    void fromNumberOutOfRange()
    {
        QFETCH(int, number);
        QCOMPARE(HonorificModeFromNumber(number), HonorificMode::Sama);
    }

    void honorificFor_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<HonorificMode>("mode");
        QTest::addColumn<QString>("expected");

        const QString person = u"山田太郎"_s;
        QTest::newRow("person, 様") << person << HonorificMode::Sama << u"様"_s;
        QTest::newRow("person, 殿") << person << HonorificMode::Dono << u"殿"_s;
        QTest::newRow("person, 御中") << person << HonorificMode::Onchu << u"御中"_s;
        QTest::newRow("person, 先生") << person << HonorificMode::Sensei << u"先生"_s;
        QTest::newRow("person, auto") << person << HonorificMode::Auto << u"様"_s;
        QTest::newRow("person, none") << person << HonorificMode::None << QString();

        // A chosen honorific is printed whatever the name looks like.
        QTest::newRow("company, 様") << u"株式会社ゆざりぼ"_s << HonorificMode::Sama << u"様"_s;
        QTest::newRow("company, 先生") << u"ゆざりぼ病院"_s << HonorificMode::Sensei << u"先生"_s;
        QTest::newRow("company, none") << u"ゆざりぼ株式会社"_s << HonorificMode::None << QString();

        // Auto: the organisation by its ending.
        QTest::newRow("ends 株式会社") << u"ゆざりぼ株式会社"_s << HonorificMode::Auto << u"御中"_s;
        QTest::newRow("ends 商店") << u"ゆざりぼ商店"_s << HonorificMode::Auto << u"御中"_s;
        QTest::newRow("ends 事務所") << u"ゆざりぼ法律事務所"_s << HonorificMode::Auto << u"御中"_s;
        QTest::newRow("ends 小学校") << u"市立ゆざりぼ小学校"_s << HonorificMode::Auto << u"御中"_s;
        QTest::newRow("ends クリニック") << u"ゆざりぼクリニック"_s << HonorificMode::Auto << u"御中"_s;
        QTest::newRow("ends ㈱") << u"ゆざりぼ㈱"_s << HonorificMode::Auto << u"御中"_s;
        QTest::newRow("department after a blank")
            << u"ゆざりぼ商事　営業部"_s << HonorificMode::Auto << u"御中"_s;
        QTest::newRow("blanks around an organisation")
            << u" \u3000ゆざりぼ商店\u3000 "_s << HonorificMode::Auto << u"御中"_s;

        // Auto: the organisation by its legal form in front.
        QTest::newRow("starts 株式会社") << u"株式会社ゆざりぼ"_s << HonorificMode::Auto << u"御中"_s;
        QTest::newRow("starts 有限会社") << u"有限会社ゆざりぼ"_s << HonorificMode::Auto << u"御中"_s;
        QTest::newRow("starts 合同会社, blank after")
            << u"合同会社 ゆざりぼ"_s << HonorificMode::Auto << u"御中"_s;
        QTest::newRow("starts （株）") << u"（株）ゆざりぼ"_s << HonorificMode::Auto << u"御中"_s;

        // Auto: persons that merely look like one.
        QTest::newRow("person at a company")
            << u"株式会社ゆざりぼ 山田太郎"_s << HonorificMode::Auto << u"様"_s;
        QTest::newRow("surname ending 部") << u"阿部"_s << HonorificMode::Auto << u"様"_s;
        QTest::newRow("surname ending 室") << u"氷室"_s << HonorificMode::Auto << u"様"_s;
        QTest::newRow("surname ending 部 after a company")
            << u"ゆざりぼ商事 服部"_s << HonorificMode::Auto << u"様"_s;
        QTest::newRow("御一同 takes 様") << u"社員御一同"_s << HonorificMode::Auto << u"様"_s;

        // Nothing after a name that already has its honorific, whatever the mode.
        QTest::newRow("has 様") << u"山田太郎様"_s << HonorificMode::Sama << QString();
        QTest::newRow("has さま") << u"やまだたろうさま"_s << HonorificMode::Auto << QString();
        QTest::newRow("has 殿") << u"山田太郎殿"_s << HonorificMode::Sama << QString();
        QTest::newRow("has 御中") << u"ゆざりぼ商店御中"_s << HonorificMode::Auto << QString();
        QTest::newRow("has 先生") << u"山田先生"_s << HonorificMode::Dono << QString();
        QTest::newRow("has 宛") << u"総務部宛"_s << HonorificMode::Onchu << QString();
        QTest::newRow("has 各位") << u"関係者各位"_s << HonorificMode::Auto << QString();
        QTest::newRow("has 様, blank before") << u"山田太郎 様"_s << HonorificMode::Sensei << QString();
        QTest::newRow("has 様, trailing blanks")
            << u"山田太郎様\u3000 "_s << HonorificMode::Sama << QString();

        // No name, no honorific.
        QTest::newRow("empty") << QString() << HonorificMode::Sama << QString();
        QTest::newRow("blanks only") << u" \u3000"_s << HonorificMode::Auto << QString();
    }
    void honorificFor()
    {
        QFETCH(QString, name);
        QFETCH(HonorificMode, mode);
        QFETCH(QString, expected);
        QCOMPARE(HonorificFor(name, mode), expected);
    }

    void parseJointName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QStringList>("givenNames");   // empty: not a joint name

        QTest::newRow("half-width blank") << u"山田 太郎・花子"_s << u"山田"_s
                                          << QStringList{u"太郎"_s, u"花子"_s};
        QTest::newRow("full-width blank, three") << u"山田　太郎・花子・一郎"_s << u"山田"_s
                                                 << QStringList{u"太郎"_s, u"花子"_s, u"一郎"_s};
        QTest::newRow("outer blanks") << u"\u3000 山田 太郎・花子 \u3000"_s << u"山田"_s
                                      << QStringList{u"太郎"_s, u"花子"_s};
        QTest::newRow("half-width dot") << u"ﾔﾏﾀﾞ ﾀﾛｳ･ﾊﾅｺ"_s << u"ﾔﾏﾀﾞ"_s
                                        << QStringList{u"ﾀﾛｳ"_s, u"ﾊﾅｺ"_s};

        const QStringList none;
        QTest::newRow("no blank") << u"山田太郎"_s << QString() << none;
        QTest::newRow("dot before the blank") << u"山田・太郎 商店"_s << QString() << none;
        QTest::newRow("two blanks") << u"山田 太郎 花子"_s << QString() << none;
        QTest::newRow("two blanks together") << u"山田  太郎・花子"_s << QString() << none;
        QTest::newRow("honorific after a blank") << u"山田 太郎・花子 様"_s << QString() << none;
        QTest::newRow("one given name") << u"山田 太郎"_s << QString() << none;
        QTest::newRow("empty last") << u"山田 太郎・"_s << QString() << none;
        QTest::newRow("empty first") << u"山田 ・花子"_s << QString() << none;
        QTest::newRow("empty middle") << u"山田 太郎・・花子"_s << QString() << none;
        QTest::newRow("first has 様") << u"山田 太郎様・花子"_s << QString() << none;
        QTest::newRow("last has さま") << u"山田 太郎・花子さま"_s << QString() << none;
        QTest::newRow("empty") << QString() << QString() << none;
        QTest::newRow("blanks only") << u" \u3000 "_s << QString() << none;
    }
    void parseJointName()
    {
        QFETCH(QString, name);
        QFETCH(QString, family);
        QFETCH(QStringList, givenNames);
        const std::optional<JointName> joint = ParseJointName(name);
        QCOMPARE(joint.has_value(), !givenNames.isEmpty());
        if (joint) {
            QCOMPARE(joint->family, family);
            QCOMPARE(joint->givenNames, givenNames);
        }
    }
};

QTEST_GUILESS_MAIN(TestHonorific)
#include "test_honorific.moc"

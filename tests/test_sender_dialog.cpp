#include "file_helpers.h"

#include "entry/picture_button.h"
#include "entry/postal_choice_dialog.h"
#include "files/postal_codes.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/message_box.h"
#include "settings/app_settings.h"
#include "settings/sender_dialog.h"
#include "settings/settings_sections.h"
#include "settings/settings_store.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QStringList kBoxes = {u"txt_氏名"_s, u"txt_電話番号"_s, u"txt_Mail"_s,
                            u"txt_郵便"_s, u"txt_住所1"_s, u"txt_住所2"_s};
const QStringList kKeys = {u"Name"_s, u"Tel"_s, u"Mail"_s, u"Yubin"_s, u"Ju1"_s, u"Ju2"_s};

QStringList fields(const SenderInfo &s) { return {s.Name, s.Tel, s.Mail, s.Yubin, s.Ju1, s.Ju2}; }

SenderInfo senderOf(const QStringList &f)
{
    return {f.value(0), f.value(1), f.value(2), f.value(3), f.value(4), f.value(5)};
}

const SenderInfo kStored = senderOf({u"山田太郎"_s, u"03-1234-5678"_s, u"taro@example.jp"_s,
                                     u"100-0001"_s, u"東京都千代田区"_s, u"千代田1-1"_s});

} // namespace

class TestSenderDialog : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    int m_serial = 0;
    SettingsRecord m_settings;
    std::unique_ptr<SettingsStore> m_store;
    QPointer<SenderDialog> m_dialog;

    // The form over a store that already holds `stored`, shown and active.
    void open(const SenderInfo &stored, PostalCodes *postalCodes = nullptr)
    {
        m_settings.Sender = stored;
        M_RegS::SaveKojinSection(*m_store, m_settings);
        m_dialog = new SenderDialog(m_settings, *m_store, nullptr, postalCodes);
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->show();
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog));
    }

    template <typename T = QLineEdit>
    T *named(const QString &name)
    {
        T *w = m_dialog ? m_dialog->findChild<T *>(name) : nullptr;
        if (!w)
            qWarning("no control named %s", qPrintable(name));
        return w;
    }

    void typeInto(const QStringList &texts)
    {
        for (int i = 0; i < kBoxes.size(); ++i)
            named(kBoxes[i])->setText(texts.value(i));
    }

    // What a later run would load.
    SenderInfo reloaded()
    {
        SettingsStore fresh(m_path);
        SettingsRecord s;
        M_RegS::LoadKojinSection(fresh, s);
        return s.Sender;
    }

    // The form deletes itself when it closes.
    bool closedAndReleased()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return m_dialog.isNull();
    }

private Q_SLOTS:
    void initTestCase()
    {
        InstallFontSubstitutes();
    }

    void init()
    {
        QVERIFY(m_dir.isValid());
        // A new file per test and row: QSettings caches what it parsed by path.
        m_path = m_dir.filePath(u"store-%1.ini"_s.arg(++m_serial));
        m_store = std::make_unique<SettingsStore>(m_path);
        m_settings = SettingsRecord();
    }

    void cleanup()
    {
        delete m_dialog;
        m_store.reset();
    }

    void showsTheStoredSender()
    {
        open(kStored);
        QCOMPARE(m_dialog->objectName(), u"F_Kojin"_s);
        QCOMPARE(m_dialog->windowTitle(), u"個人情報の登録"_s);
        QStringList shown;
        for (const QString &box : kBoxes)
            shown << named(box)->text();
        QCOMPARE(shown, fields(kStored));
        QCOMPARE(QApplication::focusWidget(), named(u"txt_氏名"_s));
        QVERIFY(!(m_dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(m_dialog->minimumSize(), m_dialog->maximumSize());
    }

    void captionsLeadToTheirBoxes()
    {
        open(kStored);
        const QList<std::pair<QString, QString>> captions = {
            {u"lbl_氏名"_s, u"氏名(&N)"_s},       {u"lbl_電話番号"_s, u"電話番号(&T)"_s},
            {u"lbl_Mail"_s, u"メールアドレス(&M)"_s}, {u"lbl_郵便番号"_s, u"〒(&Y)"_s},
            {u"lbl_住所1"_s, u"住所1(&J)"_s},      {u"lbl_住所2"_s, u"住所2(&H)"_s},
        };
        for (int i = 0; i < captions.size(); ++i) {
            auto *label = named<QLabel>(captions[i].first);
            QVERIFY(label);
            QCOMPARE(label->text(), captions[i].second);
            QCOMPARE(label->buddy(), named(kBoxes[i]));
            QCOMPARE(named(kBoxes[i])->palette().color(QPalette::Base), QColor(250, 250, 228));
        }
        QCOMPARE(m_dialog->findChildren<QLabel *>().size(), 6);
        // Alt with the accelerator letter goes to the box.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_J, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), named(u"txt_住所1"_s));
    }

    void registerStoresTheTextsAsTyped_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::newRow("all empty") << QStringList(6, QString());
        // Distinct texts per field show a mix-up; the blanks show there is no trimming.
        QTest::newRow("changed, blanks kept")
            << QStringList{u" 鈴木 花子 "_s, u"090-1111-2222"_s, u"hanako@example.jp "_s,
                           u"060-0001"_s, u"北海道札幌市中央区"_s, u"　大通西1丁目"_s};
    }

    void registerStoresTheTextsAsTyped()
    {
        QFETCH(QStringList, typed);
        open(kStored);
        typeInto(typed);
        QTest::mouseClick(named<PictureButton>(u"cmd_Go"_s), Qt::LeftButton);

        QCOMPARE(fields(m_settings.Sender), typed);
        QCOMPARE(fields(reloaded()), typed);
        SettingsStore fresh(m_path);
        for (const QString &key : kKeys)
            QVERIFY2(fresh.contains(u"Kojin"_s, key), qPrintable(key));
        QVERIFY(closedAndReleased());
    }

    // A settings file that cannot be written is reported; the form stays open.
    void registerThatCannotBeStoredSaysSo()
    {
        QFile blocker(m_dir.filePath(u"not-a-folder"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        m_path = blocker.fileName() + u"/store.ini"_s;
        m_store = std::make_unique<SettingsStore>(m_path);
        open(kStored);
        MessageBoxes::SetScripted(true);
        named(u"txt_氏名"_s)->setText(u"山田花子"_s);
        QTest::mouseClick(named<PictureButton>(u"cmd_Go"_s), Qt::LeftButton);
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        MessageBoxes::SetScripted(false);
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains(u"保存できませんでした"_s), qPrintable(shown[0].text));
        QVERIFY(m_dialog && m_dialog->isVisible());
    }

    void longerStoredNumbersAreNotCut()
    {
        SenderInfo stored = kStored;
        stored.Tel = u"+81-3-1234-5678"_s;     // 15 characters
        stored.Yubin = u"100-0001 JP"_s;
        open(stored);
        QLineEdit *tel = named(u"txt_電話番号"_s);
        QCOMPARE(tel->text(), stored.Tel);
        tel->setFocus();
        tel->end(false);
        QTest::keyClicks(tel, u"9"_s);
        QCOMPARE(tel->text(), stored.Tel);
        named(u"txt_氏名"_s)->setText(u"山田花子"_s);
        QTest::mouseClick(named<PictureButton>(u"cmd_Go"_s), Qt::LeftButton);
        QCOMPARE(reloaded().Tel, stored.Tel);
        QCOMPARE(reloaded().Yubin, stored.Yubin);
    }

    void closingChangesNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Esc") << u"esc"_s;
        QTest::newRow("close button") << u"button"_s;
        QTest::newRow("close box") << u"box"_s;
    }

    void closingChangesNothing()
    {
        QFETCH(QString, how);
        open(kStored);
        const QByteArray before = readFile(m_path);
        QVERIFY(!before.isEmpty());
        typeInto({u"別人"_s, u"011-000-0000"_s, u"x@example.jp"_s, u"999-9999"_s, u"沖縄県"_s, u"那覇市"_s});

        if (how == u"esc"_s)
            QTest::keyClick(named(u"txt_住所1"_s), Qt::Key_Escape);
        else if (how == u"button"_s)
            QTest::mouseClick(named<PictureButton>(u"cmd_閉じる"_s), Qt::LeftButton);
        else
            m_dialog->close();

        QVERIFY(closedAndReleased());
        QCOMPARE(fields(m_settings.Sender), fields(kStored));
        QCOMPARE(readFile(m_path), before);
    }

    void fieldLimitsAndInputMethod_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("limit");    // 0: none
        QTest::addColumn<bool>("inputMethod");
        QTest::newRow("name") << u"txt_氏名"_s << 0 << true;
        QTest::newRow("telephone") << u"txt_電話番号"_s << 13 << false;
        QTest::newRow("mail") << u"txt_Mail"_s << 0 << false;
        QTest::newRow("postal code") << u"txt_郵便"_s << 8 << false;
        QTest::newRow("address 1") << u"txt_住所1"_s << 0 << true;
        QTest::newRow("address 2") << u"txt_住所2"_s << 0 << true;
    }

    void fieldLimitsAndInputMethod()
    {
        QFETCH(QString, box);
        QFETCH(int, limit);
        QFETCH(bool, inputMethod);
        open({});
        QLineEdit *edit = named(box);
        edit->setFocus();
        const QString typed = u"0123456789-0123456789"_s;
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), limit ? typed.left(limit) : typed);
        QCOMPARE(edit->testAttribute(Qt::WA_InputMethodEnabled), inputMethod);
    }

    void enterWalksTheBoxesToRegister()
    {
        open(kStored);
        QCOMPARE(QApplication::focusWidget(), named(u"txt_氏名"_s));
        for (int i = 1; i < kBoxes.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), named(kBoxes[i]));
        }
        named(u"txt_住所2"_s)->setText(u"新しい住所"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), named<QWidget>(u"cmd_Go"_s));
        // Moving on pressed nothing.
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(reloaded().Ju2, kStored.Ju2);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(m_settings.Sender.Ju2, u"新しい住所"_s);
        QCOMPARE(reloaded().Ju2, u"新しい住所"_s);
        QVERIFY(closedAndReleased());
    }

    void keyOnAFocusedButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("registers");
        QTest::newRow("Enter on register") << u"cmd_Go"_s << int(Qt::Key_Return) << true;
        QTest::newRow("keypad Enter on register") << u"cmd_Go"_s << int(Qt::Key_Enter) << true;
        QTest::newRow("Space on register") << u"cmd_Go"_s << int(Qt::Key_Space) << true;
        QTest::newRow("Enter on close") << u"cmd_閉じる"_s << int(Qt::Key_Return) << false;
        QTest::newRow("Space on close") << u"cmd_閉じる"_s << int(Qt::Key_Space) << false;
    }

    void keyOnAFocusedButton()
    {
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(bool, registers);
        open(kStored);
        named(u"txt_氏名"_s)->setText(u"佐藤"_s);
        auto *b = named<PictureButton>(button);
        b->setFocus();
        QTest::keyClick(b, Qt::Key(key));
        QVERIFY(closedAndReleased());
        QCOMPARE(reloaded().Name, registers ? u"佐藤"_s : kStored.Name);
    }

    void tabSelectsTheWholeText()
    {
        open(kStored);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QLineEdit *tel = named(u"txt_電話番号"_s);
        QCOMPARE(QApplication::focusWidget(), tel);
        QTRY_COMPARE(tel->selectedText(), kStored.Tel);
        // Typing replaces the old number.
        QTest::keyClicks(tel, u"0120"_s);
        QCOMPARE(tel->text(), u"0120"_s);
    }

    // The sender's 〒 and address look each other up as an entry's do;
    // without postal codes the form has no lookup buttons.
    void postalLookup()
    {
        open({});
        QVERIFY(!m_dialog->findChild<QWidget *>(u"cmd_住所検索"_s));
        m_dialog->close();
        PostalSourcePaths paths;
        paths.dictionary = QStringLiteral(YUZARIBO_TEST_DATA "/postal/SKK-JISYO.zipcode");
        PostalCodes codes(paths);
        open({}, &codes);
        QVERIFY(m_dialog->findChild<QWidget *>(u"cmd_住所検索"_s)->isEnabled());
        named(u"txt_郵便"_s)->setText(u"100-0005"_s);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(named(u"txt_郵便"_s), &out);
        QCoreApplication::processEvents();
        // The code also names an office: the list, whose first line is the town.
        auto *choice = m_dialog->findChild<PostalChoiceDialog *>(u"F_候補"_s);
        QVERIFY(choice);
        choice->Choose();
        QCOMPARE(named(u"txt_住所1"_s)->text(), u"東京都千代田区丸の内"_s);
        m_dialog->close();
    }
};

QTEST_MAIN(TestSenderDialog)
#include "test_sender_dialog.moc"

#include "window_fixture.h"

#include "entry/entry_dialog.h"
#include "entry/image_combo_box.h"
#include "entry/input_helpers.h"
#include "entry/picture_button.h"
#include "entry/postal_choice_dialog.h"
#include "files/postal_codes.h"
#include "mainwindow/list_commands.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kBoxes[] = {u"txt_氏名"_s, u"txt_電話番号"_s, u"txt_Mail"_s, u"txt_郵便"_s,
                          u"txt_住所1"_s, u"txt_住所2"_s, u"txt_メモ"_s};

} // namespace

class TestEntryDialog : public QObject {
    Q_OBJECT

    WindowFixture f;
    MainWindow &window() { return *f.window; }
    AppState &state() { return *f.state; }
    BookDocument &document() { return *f.document; }

    // Opens the dialog as the list commands do: 0 change, 1 add.
    EntryDialog *open(int command)
    {
        window().listCommands().EditCommand(command);
        return window().findChild<EntryDialog *>();
    }

    // The dialog for a view mode, opened from the print dialog's lists,
    // whose item data is the number of the entry's key.
    EntryDialog *openView(int mode, const QString &key)
    {
        auto *printDialog = new QWidget(&window(), Qt::Window);
        printDialog->setObjectName(u"F_Print"_s);
        for (const QString &name : {u"lst_対象者"_s, u"lst_印刷者"_s}) {
            auto *list = new QListWidget(printDialog);
            list->setObjectName(name);
            auto *item = new QListWidgetItem(u"entry"_s, list);
            item->setData(Qt::UserRole, key.mid(1).toInt());
            list->setCurrentItem(item);
        }
        window().listCommands().EditCommand(mode);
        return printDialog->findChild<EntryDialog *>();
    }

    template <typename T = QWidget>
    static T *part(QWidget *dialog, const QString &name)
    {
        return dialog->findChild<T *>(name);
    }

    // The postal codes of the made-up dictionary; none when dictionary is empty.
    void usePostalData(const QString &dictionary = QStringLiteral(YUZARIBO_TEST_DATA "/postal/SKK-JISYO.zipcode"))
    {
        PostalSourcePaths paths;
        paths.dictionary = dictionary;
        window().postalCodes().setPaths(paths);
    }

    // Leaving a box as Tab does, and what that sets going.
    static void leave(QLineEdit *box)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(box, &out);
        QCoreApplication::processEvents();
    }

    static void type(EntryDialog *dialog, const QStringList &values)
    {
        for (int i = 0; i < values.size(); ++i)
            dialog->field(i)->setText(values[i]);
    }

private Q_SLOTS:
    void init()
    {
        MessageBoxes::SetScripted(true);
        FileDialogs::SetScripted(true);
    }

    void cleanup() { f.finish(); }

    void modes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("commit");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<bool>("checks");
        QTest::newRow("change") << 1 << u"住所録の修正"_s << true << true << false;
        QTest::newRow("add") << 2 << u"住所録の追加"_s << true << true << true;
        QTest::newRow("view from the candidates") << 3 << u"住所録の確認"_s << false << false << false;
        QTest::newRow("view from the printed") << 4 << u"住所録の確認"_s << false << false << false;
    }

    void modes()
    {
        QFETCH(int, mode);
        QFETCH(QString, title);
        QFETCH(bool, commit);
        QFETCH(bool, editable);
        QFETCH(bool, checks);
        f.startWithBook(3);
        f.select(1);
        EntryDialog *dialog = mode <= 2 ? open(mode - 1) : openView(mode, document().OpenBook().Item(2).PSkey);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), title);
        QCOMPARE(part(dialog, u"cmd_Go"_s)->isVisibleTo(dialog), commit);
        QCOMPARE(part(dialog, u"Chk1"_s)->isVisibleTo(dialog), checks);
        QCOMPARE(part(dialog, u"Chk_連続"_s)->isVisibleTo(dialog), checks);
        for (int i = 0; i < 7; ++i)
            QCOMPARE(dialog->field(i)->isReadOnly(), !editable);
        QCOMPARE(dialog->field(0)->text(), mode == 2 ? QString() : u"名前2"_s);
        QCOMPARE(dialog->field(6)->text(), mode == 2 ? QString() : u"memo 名前2"_s);
        // Only adding shows the two boxes; the other modes cut the window short above them.
        QCOMPARE(dialog->height() > part(dialog, u"Chk1"_s)->geometry().top(), checks);
        if (checks) {
            QVERIFY(part<QCheckBox>(dialog, u"Chk1"_s)->isChecked());
            QVERIFY(part<QCheckBox>(dialog, u"Chk_連続"_s)->isChecked());
        }
        QVERIFY(!(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        // Esc closes in every mode.
        QTest::keyClick(dialog->field(0), Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
    }

    void fieldsAndCaptions()
    {
        f.start();
        EntryDialog *dialog = open(1);
        const QStringList captions = {u"氏名(&N)"_s, u"電話番号(&T)"_s, u"メールアドレス(&M)"_s, u"〒(&Y)"_s,
                                      u"住所1(&J)"_s, u"住所2(&H)"_s, u"一言メモ(&M)"_s};
        const QString labels[] = {u"lbl_氏名"_s, u"lbl_電話番号"_s, u"lbl_Mail"_s, u"lbl_郵便番号"_s,
                                  u"lbl_住所1"_s, u"lbl_住所2"_s, u"lbl_メモ"_s};
        const int limits[] = {0, 13, 0, 8, 0, 0, 0};
        const bool inputMethod[] = {true, false, false, false, true, true, true};
        for (int i = 0; i < 7; ++i) {
            auto *label = part<QLabel>(dialog, labels[i]);
            QVERIFY(label);
            QCOMPARE(label->text(), captions[i]);
            QCOMPARE(label->buddy(), dialog->field(i));
            QCOMPARE(dialog->field(i)->objectName(), kBoxes[i]);
            QCOMPARE(dialog->field(i)->maxLength(), limits[i] ? limits[i] : 32767);
            QCOMPARE(dialog->field(i)->testAttribute(Qt::WA_InputMethodEnabled), inputMethod[i]);
            QCOMPARE(dialog->field(i)->palette().color(QPalette::Base), QColor(250, 250, 228));
        }
        // Tab order: the seven fields, commit, close, continuous, at the end.
        QStringList order;
        QWidget *w = dialog->field(0);
        for (int i = 0; i < 11; ++i, w = w->nextInFocusChain()) {
            while (!(w->focusPolicy() & Qt::TabFocus))
                w = w->nextInFocusChain();
            order << w->objectName();
        }
        QCOMPARE(order, (QStringList{kBoxes[0], kBoxes[1], kBoxes[2], kBoxes[3], kBoxes[4], kBoxes[5], kBoxes[6],
                                     u"cmd_Go"_s, u"cmd_閉じる"_s, u"Chk_連続"_s, u"Chk1"_s}));
    }

    // Enter moves on as Tab would and never reaches the text; entering a
    // field selects its text.
    void enterMovesOn()
    {
        f.startWithBook(1);
        f.select(0);
        EntryDialog *dialog = open(0);
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QTRY_COMPARE(QApplication::focusWidget(), dialog->field(0));
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), dialog->field(i + 1));
            QTRY_COMPARE(dialog->field(i + 1)->selectedText(), dialog->field(i + 1)->text());
        }
        QTest::keyClick(dialog->field(6), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(QApplication::focusWidget(), part(dialog, u"cmd_Go"_s));
        QCOMPARE(dialog->field(6)->text(), u"memo 名前1"_s);
        // On the commit button Enter presses it.
        dialog->field(0)->setText(u"新しい名前"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(document().OpenBook().Item(1).PName, u"新しい名前"_s);
        QVERIFY(!dialog->isVisible());
    }

    // Enter on the at-the-end box moves on and wraps to the name; on the
    // continuous box it does nothing, and above all adds nothing.
    void enterOnTheCheckBoxes()
    {
        f.startWithBook(1);
        EntryDialog *dialog = open(1);
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        dialog->field(0)->setText(u"新規"_s);
        auto *continuous = part<QCheckBox>(dialog, u"Chk_連続"_s);
        continuous->setFocus();
        QTest::keyClick(continuous, Qt::Key_Return);
        QCOMPARE(document().OpenBook().Count(), 1);
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
        QCOMPARE(QApplication::focusWidget(), continuous);

        auto *atEnd = part<QCheckBox>(dialog, u"Chk1"_s);
        atEnd->setFocus();
        QTest::keyClick(atEnd, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), dialog->field(0));
        QVERIFY(atEnd->isChecked());
        QCOMPARE(document().OpenBook().Count(), 1);
    }

    void enterInViewModeReachesClose()
    {
        f.startWithBook(1);
        EntryDialog *dialog = openView(3, u"s1"_s);
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        dialog->field(6)->setFocus();
        QTest::keyClick(dialog->field(6), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), part(dialog, u"cmd_閉じる"_s));
    }

    void add_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("atEnd");
        QTest::addColumn<int>("newRow");
        QTest::newRow("empty book, whatever the box says") << 0 << -1 << false << 0;
        QTest::newRow("at the end") << 5 << 2 << true << 5;
        QTest::newRow("in front of the third") << 5 << 2 << false << 2;
        QTest::newRow("in front of the first") << 2 << 0 << false << 0;
    }

    void add()
    {
        QFETCH(int, count);
        QFETCH(int, selected);
        QFETCH(bool, atEnd);
        QFETCH(int, newRow);
        if (count)
            f.startWithBook(count);
        else
            f.start();
        f.pick(selected);
        const qint32 counter = document().KeyCounter();
        EntryDialog *dialog = open(1);
        part<QCheckBox>(dialog, u"Chk1"_s)->setChecked(atEnd);
        part<QCheckBox>(dialog, u"Chk_連続"_s)->setChecked(false);
        type(dialog, {u"追加"_s, u"03"_s, u"m@example.jp"_s, u"100-0001"_s, u"東京"_s, u"千代田"_s, u"メモ"_s});
        dialog->Commit();

        QVERIFY(!dialog->isVisible());
        QCOMPARE(document().OpenBook().Count(), count + 1);
        QCOMPARE(f.names().indexOf(u"追加"_s), newRow);
        const Cls_住所 &added = document().OpenBook().Item(newRow + 1);
        QCOMPARE(added.PSkey, u"s%1"_s.arg(counter + 1));
        QCOMPARE(added.PMemo, u"メモ"_s);
        QCOMPARE(f.selectedRow(), newRow);
        QCOMPARE(f.markedRows(), QList<int>{newRow});
        QCOMPARE(document().MarkedIndex(), newRow + 1);
        QCOMPARE(window().countText(), u"%1件"_s.arg(count + 1));
        QVERIFY(document().BookChanged());
        QVERIFY(f.enabled(u"cmd_修正(0)"_s));
        // The list shows the book's order.
        for (int r = 0; r <= count; ++r)
            QCOMPARE(window().listModel()->index(r, 0).data().toString(), f.names().at(r));
    }

    void continuousEntryStaysOpen()
    {
        f.startWithBook(1);
        f.select(0);
        EntryDialog *dialog = open(1);
        for (const QString &name : {u"一"_s, u"二"_s, u"三"_s}) {
            dialog->field(0)->setText(name);
            dialog->field(1)->setText(u"03"_s);
            dialog->Commit();
            QVERIFY(dialog->isVisible());
            QVERIFY(dialog->field(0)->text().isEmpty());
            QVERIFY(dialog->field(1)->text().isEmpty());
            QCOMPARE(window().countText(), u"%1件"_s.arg(document().OpenBook().Count()));
        }
        QCOMPARE(f.names(), (QStringList{u"名前1"_s, u"一"_s, u"二"_s, u"三"_s}));
        QVERIFY(part<QCheckBox>(dialog, u"Chk1"_s)->isChecked());
        QVERIFY(part<QCheckBox>(dialog, u"Chk_連続"_s)->isChecked());
        QCOMPARE(f.markedRows(), QList<int>{3});
        // Closing keeps what was added.
        part<PictureButton>(dialog, u"cmd_閉じる"_s)->click();
        QCOMPARE(document().OpenBook().Count(), 4);
    }

    void changeKeepsKeyPositionAndCount()
    {
        f.startWithBook(3);
        f.select(1);
        const QString key = document().OpenBook().Item(2).PSkey;
        EntryDialog *dialog = open(0);
        type(dialog, {u"変更後"_s, u"099"_s});
        dialog->Commit();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(f.names(), (QStringList{u"名前1"_s, u"変更後"_s, u"名前3"_s}));
        QCOMPARE(document().OpenBook().Item(2).PSkey, key);
        QCOMPARE(document().OpenBook().Item(2).PTel, u"099"_s);
        QCOMPARE(document().OpenBook().Item(2).PMail, u"mail 名前2"_s);
        QCOMPARE(window().listModel()->index(1, 1).data().toString(), u"099"_s);
        QCOMPARE(window().countText(), u"3件"_s);
        QVERIFY(document().BookChanged());
    }

    // A value longer than the typing limit (a file may hold one) comes back whole.
    void changeKeepsLongStoredValues()
    {
        f.startWithBook(1);
        document().OpenBook().Item(1).PTel = u"+81-3-1234-5678"_s;
        f.select(0);
        EntryDialog *dialog = open(0);
        QCOMPARE(dialog->field(1)->text(), u"+81-3-1234-5678"_s);
        dialog->field(0)->setText(u"別名"_s);
        dialog->Commit();
        QCOMPARE(document().OpenBook().Item(1).PTel, u"+81-3-1234-5678"_s);
    }

    void refusals_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("says");
        QTest::newRow("empty name") << 0 << QString() << u"氏名は必ず入力して下さい。"_s;
        QTest::newRow("comma in the name") << 0 << u"山田,太郎"_s << u"カンマ"_s;
        QTest::newRow("comma in the memo") << 6 << u"a,b"_s << u"一言メモ"_s;
        QTest::newRow("line break in an address") << 4 << u"東京\n千代田"_s << u"改行"_s;
        QTest::newRow("outside Shift_JIS") << 5 << u"𠮷野"_s << u"Shift_JIS"_s;
        QTest::newRow("leading quote") << 2 << u"\"a@b"_s << u"二重引用符"_s;
    }

    void refusals()
    {
        QFETCH(int, field);
        QFETCH(QString, value);
        QFETCH(QString, says);
        for (int command : {0, 1}) {
            f.startWithBook(2);
            f.select(0);
            EntryDialog *dialog = open(command);
            dialog->field(0)->setText(u"名前"_s);
            dialog->field(field)->setText(value);
            dialog->Commit();
            const QList<ShownMessage> shown = MessageBoxes::TakeShown();
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown[0].text.contains(says), qPrintable(shown[0].text));
            QCOMPARE(shown[0].icon, MsgIcon::Critical);
            QVERIFY(dialog->isVisible());
            QCOMPARE(f.names(), (QStringList{u"名前1"_s, u"名前2"_s}));
            QVERIFY(!document().BookChanged());
            dialog->close();
        }
    }

    // A value the entry already holds (a quoted file can give one with a
    // comma) does not block a change to another field.
    void changeKeepsAStoredCommaValue()
    {
        f.startWithBook(1);
        document().OpenBook().Item(1).PJu1 = u"東京都千代田区1-2,3F"_s;
        f.select(0);
        EntryDialog *dialog = open(0);
        dialog->field(1)->setText(u"03-9999-0000"_s);
        dialog->Commit();
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
        QCOMPARE(document().OpenBook().Item(1).PJu1, u"東京都千代田区1-2,3F"_s);
        QCOMPARE(document().OpenBook().Item(1).PTel, u"03-9999-0000"_s);
    }

    // A full book refuses the add before it takes a key.
    void addToAFullBookIsRefused()
    {
        f.start();
        f.fillBook(MaxBookRecords);
        const Cls_管理 &book = document().OpenBook();
        const qint32 counter = document().KeyCounter();
        EntryDialog *dialog = open(1);
        dialog->field(0)->setText(u"もう一人"_s);
        dialog->Commit();
        QCOMPARE(MessageBoxes::TakeShown().size(), 1);
        QVERIFY(dialog->isVisible());
        QCOMPARE(book.Count(), MaxBookRecords);
        QCOMPARE(document().KeyCounter(), counter);
    }

    void oneBlankIsAName()
    {
        f.start();
        EntryDialog *dialog = open(1);
        part<QCheckBox>(dialog, u"Chk_連続"_s)->setChecked(false);
        dialog->field(0)->setText(u" "_s);
        dialog->Commit();
        QCOMPARE(f.names(), QStringList{u" "_s});
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }

    void changeWithoutSelectionIsReported()
    {
        f.startWithBook(1);
        window().listView()->setCurrentRow(-1);
        QVERIFY(!open(0));
        QCOMPARE(MessageBoxes::TakeShown().size(), 1);
    }

    void plainCombosAreTintedImageCombosAreNot()
    {
        QWidget form;
        auto *plain = new QComboBox(&form);
        auto *image = new ImageComboBox(&form);
        const QColor before = image->palette().color(QPalette::Base);
        TintInputControls(&form);
        QCOMPARE(plain->palette().color(QPalette::Base), QColor(250, 250, 228));
        QCOMPARE(image->palette().color(QPalette::Base), before);
    }

    // Leaving the 〒 fills an empty address; leaving the address fills an
    // empty 〒 when one code is sure; several candidates offer a list (or,
    // for the 〒 on leaving, nothing). What the user typed stays.
    void postalLookupOnLeaving_data()
    {
        QTest::addColumn<QString>("yubin");
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("leaveField");
        QTest::addColumn<int>("pick");    // the candidate chosen, -1 Esc, -2 no list
        QTest::addColumn<QString>("expectedYubin");
        QTest::addColumn<QString>("expectedAddress");
        const int code = int(Field::Yubin), address = int(Field::Ju1);
        QTest::newRow("code fills the address") << u"100-0001"_s << QString() << code << -2 << u"100-0001"_s
                                               << u"東京都千代田区千代田"_s;
        QTest::newRow("full-width code") << u"１０００００１"_s << QString() << code << -2 << u"１０００００１"_s
                                        << u"東京都千代田区千代田"_s;
        QTest::newRow("a typed address stays") << u"1000001"_s << u"大阪府"_s << code << -2 << u"1000001"_s
                                              << u"大阪府"_s;
        QTest::newRow("unknown code") << u"999-9999"_s << QString() << code << -2 << u"999-9999"_s << QString();
        QTest::newRow("not a code") << u"100-00"_s << QString() << code << -2 << u"100-00"_s << QString();
        QTest::newRow("two towns, the second") << u"0030022"_s << QString() << code << 1 << u"0030022"_s
                                              << u"北海道札幌市白石区南郷通南"_s;
        QTest::newRow("two towns, Esc") << u"0030022"_s << QString() << code << -1 << u"0030022"_s << QString();
        QTest::newRow("an office shares the code") << u"1000005"_s << QString() << code << 0 << u"1000005"_s
                                                  << u"東京都千代田区丸の内"_s;
        QTest::newRow("address fills the code") << QString() << u"東京都千代田区千代田１－１"_s << address << -2
                                               << u"100-0001"_s << u"東京都千代田区千代田１－１"_s;
        QTest::newRow("several codes fill nothing") << QString() << u"北海道札幌市白石区南郷通１丁目"_s << address
                                                   << -2 << QString() << u"北海道札幌市白石区南郷通１丁目"_s;
        QTest::newRow("a typed code stays") << u"123"_s << u"東京都千代田区千代田"_s << address << -2 << u"123"_s
                                           << u"東京都千代田区千代田"_s;
    }

    void postalLookupOnLeaving()
    {
        QFETCH(QString, yubin);
        QFETCH(QString, address);
        QFETCH(int, leaveField);
        QFETCH(int, pick);
        QFETCH(QString, expectedYubin);
        QFETCH(QString, expectedAddress);
        f.start();
        usePostalData();
        EntryDialog *dialog = open(1);
        dialog->field(int(Field::Yubin))->setText(yubin);
        dialog->field(int(Field::Ju1))->setText(address);
        leave(dialog->field(leaveField));
        auto *choice = dialog->findChild<PostalChoiceDialog *>(u"F_候補"_s);
        QCOMPARE(choice != nullptr, pick != -2);
        if (choice) {
            if (pick >= 0) {
                choice->list()->setCurrentRow(pick);
                choice->Choose();
            } else {
                choice->reject();
            }
        }
        QCoreApplication::processEvents();
        QCOMPARE(dialog->field(int(Field::Yubin))->text(), expectedYubin);
        QCOMPARE(dialog->field(int(Field::Ju1))->text(), expectedAddress);
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }

    // The buttons look up on demand and ask before replacing what is typed.
    void postalLookupButtons()
    {
        f.start();
        usePostalData();
        EntryDialog *dialog = open(1);
        QLineEdit *code = dialog->field(int(Field::Yubin)), *address = dialog->field(int(Field::Ju1));
        auto *findAddress = part<PictureButton>(dialog, u"cmd_住所検索"_s);
        auto *findCode = part<PictureButton>(dialog, u"cmd_〒検索"_s);
        code->setText(u"1000001"_s);
        address->setText(u"大阪府"_s);
        MessageBoxes::QueueAnswer(MsgAnswer::No);
        findAddress->click();
        QCOMPARE(address->text(), u"大阪府"_s);
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        findAddress->click();
        QCOMPARE(address->text(), u"東京都千代田区千代田"_s);
        QCOMPARE(MessageBoxes::TakeShown().size(), 2);

        // Several codes: the list, and the question before the typed code goes.
        address->setText(u"北海道札幌市白石区南郷通"_s);
        findCode->click();
        auto *choice = dialog->findChild<PostalChoiceDialog *>(u"F_候補"_s);
        QVERIFY(choice);
        QCOMPARE(choice->list()->count(), 2);
        QCOMPARE(choice->list()->item(1)->text(), u"003-0023\u3000北海道札幌市白石区南郷通"_s);
        choice->list()->setCurrentRow(1);
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        choice->Choose();
        QCOMPARE(code->text(), u"003-0023"_s);
        MessageBoxes::TakeShown();

        // Nothing found is said only when asked for.
        code->setText(u"9999999"_s);
        findAddress->click();
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.contains(u"見つかりませんでした"_s));
    }

    // Without postal data the buttons stay off and name the package that brings it.
    void postalLookupWithoutData()
    {
        f.start();
        usePostalData(f.path(u"none/SKK-JISYO.zipcode"_s));
        EntryDialog *dialog = open(1);
        auto *findAddress = part<PictureButton>(dialog, u"cmd_住所検索"_s);
        QVERIFY(!findAddress->isEnabled());
        QVERIFY(findAddress->toolTip().contains(u"skkdic-extra"_s));
        dialog->field(int(Field::Yubin))->setText(u"1000001"_s);
        leave(dialog->field(int(Field::Yubin)));
        QVERIFY(dialog->field(int(Field::Ju1))->text().isEmpty());
    }

    void pictureButtonsSwapOnHover()
    {
        f.start();
        EntryDialog *dialog = open(1);
        auto *go = part<PictureButton>(dialog, u"cmd_Go"_s);
        QVERIFY(!go->icon().isNull());
        QCOMPARE(go->toolTip(), u"追加"_s);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(go, &enter);
        QVERIFY(go->showsHover());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(go, &leave);
        QVERIFY(!go->showsHover());
    }
};

QTEST_MAIN(TestEntryDialog)
#include "test_entry_dialog.moc"

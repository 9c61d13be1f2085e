#include "window_fixture.h"

#include "entry/image_combo_box.h"
#include "entry/picture_button.h"
#include "entry/search_dialog.h"
#include "mainwindow/address_list_model.h"
#include "mainwindow/address_list_view.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "model/app_state.h"
#include "settings/settings_store.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// One list entry: name first, then as many further fields as needed.
using Row = QStringList;

const QList<Row> kNames = {{u"山田"_s}, {u"田中"_s}, {u"山本"_s}, {u"本田"_s}, {u"中山"_s}};

} // namespace

class TestSearchDialog : public QObject {
    Q_OBJECT

    WindowFixture f;

    MainWindow &window() { return *f.window; }
    AppState &state() { return *f.state; }
    BookDocument &document() { return *f.document; }

    // A main window whose list shows the given entries.
    void start(const QList<Row> &rows)
    {
        f.start();
        for (Row row : rows) {
            Cls_住所 record;
            for (int i = 0; i < row.size(); ++i)
                record.field(Field(i)) = row[i];
            document().AddRecord(record, -1, document().NextRecordKey());
        }
    }

    template <typename T>
    static T *named(QWidget *dialog, const QString &name)
    {
        T *w = dialog->findChild<T *>(name);
        if (!w)
            qWarning("no control named %s", qPrintable(name));
        return w;
    }
    static QComboBox *textBox(SearchDialog *d) { return named<QComboBox>(d, u"cmb_氏名"_s); }
    static QComboBox *fieldBox(SearchDialog *d) { return named<QComboBox>(d, u"cmb_項目"_s); }
    static QCheckBox *exactBox(SearchDialog *d) { return named<QCheckBox>(d, u"Chk_検索"_s); }

    // As the user would: type the text (if it is new), then press search.
    static void search(SearchDialog *d, const QString &text)
    {
        if (textBox(d)->currentText() != text)
            textBox(d)->setEditText(text);
        d->Search();
    }

    int selectedRow() { return window().listView()->currentRow(); }

    static QStringList shownTexts()
    {
        QStringList texts;
        for (const ShownMessage &m : MessageBoxes::TakeShown())
            texts << m.text;
        return texts;
    }

    static QStringList items(QComboBox *box)
    {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
        return texts;
    }

private Q_SLOTS:
    void init() { MessageBoxes::SetScripted(true); }

    void cleanup()
    {
        const int answers = MessageBoxes::PendingAnswers();
        const QList<ShownMessage> unexpected = MessageBoxes::TakeShown();
        f.window.reset();
        MessageBoxes::SetScripted(false);
        QCOMPARE(answers, 0);
        QCOMPARE(unexpected.size(), 0);
    }

    void laysOutTheForm()
    {
        start({});
        SearchDialog *d = SearchDialog::Open(window(), false);
        QCOMPARE(d->objectName(), u"F_Kensaku"_s);
        QCOMPARE(d->windowTitle(), u"検索処理"_s);
        QVERIFY(!(d->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(d->minimumSize(), d->maximumSize());

        QCOMPARE(named<QLabel>(d, u"lbl_検索項目"_s)->text(), u"検索項目"_s);
        QCOMPARE(named<QLabel>(d, u"lbl_検索内容"_s)->text(), u"検索内容"_s);
        QCOMPARE(named<QLabel>(d, u"lbl_説明"_s)->text(), u"(上記の文字列を含む検索項目を検索します)"_s);
        QCOMPARE(named<QLabel>(d, u"Label1"_s)->text(), u"完全に一致するもののみ検索"_s);
        QCOMPARE(fieldBox(d)->geometry(), QRect(20, 25, 146, 24));
        QCOMPARE(named<QWidget>(d, u"cmd_検索"_s)->geometry(), QRect(355, 20, 81, 30));
        QCOMPARE(named<QWidget>(d, u"cmd_閉じる"_s)->geometry(), QRect(355, 60, 81, 30));
        auto *searchButton = named<PictureButton>(d, u"cmd_検索"_s);
        QVERIFY(searchButton->isDefault());
        QVERIFY(!searchButton->icon().isNull());

        // The field list: captions, keys, pictures, the name first.
        QVERIFY(qobject_cast<ImageComboBox *>(fieldBox(d)));
        const QStringList captions = {u"氏名"_s, u"電話番号"_s, u"メールアドレス"_s, u"〒"_s,
                                      u"住所1"_s, u"住所2"_s, u"一言メモ"_s};
        QCOMPARE(items(fieldBox(d)), captions);
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(fieldBox(d)->itemData(i).toString(), u"k%1"_s.arg(i + 1));
            QVERIFY(!fieldBox(d)->itemIcon(i).isNull());
        }
        QCOMPARE(fieldBox(d)->currentIndex(), 0);
        QVERIFY(!exactBox(d)->isChecked());

        // The text box is an input field; the picture list is not.
        QCOMPARE(textBox(d)->palette().color(QPalette::Base), QColor(250, 250, 228));
        QVERIFY(fieldBox(d)->palette().color(QPalette::Base) != QColor(250, 250, 228));

        // Tab from the text box round the form and back.
        QTRY_VERIFY(d->isActiveWindow());
        QList<QWidget *> order = {QApplication::focusWidget()};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget();
        }
        QCOMPARE(order, (QList<QWidget *>{textBox(d), searchButton, named<QWidget>(d, u"cmd_閉じる"_s),
                                          exactBox(d), fieldBox(d), textBox(d)}));
    }

    void placedOverTheMainWindow_data()
    {
        QTest::addColumn<int>("mainHeight");   // pixels above the screen's height
        QTest::newRow("main window shorter than the screen") << -400;
        QTest::newRow("main window taller than the screen") << 200;
    }

    // Centred across the screen; vertically where a centred main window's
    // top would be, but never with the caption bar above the screen.
    void placedOverTheMainWindow()
    {
        QFETCH(int, mainHeight);
        start({});
        const QRect screen = window().screen()->geometry();
        window().resize(window().width(), screen.height() + mainHeight);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        SearchDialog *d = SearchDialog::Open(window(), false);
        const int topTwips = (screen.height() * 15 - window().frameGeometry().height() * 15) / 2;
        const int left = (19200 - 6795) / 2;
        QCOMPARE(d->pos() - screen.topLeft(), QPoint((left + 7) / 15, std::max(0, (topTwips + 7) / 15)));
    }

    void findsNextMatchWithoutWrapping()
    {
        start(kNames);
        SearchDialog *d = SearchDialog::Open(window(), false);
        QCOMPARE(d->searchStart(), 1);
        for (int row : {0, 2, 4}) {
            search(d, u"山"_s);
            QVERIFY(d->searchFound());
            QCOMPARE(selectedRow(), row);
            QCOMPARE(d->searchStart(), row + 2);
            // The marker moves with the match and leaves the previous one.
            QVERIFY(window().listModel()->isMarked(row));
            QCOMPARE(document().MarkedIndex(), row + 1);
            QVERIFY(row == 0 || !window().listModel()->isMarked(row - 2));
        }
        QVERIFY(!QGuiApplication::overrideCursor());

        // Past the last match: reported, again and again, nothing moves.
        for (int again = 0; again < 2; ++again) {
            search(d, u"山"_s);
            QVERIFY(!d->searchFound());
            const QList<ShownMessage> shown = MessageBoxes::TakeShown();
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown[0].text, u"該当の氏名は見つかりませんでした。"_s);
            QCOMPARE(shown[0].icon, MsgIcon::Information);
            QCOMPARE(selectedRow(), 4);
            QCOMPARE(d->searchStart(), 6);
        }
        QVERIFY(!QGuiApplication::overrideCursor());

        // Typing the text again starts from the top.
        textBox(d)->clearEditText();
        search(d, u"山"_s);
        QCOMPARE(selectedRow(), 0);
    }

    void matchRules_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");
        QTest::newRow("exact needs the whole value") << 0 << true << u"山"_s << -1;
        QTest::newRow("exact, whole value") << 0 << true << u"山本"_s << 2;
        QTest::newRow("contained, case ignored") << 6 << false << u"abc"_s << 1;
        QTest::newRow("exact keeps the case") << 6 << true << u"abc"_s << -1;
        QTest::newRow("exact, same case") << 6 << true << u"ABC"_s << 3;
        QTest::newRow("width and kana ignored") << 0 << false << u"やまが"_s << 5;
        QTest::newRow("field other than the name") << 1 << false << u"03"_s << 4;
    }

    void matchRules()
    {
        QFETCH(int, field);
        QFETCH(bool, exact);
        QFETCH(QString, text);
        QFETCH(int, row);
        start({{u"山田"_s}, {u"田中"_s, u""_s, u""_s, u""_s, u""_s, u""_s, u"ABCD"_s},
               {u"山本"_s}, {u"本田"_s, u""_s, u""_s, u""_s, u""_s, u""_s, u"ABC"_s},
               {u"中山"_s, u"03-1234"_s}, {u"ﾔﾏｶﾞﾀ"_s}});
        SearchDialog *d = SearchDialog::Open(window(), false);
        fieldBox(d)->setCurrentIndex(field);
        exactBox(d)->setChecked(exact);
        search(d, text);
        QCOMPARE(d->searchFound(), row >= 0);
        QCOMPARE(selectedRow(), row);
        if (row < 0)
            QCOMPARE(shownTexts(), QStringList{u"該当の"_s + fieldBox(d)->currentText() + u"は見つかりませんでした。"_s});
    }

    void searchesAnEmptyList()
    {
        start({});
        SearchDialog *d = SearchDialog::Open(window(), false);
        search(d, u"山"_s);
        QVERIFY(!d->searchFound());
        QCOMPARE(shownTexts(), QStringList{u"該当の氏名は見つかりませんでした。"_s});
        QCOMPARE(state().SearchHistory, QStringList{u"山"_s});
    }

    void refusesIncompleteSearch_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("message");
        QTest::newRow("no text") << QString() << 0 << u"検索する文字を入力して下さい。"_s;
        QTest::newRow("no field") << u"山"_s << -1 << u"検索項目を選択して下さい。"_s;
    }

    void refusesIncompleteSearch()
    {
        QFETCH(QString, text);
        QFETCH(int, field);
        QFETCH(QString, message);
        start(kNames);
        SearchDialog *d = SearchDialog::Open(window(), false);
        search(d, u"田"_s);
        fieldBox(d)->setCurrentIndex(field);
        textBox(d)->setEditText(text);
        d->Search();
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, message);
        QCOMPARE(shown[0].icon, MsgIcon::Critical);
        // Nothing else happens: no history entry, the selection stays.
        QCOMPARE(state().SearchHistory, QStringList{u"田"_s});
        QCOMPARE(items(textBox(d)), QStringList{u"田"_s});
        QCOMPARE(selectedRow(), 0);
    }

    void historyKeepsEverySearch()
    {
        start(kNames);
        SearchDialog *d = SearchDialog::Open(window(), false);
        QCOMPARE(textBox(d)->count(), 0);
        search(d, u"山"_s);
        search(d, u"山"_s);
        search(d, u"田"_s);
        const QStringList expected = {u"山"_s, u"山"_s, u"田"_s};
        QCOMPARE(state().SearchHistory, expected);
        QCOMPARE(items(textBox(d)), expected);
        // Recording the text is no edit of it: the search goes on.
        search(d, u"田"_s);
        QCOMPARE(selectedRow(), 1);
        QCOMPARE(textBox(d)->currentText(), u"田"_s);

        QPointer<SearchDialog> old = d;
        d->reject();
        QTRY_VERIFY(!old);
        d = SearchDialog::Open(window(), false);
        QCOMPARE(items(textBox(d)), (QStringList{u"山"_s, u"山"_s, u"田"_s, u"田"_s}));
        QCOMPARE(textBox(d)->currentText(), QString());
        QCOMPARE(d->searchStart(), 1);
    }

    void startFollowsTheTextOnly()
    {
        start({{u"山田"_s, u""_s, u""_s, u""_s, u""_s, u""_s, u"山"_s},
               {u"田中"_s, u""_s, u""_s, u""_s, u""_s, u""_s, u"山"_s},
               {u"山本"_s}});
        window().show();
        SearchDialog *d = SearchDialog::Open(window(), false);
        QTRY_VERIFY(d->isActiveWindow());
        search(d, u"山"_s);
        QCOMPARE(selectedRow(), 0);

        // Another field, or the box ticked and unticked: the search goes on
        // after the previous match. Choosing the field hands over to the text.
        fieldBox(d)->setFocus();
        fieldBox(d)->setCurrentIndex(6);
        Q_EMIT fieldBox(d)->activated(6);
        QVERIFY(textBox(d)->hasFocus());
        QTest::mouseClick(named<QLabel>(d, u"Label1"_s), Qt::LeftButton);   // its words tick it
        QVERIFY(exactBox(d)->isChecked());
        exactBox(d)->setChecked(false);
        QCOMPARE(d->searchStart(), 2);
        search(d, u"山"_s);
        QCOMPARE(selectedRow(), 1);

        // Choosing a history entry, even the text shown, starts at the top.
        textBox(d)->setCurrentIndex(0);
        Q_EMIT textBox(d)->activated(0);
        QCOMPARE(d->searchStart(), 1);
        search(d, u"山"_s);
        QCOMPARE(selectedRow(), 0);
    }

    void opensOnceAndSearchesOnEnter()
    {
        start(kNames);
        window().show();
        QTRY_VERIFY(window().isActiveWindow());
        SearchDialog *d = SearchDialog::Open(window(), true);
        QCOMPARE(d->windowModality(), Qt::ApplicationModal);
        QTRY_VERIFY(d->isActiveWindow());
        QCOMPARE(SearchDialog::Open(window(), false), d);
        QCOMPARE(window().findChildren<SearchDialog *>().size(), 1);

        // Enter while typing searches instead of staying in the text box.
        QLineEdit *edit = textBox(d)->lineEdit();
        QVERIFY(edit->hasFocus());
        edit->setText(u"山"_s);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(selectedRow(), 0);
        QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(selectedRow(), 2);
        QCOMPARE(state().SearchHistory.size(), 2);
        QCOMPARE(edit->text(), u"山"_s);
    }

    void closesToTheList_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Esc while typing") << 0;
        QTest::newRow("close button") << 1;
        QTest::newRow("close box") << 2;
    }

    void closesToTheList()
    {
        QFETCH(int, how);
        start(kNames);
        window().show();
        QTRY_VERIFY(window().isActiveWindow());
        QWidget *list = window().listView()->currentView();
        window().findChild<QWidget *>(u"cmb_表示形式"_s)->setFocus();
        QVERIFY(window().focusWidget() != list);

        QPointer<SearchDialog> d = SearchDialog::Open(window(), how == 0);
        QTRY_VERIFY(d->isActiveWindow());
        if (how == 0)
            QTest::keyClick(textBox(d)->lineEdit(), Qt::Key_Escape);
        else if (how == 1)
            named<QPushButton>(d, u"cmd_閉じる"_s)->click();
        else
            d->close();
        QTRY_VERIFY(!d);
        // The list is what gets the keys when the main window is active again.
        QCOMPARE(window().focusWidget(), list);
        QVERIFY(SearchDialog::Open(window(), false));
    }
};

QTEST_MAIN(TestSearchDialog)
#include "test_search_dialog.moc"

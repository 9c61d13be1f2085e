// The postal-code check of a whole book, its result window, and the choice
// of the postal data.

#include "window_fixture.h"

#include "entry/entry_dialog.h"
#include "entry/picture_button.h"
#include "files/postal_codes.h"
#include "mainwindow/address_list_view.h"
#include "postal/postal_check_window.h"
#include "postal/postal_data_dialog.h"
#include "settings/settings_sections.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kDictionary = QStringLiteral(YUZARIBO_TEST_DATA "/postal/SKK-JISYO.zipcode");
const QString kKenAll = QStringLiteral(YUZARIBO_TEST_DATA "/postal/KEN_ALL.CSV");

} // namespace

class TestPostalWindows : public QObject {
    Q_OBJECT

    WindowFixture f;

    void startWith(const QList<QStringList> &entries)
    {
        f.start();
        auto book = std::make_unique<Cls_管理>();
        int n = 0;
        for (const QStringList &e : entries) {
            ++n;
            book->Add(e[0], {}, {}, e[1], e[2], {}, {}, book.get(), -1, MakeRecordKey(n));
        }
        f.document->ReplaceBook(std::move(book), n);
        PostalSourcePaths paths;
        paths.dictionary = kDictionary;
        f.window->postalCodes().setPaths(paths);
    }

    PostalCheckWindow *resultWindow() { return f.window->findChild<PostalCheckWindow *>(u"F_郵便番号チェック"_s); }

private Q_SLOTS:
    void init()
    {
        MessageBoxes::SetScripted(true);
        FileDialogs::SetScripted(true);
    }

    void cleanup() { f.finish(); }

    // Every kind of fault is listed with the entry's number; a right code,
    // and an entry without any address, are not.
    void checkListsTheFaults()
    {
        startWith({
            {u"正しい人"_s, u"100-0001"_s, u"東京都千代田区千代田１－１"_s},
            {u"県を略す人"_s, u"１０００００１"_s, u"千代田区千代田２"_s},
            {u"ない番号の人"_s, u"999-9999"_s, u"東京都千代田区千代田"_s},
            {u"違う町の人"_s, u"100-0001"_s, u"大阪府大阪市北区"_s},
            {u"住所のない人"_s, u"100-0001"_s, QString()},
            {u"番号のない人"_s, QString(), u"東京都千代田区千代田"_s},
            {u"電話だけの人"_s, QString(), QString()},
        });
        f.window->findChild<QAction *>(u"mm_郵便番号チェック"_s)->trigger();
        PostalCheckWindow *window = resultWindow();
        QVERIFY(window);
        QTableWidget *table = window->table();
        QStringList rows;
        for (int r = 0; r < table->rowCount(); ++r)
            rows << table->item(r, 0)->text() + u' ' + table->item(r, 1)->text() + u' ' + table->item(r, 4)->text();
        QCOMPARE(rows, QStringList({u"3 ない番号の人 郵便番号が見つかりません。"_s,
                                    u"4 違う町の人 郵便番号と住所1の市区町村が一致しません。"_s,
                                    u"5 住所のない人 住所1が入力されていません。"_s,
                                    u"6 番号のない人 郵便番号が入力されていません。"_s}));
        QVERIFY(MessageBoxes::TakeShown().isEmpty());

        // Double-clicking a row selects the entry and opens it to be changed.
        Q_EMIT table->cellDoubleClicked(1, 0);
        QCOMPARE(f.window->listView()->currentRow(), 3);
        auto *dialog = f.window->findChild<EntryDialog *>();
        QVERIFY(dialog);
        QCOMPARE(dialog->mode(), 1);
        QCOMPARE(dialog->field(0)->text(), u"違う町の人"_s);
        dialog->reject();
    }

    void checkWithoutFaults()
    {
        startWith({{u"正しい人"_s, u"100-0001"_s, u"東京都千代田区千代田"_s}, {u"電話だけの人"_s, QString(), QString()}});
        f.window->findChild<QAction *>(u"mm_郵便番号チェック"_s)->trigger();
        QVERIFY(!resultWindow());
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, u"2件をチェックしました。問題は見つかりませんでした。"_s);
    }

    // A KEN_ALL.CSV chosen is used at once and kept; one that does not read
    // is refused with the reason; the way back is to the dictionary.
    void choosingThePostalData()
    {
        startWith({});
        auto *dialog = new PostalDataDialog(*f.window, f.window.get());
        auto *source = dialog->findChild<QLabel *>(u"lbl_使用中"_s);
        QVERIFY(source->text().contains(u"skkdic-extra"_s));
        QVERIFY(dialog->findChild<QLabel *>(u"lbl_内容"_s)->text().contains(u"2021年3月15日"_s));
        QVERIFY(!dialog->findChild<PictureButton *>(u"cmd_既定値"_s)->isEnabled());

        FileDialogs::QueuePath(QStringLiteral(YUZARIBO_TEST_DATA "/postal/broken.skk"));
        dialog->ChooseKenAll();
        QCOMPARE(MessageBoxes::TakeShown().size(), 1);
        QVERIFY(f.settings->PostalDataFile.isEmpty());
        QVERIFY(source->text().contains(u"skkdic-extra"_s));

        FileDialogs::QueuePath(kKenAll);
        dialog->ChooseKenAll();
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
        QCOMPARE(f.settings->PostalDataFile, kKenAll);
        QVERIFY(source->text().contains(u"KEN_ALL.CSV"_s));
        QCOMPARE(f.window->postalCodes().Lookup(u"0600042"_s).value(0).address, u"北海道札幌市中央区大通西"_s);
        SettingsRecord stored;
        M_RegS::LoadFileSection(*f.store, stored);
        QCOMPARE(stored.PostalDataFile, kKenAll);

        dialog->findChild<PictureButton *>(u"cmd_既定値"_s)->click();
        QVERIFY(f.settings->PostalDataFile.isEmpty());
        QVERIFY(source->text().contains(u"skkdic-extra"_s));
        M_RegS::LoadFileSection(*f.store, stored);
        QVERIFY(stored.PostalDataFile.isEmpty());
        delete dialog;
    }
};

QTEST_MAIN(TestPostalWindows)
#include "test_postal_windows.moc"

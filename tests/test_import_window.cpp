// Import and export from the main window: the file, the choice of CSV
// columns, the preview with its duplicates and problems, one undoable step.

#include "window_fixture.h"

#include "entry/picture_button.h"
#include "files/import_source.h"
#include "importexport/import_mapping_dialog.h"
#include "importexport/import_preview_dialog.h"
#include "importexport/import_preview_model.h"
#include "mainwindow/address_list_view.h"
#include "model/record_keys.h"

#include <QComboBox>
#include <QListWidget>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kData = QStringLiteral(YUZARIBO_TEST_DATA "/import/");

} // namespace

class TestImportWindow : public QObject {
    Q_OBJECT

    WindowFixture f;

    void startWith(const QStringList &names)
    {
        f.start();
        auto book = std::make_unique<Cls_管理>();
        int n = 0;
        for (const QString &name : names) {
            ++n;
            book->Add(name, u"03-0000-%1"_s.arg(n, 4, 10, QLatin1Char('0')), {}, {}, {}, {}, {}, book.get(), -1,
                      MakeRecordKey(n));
        }
        f.document->ReplaceBook(std::move(book), n);
        if (n > 0)
            f.window->selectRow(0);
    }

    QStringList names() const { return f.names(); }

    // Runs インポート on path; the preview (or null when the command stopped).
    ImportPreviewDialog *importFile(const QString &path)
    {
        FileDialogs::QueuePath(path);
        f.window->findChild<QAction *>(u"mm_インポート"_s)->trigger();
        if (auto *mapping = f.window->findChild<ImportMappingDialog *>(u"F_取込列"_s))
            mapping->Go();
        return f.window->findChild<ImportPreviewDialog *>(u"F_取込確認"_s);
    }

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(f.path(name));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write a test file");
        file.write(bytes);
        return file.fileName();
    }

private Q_SLOTS:
    void init()
    {
        MessageBoxes::SetScripted(true);
        FileDialogs::SetScripted(true);
    }

    void cleanup() { f.finish(); }

    // A vCard file: the preview marks a probable duplicate and leaves it out;
    // the rest go in front of the selected entry as one undoable step.
    void vcardThroughThePreview()
    {
        startWith({u"既存 一郎"_s, u"鈴木 花子"_s});
        // The book's 鈴木 花子 has the card's telephone number.
        Cls_住所 fields = f.document->Record(2);
        fields.PTel = u"06-1111-2222"_s;
        f.document->SetRecordFields(2, fields);
        f.document->History().clear();
        f.document->MarkSaved();
        f.window->selectRow(1);

        ImportPreviewDialog *preview = importFile(kData + u"google_contacts_3.0.vcf"_s);
        QVERIFY(preview);
        ImportPreviewModel *model = preview->model();
        const int total = model->rowCount();
        QVERIFY(total >= 2);
        QCOMPARE(model->contacts()[1].name, u"鈴木 花子"_s);
        QVERIFY(model->isDuplicate(1));
        QVERIFY(!model->isTaken(1));
        QVERIFY(model->isTaken(0));
        preview->findChild<PictureButton *>(u"cmd_Go"_s)->click();
        QVERIFY(!f.window->findChild<ImportPreviewDialog *>(u"F_取込確認"_s)->isVisible());

        const QStringList after = names();
        QCOMPARE(after.size(), 2 + total - 1);
        QCOMPARE(after.first(), u"既存 一郎"_s);
        QCOMPARE(after[1], model->contacts()[0].name);
        QCOMPARE(after.last(), u"鈴木 花子"_s);
        QCOMPARE(f.window->listView()->currentRow(), 1);
        QVERIFY(f.document->BookChanged());
        QCOMPARE(f.document->History().count(), 1);
        QCOMPARE(f.document->History().undoText(), u"インポート"_s);
        f.document->History().undo();
        QCOMPARE(names(), QStringList({u"既存 一郎"_s, u"鈴木 花子"_s}));
        QVERIFY(!f.document->BookChanged());
    }

    // CSV: the columns as guessed, one changed by the user; at the end.
    void csvThroughTheColumns()
    {
        startWith({u"既存 一郎"_s});
        FileDialogs::QueuePath(kData + u"spreadsheet_cp932.csv"_s);
        f.window->findChild<QAction *>(u"mm_インポート"_s)->trigger();
        auto *mapping = f.window->findChild<ImportMappingDialog *>(u"F_取込列"_s);
        QVERIFY(mapping);
        // フリガナ, which nothing takes, into the memo.
        int reading = -1;
        for (int c = 0; c < mapping->table()->rowCount(); ++c)
            if (mapping->table()->item(c, 0)->text() == u"フリガナ"_s)
                reading = c;
        QVERIFY(reading >= 0);
        QCOMPARE(ImportTarget(mapping->targetOf(reading)->currentData().toInt()), ImportTarget::Ignore);
        for (int c = 0; c < mapping->table()->rowCount(); ++c)
            if (ImportTarget(mapping->targetOf(c)->currentData().toInt()) == ImportTarget::Memo)
                mapping->targetOf(c)->setCurrentIndex(mapping->targetOf(c)->findData(int(ImportTarget::Ignore)));
        mapping->targetOf(reading)->setCurrentIndex(mapping->targetOf(reading)->findData(int(ImportTarget::Memo)));
        mapping->Go();
        auto *preview = f.window->findChild<ImportPreviewDialog *>(u"F_取込確認"_s);
        QVERIFY(preview);
        QCOMPARE(preview->model()->contacts().front().memo, u"ナカムラ ヒナ"_s);
        preview->findChild<QRadioButton *>(u"opt_位置(1)"_s)->setChecked(true);
        preview->Go();
        QCOMPARE(names().first(), u"既存 一郎"_s);
        QCOMPARE(names().size(), 1 + int(preview->model()->contacts().size()));
    }

    // Characters the book's file cannot hold are listed per entry, field
    // and character; the user skips those entries or has 〓 put in.
    void unstorableCharacters_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::newRow("skipped") << false;
        QTest::newRow("replaced by 〓") << true;
    }

    void unstorableCharacters()
    {
        QFETCH(bool, replace);
        startWith({});
        const QString path = writeFile(u"odd.vcf"_s, u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:𠮷田 太郎\r\nEND:VCARD\r\n"
                                                      u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:普通 花子\r\nEND:VCARD\r\n"_s.toUtf8());
        ImportPreviewDialog *preview = importFile(path);
        QVERIFY(preview);
        QCOMPARE(preview->problems()->count(), 1);
        QVERIFY(preview->problems()->item(0)->text().startsWith(u"1. 𠮷田 太郎"_s));
        QVERIFY(preview->problems()->item(0)->text().contains(u"U+20BB7"_s));
        if (replace)
            preview->findChild<QRadioButton *>(u"opt_問題(1)"_s)->setChecked(true);
        preview->Go();
        QCOMPARE(names(), replace ? QStringList({u"〓田 太郎"_s, u"普通 花子"_s}) : QStringList({u"普通 花子"_s}));
    }

    // A book that cannot take them all is not touched; the preview stays.
    void theEntryLimit()
    {
        startWith({});
        f.fillBook(MaxBookRecords - 1);
        ImportPreviewDialog *preview = importFile(kData + u"google_contacts_3.0.vcf"_s);
        QVERIFY(preview);
        preview->Go();
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.contains(u"あと1件"_s));
        QVERIFY(preview->isVisible());
        QCOMPARE(f.document->Count(), MaxBookRecords - 1);
    }

    // Files that are not read: too large (before reading), not contacts.
    void refusedFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("over 64 MB") << u"big.vcf"_s << MaxImportFileBytes + 1 << QByteArray() << u"64"_s;
        QTest::newRow("not contacts") << u"photo.jpg"_s << qint64(0) << QByteArray("\xff\xd8\xff\xe0\x00\x10JFIF", 10)
                                      << UnrecognisedImportText();
        QTest::newRow("only broken cards") << u"broken.vcf"_s << qint64(0)
                                           << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:途中\r\n") << u"1件のカード"_s;
    }

    void refusedFiles()
    {
        QFETCH(QString, name);
        QFETCH(qint64, size);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        startWith({u"既存 一郎"_s});
        const QString path = writeFile(name, bytes);
        if (size > 0)
            QVERIFY(QFile::resize(path, size));
        QVERIFY(!importFile(path));
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains(message), qPrintable(shown[0].text));
        QCOMPARE(names(), QStringList{u"既存 一郎"_s});
    }

    // Export writes the chosen form whole; reading it back gives the book.
    void exportThenImport_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("name");
        QTest::newRow("vCard") << 0 << u"out.vcf"_s;
        QTest::newRow("CSV, our header") << 1 << u"out.csv"_s;
        QTest::newRow("CSV, Google's header") << 2 << u"out-google.csv"_s;
    }

    void exportThenImport()
    {
        QFETCH(int, filter);
        QFETCH(QString, name);
        startWith({u"山田 太郎"_s, u"鈴木 花子"_s});
        Cls_住所 fields = f.document->Record(1);
        fields.PJu1 = u"東京都千代田区千代田1-1"_s;
        fields.PYubin = u"100-0001"_s;
        fields.PMemo = u"カンマ, セミコロン; 逆斜線\\ 髙"_s;
        f.document->SetRecordFields(1, fields);
        FileDialogs::QueuePath(f.path(name));
        FileDialogs::QueueFilter(filter);
        f.window->findChild<QAction *>(u"mm_エクスポート"_s)->trigger();
        QVERIFY(QFile::exists(f.path(name)));
        QCOMPARE(FileDialogs::TakeShown().value(0).kind, FileDialogKind::Export);

        const QList<QStringList> before = [this] {
            QList<QStringList> rows;
            for (const auto &r : f.document->OpenBook())
                rows << QStringList{r->PName, r->PTel, r->PMail, r->PYubin, r->PJu1, r->PJu2, r->PMemo};
            return rows;
        }();
        startWith({});
        ImportPreviewDialog *preview = importFile(f.path(name));
        QVERIFY(preview);
        preview->Go();
        QList<QStringList> after;
        for (const auto &r : f.document->OpenBook())
            after << QStringList{r->PName, r->PTel, r->PMail, r->PYubin, r->PJu1, r->PJu2, r->PMemo};
        QCOMPARE(after, before);
    }
};

QTEST_MAIN(TestImportWindow)
#include "test_import_window.moc"

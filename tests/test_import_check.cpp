// What an import may add: the problems found before anything is added, the
// replacement the user may ask for, probable duplicates, and the one step
// that adds the contacts.

#include "files/import_check.h"
#include "files/import_into_book.h"
#include "model/address_book.h"
#include "model/app_error.h"
#include "model/book_document.h"
#include "model/record_keys.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(ImportedContact)

namespace {

ImportedContact Contact(const QString &name, const QString &tel = {}, const QString &mail = {})
{
    ImportedContact c;
    c.name = name;
    c.tel = tel;
    c.mail = mail;
    return c;
}

std::unique_ptr<Cls_管理> Book(const QList<ImportedContact> &contacts)
{
    auto book = std::make_unique<Cls_管理>();
    int n = 0;
    for (const ImportedContact &c : contacts) {
        ++n;
        book->Add(c.name, c.tel, c.mail, {}, {}, {}, {}, book.get(), -1, MakeRecordKey(n));
    }
    return book;
}

} // namespace

class TestImportCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each character once per field, with the field named; lengths beyond
    // what the entry dialog lets one type are listed too.
    void issues_data()
    {
        QTest::addColumn<ImportedContact>("contact");
        QTest::addColumn<QStringList>("descriptions");
        QTest::addColumn<QString>("replacedName");
        QTest::newRow("storable") << Contact(u"山田 太郎"_s, u"03-1234-5678"_s) << QStringList() << u"山田 太郎"_s;
        QTest::newRow("one character twice") << Contact(u"𠮷田 𠮷子"_s)
                                             << QStringList{u"「氏名」の文字「𠮷」(U+20BB7)はShift_JISで保存できません。"_s}
                                             << u"〓田 〓子"_s;
        QTest::newRow("two characters") << Contact(u"😀 Ω 👍"_s) << QStringList{
            u"「氏名」の文字「😀」(U+1F600)はShift_JISで保存できません。"_s,
            u"「氏名」の文字「👍」(U+1F44D)はShift_JISで保存できません。"_s} << u"〓 Ω 〓"_s;
        QTest::newRow("a quote the file cannot carry") << Contact(u"\"愛称\" 太郎"_s) << QStringList{u"x"_s}
                                                       << u"〓愛称〓 太郎"_s;
        QTest::newRow("a long telephone") << Contact(u"国外 太郎"_s, u"+81-90-1234-5678"_s)
                                          << QStringList{u"「電話番号」が13文字を超えています（16文字）。"_s}
                                          << u"国外 太郎"_s;
    }

    void issues()
    {
        QFETCH(ImportedContact, contact);
        QFETCH(QStringList, descriptions);
        QFETCH(QString, replacedName);
        const std::vector<ImportIssue> issues = FindImportIssues({Contact(u"前の人"_s), contact});
        QStringList found;
        for (const ImportIssue &issue : issues) {
            QCOMPARE(issue.contact, 1);
            found << issue.description;
        }
        if (descriptions == QStringList{u"x"_s})
            QCOMPARE(found.size(), 1);   // the wording of the quote is the save's own
        else
            QCOMPARE(found, descriptions);
        const ImportedContact replaced = ReplaceUnstorable(contact);
        QCOMPARE(replaced.name, replacedName);
        QCOMPARE(replaced.tel, contact.tel);
        for (const ImportIssue &issue : FindImportIssues({replaced}))
            QCOMPARE(issue.kind, ImportIssue::Length);
    }

    // The same name (blanks, width and case aside) and the same telephone
    // (digits only) or mail (case aside).
    void duplicates_data()
    {
        QTest::addColumn<ImportedContact>("contact");
        QTest::addColumn<bool>("duplicate");
        QTest::newRow("same name and telephone") << Contact(u"山田　太郎"_s, u"０３(1234)5678"_s) << true;
        QTest::newRow("same name and mail") << Contact(u"山田太郎"_s, {}, u"Taro@Example.JP"_s) << true;
        QTest::newRow("same name only") << Contact(u"山田 太郎"_s, u"090-0000-0000"_s) << false;
        QTest::newRow("same telephone only") << Contact(u"山田 花子"_s, u"03-1234-5678"_s) << false;
        QTest::newRow("nothing to compare") << Contact(u"山田 太郎"_s) << false;
    }

    void duplicates()
    {
        QFETCH(ImportedContact, contact);
        QFETCH(bool, duplicate);
        const auto book = Book({Contact(u"山田 太郎"_s, u"03-1234-5678"_s, u"taro@example.jp"_s)});
        QCOMPARE(DuplicateFinder(*book).IsProbableDuplicate(contact), duplicate);
    }

    // In front of an entry, in order, as one step; a book without room is
    // not touched.
    void addingAsOneStep()
    {
        BookDocument document;
        document.ReplaceBook(Book({Contact(u"一"_s), Contact(u"二"_s)}), 2);
        const int first = AddImportedContacts(document, {Contact(u"甲"_s), Contact(u"乙"_s)}, 2);
        QCOMPARE(first, 2);
        QStringList names;
        for (const auto &r : document.OpenBook())
            names << r->PName;
        QCOMPARE(names, QStringList({u"一"_s, u"甲"_s, u"乙"_s, u"二"_s}));
        QCOMPARE(document.History().count(), 1);
        document.History().undo();
        QCOMPARE(document.Count(), 2);
        QCOMPARE(AddImportedContacts(document, {Contact(u"丙"_s)}, -1), 3);
    }

    void noRoomTouchesNothing()
    {
        BookDocument document;
        auto book = std::make_unique<Cls_管理>();
        book->reserve(MaxBookRecords);
        for (int n = 1; n < MaxBookRecords; ++n)
            book->Add(u"名前"_s, {}, {}, {}, {}, {}, {}, book.get(), -1, MakeRecordKey(n));
        document.ReplaceBook(std::move(book), MaxBookRecords - 1);
        QCOMPARE(RoomInBook(document), 1);
        QVERIFY_THROWS_EXCEPTION(AppError, AddImportedContacts(document, {Contact(u"甲"_s), Contact(u"乙"_s)}, -1));
        QCOMPARE(document.Count(), MaxBookRecords - 1);
        QVERIFY(!document.History().canUndo());
    }
};


QTEST_MAIN(TestImportCheck)
#include "test_import_check.moc"

// The file commands on a document and a stand-in window: no main window.

#include "file_helpers.h"

#include "files/book_window.h"
#include "files/cp932_codec.h"
#include "files/file_commands.h"
#include "mainwindow/file_dialog.h"
#include "mainwindow/message_box.h"
#include "model/book_document.h"
#include "settings/app_settings.h"
#include "settings/settings_store.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// What the commands asked of the window, in order.
class ScriptedWindow : public BookWindow {
public:
    QWidget *dialogOwner() override { return nullptr; }
    bool commitListEdit() override { return true; }
    void setBusy(bool b) override { busy = b; }
    void repaintNow() override {}
    void setStatusText(const QString &text) override { status = text; }
    void showProgress(int maximum) override { progress = maximum; }
    void setProgress(int) override {}
    void hideProgress() override { progress = -1; }
    void selectRow(int row) override { selected = row; }
    void focusList() override {}
    void AddRecentFile(const QString &path) override { recent << path; }

    bool busy = false;
    QString status;
    int progress = -1;
    int selected = -1;
    QStringList recent;
};

QByteArray bookBytes(const QStringList &names)
{
    QString text = u"氏名(%1),電話番号,メールアドレス,〒,住所1,住所2,一言メモ\r\n"_s.arg(names.size());
    for (const QString &name : names)
        text += name + u",,,,,,\r\n"_s;
    return EncodeCp932(text).bytes;
}

// Another program's hand on the file: new bytes, or the same bytes with a
// new time, or the file gone.
enum class Meanwhile { Nothing, Rewritten, Touched, Deleted };

} // namespace

Q_DECLARE_METATYPE(Meanwhile)

class TestFileCommands : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<BookDocument> m_document;
    std::unique_ptr<SettingsRecord> m_settings;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<ScriptedWindow> m_window;
    std::unique_ptr<FileCommands> m_files;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // a.csv of three entries opened, then its first entry renamed.
    void openAndChange()
    {
        writeFile(path(u"a.csv"_s), bookBytes({u"甲"_s, u"乙"_s, u"丙"_s}));
        FileDialogs::QueuePath(path(u"a.csv"_s));
        m_files->FileOpen();
        QCOMPARE(m_document->Count(), 3);
        m_document->RenameRecord(1, u"変更"_s);
        m_document->SetChanged(true);
    }

    void happenMeanwhile(Meanwhile what)
    {
        const QString file = path(u"a.csv"_s);
        switch (what) {
        case Meanwhile::Nothing:
            break;
        case Meanwhile::Rewritten:
            writeFile(file, bookBytes({u"他のプログラム"_s}));
            break;
        case Meanwhile::Touched: {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
            break;
        }
        case Meanwhile::Deleted:
            QVERIFY(QFile::remove(file));
            break;
        }
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        MessageBoxes::SetScripted(true);
        FileDialogs::SetScripted(true);
        m_document = std::make_unique<BookDocument>();
        m_settings = std::make_unique<SettingsRecord>();
        m_store = std::make_unique<SettingsStore>(path(u"settings.ini"_s));
        m_window = std::make_unique<ScriptedWindow>();
        m_files = std::make_unique<FileCommands>(*m_document, *m_window, *m_settings, *m_store);
    }

    void cleanup()
    {
        const int answers = MessageBoxes::PendingAnswers();
        const int paths = FileDialogs::PendingPaths();
        MessageBoxes::TakeShown();
        FileDialogs::TakeShown();
        MessageBoxes::SetScripted(false);
        FileDialogs::SetScripted(false);
        QCOMPARE(answers, 0);
        QCOMPARE(paths, 0);
    }

    void openTellsTheWindow()
    {
        openAndChange();
        QCOMPARE(m_document->BookFileName(), path(u"a.csv"_s));
        QCOMPARE(m_window->status, path(u"a.csv"_s));
        QCOMPARE(m_window->recent, QStringList{path(u"a.csv"_s)});
        QCOMPARE(m_window->selected, 0);
        QVERIFY(!m_window->busy);
        QCOMPARE(m_window->progress, -1);
        QVERIFY(m_document->IsMarked(1));
    }

    // Save overwrites the book's own file without a word, unless another
    // program changed it since it was opened or saved here.
    void saveAsksBeforeOverwritingAnotherProgramsChange_data()
    {
        QTest::addColumn<Meanwhile>("meanwhile");
        QTest::addColumn<bool>("asks");
        QTest::newRow("unchanged") << Meanwhile::Nothing << false;
        QTest::newRow("rewritten by another program") << Meanwhile::Rewritten << true;
        QTest::newRow("only touched") << Meanwhile::Touched << false;
        QTest::newRow("deleted") << Meanwhile::Deleted << false;
    }

    void saveAsksBeforeOverwritingAnotherProgramsChange()
    {
        QFETCH(Meanwhile, meanwhile);
        QFETCH(bool, asks);
        openAndChange();
        happenMeanwhile(meanwhile);
        const QByteArray before = readFile(path(u"a.csv"_s));

        // No: nothing is written, and the changes stay unsaved.
        if (asks) {
            MessageBoxes::QueueAnswer(MsgAnswer::No);
            m_files->FileSave();
            const QList<ShownMessage> shown = MessageBoxes::TakeShown();
            QCOMPARE(shown.size(), 1);
            QVERIFY(shown[0].text.contains(path(u"a.csv"_s)));
            QVERIFY(shown[0].text.contains(u"ほかのプログラムで変更されています"_s));
            QCOMPARE(shown[0].buttons, MsgButtons::YesNo);
            QCOMPARE(shown[0].defaultButton, MsgAnswer::No);
            QCOMPARE(readFile(path(u"a.csv"_s)), before);
            QVERIFY(m_document->BookChanged());
            MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        }
        m_files->FileSave();
        QCOMPARE(MessageBoxes::TakeShown().size(), asks ? 1 : 0);
        QVERIFY(readFile(path(u"a.csv"_s)).contains(EncodeCp932(u"変更,"_s).bytes));
        QVERIFY(!m_document->BookChanged());

        // The file is the program's own again: the next save asks nothing.
        m_document->RenameRecord(1, u"再変更"_s);
        m_document->SetChanged(true);
        m_files->FileSave();
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }

    // The unsaved-changes prompt's Yes saves too: a No there keeps the book.
    void promptSaveAsksAsWell()
    {
        openAndChange();
        happenMeanwhile(Meanwhile::Rewritten);
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);   // save the changes
        MessageBoxes::QueueAnswer(MsgAnswer::No);    // but not over the other program's
        QCOMPARE(m_files->ConfirmDiscard(), int(FileCommands::Cancelled));
        QCOMPARE(MessageBoxes::TakeShown().size(), 2);
        QCOMPARE(m_document->Count(), 3);
        QVERIFY(m_document->BookChanged());
        QCOMPARE(readFile(path(u"a.csv"_s)), bookBytes({u"他のプログラム"_s}));
    }

    // Save As to the same file: the file dialog asked already.
    void saveAsAsksNothingMore()
    {
        openAndChange();
        happenMeanwhile(Meanwhile::Rewritten);
        FileDialogs::QueuePath(path(u"a.csv"_s));
        m_files->FileSaveAs();
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
        QVERIFY(readFile(path(u"a.csv"_s)).contains(EncodeCp932(u"変更,"_s).bytes));
    }
};

QTEST_MAIN(TestFileCommands)
#include "test_file_commands.moc"

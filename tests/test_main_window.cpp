#include "file_helpers.h"

#include "files/cp932_codec.h"
#include "files/file_commands.h"
#include "files/recent_files.h"
#include "mainwindow/address_list_model.h"
#include "mainwindow/address_list_view.h"
#include "mainwindow/file_dialog.h"
#include "mainwindow/flush_input.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "model/app_state.h"
#include "model/book_document.h"
#include "print/printer_setup.h"
#include "settings/app_settings.h"
#include "settings/settings_store.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QProgressBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kHeader = u"氏名(%1),電話番号,メールアドレス,〒,住所1,住所2,一言メモ\r\n"_s;

// An address file of n records named 名前1 ... 名前n.
QByteArray bookBytes(int n, int claimed = -1)
{
    QString text = kHeader.arg(claimed < 0 ? n : claimed);
    for (int i = 1; i <= n; ++i)
        text += u"名前%1,03-0000-%1,a%1@example.jp,100-0001,東京都,千代田区,メモ\r\n"_s.arg(i);
    return EncodeCp932(text).bytes;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<BookDocument> m_document;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<SettingsRecord> m_settings;
    std::unique_ptr<PrinterSetup> m_printer;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<MainWindow> m_window;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    MainWindow &window() { return *m_window; }
    AppState &state() { return *m_state; }
    BookDocument &document() { return *m_document; }
    SettingsRecord &settings() { return *m_settings; }

    void start(const QString &commandLine = {}, int screenWidth = 19200, QSize available = {1920, 1050})
    {
        m_window.reset();
        m_document = std::make_unique<BookDocument>();
        m_state = std::make_unique<AppState>();
        m_settings = std::make_unique<SettingsRecord>();
        m_printer = std::make_unique<PrinterSetup>();
        m_store = std::make_unique<SettingsStore>(path(u"settings.ini"_s));
        m_window = std::make_unique<MainWindow>(*m_document, *m_state, *m_settings, *m_printer, *m_store);
        MainWindowOptions options;
        options.screenWidthTwips = screenWidth;
        options.availableSize = available;
        options.commandLine = commandLine;
        m_window->Load(options);
    }

    template <typename T = QObject>
    T *named(const QString &name)
    {
        T *object = m_window->findChild<T *>(name);
        if (!object)
            qWarning("no control named %s", qPrintable(name));
        return object;
    }

    bool enabled(const QString &name) { return m_window->isEnabledByName(name); }

    // The book is changed by an in-place rename, as a user would change it.
    void renameFirst(const QString &name)
    {
        QVERIFY(window().listModel()->setData(window().listModel()->index(0, 0), name));
        QVERIFY(document().BookChanged());
    }

    void openFile(const QString &file)
    {
        FileDialogs::QueuePath(file);
        window().fileCommands().FileOpen();
    }

    // A window with the book a.csv of n entries open.
    void startWithBook(int n)
    {
        start();
        writeFile(path(u"a.csv"_s), bookBytes(n));
        openFile(path(u"a.csv"_s));
    }

    // A shown window with a two-entry book and the first name open for renaming.
    QLineEdit *startRenamingFirst()
    {
        startWithBook(2);
        window().show();
        if (!QTest::qWaitForWindowExposed(&window()))
            return nullptr;
        QTreeView *view = window().listView()->reportView();
        const QModelIndex first = window().listModel()->index(0, 0);
        view->setCurrentIndex(first);
        view->edit(first);
        return view->viewport()->findChild<QLineEdit *>();
    }

    QStringList shownTexts()
    {
        QStringList texts;
        for (const ShownMessage &m : MessageBoxes::TakeShown())
            texts << m.text;
        return texts;
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QFile::remove(path(u"settings.ini"_s));
        MessageBoxes::SetScripted(true);
        FileDialogs::SetScripted(true);
    }

    void cleanup()
    {
        // An answer left over means the test expected a dialog that never came.
        const int answers = MessageBoxes::PendingAnswers();
        const int paths = FileDialogs::PendingPaths();
        m_window.reset();
        m_store.reset();
        m_printer.reset();
        m_settings.reset();
        m_state.reset();
        m_document.reset();
        MessageBoxes::SetScripted(false);
        FileDialogs::SetScripted(false);
        QCOMPARE(answers, 0);
        QCOMPARE(paths, 0);
    }

    void startsEmptyAndUntitled()
    {
        QGuiApplication::clipboard()->setText(u"from another program"_s);
        start();
        QCOMPARE(window().objectName(), u"F_Main"_s);
        QCOMPARE(window().windowTitle(), u"Yuzaribo(Ver1.0)"_s);
        QCOMPARE(window().countText(), u"0件"_s);
        QCOMPARE(window().statusText(), u"ファイル名は「無題 」"_s);
        QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
        QVERIFY(!enabled(u"mm_Copy(2)"_s));
        for (const QString &name : {u"cmd_修正(0)"_s, u"cmd_修正(2)"_s, u"mm_修正(0)"_s, u"mm_修正(2)"_s,
                                    u"cmd_File(2)"_s, u"cmd_File(3)"_s, u"mm_保存"_s, u"mm_名前保存"_s,
                                    u"cmd_Mail"_s, u"mm_Mail"_s, u"cmd_検索"_s, u"mm_検索"_s,
                                    u"mm_Copy(0)"_s, u"mm_Copy(1)"_s, u"mm_印刷"_s, u"cmd_印刷"_s})
            QVERIFY2(!enabled(name), qPrintable(name));
        for (const QString &name : {u"cmd_修正(1)"_s, u"mm_修正(1)"_s, u"cmd_File(0)"_s, u"cmd_File(1)"_s,
                                    u"mm_新規作成"_s, u"mm_開く"_s, u"cmd_Help"_s, u"mm_Ver"_s,
                                    u"cmb_表示形式"_s, u"mm_環境設定"_s})
            QVERIFY2(enabled(name), qPrintable(name));
        QVERIFY(!window().progressBar()->isVisible());
        QCOMPARE(document().MarkedIndex(), 1);
        QCOMPARE(document().KeyCounter(), 0);
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }

    void controlsCarryTheirNamesAndTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<int>("left");
        QTest::newRow("new") << u"cmd_File(0)"_s << u"新規作成"_s << u"ファイルの新規作成をします。"_s << 0;
        QTest::newRow("open, tip ends in a blank")
            << u"cmd_File(1)"_s << u"開く"_s << u"CSV形式のファイルを開きます。 "_s << 825;
        QTest::newRow("delete") << u"cmd_修正(2)"_s << u"削除"_s << u"該当の住所録を削除します。"_s << 6075;
        QTest::newRow("about") << u"cmd_Help"_s << u"ﾊﾞｰｼﾞｮﾝ"_s << u"バージョン情報を表示します。"_s << 11025;
    }

    void controlsCarryTheirNamesAndTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        QFETCH(int, left);
        start();
        auto *button = named<QToolButton>(name);
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->toolTip(), toolTip);
        QCOMPARE(button->x(), left / 15);
        QCOMPARE(button->size(), QSize(56, 50));
    }

    void menusAndLabels()
    {
        start();
        QCOMPARE(named<QLabel>(u"lbl_F1(10)"_s)->text(), u"F11"_s);
        QCOMPARE(named<QLabel>(u"lbl_F1(0)"_s)->palette().color(QPalette::Window), QColor(200, 208, 244));
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        const QImage shot = window().grab().toImage();
        auto *count = named<QLabel>(u"lbl_件数"_s);
        QCOMPARE(QColor(shot.pixel(count->mapTo(&window(), QPoint(3, 3)))), QColor(255, 192, 192));
        QCOMPARE(named<QAction>(u"mm_保存"_s)->shortcut(), QKeySequence(u"Ctrl+S"_s));
        QCOMPARE(named<QAction>(u"mm_Copy(2)"_s)->text(), u"貼り付け(&V)"_s);
        QCOMPARE(named<QAction>(u"mm_検索"_s)->text(), u"検索処理(&K)..."_s);
        QVERIFY(!named<QAction>(u"mm_haiSaikin"_s)->isVisible());
        QVERIFY(named<QAction>(u"mm_haiSaikin"_s)->isSeparator());
        QCOMPARE(named<QComboBox>(u"cmb_表示形式"_s)->currentText(), u"レポート形式"_s);
        // The combo is an input control and carries the input tint.
        QCOMPARE(named<QComboBox>(u"cmb_表示形式"_s)->palette().color(QPalette::Base), QColor(250, 250, 228));
        QVERIFY(named<QAction>(u"mm_Icon(3)"_s)->isChecked());
        QCOMPARE(named<QAction>(u"mm_Icon(1)"_s)->text(), u"小さいアイコン"_s);
    }

    void windowAndColumnsFollowScreenWidth_data()
    {
        QTest::addColumn<int>("screenWidth");
        QTest::addColumn<QSize>("available");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<int>>("columns");
        // The window's sizes are outer sizes: the frame takes 8 x 27 pixels.
        const QList<int> narrow = {120, 120, 133, 80, 113, 113, 107};
        const QList<int> wide = {120, 120, 207, 87, 153, 153, 167};
        QTest::newRow("800 pixels") << 12000 << QSize(800, 600) << QSize(792, 573) << narrow;
        QTest::newRow("800 pixels, a panel takes 30") << 12000 << QSize(800, 570) << QSize(792, 543) << narrow;
        QTest::newRow("1024 pixels, a panel takes 30") << 15360 << QSize(1024, 738) << QSize(1016, 711) << wide;
        QTest::newRow("1920 pixels") << 28800 << QSize(1920, 1050) << QSize(1016, 741) << wide;
    }

    void windowAndColumnsFollowScreenWidth()
    {
        QFETCH(int, screenWidth);
        QFETCH(QSize, available);
        QFETCH(QSize, size);
        QFETCH(QList<int>, columns);
        start({}, screenWidth, available);
        QCOMPARE(state().ScreenWidth, screenWidth);
        QCOMPARE(window().size(), size);
        // With its frame the window fits the room the desktop leaves.
        QVERIFY(window().height() + 27 <= available.height());
        QList<int> widths;
        for (int c = 0; c < 7; ++c)
            widths << window().listView()->reportView()->columnWidth(c);
        QCOMPARE(widths, columns);
    }

    void firstRunWritesDefaultsAndExitSavesSections()
    {
        start();
        QSettings raw(path(u"settings.ini"_s), QSettings::IniFormat);
        QCOMPARE(raw.value(u"File/FirstSW"_s).toString(), u"YES"_s);
        QCOMPARE(raw.value(u"File/KosuMax"_s).toString(), u"5"_s);
        QCOMPARE(raw.value(u"Iro/Iro0"_s).toString(), u"&HFFFFFF"_s);
        QCOMPARE(window().recentFiles().entryCount(), 5);
        QCOMPARE(window().listView()->reportView()->palette().color(QPalette::Base), QColor(Qt::white));

        writeFile(path(u"a.csv"_s), bookBytes(2));
        openFile(path(u"a.csv"_s));
        settings().Sender.Name = u"山田太郎"_s;
        QVERIFY(window().close());
        QSettings after(path(u"settings.ini"_s), QSettings::IniFormat);
        QCOMPARE(after.value(u"File/Kosu"_s).toString(), u"1"_s);
        QCOMPARE(after.value(u"File/F1"_s).toString(), path(u"a.csv"_s));
        QCOMPARE(after.value(u"Kojin/Name"_s).toString(), u"山田太郎"_s);
    }

    void storedListColoursApply()
    {
        writeFile(path(u"settings.ini"_s),
                  "[File]\nFirstSW=YES\nKosuMax=3\nKosu=1\nF1=/nowhere/x.csv\n"
                  "[Iro]\nIro0=255\nIro1=&HFF0000\nListFont=IPAGothic\n");
        start();
        const QPalette p = window().listView()->reportView()->palette();
        QCOMPARE(p.color(QPalette::Base), QColor(255, 0, 0));
        QCOMPARE(p.color(QPalette::Text), QColor(0, 0, 255));
        QCOMPARE(window().recentFiles().entryCount(), 3);
        QVERIFY(window().recentFiles().entry(0)->isVisible());
        QCOMPARE(window().recentFiles().entryPath(0), u"/nowhere/x.csv"_s);
        QVERIFY(named<QAction>(u"mm_haiSaikin"_s)->isVisible());
    }

    void openLoadsBookWithKeysAndMarker()
    {
        startWithBook(3);
        QCOMPARE(document().OpenBook().Count(), 3);
        QCOMPARE(document().OpenBook().Item(3).PSkey, u"s3"_s);
        QCOMPARE(document().KeyCounter(), 4);
        QCOMPARE(document().BookFileName(), path(u"a.csv"_s));
        QCOMPARE(window().statusText(), path(u"a.csv"_s));
        QCOMPARE(window().countText(), u"3件"_s);
        QVERIFY(!enabled(u"mm_保存"_s));
        QVERIFY(enabled(u"mm_名前保存"_s));
        QVERIFY(window().listModel()->isMarked(0));
        QCOMPARE(window().listModel()->rowCount(), 3);
        QCOMPARE(window().listModel()->index(1, 2).data().toString(), u"a2@example.jp"_s);
        QCOMPARE(FileDialogs::TakeShown().constFirst().title, u"ファイルを開く"_s);
        QVERIFY(named<QAction>(u"mm_haiSaikin"_s)->isVisible());
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }

    void openWithoutCountInHeader()
    {
        start();
        writeFile(path(u"nocount.csv"_s), EncodeCp932(u"氏名,電話番号,メールアドレス,〒,住所1,住所2,一言メモ\r\n"
                                                      "甲,,,,,,\r\n乙,,,,,,\r\n"_s).bytes);
        openFile(path(u"nocount.csv"_s));
        QCOMPARE(document().OpenBook().Count(), 2);
        QVERIFY(!window().progressBar()->isVisible());
    }

    void unchangedBookOpensWithoutPrompt()
    {
        start();
        FileDialogs::QueuePath(QString());   // cancelled
        window().fileCommands().FileOpen();
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
        QCOMPARE(FileDialogs::TakeShown().size(), 1);
    }

    void promptNamesTheFile()
    {
        startWithBook(1);
        renameFirst(u"変更"_s);
        MessageBoxes::QueueAnswer(MsgAnswer::Cancel);
        window().fileCommands().FileNew();
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, u"「"_s + path(u"a.csv"_s) + u"」 は保存されていません。\r\n\r\n保存しますか？"_s);
        QCOMPARE(shown[0].icon, MsgIcon::Exclamation);
        QCOMPARE(shown[0].buttons, MsgButtons::YesNoCancel);
        QCOMPARE(shown[0].defaultButton, MsgAnswer::Yes);
        // Cancel leaves everything as it was.
        QCOMPARE(document().OpenBook().Item(1).PName, u"変更"_s);
        QVERIFY(document().BookChanged());
        QCOMPARE(window().statusText(), path(u"a.csv"_s));
    }

    void newAnsweredNoEmptiesTheBook()
    {
        startWithBook(2);
        renameFirst(u"変更"_s);
        MessageBoxes::QueueAnswer(MsgAnswer::No);
        window().fileCommands().FileNew();
        QCOMPARE(document().OpenBook().Count(), 0);
        QCOMPARE(window().listModel()->rowCount(), 0);
        QCOMPARE(window().countText(), u"0件"_s);
        QCOMPARE(window().statusText(), u"ファイル名は「無題」です"_s);
        QVERIFY(!enabled(u"mm_保存"_s));
        QVERIFY(!document().BookChanged());
        QVERIFY(document().BookFileName().isEmpty());
        QCOMPARE(readFile(path(u"a.csv"_s)), bookBytes(2));   // not saved
        QVERIFY(document().KeyCounter() > 0);                       // keys are never reused
    }

    void newAnsweredYesSavesFirst()
    {
        startWithBook(2);
        renameFirst(u"変更"_s);
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        window().fileCommands().FileNew();
        QVERIFY(FileDialogs::TakeShown().size() == 1);   // only the open dialog: a named book saves in place
        QVERIFY(readFile(path(u"a.csv"_s)).contains(EncodeCp932(u"変更,"_s).bytes));
        QCOMPARE(document().OpenBook().Count(), 0);
    }

    void untitledChangedBookAndOpen()
    {
        startWithBook(1);
        FileDialogs::TakeShown();
        document().SetBookFileName(QString());
        renameFirst(u"無題の変更"_s);

        // Yes, then the save dialog is cancelled: nothing is discarded, no open dialog.
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        FileDialogs::QueuePath(QString());
        window().fileCommands().FileOpen();
        QList<ShownFileDialog> dialogs = FileDialogs::TakeShown();
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs[0].kind, FileDialogKind::Save);
        QCOMPARE(dialogs[0].title, u"ファイルの保存"_s);
        QCOMPARE(document().OpenBook().Count(), 1);
        QVERIFY(document().BookChanged());
        QCOMPARE(shownTexts().constFirst(), u"「無題」 は保存されていません。\r\n\r\n保存しますか？"_s);

        // No, then the open dialog is cancelled: an empty, untitled, unchanged book.
        MessageBoxes::QueueAnswer(MsgAnswer::No);
        FileDialogs::QueuePath(QString());
        window().fileCommands().FileOpen();
        QCOMPARE(document().OpenBook().Count(), 0);
        QVERIFY(!document().BookChanged());
        QVERIFY(document().BookFileName().isEmpty());
        QCOMPARE(window().statusText(), u"リソースを開放中..."_s);
        QCOMPARE(window().countText(), u"0件"_s);
    }

    void failedFirstPassKeepsTheBook_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing file") << QByteArray();
        QTest::newRow("header cut short") << QByteArray("a,b,c");
        QTest::newRow("count above 32767") << EncodeCp932(kHeader.arg(40000)).bytes;
    }

    void failedFirstPassKeepsTheBook()
    {
        QFETCH(QByteArray, bytes);
        startWithBook(2);
        const QString bad = path(u"bad.csv"_s);
        QFile::remove(bad);
        if (!bytes.isNull())
            writeFile(bad, bytes);
        openFile(bad);
        QVERIFY(window().fileCommands().LoadFailed);
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, MsgIcon::Critical);
        QCOMPARE(document().OpenBook().Count(), 2);
        QCOMPARE(window().listModel()->rowCount(), 2);
        QCOMPARE(document().BookFileName(), path(u"a.csv"_s));
        QCOMPARE(window().statusText(), path(u"a.csv"_s));
        QVERIFY(window().isEnabled());
        QVERIFY(!window().progressBar()->isVisible());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(window().recentFiles().entryPath(0), path(u"a.csv"_s));
    }

    void failedSecondPassLeavesEmptyUntitledBook()
    {
        startWithBook(2);
        writeFile(path(u"cut.csv"_s), bookBytes(2) + "x,y,z\r\n");   // ends inside a record
        openFile(path(u"cut.csv"_s));
        QVERIFY(window().fileCommands().LoadFailed);
        QCOMPARE(MessageBoxes::TakeShown().size(), 1);
        QCOMPARE(document().OpenBook().Count(), 0);
        QCOMPARE(window().listModel()->rowCount(), 0);
        QVERIFY(document().BookFileName().isEmpty());
        QCOMPARE(window().statusText(), u"ファイル名は「無題 」"_s);
        QVERIFY(!enabled(u"mm_修正(0)"_s));
        QVERIFY(window().isEnabled());
    }

    void undecodableBytesAreReported()
    {
        start();
        writeFile(path(u"broken.csv"_s), bookBytes(1).replace("03-", "\x85\x40-"));
        openFile(path(u"broken.csv"_s));
        QVERIFY(!window().fileCommands().LoadFailed);
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, MsgIcon::Exclamation);
        QVERIFY(shown[0].text.contains(u"1 箇所"_s));
    }

    void saveAndSaveAs()
    {
        startWithBook(2);
        FileDialogs::TakeShown();
        renameFirst(u"変更"_s);

        // Save to the current file asks nothing.
        window().fileCommands().FileSave();
        QVERIFY(FileDialogs::TakeShown().isEmpty());
        QVERIFY(!document().BookChanged());
        QVERIFY(!enabled(u"cmd_File(2)"_s));
        QVERIFY(readFile(path(u"a.csv"_s)).contains(EncodeCp932(u"変更,"_s).bytes));

        // Save As takes a name typed without extension as it is.
        renameFirst(u"再変更"_s);
        FileDialogs::QueuePath(path(u"copy"_s));
        window().fileCommands().FileSaveAs();
        QCOMPARE(FileDialogs::TakeShown().constFirst().title, u"名前を付けて保存"_s);
        QVERIFY(QFile::exists(path(u"copy"_s)));
        QCOMPARE(document().BookFileName(), path(u"copy"_s));
        QCOMPARE(window().statusText(), path(u"copy"_s));
        QCOMPARE(window().recentFiles().entryPath(0), path(u"copy"_s));
        QCOMPARE(window().recentFiles().entryPath(1), path(u"a.csv"_s));

        // A cancelled Save As changes nothing.
        renameFirst(u"三度目"_s);
        FileDialogs::QueuePath(QString());
        window().fileCommands().FileSaveAs();
        QVERIFY(document().BookChanged());
        QCOMPARE(document().BookFileName(), path(u"copy"_s));
    }

    void untitledSaveAsksForName()
    {
        startWithBook(1);
        FileDialogs::TakeShown();
        document().SetBookFileName(QString());
        renameFirst(u"変更"_s);
        FileDialogs::QueuePath(QString());   // cancelled: nothing happens
        window().fileCommands().FileSave();
        QVERIFY(document().BookChanged());
        QVERIFY(document().BookFileName().isEmpty());
        FileDialogs::TakeShown();
        FileDialogs::QueuePath(path(u"new.csv"_s));
        window().fileCommands().FileSave();
        QCOMPARE(FileDialogs::TakeShown().constFirst().title, u"ファイルの保存"_s);
        QCOMPARE(document().BookFileName(), path(u"new.csv"_s));
        QCOMPARE(readFile(path(u"new.csv"_s)).left(7), EncodeCp932(u"氏名(1)"_s).bytes);
    }

    void failedSaveChangesNothing()
    {
        startWithBook(2);
        renameFirst(u"変更"_s);
        QDir(m_dir.path()).mkdir(u"folder"_s);
        FileDialogs::QueuePath(path(u"folder"_s));   // a folder cannot be written as a file
        window().fileCommands().FileSaveAs();
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, MsgIcon::Critical);
        QVERIFY(document().BookChanged());
        QVERIFY(enabled(u"mm_保存"_s));
        QCOMPARE(document().BookFileName(), path(u"a.csv"_s));
        QCOMPARE(window().statusText(), path(u"a.csv"_s));
        QCOMPARE(window().recentFiles().entryPath(0), path(u"a.csv"_s));
        QVERIFY(window().isEnabled());
        QVERIFY(!QApplication::overrideCursor());
    }

    void unstorableValueRefusesSaveAndKeepsFile()
    {
        startWithBook(2);
        // Renaming refuses such a name; a book can still hold one made elsewhere.
        document().OpenBook().Item(1).PName = u"𠮷野家"_s;   // outside CP932
        document().SetChanged(true);
        window().fileCommands().FileSave();
        QCOMPARE(MessageBoxes::TakeShown().size(), 1);
        QCOMPARE(readFile(path(u"a.csv"_s)), bookBytes(2));
        QVERIFY(document().BookChanged());
    }

    void commandLineFile_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<bool>("opens");
        QTest::newRow("upper-case extension") << u"%1/住所.CSV"_s << true;
        QTest::newRow("quoted path") << u"\"%1/住所.CSV\""_s << false;
        QTest::newRow("other extension") << u"%1/住所.txt"_s << false;
        QTest::newRow("name with blanks, joined whole") << u"%1/my book.csv"_s << true;
    }

    void commandLineFile()
    {
        QFETCH(QString, argument);
        QFETCH(bool, opens);
        for (const QString &name : {u"住所.CSV"_s, u"住所.txt"_s, u"my book.csv"_s})
            writeFile(path(name), bookBytes(2));
        start(argument.arg(m_dir.path()));
        QCOMPARE(document().OpenBook().Count(), opens ? 2 : 0);
        QCOMPARE(window().statusText(), opens ? document().BookFileName() : u"ファイル名は「無題 」"_s);
        QCOMPARE(window().recentFiles().entry(0)->isVisible(), opens);
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }

    void relativeCommandLinePathBecomesFull()
    {
        writeFile(path(u"rel.csv"_s), bookBytes(1));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        start(u"rel.csv"_s);
        QDir::setCurrent(previous);
        QCOMPARE(document().BookFileName(), path(u"rel.csv"_s));
    }

    void recentFilesList_data()
    {
        QTest::addColumn<int>("max");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QStringList>("after");
        const QStringList five = {u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s};
        QTest::newRow("full list drops the oldest") << 5 << five << u"F"_s
                                                    << QStringList{u"F"_s, u"A"_s, u"B"_s, u"C"_s, u"D"_s};
        QTest::newRow("listed file moves to the top") << 5 << five << u"D"_s
                                                      << QStringList{u"D"_s, u"A"_s, u"B"_s, u"C"_s, u"E"_s};
        QTest::newRow("case matters") << 5 << QStringList{u"/x/A.csv"_s} << u"/x/a.csv"_s
                                      << QStringList{u"/x/a.csv"_s, u"/x/A.csv"_s};
        QTest::newRow("no places") << 0 << QStringList{} << u"F"_s << QStringList{};
        QTest::newRow("one place") << 1 << QStringList{u"A"_s} << u"B"_s << QStringList{u"B"_s};
    }

    void recentFilesList()
    {
        QFETCH(int, max);
        QFETCH(QStringList, before);
        QFETCH(QString, added);
        QFETCH(QStringList, after);
        QByteArray ini = "[File]\nFirstSW=YES\nKosuMax=" + QByteArray::number(max)
                         + "\nKosu=" + QByteArray::number(before.size()) + "\n";
        for (int i = 0; i < before.size(); ++i)
            ini += "F" + QByteArray::number(i + 1) + "=" + before[i].toUtf8() + "\n";
        writeFile(path(u"settings.ini"_s), ini);
        start();
        window().recentFiles().AddRecentFile(added);
        QStringList shown;
        for (int i = 0; i < window().recentFiles().entryCount(); ++i)
            if (window().recentFiles().entry(i)->isVisible())
                shown << window().recentFiles().entryPath(i);
        QCOMPARE(shown, after);
        QCOMPARE(int(settings().RecentCount), after.size());
        QCOMPARE(named<QAction>(u"mm_haiSaikin"_s)->isVisible(), !after.isEmpty());
    }

    void recentEntryWithPathMetacharacters()
    {
        start();
        window().recentFiles().AddRecentFile(u"/tmp/R&D.csv"_s);
        QCOMPARE(window().recentFiles().entryPath(0), u"/tmp/R&D.csv"_s);
        QCOMPARE(window().recentFiles().entry(0)->text(), u"/tmp/R&&D.csv"_s);
    }

    void openRecentFile()
    {
        start();
        writeFile(path(u"a.csv"_s), bookBytes(2));
        writeFile(path(u"b.csv"_s), bookBytes(3));
        openFile(path(u"a.csv"_s));
        openFile(path(u"b.csv"_s));
        renameFirst(u"変更"_s);

        // Unsaved changes: the prompt first; Cancel leaves everything.
        MessageBoxes::QueueAnswer(MsgAnswer::Cancel);
        named<QAction>(u"mm_最近ファイル(1)"_s)->trigger();
        QCOMPARE(MessageBoxes::TakeShown().size(), 1);
        QCOMPARE(document().BookFileName(), path(u"b.csv"_s));

        MessageBoxes::QueueAnswer(MsgAnswer::No);
        named<QAction>(u"mm_最近ファイル(1)"_s)->trigger();
        QCOMPARE(MessageBoxes::TakeShown().size(), 1);
        QCOMPARE(document().BookFileName(), path(u"a.csv"_s));
        QCOMPARE(document().OpenBook().Count(), 2);
        QCOMPARE(window().recentFiles().entryPath(0), path(u"a.csv"_s));
        QCOMPARE(window().recentFiles().entryPath(1), path(u"b.csv"_s));

        // A listed file that is gone: reported, and it keeps its place.
        QFile::remove(path(u"b.csv"_s));
        named<QAction>(u"mm_最近ファイル(1)"_s)->trigger();
        QCOMPARE(MessageBoxes::TakeShown().size(), 1);
        QCOMPARE(document().BookFileName(), path(u"a.csv"_s));
        QCOMPARE(window().recentFiles().entryPath(1), path(u"b.csv"_s));
    }

    void viewModesStayInStep()
    {
        start();
        auto *combo = named<QComboBox>(u"cmb_表示形式"_s);
        QTest::keyClick(combo, Qt::Key_Up);   // from レポート形式 to リスト形式
        QCOMPARE(window().listView()->viewMode(), 2);
        QCOMPARE(window().listView()->currentWidget(), window().listView()->iconView());
        for (int i = 0; i < 4; ++i)
            QCOMPARE(named<QAction>(u"mm_Icon(%1)"_s.arg(i))->isChecked(), i == 2);

        named<QAction>(u"mm_Icon(0)"_s)->trigger();
        QCOMPARE(combo->currentText(), u"通常の大きさ"_s);
        QCOMPARE(window().listView()->iconView()->viewMode(), QListView::IconMode);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(named<QAction>(u"mm_Icon(%1)"_s.arg(i))->isChecked(), i == 0);

        // Clicking the checked item again keeps its check mark.
        named<QAction>(u"mm_Icon(0)"_s)->trigger();
        QVERIFY(named<QAction>(u"mm_Icon(0)"_s)->isChecked());

        named<QAction>(u"mm_Icon(3)"_s)->trigger();
        QCOMPARE(window().listView()->currentWidget(), window().listView()->reportView());
    }

    // Only the chosen view mode carries a mark; the other three show none,
    // not an empty check box each.
    void viewMenuMarksTheChosenModeOnly()
    {
        start();
        auto *tools = named<QMenu>(u"mm_形式"_s);
        QAction *chosen = named<QAction>(u"mm_Icon(3)"_s);
        QVERIFY(chosen->actionGroup());
        QVERIFY(chosen->actionGroup()->isExclusive());
        tools->popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(tools));
        const QImage shot = tools->grab().toImage();
        // The indicator column of each item: plain background unless chosen.
        auto marked = [&](int i) {
            const QRect item = tools->actionGeometry(named<QAction>(u"mm_Icon(%1)"_s.arg(i)));
            const QRgb background = shot.pixel(item.left() + 1, item.top() + 1);
            for (int y = item.top() + 2; y < item.bottom() - 1; ++y)
                for (int x = item.left() + 2; x < item.left() + item.height(); ++x)
                    if (shot.pixel(x, y) != background)
                        return true;
            return false;
        };
        QVERIFY(marked(3));
        for (int i = 0; i < 3; ++i)
            QVERIFY2(!marked(i), qPrintable(u"mm_Icon(%1)"_s.arg(i)));
        tools->hide();
    }

    void markerFollowsClicks()
    {
        startWithBook(6);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QTreeView *view = window().listView()->reportView();
        auto click = [&](int row) {
            const QRect r = view->visualRect(window().listModel()->index(row, 3));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
        };
        click(2);
        click(4);
        AddressListModel *model = window().listModel();
        QVERIFY(!model->isMarked(0));
        QVERIFY(!model->isMarked(2));
        QVERIFY(model->isMarked(4));
        QCOMPARE(document().MarkedIndex(), 5);
        QCOMPARE(window().listView()->currentRow(), 4);

        // After a removal the next pick leaves the old position alone.
        document().SetSkipUnmark(true);
        document().SetMarked(2, true);
        document().SetMarkedIndex(2);
        click(0);
        QVERIFY(model->isMarked(1));
        QVERIFY(model->isMarked(0));
        QVERIFY(!document().SkipUnmark());

        // The keyboard picks too.
        QTest::keyClick(view, Qt::Key_Down);
        QVERIFY(model->isMarked(1));
        QVERIFY(!model->isMarked(0));
        QCOMPARE(document().MarkedIndex(), 2);
    }

    void renameInPlace()
    {
        QLineEdit *editor = startRenamingFirst();
        QVERIFY(editor);
        const QModelIndex first = window().listModel()->index(0, 0);
        editor->setText(u"新しい名前"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(document().OpenBook().Item(1).PName, u"新しい名前"_s);   // the delegate commits queued
        QCOMPARE(document().OpenBook().Item(1).PSkey, u"s1"_s);
        QVERIFY(document().BookChanged());
        QVERIFY(enabled(u"cmd_File(2)"_s));

        // Renamed to nothing: an empty name is stored.
        QVERIFY(window().listModel()->setData(first, QString()));
        QCOMPARE(document().OpenBook().Item(1).PName, QString());
        // Other columns are not edited in place.
        QVERIFY(!(window().listModel()->flags(window().listModel()->index(0, 1)) & Qt::ItemIsEditable));
    }

    void exitPrompt()
    {
        startWithBook(2);
        renameFirst(u"変更"_s);
        window().show();
        MessageBoxes::QueueAnswer(MsgAnswer::Cancel);
        QVERIFY(!window().close());
        QVERIFY(window().isVisible());
        QCOMPARE(document().OpenBook().Count(), 2);

        // Yes on an untitled book with the save dialog cancelled: the exit is cancelled too.
        document().SetBookFileName(QString());
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        FileDialogs::QueuePath(QString());
        QVERIFY(!window().close());

        MessageBoxes::QueueAnswer(MsgAnswer::No);
        QVERIFY(window().close());
        QCOMPARE(window().countText(), u"0件"_s);
        QCOMPARE(readFile(path(u"a.csv"_s)), bookBytes(2));
        QCOMPARE(QSettings(path(u"settings.ini"_s), QSettings::IniFormat).value(u"File/F1"_s).toString(),
                 path(u"a.csv"_s));
    }

    void flushDropsQueuedInputOnly()
    {
        start();
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QLineEdit *field = named<QLineEdit>(u"txt_Icon(0)"_s);
        field->setText(u"a"_s);
        QCoreApplication::postEvent(field, new QKeyEvent(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, u"b"_s));
        // A close request from the window system waits for the command to end.
        QCoreApplication::postEvent(window().windowHandle(), new QCloseEvent);
        bool timerRan = false;
        QTimer timer;
        timer.setSingleShot(true);
        connect(&timer, &QTimer::timeout, [&] { timerRan = true; });
        timer.start(0);
        FlushInput();
        QCOMPARE(field->text(), u"a"_s);
        QVERIFY(!timerRan);
        QVERIFY(window().isVisible());
        // Afterwards input is acted on again and the close goes ahead.
        QCoreApplication::postEvent(field, new QKeyEvent(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier, u"c"_s));
        QTRY_VERIFY(!window().isVisible());
        QCOMPARE(field->text(), u"ac"_s);
        QVERIFY(timerRan);
    }

    void pendingRenameIsCommittedBeforeCommands()
    {
        QLineEdit *editor = startRenamingFirst();
        QVERIFY(editor);
        editor->setText(u"打ちかけ"_s);
        // Open while the name is still being typed: the prompt must come.
        MessageBoxes::QueueAnswer(MsgAnswer::Cancel);
        window().fileCommands().FileOpen();
        QCOMPARE(MessageBoxes::TakeShown().size(), 1);
        QCOMPARE(document().OpenBook().Item(1).PName, u"打ちかけ"_s);
        QVERIFY(document().BookChanged());
    }

    void loadKeepsMarkerWhenListTakesFocus()
    {
        start();
        writeFile(path(u"a.csv"_s), bookBytes(6));
        writeFile(path(u"b.csv"_s), bookBytes(6));
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        openFile(path(u"a.csv"_s));
        QTreeView *view = window().listView()->reportView();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(window().listModel()->index(4, 1)).center());
        QCOMPARE(document().MarkedIndex(), 5);
        QCoreApplication::processEvents();
        openFile(path(u"b.csv"_s));
        QCoreApplication::processEvents();
        QCOMPARE(document().MarkedIndex(), 5);
        QVERIFY(window().listModel()->isMarked(4));
        QVERIFY(!window().listModel()->isMarked(0));
    }

    void modelIsSound()
    {
        start();
        QAbstractItemModelTester tester(window().listModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        writeFile(path(u"a.csv"_s), bookBytes(5));
        openFile(path(u"a.csv"_s));
        document().SetMarked(3, true);
        MessageBoxes::QueueAnswer(MsgAnswer::No);
        renameFirst(u"x"_s);
        window().fileCommands().FileNew();
        QCOMPARE(window().listModel()->rowCount(), 0);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"

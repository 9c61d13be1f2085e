#pragma once

// A main window over a book of named entries, for the window tests. The
// tests script the message boxes and file dialogs in init().

#include "files/cp932_codec.h"
#include "files/file_commands.h"
#include "mainwindow/address_list_model.h"
#include "mainwindow/address_list_view.h"
#include "mainwindow/file_dialog.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "model/app_state.h"
#include "model/book_document.h"
#include "model/record_keys.h"
#include "print/printer_setup.h"
#include "settings/app_settings.h"
#include "settings/settings_store.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class WindowFixture {
public:
    QTemporaryDir dir;
    std::unique_ptr<BookDocument> document;
    std::unique_ptr<AppState> state;
    std::unique_ptr<SettingsRecord> settings;
    std::unique_ptr<PrinterSetup> printer;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<MainWindow> window;

    QString path(const QString &name) const { return dir.filePath(name); }

    // An empty book; the window is not shown.
    void start()
    {
        window.reset();
        document = std::make_unique<BookDocument>();
        state = std::make_unique<AppState>();
        settings = std::make_unique<SettingsRecord>();
        printer = std::make_unique<PrinterSetup>();
        store = std::make_unique<SettingsStore>(path(QStringLiteral("settings.ini")));
        window = std::make_unique<MainWindow>(*document, *state, *settings, *printer, *store);
        MainWindowOptions options;
        options.screenWidthTwips = 19200;
        window->Load(options);
    }

    // An address file whose entries have these names; the other fields say
    // which entry they belong to ("tel 名前", ...). Returns its path.
    QString writeBook(const QString &fileName, const QStringList &names) const
    {
        QString text = QStringLiteral("氏名(%1),電話番号,メールアドレス,〒,住所1,住所2,一言メモ\r\n").arg(names.size());
        for (const QString &name : names)
            text += QStringLiteral("%1,tel %1,mail %1,100-0001,ju1 %1,ju2 %1,memo %1\r\n").arg(name);
        QFile file(path(fileName));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write the test book");
        file.write(EncodeCp932(text).bytes);
        return file.fileName();
    }

    // A book loaded from a file whose entries have these names.
    void startWithNames(const QStringList &names)
    {
        start();
        FileDialogs::QueuePath(writeBook(QStringLiteral("book.csv"), names));
        window->fileCommands().FileOpen();
    }

    // A book of n entries 名前1 ... put in place without a file, keyed s1 ... sn.
    void fillBook(int n)
    {
        auto book = std::make_unique<Cls_管理>();
        book->reserve(n);
        for (int i = 1; i <= n; ++i)
            book->Add(QStringLiteral("名前%1").arg(i), {}, {}, {}, {}, {}, {}, book.get(), -1, MakeRecordKey(i));
        document->ReplaceBook(std::move(book), n);
    }

    // Names 名前1 ... 名前n.
    void startWithBook(int n)
    {
        QStringList names;
        for (int i = 1; i <= n; ++i)
            names << QStringLiteral("名前%1").arg(i);
        startWithNames(names);
    }

    QStringList names() const
    {
        QStringList result;
        for (const auto &record : document->OpenBook())
            result << record->PName;
        return result;
    }

    QStringList keys() const
    {
        QStringList result;
        for (const auto &record : document->OpenBook())
            result << record->PSkey;
        return result;
    }

    // Rows that show the marker.
    QList<int> markedRows() const
    {
        QList<int> rows;
        for (int r = 0; r < window->listModel()->rowCount(); ++r) {
            if (window->listModel()->isMarked(r))
                rows << r;
        }
        return rows;
    }

    void select(int row) { window->listView()->setCurrentRow(row); }
    // Selects as the user's click does, which moves the marker too.
    void pick(int row)
    {
        select(row);
        document->ItemClick(row + 1);
    }
    int selectedRow() const { return window->listView()->currentRow(); }

    template <typename T = QObject>
    T *named(const QString &name) const
    {
        T *object = window->findChild<T *>(name);
        if (!object)
            qWarning("no control named %s", qPrintable(name));
        return object;
    }

    bool enabled(const QString &name) const { return window->isEnabledByName(name); }

    // Ends a test: the window goes, and every scripted answer and path was
    // used up, so none leaks into the next test.
    void finish()
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(MessageBoxes::PendingAnswers(), 0);
        QCOMPARE(FileDialogs::PendingPaths(), 0);
        MessageBoxes::TakeShown();
        FileDialogs::TakeShown();
    }

    // Dialogs a command left open, closed so they do not leak into the next test.
    static void closeDialogs()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (qobject_cast<QDialog *>(w) && w->isVisible())
                w->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QStringList shownTexts()
    {
        QStringList texts;
        for (const ShownMessage &m : MessageBoxes::TakeShown())
            texts << m.text;
        return texts;
    }
};

#include "window_fixture.h"

#include "entry/entry_dialog.h"
#include "entry/picture_button.h"
#include "mainwindow/heap_tuning.h"
#include "model/app_error.h"
#include "model/address_record.h"
#include "print/label_sheet_dialog.h"
#include "print/preview_window.h"
#include "entry/sort_dialog.h"
#include "print/print_dialog.h"
#include "settings/settings_sections.h"
#include "print/picture_surface.h"
#include "print/printer_setup.h"
#include "print/print_progress_window.h"
#include "print/printer_surface.h"
#include "print/recording_surface.h"

#include <QAction>
#include <QCloseEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPageLayout>
#include <QProgressBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <QtTest/qtestspontaneevent.h>

#include <cstdlib>
#include <functional>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace {

// A printer job whose operations outlive it: the dispatcher drops its
// surface when the run ends.
class KeptRecording : public RecordingSurface {
public:
    explicit KeptRecording(QList<RecordedOp> &sink) : m_sink(sink) {}
    ~KeptRecording() override { m_sink = ops; }

private:
    QList<RecordedOp> &m_sink;
};

// A printer that cannot print anything, as when none is installed.
class BrokenPrinter : public RecordingSurface {
public:
    static inline const QString Message = u"プリンタがインストールされていません。"_s;

protected:
    void drawText(const QPointF &, const QString &) override { throw AppError(Message); }
    void drawLine(const QPointF &, const QPointF &) override { throw AppError(Message); }
    void drawBox(const QPointF &, const QPointF &) override { throw AppError(Message); }
    void drawRoundedBox(const QPointF &, const QPointF &, double) override { throw AppError(Message); }
};

QStringList texts(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QList<int> keyNumbers(const QListWidget *list)
{
    QList<int> out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->data(Qt::UserRole).toInt();
    return out;
}

QList<RecordedOp::Kind> jobEnds(const QList<RecordedOp> &ops)
{
    QList<RecordedOp::Kind> out;
    for (const RecordedOp &o : ops)
        if (o.kind == RecordedOp::EndDoc || o.kind == RecordedOp::KillDoc)
            out << o.kind;
    return out;
}

} // namespace

class TestPrintDialog : public QObject {
    Q_OBJECT

    WindowFixture f;
    QList<RecordedOp> printed;      // the last printer job
    QStringList documentNames;      // one per printer job

    AppState &state() { return *f.state; }
    // The flags of the open print dialog's runs.
    PrintRunState &run()
    {
        auto *d = f.window->findChild<PrintDialog *>(u"F_Print"_s);
        if (!d)
            qFatal("no print dialog is open");
        return d->run();
    }

    PrintDialog *open()
    {
        f.named<QToolButton>(u"cmd_印刷"_s)->click();
        return f.window->findChild<PrintDialog *>(u"F_Print"_s);
    }

    template <typename T = QWidget>
    static T *part(QWidget *form, const QString &name)
    {
        T *w = form->findChild<T *>(name);
        if (!w)
            qWarning("no control named %s", qPrintable(name));
        return w;
    }

    static QListWidget *candidates(PrintDialog *d) { return part<QListWidget>(d, u"lst_対象者"_s); }
    static QListWidget *toPrint(PrintDialog *d) { return part<QListWidget>(d, u"lst_印刷者"_s); }
    static PictureButton *button(PrintDialog *d, const QString &name) { return part<PictureButton>(d, name); }
    static QString count(PrintDialog *d, int i) { return part<QLabel>(d, u"lbl_対象件数(%1)"_s.arg(i))->text(); }

    static void selectRows(QListWidget *list, const QList<int> &rows)
    {
        list->clearSelection();
        for (int row : rows)
            list->item(row)->setSelected(true);
        list->setCurrentRow(rows.first(), QItemSelectionModel::NoUpdate);
    }

    // A dialog with the first n entries of a book of total entries to print, and the kind chosen.
    PrintDialog *readyToPrint(int total, int n, int kind = 1)
    {
        f.startWithBook(total);
        PrintDialog *d = open();
        QList<int> rows;
        for (int i = 0; i < n; ++i)
            rows << i;
        selectRows(candidates(d), rows);
        button(d, u"cmd_選択(0)"_s)->click();
        part<QRadioButton>(d, u"opt_印刷形式(%1)"_s.arg(kind - 1))->setChecked(true);
        return d;
    }

    // Runs action at every pass of the printout's message pump until it says it is done.
    static void duringRun(QObject *context, std::function<bool()> action)
    {
        auto *timer = new QTimer(context);
        timer->setInterval(0);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
            if (action())
                timer->deleteLater();
        });
        timer->start();
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The label database of the tests: two sheets and a round one.
        qputenv("XDG_DATA_DIRS", YUZARIBO_TEST_DATA "/labels");
        qputenv("XDG_DATA_HOME", YUZARIBO_TEST_DATA "/labels/none");
    }

    void init()
    {
        MessageBoxes::SetScripted(true);
        FileDialogs::SetScripted(true);
        printed.clear();
        documentNames.clear();
        PrinterSurfaces::SetFactory([this](PrinterSetup &, const QString &documentName) {
            documentNames << documentName;
            return std::make_unique<KeptRecording>(printed);
        });
    }

    void cleanup()
    {
        f.window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        PrinterSurfaces::SetFactory({});
        QCOMPARE(MessageBoxes::PendingAnswers(), 0);
        MessageBoxes::TakeShown();
        FileDialogs::TakeShown();
    }

    void opening_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("tool button") << u"cmd_印刷"_s;
        QTest::newRow("menu") << u"mm_印刷"_s;
    }

    void opening()
    {
        QFETCH(QString, command);
        f.startWithBook(3);
        // An entry added later has a later key but stands first in the book.
        Cls_住所 added;
        added.PName = u"追加"_s;
        const QString key = f.document->NextRecordKey();
        f.document->AddRecord(added, 1, key);

        if (auto *action = f.window->findChild<QAction *>(command))
            action->trigger();
        else
            f.named<QToolButton>(command)->click();
        auto *d = f.window->findChild<PrintDialog *>(u"F_Print"_s);
        QVERIFY(d);
        QVERIFY(d->isVisible());
        QCOMPARE(d->windowTitle(), u"印刷処理"_s);
        QVERIFY(!f.window->isEnabled());
        QVERIFY(d->isEnabled());

        QCOMPARE(texts(candidates(d)), QStringList({u"追加"_s, u"名前1"_s, u"名前2"_s, u"名前3"_s}));
        QCOMPARE(keyNumbers(candidates(d)), QList<int>({key.mid(1).toInt(), 1, 2, 3}));
        QCOMPARE(toPrint(d)->count(), 0);
        QCOMPARE(candidates(d)->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(count(d, 0), u"4件"_s);
        QCOMPARE(count(d, 1), u"0件"_s);
        QVERIFY(part<QRadioButton>(d, u"opt_印刷形式(0)"_s)->isChecked());
        QCOMPARE(part<QRadioButton>(d, u"opt_印刷形式(3)"_s)->accessibleName(), u"はがき表"_s);
        // Disabled buttons show their words instead of a picture.
        for (const QString &name : {u"cmd_初期化"_s, u"cmd_確認(0)"_s, u"cmd_確認(1)"_s}) {
            QVERIFY2(!button(d, name)->isEnabled(), qPrintable(name));
            QVERIFY(button(d, name)->icon().isNull());
        }
        QCOMPARE(button(d, u"cmd_初期化"_s)->text(), u"初期化"_s);
        QCOMPARE(button(d, u"cmd_確認(0)"_s)->text(), u"詳細確認"_s);
        QVERIFY(run().PrintDialogReady);
        QVERIFY(!run().PrintListsChanged);
    }

    // The lists take the keyboard when the dialog opens; no entry is picked
    // by that, so neither detail button may act yet.
    void detailButtonsStayOffUntilAnEntryIsPicked()
    {
        f.startWithBook(3);
        PrintDialog *d = open();
        QVERIFY(QTest::qWaitForWindowActive(d));
        QCOMPARE(QApplication::focusWidget(), candidates(d));
        QVERIFY(!button(d, u"cmd_確認(0)"_s)->isEnabled());
        selectRows(candidates(d), {0});
        button(d, u"cmd_選択(0)"_s)->click();
        toPrint(d)->setFocus(Qt::TabFocusReason);
        QCOMPARE(toPrint(d)->currentRow(), 0);
        QVERIFY(!button(d, u"cmd_確認(1)"_s)->isEnabled());

        // A click on an entry picks it.
        QListWidget *list = candidates(d);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QVERIFY(button(d, u"cmd_確認(0)"_s)->isEnabled());
        button(d, u"cmd_確認(0)"_s)->click();
        auto *entry = d->findChild<EntryDialog *>(u"F_Syusei"_s);
        QVERIFY(entry);
        QCOMPARE(entry->field(0)->text(), list->item(1)->text());
    }

    // Unpicking the entry again (Ctrl+click) turns the button off again.
    void detailButtonFollowsThePick()
    {
        f.startWithBook(3);
        PrintDialog *d = open();
        QVERIFY(QTest::qWaitForWindowActive(d));
        QListWidget *list = candidates(d);
        const QPoint second = list->visualItemRect(list->item(1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
        QVERIFY(button(d, u"cmd_確認(0)"_s)->isEnabled());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, second);
        QVERIFY(list->selectedItems().isEmpty());
        QVERIFY(!button(d, u"cmd_確認(0)"_s)->isEnabled());
        QCOMPARE(button(d, u"cmd_確認(0)"_s)->text(), u"詳細確認"_s);
        button(d, u"cmd_確認(0)"_s)->click();
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
        QVERIFY(!d->findChild<EntryDialog *>());
    }

    void movesKeepOrder()
    {
        f.startWithBook(5);
        PrintDialog *d = open();
        candidates(d)->setCurrentRow(1);
        QVERIFY(button(d, u"cmd_確認(0)"_s)->isEnabled());
        QVERIFY(!button(d, u"cmd_確認(0)"_s)->icon().isNull());

        selectRows(candidates(d), {0, 1, 3});
        button(d, u"cmd_選択(0)"_s)->click();
        QCOMPARE(texts(toPrint(d)), QStringList({u"名前1"_s, u"名前2"_s, u"名前4"_s}));
        QCOMPARE(keyNumbers(toPrint(d)), QList<int>({1, 2, 4}));
        QCOMPARE(texts(candidates(d)), QStringList({u"名前3"_s, u"名前5"_s}));
        QCOMPARE(count(d, 0), u"2件"_s);
        QCOMPARE(count(d, 1), u"3件"_s);
        QVERIFY(run().PrintListsChanged);
        QVERIFY(button(d, u"cmd_初期化"_s)->isEnabled());
        QVERIFY(!button(d, u"cmd_確認(0)"_s)->isEnabled());
        QVERIFY(candidates(d)->selectedItems().isEmpty());
        QCOMPARE(d->Count(), 3);
        QCOMPARE(d->KeyNumber(2), 4);

        // Back again: to the end of the candidates.
        selectRows(toPrint(d), {0});
        button(d, u"cmd_選択(2)"_s)->click();
        QCOMPARE(texts(candidates(d)), QStringList({u"名前3"_s, u"名前5"_s, u"名前1"_s}));
        QCOMPARE(texts(toPrint(d)), QStringList({u"名前2"_s, u"名前4"_s}));

        // A double-click moves the entry under the mouse.
        QListWidget *list = candidates(d);
        const QRect cell = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(texts(toPrint(d)), QStringList({u"名前2"_s, u"名前4"_s, u"名前5"_s}));
        QCOMPARE(texts(candidates(d)), QStringList({u"名前3"_s, u"名前1"_s}));

        // All back, all forward.
        button(d, u"cmd_選択(3)"_s)->click();
        QCOMPARE(texts(candidates(d)), QStringList({u"名前3"_s, u"名前1"_s, u"名前2"_s, u"名前4"_s, u"名前5"_s}));
        button(d, u"cmd_選択(1)"_s)->click();
        QCOMPARE(texts(toPrint(d)), QStringList({u"名前3"_s, u"名前1"_s, u"名前2"_s, u"名前4"_s, u"名前5"_s}));
        QCOMPARE(candidates(d)->count(), 0);
        QCOMPARE(count(d, 0), u"0件"_s);
    }

    // "PDFファイルに保存" chosen instead of a printer: 印刷 asks for the file
    // and writes the run there; a cancel prints nothing, a folder that does
    // not exist is reported by the file's name and leaves no file.
    void printingIntoAPdfFile_data()
    {
        QTest::addColumn<QString>("file");   // under the test's folder; empty: cancel
        QTest::addColumn<bool>("written");
        QTest::newRow("written") << u"list.pdf"_s << true;
        QTest::newRow("cancelled") << QString() << false;
        QTest::newRow("no such folder") << u"none/list.pdf"_s << false;
    }

    void printingIntoAPdfFile()
    {
        QFETCH(QString, file);
        QFETCH(bool, written);
        PrinterSurfaces::SetFactory({});
        PrintDialog *d = readyToPrint(3, 3);
        f.printer->ToPdfFile = true;
        FileDialogs::TakeShown();   // the book's opening
        const QString pdf = file.isEmpty() ? QString() : f.path(file);
        FileDialogs::QueuePath(pdf);
        button(d, u"cmd_Go(0)"_s)->click();

        const QList<ShownFileDialog> asked = FileDialogs::TakeShown();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].kind, FileDialogKind::SavePdf);
        QCOMPARE(asked[0].title, u"PDFファイルに保存"_s);
        QCOMPARE(QFile::exists(pdf), written);
        const QStringList shown = f.shownTexts();
        if (file.startsWith(u"none/"))
            QVERIFY2(shown.size() == 1 && shown[0].contains(u"PDFファイル「%1」"_s.arg(pdf)), qPrintable(shown.join(u'|')));
        else
            QCOMPARE(shown, QStringList());
        QCOMPARE(QDir(f.dir.path()).entryList({u".*.pdf.*"_s}, QDir::Files | QDir::Hidden), QStringList());
    }

    // The honorific and the joint names are the user's: chosen here, kept in
    // the settings and the store, and shown again next time.
    void addressingIsKept()
    {
        f.startWithBook(3);
        PrintDialog *d = open();
        auto *honorific = part<QComboBox>(d, u"cmb_敬称"_s);
        QCOMPARE(honorific->count(), 6);
        QCOMPARE(honorific->currentText(), u"様"_s);
        honorific->setCurrentIndex(4);
        Q_EMIT honorific->activated(4);
        part<QCheckBox>(d, u"chk_連名"_s)->setChecked(true);
        QCOMPARE(f.settings->Honorific, qint16(4));
        QVERIFY(f.settings->JointNames);
        SettingsRecord stored;
        M_RegS::LoadPrintSection(*f.store, stored);
        QCOMPARE(stored.Honorific, qint16(4));
        QVERIFY(stored.JointNames);
        d->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        d = open();
        QCOMPARE(part<QComboBox>(d, u"cmb_敬称"_s)->currentText(), u"自動"_s);
        QVERIFY(part<QCheckBox>(d, u"chk_連名"_s)->isChecked());
    }

    // Without choosing entries: one page of the chosen kind on the printer.
    void alignmentPrint()
    {
        f.startWithBook(3);
        PrintDialog *d = open();
        part<QRadioButton>(d, u"opt_印刷形式(3)"_s)->setChecked(true);
        button(d, u"cmd_位置合わせ"_s)->click();
        QCOMPARE(documentNames, QStringList{u"位置合わせ印刷（はがき(表)）"_s});
        const auto count = [this](RecordedOp::Kind kind) {
            return std::count_if(printed.begin(), printed.end(), [kind](const RecordedOp &o) { return o.kind == kind; });
        };
        QStringList texts;
        for (const RecordedOp &o : std::as_const(printed))
            texts << o.text;
        QVERIFY(texts.contains(u"７"_s));
        QVERIFY(!texts.contains(u"名前1"_s));
        QCOMPARE(count(RecordedOp::EndDoc), 1);
        QCOMPARE(count(RecordedOp::NewPage), 0);
    }

    // The sheet, the start position and the outlines are for labels only.
    void labelControlsFollowTheKind()
    {
        PrintDialog *d = readyToPrint(3, 3, 1);
        auto *sheet = part<QPushButton>(d, u"cmd_ラベル用紙"_s);
        auto *start = part<QSpinBox>(d, u"txt_開始位置"_s);
        auto *outlines = part<QCheckBox>(d, u"chk_ラベル枠"_s);
        for (QWidget *w : std::initializer_list<QWidget *>{sheet, start, outlines})
            QVERIFY(!w->isEnabled());
        part<QRadioButton>(d, u"opt_印刷形式(1)"_s)->setChecked(true);
        for (QWidget *w : std::initializer_list<QWidget *>{sheet, start, outlines})
            QVERIFY(w->isEnabled());
        QCOMPARE(sheet->text(), u"2列×7行（標準）"_s);
        QCOMPARE(start->maximum(), 14);
        start->setValue(4);
        QCOMPARE(part<QLabel>(d, u"lbl_開始位置"_s)->text(), u"（2行目・2列目）"_s);
        outlines->setChecked(true);
        QCOMPARE(run().Labels.Start, 4);
        QVERIFY(run().Labels.Outlines);

        // A preview keeps the start position; a printed run used those labels up.
        button(d, u"cmd_Go(1)"_s)->click();
        QCOMPARE(start->value(), 4);
        QVERIFY(d->previewWindow());
        d->previewWindow()->close();
        button(d, u"cmd_Go(0)"_s)->click();
        QCOMPARE(start->value(), 1);
        QCOMPARE(run().Labels.Start, 1);
        QVERIFY(run().Labels.Outlines);
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }

    // The chooser finds sheets by part number and by labels per sheet; the
    // choice prints and is kept for the next time.
    void aLabelSheetIsChosenAndKept()
    {
        PrintDialog *d = readyToPrint(3, 3, 2);
        part<QPushButton>(d, u"cmd_ラベル用紙"_s)->click();
        auto *chooser = d->findChild<LabelSheetDialog *>(u"F_ラベル用紙"_s);
        QVERIFY(chooser);
        auto *table = part<QTableView>(chooser, u"lst_ラベル用紙"_s);
        // The standard sheet and the two rectangular ones; round labels are not offered.
        QCOMPARE(table->model()->rowCount(), 3);
        QVERIFY(!chooser->Current());
        auto *counts = part<QComboBox>(chooser, u"cmb_面数"_s);
        counts->setCurrentIndex(counts->findText(u"12面"_s));
        QCOMPARE(table->model()->rowCount(), 1);
        counts->setCurrentIndex(0);
        part<QLineEdit>(chooser, u"txt_検索"_s)->setText(u"ｅｌｍ０１２"_s);
        QCOMPARE(table->model()->rowCount(), 1);
        QCOMPARE(chooser->Current()->part, u"ELM012"_s);
        part<PictureButton>(chooser, u"cmd_Go"_s)->click();

        QCOMPARE(part<QPushButton>(d, u"cmd_ラベル用紙"_s)->text(), u"Hisago ELM012（24面・66×33.9mm）"_s);
        QCOMPARE(part<QSpinBox>(d, u"txt_開始位置"_s)->maximum(), 24);
        QCOMPARE(f.settings->LabelPart, u"ELM012"_s);
        SettingsRecord stored;
        M_RegS::LoadPrintSection(*f.store, stored);
        QCOMPARE(stored.LabelBrand, u"Hisago"_s);
        QCOMPARE(stored.LabelPart, u"ELM012"_s);

        // Printed edge to edge, without the page header.
        button(d, u"cmd_Go(0)"_s)->click();
        QStringList texts;
        for (const RecordedOp &o : std::as_const(printed))
            texts << o.text;
        QVERIFY(texts.contains(u"名前1   様"_s));
        QVERIFY(!texts.contains(u"-1-"_s));

        // The next dialog starts on the sheet kept.
        d->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        d = open();
        part<QRadioButton>(d, u"opt_印刷形式(1)"_s)->setChecked(true);
        QCOMPARE(run().Labels.Sheet->part, u"ELM012"_s);
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }

    // A kept sheet the database no longer has: the standard sheet, with a word.
    void aLostLabelSheetFallsBack()
    {
        f.startWithBook(2);
        f.settings->LabelBrand = u"Hisago"_s;
        f.settings->LabelPart = u"ELM999"_s;
        PrintDialog *d = open();
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
        part<QRadioButton>(d, u"opt_印刷形式(1)"_s)->setChecked(true);
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.contains(u"Hisago ELM999"_s));
        QVERIFY(!run().Labels.Sheet);
        QCOMPARE(part<QPushButton>(d, u"cmd_ラベル用紙"_s)->text(), u"2列×7行（標準）"_s);
        // Once a dialog.
        part<QRadioButton>(d, u"opt_印刷形式(0)"_s)->setChecked(true);
        part<QRadioButton>(d, u"opt_印刷形式(1)"_s)->setChecked(true);
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }

    // The run's order only: the book keeps its own order and stays unchanged.
    void sortingTheToPrintList()
    {
        PrintDialog *d = readyToPrint(4, 1);
        QVERIFY(!button(d, u"cmd_並べ替え"_s)->isEnabled());
        button(d, u"cmd_選択(1)"_s)->click();
        QVERIFY(button(d, u"cmd_並べ替え"_s)->isEnabled());
        button(d, u"cmd_並べ替え"_s)->click();
        auto *dialog = d->findChild<SortDialog *>(u"F_Narabekae"_s);
        QVERIFY(dialog);
        part<QRadioButton>(dialog, u"opt_項目(2)"_s)->setChecked(true);
        part<QRadioButton>(dialog, u"opt_順序(1)"_s)->setChecked(true);
        part<PictureButton>(dialog, u"cmd_Go"_s)->click();
        QCOMPARE(texts(toPrint(d)), QStringList({u"名前4"_s, u"名前3"_s, u"名前2"_s, u"名前1"_s}));
        QCOMPARE(d->KeyNumber(0), 4);
        QCOMPARE(f.names(), QStringList({u"名前1"_s, u"名前2"_s, u"名前3"_s, u"名前4"_s}));
        QVERIFY(!f.document->BookChanged());
        QVERIFY(!f.document->History().canUndo());
        QVERIFY(button(d, u"cmd_初期化"_s)->isEnabled());
        // The next sort starts from this choice.
        QCOMPARE(f.state->LastSort.key, SortKey::Name);
    }

    void movesThatChangeNothing_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("moveButton");
        QTest::addColumn<bool>("counts");   // whether it counts as a move
        QTest::addColumn<int>("current");   // a candidate made current without being picked, or -1
        QTest::newRow("> without a current entry") << 3 << 0 << false << -1;
        // The focus entering a list makes its first entry current, unpicked.
        QTest::newRow("> with a current entry not picked") << 3 << 0 << false << 0;
        QTest::newRow("< on the empty print list") << 3 << 2 << false << -1;
        QTest::newRow("<< on the empty print list") << 3 << 3 << false << -1;
        QTest::newRow(">> on an empty candidate list") << 0 << 1 << true << -1;
    }

    void movesThatChangeNothing()
    {
        QFETCH(int, entries);
        QFETCH(int, moveButton);
        QFETCH(bool, counts);
        QFETCH(int, current);
        f.startWithBook(entries);
        // An empty book leaves the print button off; the dialog opens all the same.
        PrintDialog *d = entries ? open() : PrintDialog::Open(*f.window);
        QVERIFY(d);
        if (current >= 0)
            candidates(d)->setCurrentRow(current, QItemSelectionModel::NoUpdate);
        button(d, u"cmd_選択(%1)"_s.arg(moveButton))->click();
        QCOMPARE(candidates(d)->count(), entries);
        QCOMPARE(toPrint(d)->count(), 0);
        QCOMPARE(run().PrintListsChanged, counts);
        QCOMPARE(button(d, u"cmd_初期化"_s)->isEnabled(), counts);
        // Reset has nothing to put back, so it asks nothing.
        if (!counts) {
            d->Reset();
            QVERIFY(MessageBoxes::TakeShown().isEmpty());
        }
    }

    void reset()
    {
        f.startWithBook(3);
        PrintDialog *d = open();
        // Nothing moved yet: no question.
        d->Reset();
        QVERIFY(MessageBoxes::TakeShown().isEmpty());

        selectRows(candidates(d), {0});
        button(d, u"cmd_選択(0)"_s)->click();
        MessageBoxes::QueueAnswer(MsgAnswer::No);
        button(d, u"cmd_初期化"_s)->click();
        QCOMPARE(toPrint(d)->count(), 1);

        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        button(d, u"cmd_初期化"_s)->click();
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].text, u"最初の状態に戻しますか？"_s);
        QCOMPARE(shown[0].icon, MsgIcon::Question);
        QCOMPARE(shown[0].buttons, MsgButtons::YesNo);
        QCOMPARE(texts(candidates(d)), QStringList({u"名前1"_s, u"名前2"_s, u"名前3"_s}));
        QCOMPARE(toPrint(d)->count(), 0);
        QCOMPARE(count(d, 0), u"3件"_s);
        QCOMPARE(count(d, 1), u"0件"_s);
        QVERIFY(!button(d, u"cmd_初期化"_s)->isEnabled());
        QVERIFY(run().PrintListsChanged);
    }

    void emptyPrintListRefuses_data()
    {
        QTest::addColumn<int>("go");
        QTest::newRow("print") << 0;
        QTest::newRow("preview") << 1;
    }

    void emptyPrintListRefuses()
    {
        QFETCH(int, go);
        f.startWithBook(3);
        PrintDialog *d = open();
        button(d, u"cmd_Go(%1)"_s.arg(go))->click();
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, u"印刷者が選択されていません。"_s);
        QCOMPARE(shown[0].icon, MsgIcon::Critical);
        QVERIFY(documentNames.isEmpty());
        QVERIFY(!d->previewWindow());
        QVERIFY(!d->findChild<PrintProgressWindow *>());
    }

    void printerRun_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("kindName");
        QTest::newRow("address list") << 1 << u"一覧印刷"_s;
        QTest::newRow("labels") << 2 << u"宛名ラベル"_s;
        QTest::newRow("telephone list") << 3 << u"電話番号"_s;
    }

    void printerRun()
    {
        QFETCH(int, kind);
        QFETCH(QString, kindName);
        PrintDialog *d = readyToPrint(5, 3, kind);
        QStringList titles;
        int barMaximum = -1;
        bool dialogEnabled = true;
        duringRun(d, [&] {
            if (auto *progress = d->findChild<PrintProgressWindow *>(u"F_PrintSy"_s)) {
                titles << progress->windowTitle() << part<QLabel>(progress, u"lbl_Titol"_s)->text();
                barMaximum = part<QProgressBar>(progress, u"pbr_進行"_s)->maximum();
                dialogEnabled = d->isEnabled();
            }
            return true;
        });
        button(d, u"cmd_Go(0)"_s)->click();

        QCOMPARE(run().PrintKindName, kindName);
        QCOMPARE(documentNames, QStringList({kindName}));
        QCOMPARE(titles, QStringList({u"印刷中です..."_s, u"【 "_s + kindName + u" 】 を印刷中です..."_s}));
        QCOMPARE(barMaximum, 5);
        QVERIFY(!dialogEnabled);
        QVERIFY(!printed.isEmpty());
        QCOMPARE(jobEnds(printed), QList<RecordedOp::Kind>({RecordedOp::EndDoc}));
        QCOMPARE(run().LastRunMode, 0);
        QVERIFY(run().RunFromDialog);
        QVERIFY(!run().RunFromPreview);
        QVERIFY(!run().PrintCancelled);
        QVERIFY(!d->findChild<PrintProgressWindow *>());
        QVERIFY(d->isEnabled());
        QVERIFY(!f.window->isEnabled());
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }

    void previewRun()
    {
        PrintDialog *d = readyToPrint(45, 45, 1);
        QStringList statuses;
        duringRun(d, [&] {
            if (auto *progress = d->findChild<PrintProgressWindow *>(u"F_PrintSy"_s))
                statuses << progress->windowTitle() << part<QLabel>(progress, u"lbl_Titol"_s)->text();
            return true;
        });
        button(d, u"cmd_Go(1)"_s)->click();
        QCOMPARE(statuses, QStringList({u"プレビュー中です..."_s, u"【 一覧印刷 】 をプレビュー中です..."_s}));
        PreviewWindow *preview = d->previewWindow();
        QVERIFY(preview);
        QVERIFY(preview->isVisible());
        QCOMPARE(preview->parentWidget(), d);
        QCOMPARE(preview->PageCount(), 2);
        QCOMPARE(run().PreviewKind, 1);
        QCOMPARE(run().LastRunMode, 1);
        QVERIFY(documentNames.isEmpty());
        QVERIFY(d->isEnabled());

        // A second run starts from a fresh preview: no pages of the first stay behind.
        QPointer<PreviewWindow> first = preview;
        selectRows(toPrint(d), {0, 1, 2, 3, 4});
        button(d, u"cmd_選択(2)"_s)->click();
        button(d, u"cmd_Go(1)"_s)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!first);
        QVERIFY(d->previewWindow());
        QCOMPARE(d->previewWindow()->PageCount(), 1);
        QCOMPARE(d->findChildren<PreviewWindow *>().size(), 1);
    }

    void postcardsAskForTheSenderEveryRun()
    {
        PrintDialog *d = readyToPrint(3, 2, 4);
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        button(d, u"cmd_Go(1)"_s)->click();
        QVERIFY(run().PrintSender);
        QCOMPARE(run().PrintKindName, u"はがき(表)"_s);
        MessageBoxes::QueueAnswer(MsgAnswer::No);
        button(d, u"cmd_Go(0)"_s)->click();
        QVERIFY(!run().PrintSender);
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        button(d, u"cmd_Go(1)"_s)->click();
        QVERIFY(run().PrintSender);

        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 3);
        for (const ShownMessage &m : shown) {
            QCOMPARE(m.text, u"差出人を印刷しますか？"_s);
            QCOMPARE(m.icon, MsgIcon::Question);
            QCOMPARE(m.buttons, MsgButtons::YesNo);
        }
        // Other kinds never ask.
        part<QRadioButton>(d, u"opt_印刷形式(2)"_s)->setChecked(true);
        button(d, u"cmd_Go(0)"_s)->click();
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }

    // Three cards previewed on millimetre pages, then printed from the preview
    // on a postcard-sized printer page, one card a page, with the sender.
    void postcardsPreviewedThenPrinted()
    {
        PrintDialog *d = readyToPrint(5, 3, 4);
        (*f.settings).Sender.Name = u"鈴木"_s;
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        button(d, u"cmd_Go(1)"_s)->click();
        PreviewWindow *preview = d->previewWindow();
        QVERIFY(preview);
        QCOMPARE(preview->PageCount(), 3);
        for (int p = 0; p < 3; ++p) {
            QCOMPARE(preview->Page(p).ScaleMode(), int(ScaleMillimetres));
            QVERIFY(!preview->Page(p).IsBlank());
        }
        const PrinterSetup &printer = (*f.printer);
        QCOMPARE(printer.PaperSize, int(PaperUser));
        QCOMPARE(QSize(printer.PaperWidthTwips, printer.PaperHeightTwips), QSize(5670, 8392));
        QCOMPARE(printer.Orientation, int(OrientationPortrait));
        QVERIFY(printed.isEmpty());

        preview->findChild<QPushButton *>(u"cmd_印刷"_s)->click();
        QCOMPARE(printed.first().kind, RecordedOp::ScaleMode);
        QCOMPARE(printed.first().value, int(ScaleMillimetres));
        QCOMPARE(jobEnds(printed), (QList<RecordedOp::Kind>{RecordedOp::EndDoc}));
        QCOMPARE(printed.last().page, 3);
        QStringList texts;
        for (const RecordedOp &o : printed)
            if (o.kind == RecordedOp::Text)
                texts << o.text;
        QCOMPARE(texts.count(u"様"_s), 3);
        QCOMPARE(texts.count(u"鈴"_s), 3);
        QCOMPARE(MessageBoxes::TakeShown().size(), 1);   // the sender question only
    }

    // A printer run leaves the preview the user is reading, and the preview
    // still prints what it shows: the same kind, with the sender as previewed.
    void aPrinterRunLeavesThePreviewOpen()
    {
        PrintDialog *d = readyToPrint(3, 2, 4);
        (*f.settings).Sender.Name = u"鈴木"_s;
        MessageBoxes::QueueAnswer(MsgAnswer::Yes);
        button(d, u"cmd_Go(1)"_s)->click();
        QPointer<PreviewWindow> preview = d->previewWindow();
        QVERIFY(preview && preview->isVisible());

        part<QRadioButton>(d, u"opt_印刷形式(2)"_s)->setChecked(true);
        button(d, u"cmd_Go(0)"_s)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(documentNames, QStringList{u"電話番号"_s});
        QVERIFY(preview);
        QVERIFY(preview->isVisible());
        QCOMPARE(preview->PageCount(), 2);

        // Postcards again, now without the sender: the preview keeps its own.
        part<QRadioButton>(d, u"opt_印刷形式(3)"_s)->setChecked(true);
        MessageBoxes::QueueAnswer(MsgAnswer::No);
        button(d, u"cmd_Go(0)"_s)->click();
        preview->findChild<QPushButton *>(u"cmd_印刷"_s)->click();
        QCOMPARE(documentNames.last(), u"はがき(表)"_s);
        QStringList texts;
        for (const RecordedOp &o : printed)
            if (o.kind == RecordedOp::Text)
                texts << o.text;
        QCOMPARE(texts.count(u"鈴"_s), 2);
        QCOMPARE(MessageBoxes::TakeShown().size(), 2);   // the sender questions
    }

    // Postcards printed without a preview first still go on the postcard
    // paper, portrait, whatever the printer had before (a landscape list).
    void postcardsWithoutAPreviewGetThePostcardPaper()
    {
        QTemporaryDir dir;
        PrinterSetup setup;
        setup.Orientation = OrientationLandscape;
        {
            PrinterSurface surface(setup, u"はがき(表)"_s, dir.filePath(u"cards.pdf"_s));
            surface.SetScaleMode(ScaleMillimetres);
            surface.SetPaperSize(PaperUser);
            surface.SetOrientation(OrientationPortrait);
            const QRectF paper = surface.printer().pageLayout().fullRect(QPageLayout::Millimeter);
            QVERIFY2(qAbs(paper.width() - 100) < 0.5 && qAbs(paper.height() - 148) < 0.5,
                     qPrintable(u"%1 x %2 mm"_s.arg(paper.width()).arg(paper.height())));
        }
        QCOMPARE(QSize(setup.PaperWidthTwips, setup.PaperHeightTwips), QSize(5670, 8392));
    }

    // The PDF engine's 10 MB page buffers come from the heap, not from a
    // fresh mapping per page.
    void largeBuffersStayOnTheHeap()
    {
#if defined(__GLIBC__)
        TuneHeapForLargeBuffers();
        const size_t mappedBefore = mallinfo2().hblkhd;
        void *buffer = std::malloc(10 * 1024 * 1024);
        QVERIFY(buffer);
        const size_t mappedWith = mallinfo2().hblkhd;
        std::free(buffer);
        QCOMPARE(mappedWith, mappedBefore);
#else
        QSKIP("the heap is tuned on the GNU C library only");
#endif
    }

    void cancelPrinterRun()
    {
        PrintDialog *d = readyToPrint(5, 5, 1);
        bool cancelEnabled = false;
        duringRun(d, [&] {
            if (auto *cancel = d->findChild<PictureButton *>(u"cmd_Cancel"_s)) {
                cancelEnabled = cancel->isEnabled();
                cancel->click();
            }
            return true;
        });
        button(d, u"cmd_Go(0)"_s)->click();
        QVERIFY(cancelEnabled);
        QVERIFY(run().PrintCancelled);
        QCOMPARE(jobEnds(printed), QList<RecordedOp::Kind>({RecordedOp::KillDoc}));
        QVERIFY(!d->findChild<PrintProgressWindow *>());
        QVERIFY(d->isEnabled());
    }

    void cancelPreviewRun()
    {
        PrintDialog *d = readyToPrint(60, 60, 1);
        int pagesAtCancel = 0, pagesAfterCancel = -1;
        duringRun(d, [&] {
            PreviewWindow *preview = d->previewWindow();
            if (!preview || preview->PageCount() < 2)
                return false;
            pagesAtCancel = preview->PageCount();
            d->findChild<PictureButton *>(u"cmd_Cancel"_s)->click();
            pagesAfterCancel = preview->PageCount();
            return true;
        });
        button(d, u"cmd_Go(1)"_s)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(pagesAtCancel, 2);
        QCOMPARE(pagesAfterCancel, 1);
        QVERIFY(run().PrintCancelled);
        QVERIFY(!d->previewWindow());
        QVERIFY(d->findChildren<PreviewWindow *>().isEmpty());
        QVERIFY(d->isEnabled());

        // The next preview makes a new window and shows it.
        button(d, u"cmd_Go(1)"_s)->click();
        QVERIFY(d->previewWindow() && d->previewWindow()->isVisible());
        QCOMPARE(d->previewWindow()->PageCount(), 2);
    }

    void closingIsRefusedDuringARun()
    {
        PrintDialog *d = readyToPrint(3, 3, 1);
        bool stillOpen = false;
        duringRun(d, [&] {
            d->close();
            stillOpen = d->isVisible();
            return true;
        });
        button(d, u"cmd_Go(0)"_s)->click();
        QVERIFY(stillOpen);
        QCOMPARE(jobEnds(printed), QList<RecordedOp::Kind>({RecordedOp::EndDoc}));
    }

    void theMainWindowCannotBeClosedUnderTheDialog()
    {
        PrintDialog *d = readyToPrint(3, 3, 1);
        // The close box of the disabled main window, as the window system sends it.
        const auto closeMain = [this] {
            QCloseEvent close;
            QSpontaneKeyEvent::setSpontaneous(&close);
            // notify() keeps the event spontaneous; sendEvent() would not.
            qApp->notify(f.window.get(), &close);
            return close.isAccepted();
        };
        bool acceptedDuringRun = true;
        duringRun(d, [&] {
            acceptedDuringRun = closeMain();
            return true;
        });
        button(d, u"cmd_Go(0)"_s)->click();
        QVERIFY(!acceptedDuringRun);
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
        QCOMPARE(jobEnds(printed), QList<RecordedOp::Kind>({RecordedOp::EndDoc}));

        QVERIFY(!closeMain());
        QCOMPARE(f.names(), QStringList({u"名前1"_s, u"名前2"_s, u"名前3"_s}));
        QVERIFY(d->isVisible());
    }

    // Only the cancel button stops a run: Esc and the window system's close
    // would hide the progress window and leave the run without its button.
    void theProgressWindowStaysUntilTheRunEnds()
    {
        PrintDialog *d = readyToPrint(3, 3, 1);
        bool stayed = false;
        duringRun(d, [&] {
            auto *progress = d->findChild<PrintProgressWindow *>();
            if (!progress)
                return false;
            QTest::keyClick(progress, Qt::Key_Escape);
            QCloseEvent close;
            QSpontaneKeyEvent::setSpontaneous(&close);
            qApp->notify(progress, &close);
            stayed = progress->isVisible() && !close.isAccepted();
            return true;
        });
        button(d, u"cmd_Go(0)"_s)->click();
        QVERIFY(stayed);
        QVERIFY(!run().PrintCancelled);
        QCOMPARE(jobEnds(printed), QList<RecordedOp::Kind>({RecordedOp::EndDoc}));
        QVERIFY(!d->findChild<PrintProgressWindow *>());
    }

    void aBrokenPrinterIsReportedOnce()
    {
        PrinterSurfaces::SetFactory([](PrinterSetup &, const QString &) { return std::make_unique<BrokenPrinter>(); });
        PrintDialog *d = readyToPrint(5, 5, 1);
        button(d, u"cmd_Go(0)"_s)->click();
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, BrokenPrinter::Message);
        QCOMPARE(shown[0].icon, MsgIcon::Critical);
        QVERIFY(d->isEnabled());

        // A new run reports it again.
        button(d, u"cmd_Go(0)"_s)->click();
        QCOMPARE(MessageBoxes::TakeShown().size(), 1);
    }

    void detailShowsTheEntry_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("mode");
        QTest::newRow("candidate") << 0 << 3;
        QTest::newRow("to print") << 1 << 4;
    }

    void detailShowsTheEntry()
    {
        QFETCH(int, side);
        QFETCH(int, mode);
        PrintDialog *d = readyToPrint(4, 2, 1);
        QListWidget *list = side == 0 ? candidates(d) : toPrint(d);
        list->setCurrentRow(1);
        const QString name = list->item(1)->text();
        button(d, u"cmd_確認(%1)"_s.arg(side))->click();
        auto *entry = d->findChild<EntryDialog *>(u"F_Syusei"_s);
        QVERIFY(entry);
        QCOMPARE(entry->mode(), mode);
        QCOMPARE(entry->field(0)->text(), name);
        QVERIFY(entry->field(0)->isReadOnly());
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }

    void closeGivesBackTheMainWindow()
    {
        f.startWithBook(3);
        QPointer<PrintDialog> d = open();
        QVERIFY(!f.window->isEnabled());
        button(d, u"cmd_閉じる"_s)->click();
        QVERIFY(f.window->isEnabled());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!d);

        // The next opening starts afresh.
        d = open();
        QVERIFY(d);
        QCOMPARE(toPrint(d)->count(), 0);
        QVERIFY(part<QRadioButton>(d, u"opt_印刷形式(0)"_s)->isChecked());
    }
};

QTEST_MAIN(TestPrintDialog)
#include "test_print_dialog.moc"

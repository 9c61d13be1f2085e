#include "entry/picture_button.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/message_box.h"
#include "print/printer_setup.h"
#include "print/printer_choice_dialog.h"
#include "print/printers.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPointer>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// Two queues share a name, as two printers on different ports can.
const QList<InstalledPrinter> kPrinters = {
    {u"Office"_s, u"Laser 1"_s, u"ipp://office/1"_s},
    {u"Label"_s, u"Thermal"_s, u"usb://label"_s},
    {u"Office"_s, u"Laser 2"_s, u"ipp://office/2"_s},
    {u"Home"_s, u"Inkjet"_s, u"usb://home"_s},
};

} // namespace

class TestPrinterChoice : public QObject {
    Q_OBJECT

    PrinterSetup m_printer;
    QPointer<PrinterChoiceDialog> m_dialog;

    void open()
    {
        m_dialog = new PrinterChoiceDialog(m_printer, nullptr);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    }

    template <typename T>
    T *named(const QString &name)
    {
        T *w = m_dialog ? m_dialog->findChild<T *>(name) : nullptr;
        if (!w)
            qWarning("no control named %s", qPrintable(name));
        return w;
    }

    QListWidget *list() { return named<QListWidget>(u"lst_Printer"_s); }

    int selectedRow()
    {
        const QList<QListWidgetItem *> selected = list()->selectedItems();
        return selected.isEmpty() ? -1 : list()->row(selected.first());
    }

    void clickGo()
    {
        auto *go = named<PictureButton>(u"cmd_Go"_s);
        QVERIFY(go && go->isEnabled());
        QTest::mouseClick(go, Qt::LeftButton);
    }

private Q_SLOTS:
    void initTestCase() { InstallFontSubstitutes(); }

    void init()
    {
        MessageBoxes::SetScripted(true);
        MessageBoxes::TakeShown();
        Printers::SetScripted(kPrinters, u"Home"_s);
        m_printer = PrinterSetup();
    }

    void cleanup()
    {
        delete m_dialog;
        QCOMPARE(MessageBoxes::PendingAnswers(), 0);
        Printers::ClearScripted();
    }

    void opensWithTheWindowsDesign()
    {
        open();
        QCOMPARE(m_dialog->objectName(), u"F_Print選択"_s);
        QCOMPARE(m_dialog->windowTitle(), u"印刷するプリンタの選択"_s);
        QCOMPARE(m_dialog->windowModality(), Qt::ApplicationModal);
        QVERIFY(m_dialog->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(named<PictureButton>(u"cmd_閉じる"_s));
        QCOMPARE(list()->selectionMode(), QAbstractItemView::SingleSelection);
        QVERIFY(!named<QCheckBox>(u"chk_通常プリンタ"_s)->isChecked());

        QStringList shown;
        for (int i = 0; i < list()->count(); ++i)
            shown << list()->item(i)->text();
        // The installed printers, then the PDF file.
        QCOMPARE(shown, (QStringList{u"Office"_s, u"Label"_s, u"Office"_s, u"Home"_s, u"PDFファイルに保存"_s}));
    }

    void preselectsTheCurrentPrinter_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("systemDefault");
        QTest::addColumn<int>("expectedRow");

        QTest::newRow("system default at first") << QString() << u"Home"_s << 3;
        QTest::newRow("earlier choice") << u"Label"_s << u"Home"_s << 1;
        QTest::newRow("two alike: the later") << u"Office"_s << u"Home"_s << 2;
        QTest::newRow("default of two alike") << QString() << u"Office"_s << 2;
        QTest::newRow("removed printer") << u"Gone"_s << u"Home"_s << -1;
        // A print then goes to the first queue, so the window shows that
        // one (with two alike, the later of them, as above).
        QTest::newRow("no default: the first queue") << QString() << QString() << 2;
    }

    void preselectsTheCurrentPrinter()
    {
        QFETCH(QString, current);
        QFETCH(QString, systemDefault);
        QFETCH(int, expectedRow);
        Printers::SetScripted(kPrinters, systemDefault);
        m_printer.Name = current;
        open();
        QCOMPARE(selectedRow(), expectedRow);
        QCOMPARE(list()->selectedItems().size(), expectedRow < 0 ? 0 : 1);
    }

    // The window shows the printer a print would use.
    void printGoesWhereTheWindowShows_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("systemDefault");
        QTest::addColumn<QString>("used");
        QTest::newRow("chosen") << u"Label"_s << u"Home"_s << u"Label"_s;
        QTest::newRow("system default") << QString() << u"Home"_s << u"Home"_s;
        QTest::newRow("no default") << QString() << QString() << u"Label"_s;
    }

    void printGoesWhereTheWindowShows()
    {
        QFETCH(QString, current);
        QFETCH(QString, systemDefault);
        QFETCH(QString, used);
        Printers::SetScripted({kPrinters[1], kPrinters[3]}, systemDefault);
        QCOMPARE(Printers::PrinterForPrint(current), used);
        m_printer.Name = current;
        open();
        QCOMPARE(list()->selectedItems().size(), 1);
        QCOMPARE(list()->selectedItems().constFirst()->text(), used);
    }

    void goWithoutSelectionAsksAndStaysOpen()
    {
        m_printer.Name = u"Gone"_s;
        open();
        QCOMPARE(selectedRow(), -1);
        named<QCheckBox>(u"chk_通常プリンタ"_s)->setChecked(true);
        clickGo();

        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, u"印刷するプリンタを選択して下さい。"_s);
        QCOMPARE(shown[0].icon, MsgIcon::Critical);
        QCOMPARE(shown[0].buttons, MsgButtons::Ok);
        QVERIFY(m_dialog && m_dialog->isVisible());
        QCOMPARE(m_printer.Name, u"Gone"_s);
        QVERIFY(Printers::ScriptedDefaultWrites().isEmpty());
    }

    // Go and a double-click choose alike; the tick decides the system default.
    void choosesThePrinterAtThatPosition_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<bool>("doubleClick");

        QTest::newRow("go, no tick") << 1 << false << false;
        QTest::newRow("go, tick") << 1 << true << false;
        QTest::newRow("go, first of two alike, tick") << 0 << true << false;
        QTest::newRow("go, second of two alike, tick") << 2 << true << false;
        QTest::newRow("double-click, no tick") << 3 << false << true;
        QTest::newRow("double-click, tick") << 2 << true << true;
    }

    void choosesThePrinterAtThatPosition()
    {
        QFETCH(int, row);
        QFETCH(bool, tick);
        QFETCH(bool, doubleClick);
        open();
        named<QCheckBox>(u"chk_通常プリンタ"_s)->setChecked(tick);
        if (doubleClick) {
            QListWidgetItem *item = list()->item(row);
            const QPoint centre = list()->visualItemRect(item).center();
            // The view takes a double-click only on the item the press was on.
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, centre);
        } else {
            list()->setCurrentRow(row);
            clickGo();
        }

        QTRY_VERIFY(!m_dialog);
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
        QCOMPARE(m_printer.Name, kPrinters[row].DeviceName);
        const QList<InstalledPrinter> writes = Printers::ScriptedDefaultWrites();
        if (tick) {
            // The very printer at that position: device, driver and port.
            QCOMPARE(writes, QList<InstalledPrinter>{kPrinters[row]});
            QCOMPARE(Printers::DefaultName(), kPrinters[row].DeviceName);
        } else {
            QVERIFY(writes.isEmpty());
            QCOMPARE(Printers::DefaultName(), u"Home"_s);
        }
    }

    void aFailedDefaultIsReported()
    {
        open();
        list()->setCurrentRow(1);
        named<QCheckBox>(u"chk_通常プリンタ"_s)->setChecked(true);
        Printers::FailNextDefaultWrite(u"lpoptions: Forbidden"_s);
        clickGo();

        QTRY_VERIFY(!m_dialog);
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, u"lpoptions: Forbidden"_s);
        QCOMPARE(shown[0].icon, MsgIcon::Critical);
        // The printer for this run is chosen all the same.
        QCOMPARE(m_printer.Name, u"Label"_s);
        QCOMPARE(Printers::DefaultName(), u"Home"_s);
    }

    void closeChangesNothing()
    {
        m_printer.Name = u"Label"_s;
        open();
        list()->setCurrentRow(3);
        named<QCheckBox>(u"chk_通常プリンタ"_s)->setChecked(true);
        QTest::mouseClick(named<PictureButton>(u"cmd_閉じる"_s), Qt::LeftButton);

        QTRY_VERIFY(!m_dialog);
        QCOMPARE(m_printer.Name, u"Label"_s);
        QVERIFY(Printers::ScriptedDefaultWrites().isEmpty());
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }

    // The PDF file is chosen like a printer, but cannot be made the system's
    // default; choosing a printer again leaves it.
    void choosingThePdfFile()
    {
        open();
        named<QCheckBox>(u"chk_通常プリンタ"_s)->setChecked(true);
        list()->setCurrentRow(4);
        QCOMPARE(list()->currentItem()->text(), u"PDFファイルに保存"_s);
        QVERIFY(!named<QCheckBox>(u"chk_通常プリンタ"_s)->isChecked());
        QVERIFY(!named<QCheckBox>(u"chk_通常プリンタ"_s)->isEnabled());
        clickGo();
        QTRY_VERIFY(!m_dialog);
        QVERIFY(m_printer.ToPdfFile);
        QVERIFY(Printers::ScriptedDefaultWrites().isEmpty());

        // Opened again, it shows the PDF file chosen.
        open();
        QCOMPARE(list()->currentRow(), 4);
        list()->setCurrentRow(1);
        QVERIFY(named<QCheckBox>(u"chk_通常プリンタ"_s)->isEnabled());
        clickGo();
        QTRY_VERIFY(!m_dialog);
        QVERIFY(!m_printer.ToPdfFile);
        QCOMPARE(m_printer.Name, u"Label"_s);
    }

    void noPrinterInstalled()
    {
        Printers::SetScripted({}, QString());
        open();
        QCOMPARE(list()->count(), 1);   // only the PDF file
        QVERIFY(list()->selectedItems().isEmpty());
        clickGo();
        QCOMPARE(MessageBoxes::TakeShown().size(), 1);
        QVERIFY(m_dialog && m_dialog->isVisible());
        QVERIFY(m_printer.Name.isEmpty());
    }
};

QTEST_MAIN(TestPrinterChoice)
#include "test_printer_choice.moc"

#include "file_helpers.h"

#include "about/about_box.h"
#include "entry/picture_button.h"
#include "mainwindow/address_list_view.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/message_box.h"
#include "mainwindow/twips.h"
#include "mainwindow/url_opener.h"
#include "window_fixture.h"

#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QStringDecoder>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kMissing = u"「ReadMe.txt」ファイルは、見つかりませんでした。"_s;

} // namespace

class TestAboutBox : public QObject {
    Q_OBJECT

    WindowFixture f;
    QTemporaryDir m_dir;
    QPointer<AboutBox> m_box;

    QString folder(const QString &name) const { return m_dir.filePath(name); }

    void open()
    {
        m_box = AboutBox::Open(*f.window);
        QVERIFY(m_box);
        QVERIFY(QTest::qWaitForWindowExposed(m_box));
    }

    template <typename T = QWidget>
    T *named(const QString &name) const
    {
        T *w = m_box ? m_box->findChild<T *>(name) : nullptr;
        if (!w)
            qWarning("no control named %s", qPrintable(name));
        return w;
    }

    PictureButton *readMeButton() const { return named<PictureButton>(u"cmd_ReadMe"_s); }
    PictureButton *closeButton() const { return named<PictureButton>(u"cmd_閉じる"_s); }
    QObject *holder() const { return m_box ? m_box->findChild<QObject *>(u"F_VerPIc"_s) : nullptr; }
    QTimer *timer() const { return m_box ? m_box->findChild<QTimer *>(u"Timer1"_s) : nullptr; }

    static void enter(QWidget *w)
    {
        QEnterEvent event(QPointF(5, 5), QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(w, &event);
    }

private Q_SLOTS:
    void initTestCase()
    {
        InstallFontSubstitutes();
        QVERIFY(m_dir.isValid());
    }

    void init()
    {
        MessageBoxes::SetScripted(true);
        UrlOpener::SetScripted(true);
        AboutBox::SetReadMeFolders({folder(u"program"_s), folder(u"share"_s)});
        QDir(folder(u"program"_s)).removeRecursively();
        QDir(folder(u"share"_s)).removeRecursively();
        f.start();
    }

    void cleanup()
    {
        delete m_box;
        f.window.reset();
        AboutBox::SetReadMeFolders({});
        QCOMPARE(MessageBoxes::PendingAnswers(), 0);
        MessageBoxes::TakeShown();
        UrlOpener::TakeOpened();
    }

    void opensModalFromTheMainWindow_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("cmd_Help") << u"cmd_Help"_s;
        QTest::newRow("mm_Ver") << u"mm_Ver"_s;
        QTest::newRow("F11") << u"F11"_s;
    }

    void opensModalFromTheMainWindow()
    {
        QFETCH(QString, how);
        if (how == u"cmd_Help"_s)
            f.named<QToolButton>(how)->click();
        else if (how == u"mm_Ver"_s)
            f.named<QAction>(how)->trigger();
        else
            QTest::keyClick(f.window->listView()->reportView(), Qt::Key_F11);
        m_box = f.window->findChild<AboutBox *>(u"F_Ver"_s);
        QVERIFY(m_box);
        QVERIFY(m_box->isVisible());
        QCOMPARE(m_box->windowModality(), Qt::ApplicationModal);
        QCOMPARE(m_box->windowTitle(), u"バージョン情報"_s);
        QCOMPARE(m_box->size(), TwipsClientSize(7215, 7635));
        QCOMPARE(m_box->minimumSize(), m_box->maximumSize());
        QVERIFY(holder());
        QVERIFY(timer());
        QVERIFY(!timer()->isActive());
    }

    // The box opens with the focus on its close button, and shows it.
    void focusIsShownFromTheStart()
    {
        open();
        m_box->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_box));
        QVERIFY(closeButton()->hasFocus());
        const QImage focused = closeButton()->grab().toImage();
        readMeButton()->setFocus(Qt::OtherFocusReason);
        QVERIFY(closeButton()->grab().toImage() != focused);
    }

    void showsTheContactLine()
    {
        open();
        QCOMPARE(named<QLabel>(u"lbl_MailTitol"_s)->text(), u"お問合せ メール"_s);
        auto *mail = named<QLabel>(u"lbl_Mail"_s);
        QCOMPARE(mail->text(), u"yuzaribo@example.jp"_s);
        QCOMPARE(mail->palette().color(QPalette::Window), QColor(192, 192, 192));
        QCOMPARE(mail->palette().color(QPalette::WindowText), QColor(Qt::blue));
        QVERIFY(mail->autoFillBackground());
        for (QWidget *w : {static_cast<QWidget *>(mail), static_cast<QWidget *>(readMeButton()),
                           static_cast<QWidget *>(closeButton())})
            QCOMPARE(w->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(!readMeButton()->icon().isNull());
        QVERIFY(!closeButton()->icon().isNull());
    }

    void missingReadMeIsReported()
    {
        // A folder that merely carries the name is no read-me either.
        QVERIFY(QDir().mkpath(folder(u"program/ReadMe.txt"_s)));
        open();
        readMeButton()->click();
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, kMissing);
        QCOMPARE(shown[0].icon, MsgIcon::Critical);
        QCOMPARE(shown[0].buttons, MsgButtons::Ok);
        QVERIFY(UrlOpener::TakeOpened().isEmpty());
        QVERIFY(m_box && m_box->isVisible());
    }

    void readMeOpensAsLocalFile_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("expected");
        QTest::newRow("program folder") << QStringList{u"program"_s} << u"program"_s;
        QTest::newRow("installed data folder") << QStringList{u"share"_s} << u"share"_s;
        QTest::newRow("program folder first") << QStringList{u"share"_s, u"program"_s} << u"program"_s;
    }

    void readMeOpensAsLocalFile()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, expected);
        for (const QString &where : present)
            writeFile(folder(where + u"/ReadMe.txt"_s), "read me");
        open();
        readMeButton()->click();
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
        const QList<QUrl> opened = UrlOpener::TakeOpened();
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(folder(expected + u"/ReadMe.txt"_s))});
        QVERIFY(opened[0].isLocalFile());
        QVERIFY(m_box && m_box->isVisible());
    }

    void failedReadMeOpenIsReported()
    {
        writeFile(folder(u"program/ReadMe.txt"_s), "read me");
        open();
        UrlOpener::SetNextResult(false);
        readMeButton()->click();
        QCOMPARE(UrlOpener::TakeOpened().size(), 1);
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains(u"開けませんでした"_s), qPrintable(shown[0].text));
        QVERIFY2(shown[0].text.contains(QDir::toNativeSeparators(folder(u"program/ReadMe.txt"_s))),
                 qPrintable(shown[0].text));
        QCOMPARE(shown[0].icon, MsgIcon::Critical);
        QVERIFY(m_box && m_box->isVisible());
    }

    // The build puts the read-me beside the program, one folder above the tests.
    void buildCopiesTheReadMeBesideTheProgram()
    {
        const QString path = QDir::cleanPath(QCoreApplication::applicationDirPath() + u"/../ReadMe.txt"_s);
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        const QByteArray bytes = file.readAll();
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8(bytes);
        QVERIFY(!utf8.hasError());
        QVERIFY(text.contains(u"Yuzaribo"_s));
        QVERIFY(text.contains(u"氏名(件数),電話番号,メールアドレス,〒,住所1,住所2,一言メモ"_s));
    }

    void mailLinkOpensTheContactAddress_data()
    {
        QTest::addColumn<bool>("opens");
        QTest::newRow("opened") << true;
        QTest::newRow("refused") << false;
    }

    void mailLinkOpensTheContactAddress()
    {
        QFETCH(bool, opens);
        open();
        UrlOpener::SetNextResult(opens);
        QTest::mouseClick(named<QLabel>(u"lbl_Mail"_s), Qt::LeftButton);
        const QList<QUrl> opened = UrlOpener::TakeOpened();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0].scheme(), u"mailto"_s);
        QCOMPARE(opened[0].path(), u"yuzaribo@example.jp"_s);
        QCOMPARE(opened[0].toString(), u"mailto:yuzaribo@example.jp"_s);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        if (opens) {
            QVERIFY(shown.isEmpty());
        } else {
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown[0].text.contains(u"yuzaribo@example.jp"_s), qPrintable(shown[0].text));
            QCOMPARE(shown[0].icon, MsgIcon::Critical);
        }
        QVERIFY(m_box && m_box->isVisible());
    }

    void otherButtonsOnTheAddressOpenNothing()
    {
        open();
        QTest::mouseClick(named<QLabel>(u"lbl_Mail"_s), Qt::RightButton);
        QVERIFY(UrlOpener::TakeOpened().isEmpty());
    }

    void closingTakesTheImageHolderAlong_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("cmd_閉じる") << u"button"_s;
        QTest::newRow("close box") << u"close box"_s;
        QTest::newRow("Esc") << u"escape"_s;
    }

    void closingTakesTheImageHolderAlong()
    {
        QFETCH(QString, how);
        open();
        QPointer<QObject> pictures = holder();
        QPointer<QTimer> timer1 = timer();
        QVERIFY(pictures && timer1);
        enter(closeButton());
        QVERIFY(timer1->isActive());
        if (how == u"button"_s)
            closeButton()->click();
        else if (how == u"close box"_s)
            QVERIFY(m_box->close());
        else
            QTest::keyClick(m_box, Qt::Key_Escape);
        QVERIFY(!m_box || !m_box->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m_box.isNull());
        QVERIFY(pictures.isNull());
        QVERIFY(timer1.isNull());
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }

    void picturesSwitchOnHoverAndBack()
    {
        open();
        PictureButton *readMe = readMeButton();
        const qint64 normal = readMe->icon().cacheKey();
        QTest::mouseMove(readMe);
        QVERIFY(readMe->showsHover());
        QVERIFY(readMe->icon().cacheKey() != normal);
        QVERIFY(timer()->isActive());
        // Over the window, clear of both buttons.
        QTest::mouseMove(m_box, QPoint(m_box->width() / 2, m_box->height() / 2));
        QVERIFY(!readMe->showsHover());
        QCOMPARE(readMe->icon().cacheKey(), normal);
    }

    void moveOverTheWindowRestoresAButton()
    {
        // Without a leave event, as when the pointer jumps from the button.
        open();
        enter(closeButton());
        QVERIFY(closeButton()->showsHover());
        const QPoint outside(m_box->width() / 2, m_box->height() / 2);
        QMouseEvent move(QEvent::MouseMove, outside, m_box->mapToGlobal(outside), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_box, &move);
        QVERIFY(!closeButton()->showsHover());
    }

    void timerRestoresAButtonThePointerHasLeft()
    {
        open();
        PictureButton *readMe = readMeButton();
        QTest::mouseMove(readMe);
        QVERIFY(readMe->showsHover());
        // While the pointer stays, the highlight stays.
        QTest::qWait(3 * timer()->interval());
        QVERIFY(readMe->showsHover());
        QVERIFY(timer()->isActive());

        // The pointer is outside the box, and the close button heard it enter
        // but will never hear it leave.
        QCursor::setPos(m_box->mapToGlobal(QPoint(-50, -50)));
        QCoreApplication::processEvents();
        QVERIFY(!readMe->showsHover());
        enter(closeButton());
        QVERIFY(closeButton()->showsHover());
        QTRY_VERIFY(!closeButton()->showsHover());
        QTRY_VERIFY(!timer()->isActive());
    }

    void readMeClickPutsTheButtonBack()
    {
        writeFile(folder(u"program/ReadMe.txt"_s), "read me");
        open();
        enter(readMeButton());
        QVERIFY(readMeButton()->showsHover());
        readMeButton()->click();
        QVERIFY(!readMeButton()->showsHover());
        QCOMPARE(UrlOpener::TakeOpened().size(), 1);
    }
};

QTEST_MAIN(TestAboutBox)
#include "test_about_box.moc"

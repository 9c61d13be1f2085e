#include "mainwindow/main_status_bar.h"
#include "mainwindow/twips.h"

#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(std::optional<bool>)

namespace {

// A main window with the status bar at the bottom and, in the middle, a
// focusable widget nested in two plain widgets that ignore keys (so a key
// press travels up through each of them).
struct Fixture {
    QMainWindow window;
    MainStatusBar *bar = new MainStatusBar(&window);
    QWidget *outer = new QWidget;
    QWidget *inner = new QWidget(outer);
    QWidget *leaf = new QWidget(inner);
    KeyLockState keys;

    explicit Fixture(int width = 1024)
    {
        window.setStatusBar(bar);
        window.setCentralWidget(outer);
        (new QVBoxLayout(outer))->addWidget(inner);
        (new QVBoxLayout(inner))->addWidget(leaf);
        leaf->setFocusPolicy(Qt::StrongFocus);
        bar->setKeyStateReader([this] { return keys; });
        window.resize(width, 300);
        window.show();
        leaf->setFocus();
    }
    bool exposed() { return QTest::qWaitForWindowExposed(&window); }
    QLabel *panel(int n) const { return bar->findChild<QLabel *>(u"Panel(%1)"_s.arg(n)); }
    QTimer *timer(const QString &name) const { return bar->findChild<QTimer *>(name); }
    // Lit: the caption in the normal text colour; otherwise the disabled one.
    bool lit(int n) const
    {
        const QColor caption = panel(n)->palette().color(QPalette::Active, QPalette::WindowText);
        return caption == bar->palette().color(QPalette::Active, QPalette::WindowText);
    }
    bool greyed(int n) const
    {
        const QColor caption = panel(n)->palette().color(QPalette::Active, QPalette::WindowText);
        return caption == bar->palette().color(QPalette::Disabled, QPalette::WindowText);
    }
};

// The darkest grey level inside a panel's frame, i.e. of its caption.
int DarkestInside(QLabel *panel)
{
    const QImage image = panel->grab().toImage();
    const int frame = panel->frameWidth() + 1;
    int darkest = 255;
    for (int y = frame; y < image.height() - frame; ++y)
        for (int x = frame; x < image.width() - frame; ++x)
            darkest = qMin(darkest, qGray(image.pixel(x, y)));
    return darkest;
}

} // namespace

class TestStatusBar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void panels_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("widthTwips"); // 0: takes the remaining width
        QTest::addColumn<QString>("caption"); // null: the caption changes

        QTest::newRow("1 text") << 1 << 0 << QString();
        QTest::newRow("2 date") << 2 << 2293 << QString();
        QTest::newRow("3 time") << 3 << 2293 << QString();
        QTest::newRow("4 caps") << 4 << 1764 << u"CAPS"_s;
        QTest::newRow("5 num") << 5 << 1764 << u"NUM"_s;
        QTest::newRow("6 ins") << 6 << 1764 << u"INS"_s;
    }
    void panels()
    {
        QFETCH(int, n);
        QFETCH(int, widthTwips);
        QFETCH(QString, caption);

        Fixture f;
        QVERIFY(f.exposed());
        QCOMPARE(f.bar->objectName(), u"StatusBar1"_s);
        QCOMPARE(f.bar->height(), 21);
        QVERIFY(!f.bar->isSizeGripEnabled());

        QLabel *panel = f.panel(n);
        QVERIFY(panel);
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->frameShape(), QFrame::Panel);
        QCOMPARE(panel->frameShadow(), QFrame::Sunken);
        if (widthTwips) {
            QCOMPARE(panel->width(), TwipsToPixels(widthTwips));
            QCOMPARE(panel->alignment(), Qt::AlignCenter);
            // Left to right in number order, all inside the bar.
            QCOMPARE_GT(panel->x(), f.panel(n - 1)->geometry().right());
            QCOMPARE_LE(panel->geometry().right(), f.bar->width() - 1);
        }
        if (!caption.isNull())
            QCOMPARE(panel->text(), caption);
    }

    void panelText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("file name") << u"ファイル名は「C:\\住所録\\会員名簿.csv」"_s;
        QTest::newRow("progress") << u"読み込み中…　1200 件"_s;
        QTest::newRow("looks like markup") << u"<b>会員</b> & <i>x</i>.csv"_s;
        QTest::newRow("empty") << QString();
    }
    void panelText()
    {
        QFETCH(QString, text);
        Fixture f;
        f.bar->setPanelText(text);
        QCOMPARE(f.bar->panelText(), text);
        // Shown as it is, tags and all, never as rich text.
        QLabel *panel = f.panel(1);
        QCOMPARE_GE(panel->sizeHint().width(), panel->fontMetrics().horizontalAdvance(text));
    }

    // A path longer than panel 1 loses its middle, so the file name stays
    // in sight; the whole path is the tool tip.
    void longPathKeepsItsFileName()
    {
        Fixture f(800);
        QVERIFY(f.exposed());
        const QString path = u"/home/利用者/ドキュメント/住所録/とても長いフォルダの名前/"_s
                             u"さらに長いフォルダの名前/もっと長いフォルダの名前/会員名簿.csv"_s;
        f.bar->setPanelText(path);
        QLabel *panel = f.panel(1);
        QCOMPARE(f.bar->panelText(), path);
        QVERIFY2(panel->text() != path, qPrintable(panel->text()));
        QVERIFY(panel->text().contains(u'…'));
        QVERIFY2(panel->text().endsWith(u"/会員名簿.csv"_s), qPrintable(panel->text()));
        QCOMPARE_LE(panel->fontMetrics().horizontalAdvance(panel->text()), panel->contentsRect().width());
        QCOMPARE(panel->toolTip(), path);

        // Wide enough again: the whole path, and no tool tip needed.
        f.window.resize(2400, 300);
        QTRY_COMPARE(panel->text(), path);
        QVERIFY(panel->toolTip().isEmpty());
    }

    void progressCoversPanelOne()
    {
        Fixture f;
        QVERIFY(f.exposed());
        QProgressBar *pr = f.bar->progress();
        QCOMPARE(pr, f.bar->findChild<QProgressBar *>(u"Pr_SI"_s));
        QCOMPARE(pr->parentWidget(), f.bar);
        QVERIFY(!pr->isVisible());
        QVERIFY(!pr->isTextVisible());
        pr->show();

        // A long path must neither widen the window nor push the panels out.
        f.bar->setPanelText(u"C:\\"_s + u"とても長いフォルダ名\\"_s.repeated(40) + u"a.csv"_s);

        int widthAt1024 = 0;
        for (int width : {1024, 700, 1024}) {
            f.window.resize(width, 300);
            QTRY_COMPARE(f.bar->width(), width);
            const QRect panel = f.panel(1)->geometry();
            QCOMPARE(pr->geometry(), QRect(panel.left(), 0, panel.width(), f.bar->height() - 3));
            QCOMPARE(f.panel(6)->geometry().right(), width - 1);
            if (width == 1024)
                widthAt1024 = panel.width();
            else
                QCOMPARE(panel.width(), widthAt1024 - (1024 - width));
        }
        QVERIFY(pr->isVisible());

        // Laid out again without a resize: a permanent panel going away widens panel 1.
        const int before = f.panel(1)->width();
        f.panel(3)->hide();
        QTRY_COMPARE_GT(f.panel(1)->width(), before);
        QCOMPARE(pr->geometry(), QRect(f.panel(1)->x(), 0, f.panel(1)->width(), f.bar->height() - 3));
    }

    void clockText_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("midnight, leap day") << QDateTime(QDate(2024, 2, 29), QTime(0, 0)) << u"2024/02/29"_s << u"0:00"_s;
        QTest::newRow("single-digit hour") << QDateTime(QDate(2025, 1, 5), QTime(9, 5, 59)) << u"2025/01/05"_s << u"9:05"_s;
        QTest::newRow("last minute of a year") << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 30)) << u"1999/12/31"_s << u"23:59"_s;
    }
    void clockText()
    {
        QFETCH(QDateTime, when);
        QFETCH(QString, date);
        QFETCH(QString, time);
        QCOMPARE(MainStatusBar::DateText(when.date()), date);
        QCOMPARE(MainStatusBar::TimeText(when.time()), time);
    }

    void clockShowsNowAndKeepsUp()
    {
        Fixture f;
        // Compare with the clock read on both sides, in case a minute turns in between.
        const auto shown = [&f] { return f.panel(2)->text() + u' ' + f.panel(3)->text(); };
        const auto now = [] {
            const QDateTime t = QDateTime::currentDateTime();
            return MainStatusBar::DateText(t.date()) + u' ' + MainStatusBar::TimeText(t.time());
        };
        const QString before = now();
        f.bar->refreshClock();
        const QString text = shown();
        QVERIFY2(text == before || text == now(), qPrintable(text));

        // Armed for the next minute boundary, not a whole minute from now.
        QTimer *minute = f.timer(u"clockTimer"_s);
        QVERIFY(minute && minute->isActive() && minute->isSingleShot());
        const int toBoundary = 60000 - QTime::currentTime().msecsSinceStartOfDay() % 60000;
        QCOMPARE_LE(minute->remainingTime(), toBoundary + 50);

        // A clock that jumped (set by hand, resume from suspend) is caught by the poll.
        f.panel(2)->setText(u"1999/01/01"_s);
        f.panel(3)->setText(u"0:00"_s);
        f.timer(u"keyStatePoll"_s)->start(10);
        QTRY_VERIFY_WITH_TIMEOUT(shown() != u"1999/01/01 0:00"_s, 500);
        QTRY_COMPARE_WITH_TIMEOUT(shown(), now(), 500);
    }

    void keyStatesDrawn_data()
    {
        QTest::addColumn<std::optional<bool>>("caps");
        QTest::addColumn<std::optional<bool>>("num");
        QTest::newRow("platform does not tell") << std::optional<bool>() << std::optional<bool>();
        QTest::newRow("caps on") << std::optional<bool>(true) << std::optional<bool>(false);
        QTest::newRow("num on") << std::optional<bool>(false) << std::optional<bool>(true);
        QTest::newRow("both on") << std::optional<bool>(true) << std::optional<bool>(true);
        QTest::newRow("num on, caps unknown") << std::optional<bool>() << std::optional<bool>(true);
    }
    void keyStatesDrawn()
    {
        QFETCH(std::optional<bool>, caps);
        QFETCH(std::optional<bool>, num);
        Fixture f;
        f.keys = {caps, num};
        f.bar->refreshKeyStates();
        QCOMPARE(f.lit(4), caps.value_or(false));
        QCOMPARE(f.greyed(4), !caps.value_or(false));
        QCOMPARE(f.lit(5), num.value_or(false));
        QCOMPARE(f.greyed(5), !num.value_or(false));
        // The captions stay, whatever the state.
        QCOMPARE(f.panel(4)->text(), u"CAPS"_s);
        QCOMPARE(f.panel(5)->text(), u"NUM"_s);
    }

    void greyedCaptionIsDrawnLighter()
    {
        Fixture f;
        QVERIFY(f.exposed());
        f.keys = {true, false};
        f.bar->refreshKeyStates();
        const int lit = DarkestInside(f.panel(4));
        const int greyed = DarkestInside(f.panel(5));
        QVERIFY2(lit < 80 && greyed > lit + 60, qPrintable(u"lit %1, greyed %2"_s.arg(lit).arg(greyed)));
        // The frame is not greyed with the caption.
        const QImage on = f.panel(4)->grab().toImage(), off = f.panel(5)->grab().toImage();
        QCOMPARE(off.pixel(0, off.height() / 2), on.pixel(0, on.height() / 2));
    }

    void keyStatesRefreshed_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("key press") << u"press"_s;
        QTest::newRow("key release") << u"release"_s;
        QTest::newRow("window activated") << u"activate"_s;
        QTest::newRow("poll") << u"poll"_s;
    }
    void keyStatesRefreshed()
    {
        QFETCH(QString, trigger);
        Fixture f;
        QVERIFY(f.exposed());
        QTimer *poll = f.timer(u"keyStatePoll"_s);
        QVERIFY(poll && poll->isActive());
        poll->stop();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QTest::qWait(30); // let the activation's own refresh go by

        f.keys = {true, true};
        QTest::qWait(30);
        QVERIFY(!f.lit(4)); // nothing has asked yet

        if (trigger == u"press") {
            QTest::keyPress(f.leaf, Qt::Key_CapsLock);
        } else if (trigger == u"release") {
            QTest::keyRelease(f.leaf, Qt::Key_NumLock);
        } else if (trigger == u"activate") {
            QEvent activate(QEvent::WindowActivate);
            QCoreApplication::sendEvent(&f.window, &activate);
        } else {
            poll->start(10);
        }
        QTRY_VERIFY_WITH_TIMEOUT(f.lit(4) && f.lit(5), 500);
    }

    void insertToggle_data()
    {
        QTest::addColumn<QString>("strokes");
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("changes");

        QTest::newRow("a press on the focus widget") << u"click"_s << true << 1;
        QTest::newRow("through the window") << u"window"_s << true << 1;
        QTest::newRow("twice") << u"click,click"_s << false << 2;
        QTest::newRow("three times") << u"click,window,click"_s << true << 3;
        // X11 repeats a held key as release and press pairs, both marked auto-repeat.
        QTest::newRow("held with auto-repeat") << u"press,repeat-up,repeat,repeat-up,repeat,release"_s << true << 1;
        QTest::newRow("with Shift") << u"shift"_s << true << 1;
        QTest::newRow("other keys") << u"a,capslock"_s << false << 0;
        QTest::newRow("release lost to another window") << u"press,deactivate,press"_s << false << 2;
    }
    void insertToggle()
    {
        QFETCH(QString, strokes);
        QFETCH(bool, on);
        QFETCH(int, changes);

        Fixture f;
        QVERIFY(f.exposed());
        QVERIFY(!f.bar->insertToggle()->isOn());
        QVERIFY(f.greyed(6));
        QSignalSpy spy(f.bar->insertToggle(), &InsertKeyToggle::changed);

        for (const QString &stroke : strokes.split(u',')) {
            if (stroke == u"click") {
                QTest::keyClick(f.leaf, Qt::Key_Insert);
            } else if (stroke == u"window") {
                QTest::keyClick(f.window.windowHandle(), Qt::Key_Insert);
            } else if (stroke == u"press") {
                QTest::keyPress(f.leaf, Qt::Key_Insert);
            } else if (stroke == u"repeat") {
                QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Insert, Qt::NoModifier, QString(), true);
                QCoreApplication::sendEvent(f.leaf, &repeat);
            } else if (stroke == u"repeat-up") {
                QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Insert, Qt::NoModifier, QString(), true);
                QCoreApplication::sendEvent(f.leaf, &repeat);
            } else if (stroke == u"release") {
                QTest::keyRelease(f.leaf, Qt::Key_Insert);
            } else if (stroke == u"shift") {
                QTest::keyClick(f.leaf, Qt::Key_Insert, Qt::ShiftModifier);
            } else if (stroke == u"a") {
                QTest::keyClick(f.leaf, Qt::Key_A);
            } else if (stroke == u"capslock") {
                QTest::keyClick(f.leaf, Qt::Key_CapsLock);
            } else if (stroke == u"deactivate") {
                QEvent deactivate(QEvent::WindowDeactivate);
                QCoreApplication::sendEvent(&f.window, &deactivate);
            } else {
                QFAIL(qPrintable(stroke));
            }
        }
        QCOMPARE(f.bar->insertToggle()->isOn(), on);
        QCOMPARE(spy.count(), changes);
        QCOMPARE(f.lit(6), on);
        QCOMPARE(f.greyed(6), !on);
    }
};

QTEST_MAIN(TestStatusBar)
#include "test_status_bar.moc"

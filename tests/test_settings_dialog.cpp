#include "entry/picture_button.h"
#include "files/recent_files.h"
#include "mainwindow/colour_picker.h"
#include "print/font_substitutes.h"
#include "settings/installed_fonts.h"
#include "settings/print_position_dialog.h"
#include "settings/print_position_page.h"
#include "settings/settings_dialog.h"
#include "settings/settings_progress_window.h"
#include "settings/settings_sections.h"
#include "window_fixture.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <QtTest/qtestspontaneevent.h>

using namespace Qt::Literals::StringLiterals;
using InstalledFonts::TestFont;

namespace {

const QString kGothic = u"ＭＳ ゴシック"_s;
const QString kMincho = u"ＭＳ 明朝"_s;

// A few faces of each kind: the ones the lists keep and the ones they must not.
const QList<TestFont> kScreen = {
    {u"IPAGothic"_s, true}, {u"@IPAGothic"_s, true}, {kGothic, true},
    {u"$Console"_s, true},  {u"Symbols Only"_s, false}, {u"DejaVu Sans"_s, true},
};
const QStringList kScreenListed = {u"IPAGothic"_s, kGothic, u"DejaVu Sans"_s};
const QList<TestFont> kPrinter = {
    {u"IPAMincho"_s, true}, {kGothic, true}, {u"@ＭＳ 明朝"_s, true}, {kMincho, true}, {u"Dingbats"_s, false},
};
const QStringList kPrinterListed = {u"IPAMincho"_s, kGothic, kMincho};

// The settings file as it is on disk: section → key → value.
using IniFile = QMap<QString, QMap<QString, QString>>;

IniFile readIni(const QString &path)
{
    IniFile ini;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return ini;
    QString section;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(u'[')) {
            section = line.mid(1, line.indexOf(u']') - 1);
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0)
            ini[section][line.left(eq)] = line.mid(eq + 1);
    }
    return ini;
}

void choose(QComboBox *combo, const QString &text)
{
    const int i = combo->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    combo->setCurrentIndex(i);
    // What the user's pick emits; a selection made by the program does not.
    Q_EMIT combo->activated(i);
}

QStringList entries(const QComboBox *combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list << combo->itemText(i);
    return list;
}

} // namespace

class TestSettingsDialog : public QObject {
    Q_OBJECT

    // A fresh fixture per test: its settings file starts at the first run.
    std::unique_ptr<WindowFixture> f;
    QPointer<SettingsDialog> m_dialog;

    SettingsRecord &settings() { return *f->settings; }
    QString iniPath() const { return f->store->fileName(); }

    void open()
    {
        m_dialog = SettingsDialog::Open(*f->window);
        QVERIFY(m_dialog);
        QVERIFY(m_dialog->isVisible());
    }

    template <typename T = QWidget>
    T *named(const QString &name)
    {
        T *w = m_dialog ? m_dialog->findChild<T *>(name) : nullptr;
        if (!w)
            qWarning("no control named %s", qPrintable(name));
        return w;
    }

    void step(const QString &spinner, int by)
    {
        auto *control = named<UpDownControl>(spinner);
        for (int i = 0; i < std::abs(by); ++i)
            (by > 0 ? control->upButton() : control->downButton())->click();
    }

    void pickColour(int i, const QColor &colour)
    {
        ColourPicker::QueueColour(colour);
        named<QPushButton>(u"cmd_色(%1)"_s.arg(i))->click();
    }

    void apply()
    {
        auto *go = named<QPushButton>(u"cmd_Go"_s);
        QVERIFY(go->isEnabled());
        go->click();
    }

    // The progress window's bar range as the preparation sees it, read
    // at its first pause for events.
    void watchBar(int *maximum, bool cancel = false)
    {
        QTimer::singleShot(0, this, [this, maximum, cancel] {
            auto *progress = f->window->findChild<SettingsProgressWindow *>(u"F_KankyoKD"_s);
            QVERIFY(progress && progress->isVisible());
            *maximum = progress->bar()->maximum();
            if (cancel)
                progress->findChild<QPushButton *>(u"cmd_キャンセル"_s)->click();
        });
    }

    void addRecentFiles(int n)
    {
        for (int i = 1; i <= n; ++i)
            f->window->recentFiles().AddRecentFile(f->path(u"book%1.csv"_s.arg(i)));
        M_RegS::SaveFileSection(*f->store, settings());
    }

    QStringList visibleRecentPaths()
    {
        QStringList shown;
        RecentFilesMenu &menu = f->window->recentFiles();
        for (int i = 0; i < menu.entryCount(); ++i) {
            if (menu.entry(i)->isVisible())
                shown << menu.entryPath(i);
        }
        return shown;
    }

    QAction *separator() { return f->named<QAction>(u"mm_haiSaikin"_s); }

private Q_SLOTS:
    void init()
    {
        MessageBoxes::SetScripted(true);
        ColourPicker::SetScripted(true);
        InstalledFonts::SetTestFonts(kScreen, kPrinter);
        f = std::make_unique<WindowFixture>();
        f->start();
    }

    void cleanup()
    {
        delete m_dialog;
        QCOMPARE(MessageBoxes::PendingAnswers(), 0);
        QCOMPARE(ColourPicker::PendingAnswers(), 0);
        MessageBoxes::TakeShown();
        InstalledFonts::ClearTestFonts();
        f.reset();
    }

    void openingPreparesTheListsAndCachesTheFaces()
    {
        QList<TestFont> screen, printer;
        QStringList kept;
        for (int i = 0; i < 300; ++i) {
            const bool vertical = i % 10 == 0;
            const bool writes = i % 7 != 0;
            screen << TestFont{(vertical ? u"@Face %1"_s : u"Face %1"_s).arg(i), writes};
            if (!vertical && writes)
                kept << u"Face %1"_s.arg(i);
        }
        for (int i = 0; i < 200; ++i)
            printer << TestFont{(i % 20 == 0 ? u"$Printer %1"_s : u"Printer %1"_s).arg(i), true};
        InstalledFonts::SetTestFonts(screen, printer);

        int maximum = -1;
        watchBar(&maximum);
        open();
        QCOMPARE(maximum, 500);
        QCOMPARE(f->state->KankyoLoadState, qint16(1));
        QVERIFY(f->state->FontCacheValid);
        QVERIFY(f->window->isEnabled());
        QCOMPARE(m_dialog->windowModality(), Qt::ApplicationModal);
        QCOMPARE(m_dialog->windowTitle(), u"環境設定"_s);
        QCOMPARE(named<QTabWidget>(u"TabStrip1"_s)->currentWidget(), named(u"Pic_Tab(0)"_s));

        const QStringList listed = entries(named<QComboBox>(u"cmb_フォント"_s));
        QCOMPARE(listed, kept);
        QCOMPARE(f->state->ScreenFontCache, kept);
        for (int i = 0; i < 4; ++i) {
            const QStringList print = entries(named<QComboBox>(u"cmd_印刷(%1)"_s.arg(i)));
            QCOMPARE(print, f->state->PrinterFontCache);
            QCOMPARE(print.size(), 190);
            QVERIFY(!print.join(u'\n').contains(u'$'));
        }
        // Nothing changed yet: apply waits, and with no recent files there is nothing to clear.
        auto *go = named<QPushButton>(u"cmd_Go"_s);
        QVERIFY(!go->isEnabled());
        QCOMPARE(go->text(), u"適用"_s);
        QVERIFY(go->icon().isNull());
        QVERIFY(!named<QPushButton>(u"cmd_初期化"_s)->isEnabled());
        QCOMPARE(named<QLabel>(u"lbl_KosuMax"_s)->text(), u"5"_s);
        QCOMPARE(named<QLabel>(u"lbl_Hagaki"_s)->text(), u"0"_s);

        // Esc is no cancel button here.
        QTest::keyClick(m_dialog, Qt::Key_Escape);
        QVERIFY(m_dialog->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!f->window->findChild<SettingsProgressWindow *>());
        named<QPushButton>(u"cmd_閉じる"_s)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m_dialog.isNull());

        // The second opening takes the names it found the first time.
        screen << TestFont{u"Installed Later"_s, true};
        InstalledFonts::SetTestFonts(screen, printer);
        watchBar(&maximum);
        open();
        QCOMPARE(maximum, int(listed.size()) + 190);
        QCOMPARE(entries(named<QComboBox>(u"cmb_フォント"_s)), listed);
    }

    void cancelledPreparationShowsNothing()
    {
        int maximum = -1;
        watchBar(&maximum, true);
        QVERIFY(!SettingsDialog::Open(*f->window));
        QCOMPARE(f->state->KankyoLoadState, qint16(2));
        QVERIFY(!f->state->FontCacheValid);
        QVERIFY(f->window->isEnabled());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!f->window->findChild<SettingsDialog *>());
        QVERIFY(!f->window->findChild<SettingsProgressWindow *>());

        // The next opening lists the faces afresh.
        watchBar(&maximum);
        open();
        QCOMPARE(maximum, int(kScreen.size() + kPrinter.size()));
        QCOMPARE(entries(named<QComboBox>(u"cmb_フォント"_s)), kScreenListed);
        QCOMPARE(entries(named<QComboBox>(u"cmd_印刷(3)"_s)), kPrinterListed);
    }

    // Each group is saved only when it was changed. The memory differs from
    // the file in every group, so a group saved by mistake shows in the file.
    void applySavesOnlyTheChangedGroups_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("kosuMax");
        QTest::addColumn<QString>("iro0");
        QTest::addColumn<QString>("hagaki");
        QTest::newRow("nothing") << QString() << u"5"_s << u"&HFFFFFF"_s << u"0"_s;
        QTest::newRow("recent spinner") << u"UpDown1"_s << u"3"_s << u"&HFFFFFF"_s << u"0"_s;
        QTest::newRow("list colour") << u"cmd_色(0)"_s << u"5"_s << u"65280"_s << u"0"_s;
        QTest::newRow("list font") << u"cmb_フォント"_s << u"5"_s << u"16711680"_s << u"0"_s;
        QTest::newRow("postcard spinner") << u"Upd_hagaki"_s << u"5"_s << u"&HFFFFFF"_s << u"3"_s;
        QTest::newRow("print font") << u"cmd_印刷(1)"_s << u"5"_s << u"&HFFFFFF"_s << u"2"_s;
    }

    void applySavesOnlyTheChangedGroups()
    {
        QFETCH(QString, change);
        QFETCH(QString, kosuMax);
        QFETCH(QString, iro0);
        QFETCH(QString, hagaki);
        settings().RecentMax = 4;
        settings().ListColor[0] = u"&HFF0000"_s;
        settings().HagakiOffsetMm = 2;
        const QByteArray before = [&] {
            QFile file(iniPath());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        open();

        if (change == u"UpDown1"_s)
            step(change, -1);
        else if (change == u"Upd_hagaki"_s)
            step(change, 1);
        else if (change == u"cmd_色(0)"_s)
            pickColour(0, QColor(0, 255, 0));
        else if (change.startsWith(u"cmb"_s) || change.startsWith(u"cmd_印刷"_s))
            choose(named<QComboBox>(change), entries(named<QComboBox>(change)).first());
        if (!change.isEmpty())
            apply();
        named<QPushButton>(u"cmd_閉じる"_s)->click();

        const IniFile ini = readIni(iniPath());
        QCOMPARE(ini[u"File"_s][u"KosuMax"_s], kosuMax);
        QCOMPARE(ini[u"Iro"_s][u"Iro0"_s], iro0);
        QCOMPARE(ini[u"Print"_s][u"Hagaki"_s], hagaki);
        if (change.isEmpty()) {
            QFile file(iniPath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), before);
        }
        // Apply goes back to its idle look.
        QVERIFY(!m_dialog || !named<QPushButton>(u"cmd_Go"_s)->isEnabled());
    }

    void listApplySetsTheListsLook()
    {
        open();
        pickColour(0, QColor(255, 0, 0));
        pickColour(1, QColor(0, 0, 255));
        QCOMPARE(named<QLabel>(u"lbl_色(0)"_s)->palette().color(QPalette::Window), QColor(255, 0, 0));
        // A cancelled picker leaves the swatch as it was.
        ColourPicker::QueueCancel();
        named<QPushButton>(u"cmd_色(1)"_s)->click();
        QCOMPARE(named<QLabel>(u"lbl_色(1)"_s)->palette().color(QPalette::Window), QColor(0, 0, 255));
        QCOMPARE(ColourPicker::TakeShownCount(), 3);
        choose(named<QComboBox>(u"cmb_フォント"_s), u"DejaVu Sans"_s);
        apply();

        QCOMPARE(settings().ListColor[0], u"255"_s);
        QCOMPARE(settings().ListColor[1], u"16711680"_s);
        QCOMPARE(settings().ListFontName, u"DejaVu Sans"_s);
        const QAbstractItemView *view = f->window->listView()->currentView();
        QCOMPARE(view->palette().color(QPalette::Base), QColor(255, 0, 0));
        QCOMPARE(view->palette().color(QPalette::Text), QColor(0, 0, 255));
        QCOMPARE(view->font().family(), u"DejaVu Sans"_s);
        QCOMPARE(view->font().pointSizeF(), 10.0);
        QVERIFY(!view->font().bold());
        const IniFile ini = readIni(iniPath());
        QCOMPARE(ini[u"Iro"_s][u"Iro0"_s], u"255"_s);
        QCOMPARE(ini[u"Iro"_s][u"Iro1"_s], u"16711680"_s);
        QCOMPARE(ini[u"Iro"_s][u"ListFont"_s], u"DejaVu Sans"_s);

        // The group stays marked: a later apply saves it again.
        settings().ListColor[0] = u"1"_s;
        QVERIFY(m_dialog->listChanged());
        pickColour(0, QColor(255, 255, 255));
        apply();
        QCOMPARE(readIni(iniPath())[u"Iro"_s][u"Iro0"_s], u"16777215"_s);
    }

    void recentMaximum_data()
    {
        QTest::addColumn<int>("newMax");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("shown");
        QTest::newRow("5 to 2") << 2 << 2 << 2;
        QTest::newRow("5 to 0") << 0 << 1 << 0;
        QTest::newRow("5 to 7") << 7 << 7 << 4;
    }

    void recentMaximum()
    {
        QFETCH(int, newMax);
        QFETCH(int, entries);
        QFETCH(int, shown);
        addRecentFiles(4);
        open();
        step(u"UpDown1"_s, newMax - 5);
        QCOMPARE(named<QLabel>(u"lbl_KosuMax"_s)->text(), QString::number(newMax));
        apply();

        RecentFilesMenu &menu = f->window->recentFiles();
        QCOMPARE(menu.entryCount(), entries);
        for (int i = entries; i < 8; ++i)
            QVERIFY(!f->window->findChild<QAction *>(u"mm_最近ファイル(%1)"_s.arg(i)));
        QCOMPARE(settings().RecentMax, qint16(newMax));
        QCOMPARE(settings().RecentCount, qint16(shown));
        // Newest first: the ones that stay are the newest.
        const QStringList newest = {f->path(u"book4.csv"_s), f->path(u"book3.csv"_s), f->path(u"book2.csv"_s),
                                    f->path(u"book1.csv"_s)};
        QCOMPARE(visibleRecentPaths(), newest.mid(0, shown));
        QCOMPARE(separator()->isVisible(), newMax != 0);
        if (newMax == 0) {
            QCOMPARE(settings().RecentFiles, QStringList{QString()});
            QVERIFY(menu.entry(0)->text().isEmpty());
        }

        const IniFile ini = readIni(iniPath());
        QCOMPARE(ini[u"File"_s][u"KosuMax"_s], QString::number(newMax));
        QCOMPARE(ini[u"File"_s][u"Kosu"_s], QString::number(shown));
    }

    void spinnersStopAtTheirEnds()
    {
        settings().RecentMax = 20;
        settings().HagakiOffsetMm = -5;
        open();
        step(u"UpDown1"_s, 1);
        step(u"Upd_hagaki"_s, -1);
        QCOMPARE(named<QLabel>(u"lbl_KosuMax"_s)->text(), u"20"_s);
        QCOMPARE(named<QLabel>(u"lbl_Hagaki"_s)->text(), u"-5"_s);
        QVERIFY(!m_dialog->recentChanged());
        QVERIFY(!m_dialog->printChanged());
        QVERIFY(!named<QPushButton>(u"cmd_Go"_s)->isEnabled());
    }

    // Enter or Space right after opening presses the close button; its
    // focus frame shows that from the start, not only after a key.
    void focusIsShownFromTheStart()
    {
        open();
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog));
        auto *close = named<QPushButton>(u"cmd_閉じる"_s);
        QVERIFY(close->hasFocus());
        const QImage focused = close->grab().toImage();
        named<QWidget>(u"TabStrip1"_s)->setFocus(Qt::OtherFocusReason);
        QVERIFY(!close->hasFocus());
        QVERIFY(close->grab().toImage() != focused);
    }

    void spinnerShowsTheFocusOnItsNumberBox()
    {
        open();
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog));
        auto *spinner = named<UpDownControl>(u"UpDown1"_s);
        auto *number = named<QLabel>(u"lbl_KosuMax"_s);
        const QColor plain = number->palette().color(QPalette::WindowText);
        const QColor highlight = spinner->palette().color(QPalette::Highlight);
        QVERIFY(plain != highlight);

        // Its arrows take no focus: without a cue on the number box the
        // keyboard user cannot see that Up and Down now change it.
        spinner->setFocus(Qt::TabFocusReason);
        QVERIFY(spinner->hasFocus());
        QCOMPARE(number->palette().color(QPalette::WindowText), highlight);
        QCOMPARE(number->lineWidth(), 2);
        QTest::keyClick(spinner, Qt::Key_Down);
        QCOMPARE(number->text(), u"4"_s);
        QVERIFY(m_dialog->recentChanged());

        named<QWidget>(u"cmd_閉じる"_s)->setFocus(Qt::TabFocusReason);
        QCOMPARE(number->palette().color(QPalette::WindowText), plain);
        QCOMPARE(number->lineWidth(), 1);
    }

    void clearingRecentFiles_data()
    {
        QTest::addColumn<MsgAnswer>("answer");
        QTest::newRow("yes") << MsgAnswer::Yes;
        QTest::newRow("no") << MsgAnswer::No;
    }

    void clearingRecentFiles()
    {
        QFETCH(MsgAnswer, answer);
        addRecentFiles(4);
        open();
        auto *clear = named<QPushButton>(u"cmd_初期化"_s);
        QVERIFY(clear->isEnabled());
        QVERIFY(!clear->icon().isNull());
        MessageBoxes::QueueAnswer(answer);
        clear->click();
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, u"最近使用したファイルを初期化しますか？"_s);
        QCOMPARE(shown[0].icon, MsgIcon::Question);
        QCOMPARE(shown[0].buttons, MsgButtons::YesNo);

        const bool cleared = answer != MsgAnswer::No;
        named<QPushButton>(u"cmd_閉じる"_s)->click();
        QCOMPARE(settings().RecentCount, qint16(cleared ? 0 : 4));
        QCOMPARE(visibleRecentPaths().size(), cleared ? 0 : 4);
        QCOMPARE(separator()->isVisible(), !cleared);
        QCOMPARE(clear->isEnabled(), !cleared);
        if (cleared) {
            QCOMPARE(clear->text(), u"初期化"_s);
            QVERIFY(clear->icon().isNull());
        }
        // The store keeps the old list until the program ends.
        const IniFile ini = readIni(iniPath());
        QCOMPARE(ini[u"File"_s][u"Kosu"_s], u"4"_s);
        QVERIFY(ini[u"File"_s][u"F1"_s].endsWith(u"book4.csv"_s));
    }

    void listDefaults_data()
    {
        QTest::addColumn<MsgAnswer>("answer");
        QTest::newRow("yes") << MsgAnswer::Yes;
        QTest::newRow("no") << MsgAnswer::No;
    }

    void listDefaults()
    {
        QFETCH(MsgAnswer, answer);
        settings().ListColor = {u"255"_s, u"65280"_s};
        settings().ListFontName = u"IPAGothic"_s;
        open();
        MessageBoxes::QueueAnswer(answer);
        named<QPushButton>(u"cmd_既定値"_s)->click();
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, u"既定値に戻しますか？"_s);
        QCOMPARE(shown[0].icon, MsgIcon::Question);

        const bool yes = answer != MsgAnswer::No;
        QCOMPARE(named<QLabel>(u"lbl_色(0)"_s)->palette().color(QPalette::Window),
                 yes ? QColor(Qt::white) : QColor(255, 0, 0));
        QCOMPARE(named<QLabel>(u"lbl_色(1)"_s)->palette().color(QPalette::Window),
                 yes ? QColor(Qt::black) : QColor(0, 255, 0));
        QCOMPARE(named<QComboBox>(u"cmb_フォント"_s)->currentText(), yes ? kGothic : u"IPAGothic"_s);
        QCOMPARE(m_dialog->listChanged(), yes);
        if (!yes)
            return;
        apply();
        const IniFile ini = readIni(iniPath());
        QCOMPARE(ini[u"Iro"_s][u"Iro0"_s], u"16777215"_s);
        QCOMPARE(ini[u"Iro"_s][u"Iro1"_s], u"0"_s);
    }

    void printDefaults_data()
    {
        QTest::addColumn<MsgAnswer>("answer");
        QTest::newRow("yes") << MsgAnswer::Yes;
        QTest::newRow("no") << MsgAnswer::No;
    }

    void printDefaults()
    {
        QFETCH(MsgAnswer, answer);
        settings().PrintFontName.fill(u"IPAMincho"_s);
        settings().HagakiOffsetMm = 3;
        M_RegS::SavePrintSection(*f->store, settings());
        open();
        MessageBoxes::QueueAnswer(answer);
        named<QPushButton>(u"cmd_既定値1"_s)->click();
        QCOMPARE(MessageBoxes::TakeShown().size(), 1);

        const bool yes = answer != MsgAnswer::No;
        const QStringList defaults = {kGothic, kMincho, kGothic, kMincho};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(named<QComboBox>(u"cmd_印刷(%1)"_s.arg(i))->currentText(),
                     yes ? defaults[i] : u"IPAMincho"_s);
        QCOMPARE(named<QLabel>(u"lbl_Hagaki"_s)->text(), yes ? u"0"_s : u"3"_s);
        QCOMPARE(m_dialog->printChanged(), yes);

        // Closing drops the fonts, but the adjustment was reset at once, in memory only.
        named<QPushButton>(u"cmd_閉じる"_s)->click();
        QCOMPARE(settings().HagakiOffsetMm, qint16(yes ? 0 : 3));
        QCOMPARE(settings().PrintFontName[0], u"IPAMincho"_s);
        QCOMPARE(readIni(iniPath())[u"Print"_s][u"Hagaki"_s], u"3"_s);
    }

    // The position window shows tenths of a millimetre as millimetres,
    // stops at ±10.0 mm and saves at once; closing it saves nothing.
    void positionAdjustment_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("apply") << u"cmd_Go"_s;
        QTest::newRow("close") << u"cmd_閉じる"_s;
    }

    void positionAdjustment()
    {
        QFETCH(QString, button);
        settings().PrintOffsetX[3] = 99;
        settings().PrintOffsetY[0] = -3;
        open();
        named<QPushButton>(u"cmd_位置"_s)->click();
        auto *positions = m_dialog->findChild<PrintPositionDialog *>(u"F_Ichi"_s);
        QVERIFY(positions && positions->isVisible());
        const auto label = [positions](const QString &name) { return positions->findChild<QLabel *>(name)->text(); };
        QCOMPARE(label(u"lbl_横(3)"_s), u"+9.9"_s);
        QCOMPARE(label(u"lbl_縦(0)"_s), u"-0.3"_s);
        QCOMPARE(label(u"lbl_縦(1)"_s), u"0.0"_s);
        UpDownControl *right = positions->page().control(4, false);
        QTest::keyClick(right, Qt::Key_Up);
        QTest::keyClick(right, Qt::Key_Up);   // stops at the end
        QCOMPARE(label(u"lbl_横(3)"_s), u"+10.0"_s);
        for (int i = 0; i < 15; ++i)
            QTest::keyClick(positions->page().control(2, true), Qt::Key_Down);
        positions->findChild<QPushButton *>(button)->click();
        QVERIFY(!positions->isVisible());

        const bool applied = button == u"cmd_Go";
        const IniFile ini = readIni(iniPath());
        QCOMPARE(ini[u"Print"_s][u"IchiX4"_s], applied ? u"100"_s : QString());
        QCOMPARE(ini[u"Print"_s][u"IchiY2"_s], applied ? u"-15"_s : QString());
        QCOMPARE(settings().PrintOffsetY[1], qint16(applied ? -15 : 0));
        named<QPushButton>(u"cmd_閉じる"_s)->click();
    }

    // The defaults name faces this system has only through their stand-ins
    // (IPA): they are offered, selected on the first run, and the installed
    // faces are listed as they are; vertical faces never.
    void defaultFacesAreOfferedThroughTheirStandIns()
    {
        InstalledFonts::ClearTestFonts();
        InstallFontSubstitutes();
        f->start();   // first-run settings, read with the stand-ins in place
        open();
        const QStringList listFaces = entries(named<QComboBox>(u"cmb_フォント"_s));
        QVERIFY(listFaces.contains(u"IPAGothic"_s));
        for (const QString &face : listFaces)
            QVERIFY2(!face.startsWith(u'@'), qPrintable(face));
        // Qt's names for fontconfig's aliases are no faces of their own.
        for (const QString &alias : {u"Serif"_s, u"Sans Serif"_s, u"Monospace"_s})
            QVERIFY2(!listFaces.contains(alias), qPrintable(alias));
        QCOMPARE(named<QComboBox>(u"cmb_フォント"_s)->currentText(), settings().ListFontName);
        const QStringList defaults = {u"ＭＳ ゴシック"_s, u"ＭＳ 明朝"_s, u"ＭＳ ゴシック"_s, u"ＭＳ 明朝"_s};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(named<QComboBox>(u"cmd_印刷(%1)"_s.arg(i))->currentText(), defaults[i]);
    }

    void facesAreArranged_data()
    {
        QTest::addColumn<QStringList>("families");
        QTest::addColumn<QStringList>("standIns");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("aliases left out") << QStringList{u"DejaVu Sans"_s, u"Monospace"_s, u"Sans Serif"_s, u"Serif"_s}
                                          << QStringList{} << QStringList{u"DejaVu Sans"_s};
        QTest::newRow("stand-ins among the M's")
            << QStringList{u"DejaVu Sans"_s, u"IPAGothic"_s, u"Nimbus Sans"_s, u"URW Gothic"_s}
            << QStringList{u"ＭＳ ゴシック"_s, u"ＭＳ 明朝"_s}
            << QStringList{u"DejaVu Sans"_s, u"IPAGothic"_s, u"ＭＳ ゴシック"_s, u"ＭＳ 明朝"_s, u"Nimbus Sans"_s,
                           u"URW Gothic"_s};
        QTest::newRow("letter case does not order") << QStringList{u"b face"_s, u"A face"_s, u"C face"_s}
                                                    << QStringList{} << QStringList{u"A face"_s, u"b face"_s, u"C face"_s};
    }

    void facesAreArranged()
    {
        QFETCH(QStringList, families);
        QFETCH(QStringList, standIns);
        QFETCH(QStringList, offered);
        QCOMPARE(InstalledFonts::ArrangeFaces(families, standIns), offered);
    }

    // A settings file that cannot be written is reported for every group,
    // not taken for saved.
    void aSaveThatFailsIsReported_data()
    {
        QTest::addColumn<int>("group");
        QTest::newRow("recent files") << 0;
        QTest::newRow("list") << 1;
        QTest::newRow("print") << 2;
    }

    void aSaveThatFailsIsReported()
    {
        QFETCH(int, group);
        open();
        // A folder where the file was: nothing can be written there.
        QVERIFY(QFile::remove(iniPath()));
        QVERIFY(QDir().mkdir(iniPath()));
        if (group == 0)
            step(u"UpDown1"_s, -1);
        else if (group == 1)
            pickColour(1, Qt::blue);
        else
            step(u"Upd_hagaki"_s, 1);
        apply();
        const QList<ShownMessage> shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains(u"保存できませんでした"_s), qPrintable(shown[0].text));
        QCOMPARE(shown[0].icon, MsgIcon::Critical);
        QVERIFY(m_dialog->isVisible());
        QVERIFY(QDir().rmdir(iniPath()));
    }

    // The close box of the disabled main window during the preparation, as
    // the window system sends it, is refused; afterwards it works again.
    void mainWindowStaysDuringThePreparation()
    {
        bool accepted = true;
        QTimer::singleShot(0, this, [this, &accepted] {
            QCloseEvent close;
            QSpontaneKeyEvent::setSpontaneous(&close);
            qApp->notify(f->window.get(), &close);   // keeps it spontaneous
            accepted = close.isAccepted();
        });
        open();
        QVERIFY(!accepted);
        QVERIFY(f->window->isEnabled());
        m_dialog->close();
        QCloseEvent close;
        QSpontaneKeyEvent::setSpontaneous(&close);
        qApp->notify(f->window.get(), &close);
        QVERIFY(close.isAccepted());
    }

    // A stored face that is no longer installed: nothing selected, nothing
    // changed, and applying the group keeps the stored name.
    void storedFaceNotInstalled()
    {
        settings().ListFontName = u"Gone Face"_s;
        settings().PrintFontName[2] = u"Gone Print"_s;
        open();
        QCOMPARE(named<QComboBox>(u"cmb_フォント"_s)->currentIndex(), -1);
        QCOMPARE(named<QComboBox>(u"cmd_印刷(2)"_s)->currentIndex(), -1);
        QCOMPARE(named<QComboBox>(u"cmd_印刷(0)"_s)->currentText(), kGothic);
        QVERIFY(!m_dialog->listChanged());
        QVERIFY(!m_dialog->printChanged());
        QVERIFY(!named<QPushButton>(u"cmd_Go"_s)->isEnabled());

        pickColour(0, Qt::white);
        step(u"Upd_hagaki"_s, 1);
        apply();
        QCOMPARE(settings().ListFontName, u"Gone Face"_s);
        QCOMPARE(settings().PrintFontName[2], u"Gone Print"_s);
        const IniFile ini = readIni(iniPath());
        QCOMPARE(ini[u"Iro"_s][u"ListFont"_s], u"Gone Face"_s);
        QCOMPARE(ini[u"Print"_s][u"Print2"_s], u"Gone Print"_s);
    }
};

QTEST_MAIN(TestSettingsDialog)
#include "test_settings_dialog.moc"

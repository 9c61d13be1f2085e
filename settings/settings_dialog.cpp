#include "settings/settings_dialog.h"

#include "entry/picture_button.h"
#include "postal/postal_data_dialog.h"
#include "files/recent_files.h"
#include "mainwindow/address_list_view.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/colour_picker.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "mainwindow/twips.h"
#include "model/app_error.h"
#include "model/app_state.h"
#include "print/printout_kinds.h"
#include "settings/app_settings.h"
#include "settings/colour_setting.h"
#include "settings/installed_fonts.h"
#include "settings/print_position_dialog.h"
#include "settings/settings_controls.h"
#include "settings/settings_defaults.h"
#include "settings/settings_progress_window.h"
#include "settings/settings_sections.h"
#include "settings/settings_store.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace SettingsControls;

namespace {

// The window's outer size, frame and caption bar included.
constexpr int kWidth = 6500;   // twips
constexpr int kHeight = 6000;
constexpr int kInnerWidth = kWidth - DialogFrameWidthTwips;
constexpr int kInnerHeight = kHeight - DialogFrameHeightTwips;

const TwipsPlace kTabStrip = {u"TabStrip1", 150, 150, kInnerWidth - 200, kInnerHeight - 800};
const TwipsPlace kCloseButton = {u"cmd_閉じる", 150, kInnerHeight - 520, 1515, 440};
const TwipsPlace kGoButton = {u"cmd_Go", 2700, kInnerHeight - 520, 1515, 440};

constexpr int kLabelHeight = 255;
constexpr int kComboHeight = 360;
constexpr int kUpDownWidth = 255;
constexpr int kUpDownHeight = 315;

constexpr int kRecentMaxLimit = 20;
constexpr int kHagakiLimit = 5;

const QString kAsk = u"既定値に戻しますか？"_s;

QComboBox *makeFontList(QWidget *parent, const TwipsPlace &p)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QString::fromUtf16(p.name));
    combo->setGeometry(p.rect());
    // Hundreds of faces: only the visible rows are laid out.
    combo->setMaxVisibleItems(16);
    return combo;
}

// Selects the first entry that equals name exactly; anything else leaves the list as it is.
bool selectExactly(QComboBox *combo, const QString &name)
{
    const int i = combo->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i < 0)
        return false;
    combo->setCurrentIndex(i);
    return true;
}

// The selected face, or the stored one when the list has no selection
// (a stored face that is not installed): an empty name is never stored.
QString chosenFont(const QComboBox *combo, const QString &stored)
{
    return combo->currentIndex() >= 0 ? combo->currentText() : stored;
}

void pumpEvents() { QCoreApplication::processEvents(); }

void advance(QProgressBar *bar)
{
    if (bar)
        bar->setValue(bar->value() + 1);
}

} // namespace

// ---------------------------------------------------------------------------

UpDownControl::UpDownControl(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    m_up = new QToolButton(this);
    m_up->setObjectName(u"up"_s);
    m_up->setArrowType(Qt::UpArrow);
    m_down = new QToolButton(this);
    m_down->setObjectName(u"down"_s);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton *b : {m_up, m_down}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
    }
    connect(m_up, &QToolButton::clicked, this, [this] { step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
}

void UpDownControl::setRange(int minimum, int maximum)
{
    m_min = minimum;
    m_max = std::max(minimum, maximum);
    setValue(m_value);
}

void UpDownControl::setBuddy(QLabel *buddy)
{
    m_buddy = buddy;
    showValue();
}

void UpDownControl::setValueText(std::function<QString(int)> text)
{
    m_valueText = std::move(text);
    showValue();
}

void UpDownControl::setValue(int value)
{
    m_value = std::clamp(value, m_min, m_max);
    showValue();
}

void UpDownControl::step(int by)
{
    // No wrapping: a click past either end changes nothing.
    const int next = std::clamp(m_value + by, m_min, m_max);
    if (next == m_value)
        return;
    m_value = next;
    showValue();
    Q_EMIT stepped(m_value);
}

void UpDownControl::showValue()
{
    if (m_buddy)
        m_buddy->setText(m_valueText ? m_valueText(m_value) : QString::number(m_value));
}

void UpDownControl::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Up) {
        step(1);
        return;
    }
    if (event->key() == Qt::Key_Down) {
        step(-1);
        return;
    }
    QWidget::keyPressEvent(event);
}

void UpDownControl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}

void UpDownControl::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    showFocus(true);
}

void UpDownControl::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    showFocus(false);
}

void UpDownControl::showFocus(bool focused)
{
    // The arrows cannot show a focus frame of their own, so the number box
    // shows where Up and Down will go: its number and border take the
    // highlight colour, the border thicker.
    if (!m_buddy)
        return;
    QPalette p = m_buddy->palette();
    if (focused) {
        if (!m_buddyText.isValid())
            m_buddyText = p.color(QPalette::WindowText);
        p.setColor(QPalette::WindowText, palette().color(QPalette::Highlight));
    } else {
        if (!m_buddyText.isValid())
            return;
        p.setColor(QPalette::WindowText, m_buddyText);
        m_buddyText = QColor();
    }
    m_buddy->setPalette(p);
    m_buddy->setLineWidth(focused ? 2 : 1);
}

// ---------------------------------------------------------------------------

namespace {

// A disabled window still gets its close box's request. Closing the main
// window while the preparation pumps events would end the program under
// the dialog being built.
class RefuseClose : public QObject {
public:
    explicit RefuseClose(QWidget *window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close && event->spontaneous()) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

SettingsDialog *SettingsDialog::Open(MainWindow &main)
{
    if (!main.commitListEdit())
        return nullptr;
    AppState &state = main.state();

    main.setEnabled(false);
    const std::unique_ptr<RefuseClose> refuseClose = std::make_unique<RefuseClose>(&main);
    state.KankyoLoadState = 0;
    QPointer<SettingsProgressWindow> progress = new SettingsProgressWindow(state, &main);
    // Owned by the disabled main window, yet its cancel button must work.
    progress->setEnabled(true);
    progress->show();
    progress->repaint();

    QPointer<SettingsDialog> dialog = new SettingsDialog(main, progress->bar());
    while (state.KankyoLoadState == 0)
        pumpEvents();
    if (progress)
        progress->close();

    if (state.KankyoLoadState == 1 && dialog) {
        state.FontCacheValid = true;
        main.setEnabled(true);
        QWidget *mainWidget = &main;
        connect(dialog, &QDialog::finished, mainWidget, [mainWidget] { mainWidget->activateWindow(); });
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->show();
        dialog->activateWindow();
        return dialog;
    }
    delete dialog;
    main.setEnabled(true);
    main.activateWindow();
    return nullptr;
}

SettingsDialog::SettingsDialog(MainWindow &main, QProgressBar *progress)
    : QDialog(&main), m_main(main), m_state(main.state()), m_settings(main.AppSettings())
{
    InitSettingsArtwork();
    setObjectName(u"F_Kankyo"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"環境設定"_s);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DesignFont(DialogFace, 9));
    load(progress);
}

void SettingsDialog::load(QProgressBar *progressBar)
{
    // The bar belongs to the progress window, which events may close meanwhile.
    QPointer<QProgressBar> progress = progressBar;
    try {
        m_state.KankyoCancel = false;

        const bool cached = m_state.FontCacheValid;
        const QStringList screen = cached ? QStringList() : InstalledFonts::ScreenFontNames();
        const QStringList printer = cached ? QStringList() : InstalledFonts::PrinterFontNames();
        const qsizetype total = cached ? m_state.ScreenFontCache.size() + m_state.PrinterFontCache.size()
                                       : screen.size() + printer.size();
        if (progress) {
            progress->setRange(0, int(std::min<qsizetype>(total, INT_MAX)));
            progress->setValue(0);
        }

        buildPages();
        const SettingsRecord &s = m_settings;
        m_recentMax->setValue(s.RecentMax);
        m_hagaki->setValue(s.HagakiOffsetMm);
        showClearLook(s.RecentCount != 0);
        m_recentChanged = m_listChanged = m_printChanged = false;

        // Screen faces, for the list.
        if (!listFaces(screen, m_state.ScreenFontCache, cached, false, progress,
                       [this](const QString &name) { m_listFont->addItem(name); }))
            return void(m_state.KankyoLoadState = 2);

        for (int i = 0; i < 2; ++i)
            setSwatch(i, ColourFromSetting(s.ListColor[i], SettingsDefaults::ListColor[i]));
        // A list opens on its first entry; no entry is selected unless it is the stored face.
        m_listFont->setCurrentIndex(-1);
        selectExactly(m_listFont, s.ListFontName);

        // Printer faces, for the four printouts.
        if (!listFaces(printer, m_state.PrinterFontCache, cached, true, progress, [this](const QString &name) {
                for (QComboBox *combo : m_printFonts)
                    combo->addItem(name);
            }))
            return void(m_state.KankyoLoadState = 2);
        for (int i = 0; i < 4; ++i) {
            m_printFonts[i]->setCurrentIndex(-1);
            selectExactly(m_printFonts[i], s.PrintFontName[i]);
        }

        showApplyIdle();
        m_state.KankyoLoadState = 1;
    } catch (const AppError &e) {
        MessageBoxes::ReportError(this, e.description());
        m_state.KankyoLoadState = 2;
    } catch (const std::exception &e) {
        MessageBoxes::ReportError(this, QString::fromLocal8Bit(e.what()));
        m_state.KankyoLoadState = 2;
    }
}

bool SettingsDialog::listFaces(const QStringList &found, QStringList &cache, bool cached, bool printer,
                               const QPointer<QProgressBar> &progress,
                               const std::function<void(const QString &)> &add)
{
    // A copy: the cache is the run's, and events run between the faces.
    const QStringList names = cached ? cache : found;
    if (!cached)
        cache.clear();
    for (const QString &name : names) {
        pumpEvents();
        if (m_state.KankyoCancel)
            return false;
        advance(progress);
        if (!cached) {
            if (!InstalledFonts::NameAccepted(name) || !InstalledFonts::WritesJapaneseOrLatin(name, printer))
                continue;
            cache.append(name);
        }
        add(name);
    }
    return true;
}

void SettingsDialog::buildPages()
{
    setFixedSize(TwipsClientSize(kWidth, kHeight));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QString::fromUtf16(kTabStrip.name));
    m_tabs->setGeometry(kTabStrip.rect());

    m_close = makeButton(this, kCloseButton, ClosePictures, u"閉じる"_s);
    m_go = makeButton(this, kGoButton, ApplyPictures, u"適用"_s);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_go, &QPushButton::clicked, this, &SettingsDialog::Apply);

    const struct {
        const char16_t *key;
        QString caption;
    } tabs[] = {
        {u"1key", u"最近使用したファイル"_s},
        {u"2Key", u"住所録の設定"_s},
        {u"3Key", u"印刷のフォント指定"_s},
    };
    QWidget *pages[3];
    for (int k = 0; k < 3; ++k) {
        pages[k] = new QWidget;
        pages[k]->setObjectName(u"Pic_Tab(%1)"_s.arg(k));
        m_tabs->addTab(pages[k], tabs[k].caption);
        m_tabs->tabBar()->setTabData(k, QString::fromUtf16(tabs[k].key));
    }
    m_tabs->setCurrentIndex(0);

    // Page 1: recent files.
    QWidget *page = pages[0];
    makeLabel(page, {u"lbl_Max", 450, 375, 5400, kLabelHeight}, u"最近使用したファイルの最大値の設定"_s);
    m_recentLabel = makeNumberLabel(page, {u"lbl_KosuMax", 1050, 900, 1365, 315});
    m_recentMax = new UpDownControl(page);
    m_recentMax->setObjectName(u"UpDown1"_s);
    m_recentMax->setGeometry(TwipsRect(2475, 900, kUpDownWidth, kUpDownHeight));
    m_recentMax->setRange(0, kRecentMaxLimit);
    m_recentMax->setBuddy(m_recentLabel);
    makeLabel(page, {u"lbl_範囲", 2925, 975, 1500, kLabelHeight}, u"( 0～20 )"_s);
    makeLabel(page, {u"lbl_クリアー", 450, 2025, 5400, kLabelHeight}, u"最近使用したファイルの初期化"_s);
    m_clear = makeButton(page, {u"cmd_初期化", 1050, 2550, 1515, 450}, ClearPictures, u"初期化"_s);
    connect(m_recentMax, &UpDownControl::stepped, this, [this] { markChanged(m_recentChanged); });
    connect(m_clear, &QPushButton::clicked, this, &SettingsDialog::ClearRecentFiles);

    // Page 2: the list's colours and font.
    page = pages[1];
    const TwipsPlace colourRows[2][3] = {
        {{u"lbl_背景色", 450, 450, 2100, kLabelHeight},
         {u"lbl_色(0)", 2625, 375, 1140, 390},
         {u"cmd_色(0)", 3900, 375, 1870, 450}},
        {{u"lbl_前景色", 450, 1425, 2100, kLabelHeight},
         {u"lbl_色(1)", 2625, 1350, 1140, 390},
         {u"cmd_色(1)", 3900, 1350, 1870, 450}},
    };
    const QString colourCaptions[2] = {u"背景色の設定"_s, u"前景色の設定"_s};
    const QString colourButtons[2] = {u"背景色の変更"_s, u"文字色の変更"_s};
    for (int i = 0; i < 2; ++i) {
        makeLabel(page, colourRows[i][0], colourCaptions[i]);
        m_swatches[i] = makeLabel(page, colourRows[i][1], QString());
        m_swatches[i]->setFrameShape(QFrame::Box);
        m_swatches[i]->setFrameShadow(QFrame::Plain);
        m_swatches[i]->setAutoFillBackground(true);
        auto *button = makeButton(page, colourRows[i][2], ColourPictures[i], colourButtons[i]);
        connect(button, &QPushButton::clicked, this, [this, i] { ChooseColour(i); });
    }
    makeLabel(page, {u"lbl_フォント", 450, 2475, 2100, kLabelHeight}, u"フォントの設定"_s);
    m_listFont = makeFontList(page, {u"cmb_フォント", 2625, 2400, 2415, kComboHeight});
    connect(m_listFont, &QComboBox::activated, this, [this] { markChanged(m_listChanged); });
    auto *listDefaults = makeButton(page, {u"cmd_既定値", 4275, 3825, 1515, 450}, DefaultsPictures,
                                    u"既定値に戻す"_s);
    connect(listDefaults, &QPushButton::clicked, this, &SettingsDialog::RestoreListDefaults);
    // Where the entry dialog's postal codes come from; it keeps its own choice.
    auto *postalData = makeButton(page, {u"cmd_郵便番号データ", 375, 3825, 1800, 500},
                                  {u":/postal/data_button.svg"_s, u":/postal/data_button_hover.svg"_s},
                                  u"郵便番号データ"_s);
    postalData->setToolTip(u"住所検索に使う郵便番号データを確かめ、KEN_ALL.CSVに切り替えます。"_s);
    connect(postalData, &QPushButton::clicked, this, [this] { PostalDataDialog::Open(m_main, this); });

    // Page 3: the print fonts and the postcard adjustment.
    page = pages[2];
    const TwipsPlace printLabels[4] = {
        {u"lbl_印刷(0)", 450, 525, 2000, kLabelHeight},
        {u"lbl_印刷(1)", 450, 1200, 2000, kLabelHeight},
        {u"lbl_印刷(2)", 375, 1875, 2100, kLabelHeight},
        {u"lbl_印刷(3)", 375, 2550, 2000, kLabelHeight},
    };
    for (int i = 0; i < 4; ++i)
        makeLabel(page, printLabels[i], FindPrintoutKind(i + 1)->fontCaption);
    const TwipsPlace printLists[3] = {
        {u"cmd_印刷(0)", 2550, 450, 2190, kComboHeight},
        {u"cmd_印刷(1)", 2550, 1125, 2190, kComboHeight},
        {u"cmd_印刷(2)", 2550, 1800, 2190, kComboHeight},
    };
    for (int i = 0; i < 3; ++i)
        m_printFonts[i] = makeFontList(page, printLists[i]);

    auto *frame = new QFrame(page);
    frame->setObjectName(u"pic_ハガキ"_s);
    frame->setGeometry(TwipsRect(2475, 2475, 3390, 1215));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    m_printFonts[3] = makeFontList(frame, {u"cmd_印刷(3)", 75, 150, 2190, kComboHeight});
    m_hagakiLabel = makeNumberLabel(frame, {u"lbl_Hagaki", 75, 675, 990, 315});
    m_hagaki = new UpDownControl(frame);
    m_hagaki->setObjectName(u"Upd_hagaki"_s);
    m_hagaki->setGeometry(TwipsRect(1050, 675, kUpDownWidth, kUpDownHeight));
    m_hagaki->setRange(-kHagakiLimit, kHagakiLimit);
    m_hagaki->setBuddy(m_hagakiLabel);
    makeLabel(frame, {u"lbl_mm", 1425, 750, 1900, kLabelHeight}, u"縦位置の調整(mm)"_s);
    auto *printDefaults = makeButton(page, {u"cmd_既定値1", 4275, 3825, 1515, 500}, DefaultsPictures,
                                     u"既定値に戻す"_s);
    for (QComboBox *combo : m_printFonts)
        connect(combo, &QComboBox::activated, this, [this] { markChanged(m_printChanged); });
    connect(m_hagaki, &UpDownControl::stepped, this, [this] { markChanged(m_printChanged); });
    connect(printDefaults, &QPushButton::clicked, this, &SettingsDialog::RestorePrintDefaults);
    // The print position adjustment has a window of its own: the tab strip
    // has no room for a fourth page.
    auto *positions = makeButton(page, {u"cmd_位置", 375, 3825, 1800, 500}, PositionPictures, u"印刷位置の調整"_s);
    connect(positions, &QPushButton::clicked, this, &SettingsDialog::OpenPrintPositions);

    // The two buttons first, then the pages' controls.
    setTabOrder(m_close, m_go);
    setTabOrder(m_go, m_tabs);
    ShowFocusFromTheStart(m_close);

    const QScreen *screen = m_main.screen() ? m_main.screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frameRect(QPoint(), size());
        frameRect.moveCenter(screen->availableGeometry().center());
        move(frameRect.topLeft());
    }
}

void SettingsDialog::setSwatch(int i, const QColor &colour)
{
    m_colours[i] = colour;
    QPalette p = m_swatches[i]->palette();
    p.setColor(QPalette::Window, colour);
    m_swatches[i]->setPalette(p);
}

void SettingsDialog::markChanged(bool &flag)
{
    flag = true;
    m_go->setActive(true);
}

void SettingsDialog::showApplyIdle() { m_go->setActive(false); }

void SettingsDialog::showClearLook(bool enabled) { m_clear->setActive(enabled); }

bool SettingsDialog::reportFailedSave()
{
    if (m_main.store().sync())
        return false;
    MessageBoxes::ReportError(this, u"設定を保存できませんでした。設定ファイル「%1」に書き込めません。"_s
                                        .arg(m_main.store().fileName()));
    return true;
}

void SettingsDialog::ChooseColour(int i)
{
    const std::optional<QColor> chosen = ColourPicker::Pick(this);
    // Cancelling keeps the swatch as it was.
    if (!chosen)
        return;
    setSwatch(i, *chosen);
    markChanged(m_listChanged);
}

void SettingsDialog::RestoreListDefaults()
{
    if (MessageBoxes::Show(this, kAsk, MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::Yes) == MsgAnswer::No)
        return;
    for (int i = 0; i < 2; ++i)
        setSwatch(i, ColourFromSetting(SettingsDefaults::ListColor[i], SettingsDefaults::ListColor[i]));
    selectExactly(m_listFont, SettingsDefaults::ListFontName);
    markChanged(m_listChanged);
}

void SettingsDialog::RestorePrintDefaults()
{
    if (MessageBoxes::Show(this, kAsk, MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::Yes) == MsgAnswer::No)
        return;
    for (int i = 0; i < 4; ++i)
        selectExactly(m_printFonts[i], SettingsDefaults::PrintFontName[i]);
    m_settings.HagakiOffsetMm = 0;
    m_hagaki->setValue(0);
    markChanged(m_printChanged);
}

void SettingsDialog::OpenPrintPositions()
{
    PrintPositionDialog::Open(this, m_settings, [this](const SettingsRecord &chosen) {
        // Saved at once, with the print settings as last applied.
        m_settings.PrintOffsetX = chosen.PrintOffsetX;
        m_settings.PrintOffsetY = chosen.PrintOffsetY;
        M_RegS::SavePrintSection(m_main.store(), m_settings);
        return !reportFailedSave();
    });
}

void SettingsDialog::ClearRecentFiles()
{
    if (MessageBoxes::Show(this, u"最近使用したファイルを初期化しますか？"_s, MsgIcon::Question,
                           MsgButtons::YesNo, MsgAnswer::Yes)
        == MsgAnswer::No)
        return;
    // Saved with the other settings at the program's end, not here.
    m_main.recentFiles().ClearAll();
    showClearLook(false);
}

void SettingsDialog::Apply()
{
    SettingsRecord &s = m_settings;
    SettingsStore &store = m_main.store();

    if (m_recentChanged) {
        m_main.recentFiles().ChangeMaximum(m_recentMax->value());
        M_RegS::SaveFileSection(store, s);
        reportFailedSave();
    }
    if (m_listChanged) {
        for (int i = 0; i < 2; ++i)
            s.ListColor[i] = ColourSettingText(m_colours[i]);
        s.ListFontName = chosenFont(m_listFont, s.ListFontName);
        if (AddressListView *view = m_main.listView()) {
            view->setListColours(m_colours[0], m_colours[1]);
            view->setListFont(DesignFont(s.ListFontName, 10, false));
        }
        M_RegS::SaveIroSection(store, s);
        reportFailedSave();
    }
    if (m_printChanged) {
        for (int i = 0; i < 4; ++i)
            s.PrintFontName[i] = chosenFont(m_printFonts[i], s.PrintFontName[i]);
        s.HagakiOffsetMm = qint16(m_hagaki->value());
        M_RegS::SavePrintSection(store, s);
        reportFailedSave();
    }
    showApplyIdle();
}

void SettingsDialog::keyPressEvent(QKeyEvent *event)
{
    // Neither button is the default or the cancel button: Esc and Enter do
    // nothing here (Enter on a focused button presses that button).
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

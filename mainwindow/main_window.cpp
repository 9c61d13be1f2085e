#include "mainwindow/main_window.h"

#include "about/about_box.h"
#include "entry/input_helpers.h"
#include "entry/search_dialog.h"
#include "files/file_commands.h"
#include "files/postal_codes.h"
#include "files/recent_files.h"
#include "mainwindow/address_list_model.h"
#include "mainwindow/address_list_view.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/artwork.h"
#include "mainwindow/history_commands.h"
#include "mainwindow/list_commands.h"
#include "mainwindow/main_status_bar.h"
#include "mainwindow/message_box.h"
#include "mainwindow/twips.h"
#include "model/app_state.h"
#include "model/book_document.h"
#include "importexport/export_command.h"
#include "importexport/import_command.h"
#include "postal/postal_check_window.h"
#include "print/print_dialog.h"
#include "settings/colour_setting.h"
#include "settings/settings_defaults.h"
#include "settings/settings_sections.h"
#include "settings/sender_dialog.h"
#include "settings/settings_dialog.h"
#include "settings/settings_store.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kTitle = u"Yuzaribo(Ver1.0)"_s;
const QString kUntitledAtStart = u"ファイル名は「無題 」"_s;

constexpr int kNarrowScreenTwips = 12000;
constexpr int kCoolBarHeight = 1095;
constexpr int kPictureHeight = 1035;
constexpr int kPictureMinWidth = 7080;
constexpr int kButtonWidth = 840, kButtonHeight = 750, kButtonTop = 5;
constexpr int kKeyLabelTop = 750, kKeyLabelHeight = 300;

struct ToolButtonDef {
    const char16_t *name;
    const char16_t *caption;
    int left;
    const char16_t *toolTip;
    const char16_t *picture;
};

const ToolButtonDef kToolButtons[] = {
    {u"cmd_File(0)", u"新規作成", 0, u"ファイルの新規作成をします。", u":/toolbar/new.svg"},
    {u"cmd_File(1)", u"開く", 825, u"CSV形式のファイルを開きます。 ", u":/toolbar/open.svg"},
    {u"cmd_File(2)", u"保存", 1650, u"CSV形式でファイルを保存します。", u":/toolbar/save.svg"},
    {u"cmd_File(3)", u"名前保存", 2475, u"CSV形式で名前を付けてファイルを保存します。", u":/toolbar/saveas.svg"},
    {u"cmd_印刷", u"印刷", 3450, u"選択した住所録を印刷します。", u":/toolbar/print.svg"},
    {u"cmd_修正(0)", u"修正", 4425, u"該当の住所録を修正します。", u":/toolbar/edit.svg"},
    {u"cmd_修正(1)", u"追加", 5250, u"住所録を追加します。", u":/toolbar/add.svg"},
    {u"cmd_修正(2)", u"削除", 6075, u"該当の住所録を削除します。", u":/toolbar/delete.svg"},
    {u"cmd_検索", u"検索", 7050, u"氏名より検索を行ないます。", u":/toolbar/search.svg"},
    {u"cmd_Mail", u"メール", 8025, u"該当の住所録へメールします。", u":/toolbar/mail.svg"},
    {u"cmd_Help", u"ﾊﾞｰｼﾞｮﾝ", 11025, u"バージョン情報を表示します。", u":/toolbar/about.svg"},
};

const QStringList kViewNames = {u"通常の大きさ"_s, u"小さいアイコン"_s, u"リスト形式"_s, u"レポート形式"_s};

void fillBackground(QWidget *widget, const QColor &colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    widget->setPalette(p);
    // Inside the tool bar a widget would paint with the bar's button role.
    widget->setBackgroundRole(QPalette::Window);
    widget->setAutoFillBackground(true);
}

} // namespace

MainWindow::MainWindow(BookDocument &document, AppState &state, SettingsRecord &appSettings,
                       PrinterSetup &currentPrinter, SettingsStore &store, QWidget *parent)
    : QMainWindow(parent), m_document(document), m_state(state), m_settings(appSettings),
      m_printer(currentPrinter), m_store(store)
{
    InitArtwork();
    setObjectName(u"F_Main"_s);
    setWindowTitle(kTitle);
    setWindowIcon(ArtIcon(u":/app/yuzaribo.svg"_s, QSize(48, 48)));
    setFont(DesignFont(DialogFace, 11.25));

    buildToolBar();
    buildMenus();
    buildList();

    m_status = new MainStatusBar(this);
    setStatusBar(m_status);

    // Carriers of the two drag cursors: 0 where a drop is refused, 1 where it is taken.
    const QString cursors[] = {u":/cursors/drag_no.svg"_s, u":/cursors/drag_ok.svg"_s};
    QCursor dragCursors[2];
    for (int i = 0; i < 2; ++i) {
        auto *carrier = new QLineEdit(this);
        carrier->setObjectName(u"txt_Icon(%1)"_s.arg(i));
        carrier->setCursor(QCursor(ArtPixmap(cursors[i], QSize(32, 32)), 0, 0));
        carrier->hide();
        dragCursors[i] = carrier->cursor();
    }
    m_list->setDragCursors(dragCursors[0], dragCursors[1]);

    m_files = std::make_unique<FileCommands>(m_document, *this, m_settings, m_store);
    m_commands = new ListCommands(*this);
    new HistoryCommands(*this, findChild<QAction *>(u"mm_元に戻す"_s), findChild<QAction *>(u"mm_やり直し"_s));
    connectCommands();
    findCommandControls();

    // The commands change the book; the window follows.
    connect(&m_document, &BookDocument::modificationChanged, this, &MainWindow::SetChanged);
    connect(&m_document, &BookDocument::countChanged, this, &MainWindow::UpdateCommandState);
    connect(&m_document, &BookDocument::countChanged, this, &MainWindow::showRecordCount);
    // An undone or redone step brings its selection back.
    m_document.SetSelectionSource([this] { return m_list->currentRow() + 1; });
    connect(&m_document, &BookDocument::selectionRestored, this, [this](int position) { selectRow(position - 1); });
}

void MainWindow::connectCommands()
{
    auto button = [this](const QString &name) { return findChild<QToolButton *>(name); };
    auto action = [this](const QString &name) { return findChild<QAction *>(name); };
    for (int i = 0; i < 3; ++i) {
        connect(button(u"cmd_修正(%1)"_s.arg(i)), &QToolButton::clicked, this,
                [this, i] { m_commands->EditCommand(i); });
        connect(action(u"mm_修正(%1)"_s.arg(i)), &QAction::triggered, this,
                [this, i] { m_commands->EditCommand(i); });
        connect(action(u"mm_Copy(%1)"_s.arg(i)), &QAction::triggered, this,
                [this, i] { m_commands->ClipboardCommand(i); });
    }
    // The button leaves the main window usable beside the search; the menu
    // and F9 hold it until the search is closed.
    connect(button(u"cmd_検索"_s), &QToolButton::clicked, this, [this] { SearchDialog::Open(*this, false); });
    connect(action(u"mm_検索"_s), &QAction::triggered, this, [this] { SearchDialog::Open(*this, true); });
    connect(button(u"cmd_Mail"_s), &QToolButton::clicked, m_commands, &ListCommands::SendMail);
    connect(action(u"mm_Mail"_s), &QAction::triggered, m_commands, &ListCommands::SendMail);
    connect(action(u"mm_個人情報"_s), &QAction::triggered, this, &MainWindow::openSenderForm);
    connect(action(u"mm_並べ替え"_s), &QAction::triggered, m_commands, &ListCommands::OpenSortDialog);
    connect(action(u"mm_インポート"_s), &QAction::triggered, this, [this] { ImportContacts(*this); });
    connect(action(u"mm_エクスポート"_s), &QAction::triggered, this, [this] { ExportBook(*this); });
    connect(action(u"mm_郵便番号チェック"_s), &QAction::triggered, this, [this] { CheckBookPostalCodes(*this); });
    connect(button(u"cmd_印刷"_s), &QToolButton::clicked, this, [this] { PrintDialog::Open(*this); });
    connect(action(u"mm_印刷"_s), &QAction::triggered, this, [this] { PrintDialog::Open(*this); });
    connect(action(u"mm_環境設定"_s), &QAction::triggered, this, [this] { SettingsDialog::Open(*this); });
    connect(button(u"cmd_Help"_s), &QToolButton::clicked, this, [this] { AboutBox::Open(*this); });
    connect(action(u"mm_Ver"_s), &QAction::triggered, this, [this] { AboutBox::Open(*this); });

    m_list->setKeyHandler([this](QKeyEvent *event) { return m_commands->ListKeyDown(event); });
    connect(m_list, &AddressListView::doubleClicked, m_commands, &ListCommands::ListDoubleClick);
    connect(m_list, &AddressListView::contextMenuRequested, m_commands, &ListCommands::ShowPopupMenu);
    connect(m_list, &AddressListView::dropRequested, m_commands, &ListCommands::DropEntry);
}

void MainWindow::openSenderForm()
{
    if (!commitListEdit())
        return;
    ShowApplicationModal(new SenderDialog(m_settings, m_store, this, &postalCodes()));
}

PostalCodes &MainWindow::postalCodes()
{
    if (!m_postal)
        m_postal = std::make_unique<PostalCodes>(PostalSourcePaths::Default(m_settings.PostalDataFile));
    return *m_postal;
}

MainWindow::~MainWindow()
{
    // The document may outlive the window; its steps must not ask a list that is gone.
    m_document.SetSelectionSource({});
    // Dialogs still open go first: while they go, their boxes lose the focus
    // and look up postal codes, which the window's members hold.
    qDeleteAll(findChildren<QDialog *>(QString(), Qt::FindDirectChildrenOnly));
}

void MainWindow::buildToolBar()
{
    auto *coolBar = new QToolBar(this);
    coolBar->setObjectName(u"CoolBar1"_s);
    coolBar->setMovable(false);
    coolBar->setFloatable(false);
    coolBar->toggleViewAction()->setEnabled(false);
    coolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    coolBar->setFixedHeight(TwipsToPixels(kCoolBarHeight));
    addToolBar(Qt::TopToolBarArea, coolBar);

    auto *picture = new QWidget(coolBar);
    picture->setObjectName(u"Picture1"_s);
    picture->setFixedHeight(TwipsToPixels(kPictureHeight));
    picture->setMinimumWidth(TwipsToPixels(kPictureMinWidth));
    picture->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    coolBar->addWidget(picture);

    const QFont captionFont = DesignFont(DialogFace, 9);
    const QFont keyFont = DesignFont(DialogFace, 12);
    int index = 0;
    for (const ToolButtonDef &def : kToolButtons) {
        auto *button = new QToolButton(picture);
        button->setObjectName(QString::fromUtf16(def.name));
        button->setText(QString::fromUtf16(def.caption));
        button->setToolTip(QString::fromUtf16(def.toolTip));
        button->setIcon(ArtIcon(QString::fromUtf16(def.picture), QSize(32, 32)));
        button->setIconSize(QSize(30, 30));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFont(captionFont);
        button->setGeometry(TwipsRect(def.left, kButtonTop, kButtonWidth, kButtonHeight));

        auto *key = new QLabel(u"F%1"_s.arg(index + 1), picture);
        key->setObjectName(u"lbl_F1(%1)"_s.arg(index));
        key->setFont(keyFont);
        key->setAlignment(Qt::AlignCenter);
        key->setGeometry(TwipsRect(def.left, kKeyLabelTop, kButtonWidth, kKeyLabelHeight));
        ++index;
    }

    auto *viewCaption = new QLabel(u"表示形式"_s, picture);
    viewCaption->setObjectName(u"lbl_表示件数"_s);
    viewCaption->setFont(DesignFont(DialogFace, 9.75));
    viewCaption->setGeometry(TwipsRect(9000, 150, 840, 240));

    m_viewCombo = new QComboBox(picture);
    m_viewCombo->setObjectName(u"cmb_表示形式"_s);
    m_viewCombo->setEditable(false);
    m_viewCombo->setToolTip(u"住所録の表示形式を変更します。"_s);
    m_viewCombo->setFont(DesignFont(DialogFace, 9.75));
    m_viewCombo->setFocusPolicy(Qt::ClickFocus);
    m_viewCombo->setGeometry(TwipsRect(9000, 450, 1890, 345));

    m_countLabel = new QLabel(picture);
    m_countLabel->setObjectName(u"lbl_件数"_s);
    m_countLabel->setToolTip(u"現在の住所録の件数を表示します。"_s);
    m_countLabel->setAlignment(Qt::AlignCenter);
    fillBackground(m_countLabel, QColor(255, 192, 192));
    m_countLabel->setGeometry(TwipsRect(9825, 75, 1065, 345));

    // The user's choice, also of the entry already shown: it still gives the list the focus.
    connect(m_viewCombo, &QComboBox::activated, this, &MainWindow::chooseViewFromCombo);
}

QAction *MainWindow::menuAction(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    action->setParent(this);   // so findChild reaches every menu item from the window
    return action;
}

QAction *MainWindow::menuSeparator(QMenu *menu, const QString &name)
{
    QAction *separator = menu->addSeparator();
    separator->setObjectName(name);
    separator->setParent(this);
    return separator;
}

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(u"MenuBar"_s);

    QMenu *file = bar->addMenu(u"ファイル(&F)"_s);
    file->setObjectName(u"mm_ファイル"_s);
    QAction *fileNew = menuAction(file, u"mm_新規作成"_s, u"新規作成(&K)"_s);
    QAction *fileOpen = menuAction(file, u"mm_開く"_s, u"開く(&O)"_s);
    QAction *fileSave = menuAction(file, u"mm_保存"_s, u"保存(&S)"_s);
    fileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    QAction *fileSaveAs = menuAction(file, u"mm_名前保存"_s, u"名前を付けて保存(&N)"_s);
    menuSeparator(file, u"mm_hai1"_s);
    QAction *print = menuAction(file, u"mm_印刷"_s, u"印刷(&P)"_s);
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    menuSeparator(file, u"mm_haiImport"_s);
    menuAction(file, u"mm_インポート"_s, u"インポート(&I)..."_s);
    menuAction(file, u"mm_エクスポート"_s, u"エクスポート(&X)..."_s);
    menuSeparator(file, u"mm_hai6"_s);
    QAction *recent0 = menuAction(file, u"mm_最近ファイル(0)"_s, QString());
    recent0->setVisible(false);
    QAction *recentSeparator = menuSeparator(file, u"mm_haiSaikin"_s);
    recentSeparator->setVisible(false);
    QAction *quit = menuAction(file, u"mm_終了"_s, u"終了(&E)"_s);

    QMenu *edit = bar->addMenu(u"編集(&H)"_s);
    edit->setObjectName(u"mm_編集"_s);
    // First, as in every editor; the captions follow the history.
    menuAction(edit, u"mm_元に戻す"_s, u"元に戻す(&U)"_s)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    menuAction(edit, u"mm_やり直し"_s, u"やり直し(&R)"_s)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    menuSeparator(edit, u"mm_haiUndo"_s);
    const QString editCaptions[] = {u"修正(&A)"_s, u"追加(&B)"_s, u"削除(&C)"_s};
    for (int i = 0; i < 3; ++i)
        menuAction(edit, u"mm_修正(%1)"_s.arg(i), editCaptions[i]);
    menuSeparator(edit, u"mm_hai2"_s);
    const QString copyCaptions[] = {u"切り取り(&X)"_s, u"コピー(&C)"_s, u"貼り付け(&V)"_s};
    const QKeyCombination copyKeys[] = {Qt::CTRL | Qt::Key_X, Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_V};
    for (int i = 0; i < 3; ++i)
        menuAction(edit, u"mm_Copy(%1)"_s.arg(i), copyCaptions[i])->setShortcut(QKeySequence(copyKeys[i]));
    menuSeparator(edit, u"mm_hai5"_s);
    menuAction(edit, u"mm_検索"_s, u"検索処理(&K)..."_s);
    menuSeparator(edit, u"mm_hai3"_s);
    menuAction(edit, u"mm_Mail"_s, u"メールを送る(&M)"_s);

    QMenu *tools = bar->addMenu(u"ツール(&T)"_s);
    tools->setObjectName(u"mm_形式"_s);
    // One mode at a time: only the chosen one carries a mark.
    auto *viewGroup = new QActionGroup(this);
    viewGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (int i = 0; i < 4; ++i) {
        QAction *view = menuAction(tools, u"mm_Icon(%1)"_s.arg(i), QString());
        view->setCheckable(true);
        viewGroup->addAction(view);
        connect(view, &QAction::triggered, this, [this, i] { chooseViewFromMenu(i); });
        m_viewActions.append(view);
    }
    menuSeparator(tools, u"mm_hai7"_s);
    menuAction(tools, u"mm_個人情報"_s, u"個人情報登録(&K)..."_s);
    menuAction(tools, u"mm_環境設定"_s, u"環境設定(&S)..."_s);
    menuSeparator(tools, u"mm_haiSort"_s);
    menuAction(tools, u"mm_並べ替え"_s, u"並べ替え(&N)..."_s);
    menuAction(tools, u"mm_郵便番号チェック"_s, u"郵便番号のチェック(&Y)..."_s);
    // A command without its data says why in its tool tip.
    tools->setToolTipsVisible(true);

    QMenu *help = bar->addMenu(u"ヘルプ(&Q)"_s);
    help->setObjectName(u"mm_ヘルプ"_s);
    menuAction(help, u"mm_Ver"_s, u"バージョン情報(&B)..."_s);

    m_recent = std::make_unique<RecentFilesMenu>(file, recentSeparator, recent0, m_settings, this);
    m_recent->setOpenHandler([this](int i) { m_files->OpenRecentFile(m_recent->entryPath(i)); });

    connect(fileNew, &QAction::triggered, this, [this] { m_files->FileNew(); });
    connect(fileOpen, &QAction::triggered, this, [this] { m_files->FileOpen(); });
    connect(fileSave, &QAction::triggered, this, [this] { m_files->FileSave(); });
    connect(fileSaveAs, &QAction::triggered, this, [this] { m_files->FileSaveAs(); });
    connect(quit, &QAction::triggered, this, &QWidget::close);
    const std::function<void(FileCommands &)> fileCommands[] = {
        &FileCommands::FileNew, &FileCommands::FileOpen, &FileCommands::FileSave, &FileCommands::FileSaveAs};
    for (int i = 0; i < 4; ++i) {
        auto *button = findChild<QToolButton *>(u"cmd_File(%1)"_s.arg(i));
        connect(button, &QToolButton::clicked, this, [this, run = fileCommands[i]] { run(*m_files); });
    }
}

void MainWindow::buildList()
{
    m_model = new AddressListModel(m_document, this);
    m_list = new AddressListView(this);
    m_list->setListModel(m_model);
    setCentralWidget(m_list);

    connect(m_list, &AddressListView::itemClicked, this, [this](int row) { m_document.ItemClick(row + 1); });
}

void MainWindow::sizeToScreen(const MainWindowOptions &options)
{
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (options.screenWidthTwips)
        m_state.ScreenWidth = *options.screenWidthTwips;
    else if (s)
        m_state.ScreenWidth = PixelsToTwips(s->geometry().width());
    // The window's sizes are outer sizes, frame and caption bar included.
    const QSize client = m_state.ScreenWidth == kNarrowScreenTwips ? TwipsClientSize(12000, 9000)
                                                                   : TwipsClientSize(15360, 11520);
    // Never taller or wider than the desktop leaves room for: the status bar
    // must not fall off the bottom of the screen.
    QSize room = options.availableSize.value_or(s ? s->availableGeometry().size()
                                                   : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    room -= QSize(TwipsToPixels(DialogFrameWidthTwips), TwipsToPixels(DialogFrameHeightTwips));
    resize(client.boundedTo(room));
}

void MainWindow::Load(const MainWindowOptions &options)
{
    // 1. The screen decides the window size and the column widths.
    sizeToScreen(options);
    // 2-3.
    LayoutMain();
    setWindowTitle(kTitle);
    // 4-6. Columns and report view; the list is empty.
    m_list->SetupColumns(m_state.ScreenWidth);
    m_list->setViewMode(AddressListView::Report);
    m_document.SetMarkedIndex(1);
    // 7. View names, the report view chosen.
    {
        const QSignalBlocker block(m_viewCombo);
        m_viewCombo->clear();
        m_viewCombo->addItems(kViewNames);
        m_viewCombo->setCurrentIndex(AddressListView::Report);
    }
    for (int i = 0; i < 4; ++i)
        m_viewActions[i]->setText(kViewNames[i]);
    m_viewActions[AddressListView::Report]->setChecked(true);
    // 8. Function-key labels.
    for (int i = 0; i < 11; ++i) {
        if (auto *key = findChild<QLabel *>(u"lbl_F1(%1)"_s.arg(i))) {
            fillBackground(key, QColor(200, 208, 244));
            QPalette p = key->palette();
            p.setColor(QPalette::WindowText, Qt::black);
            key->setPalette(p);
        }
    }
    // 9.
    TintInputControls(this);
    // 10. A new, empty, unchanged book; the count label and the commands follow it.
    m_document.ReleaseWorkRecord();
    m_document.SetChanged(false);
    m_document.ReplaceBook(nullptr, 0);
    // 11-12.
    setStatusText(kUntitledAtStart);
    m_state.SearchHistory.clear();
    // 13. Nothing of ours is on the clipboard yet, so there is nothing to paste.
    QGuiApplication::clipboard()->clear();
    setEnabledByName(u"mm_Copy(2)"_s, false);
    // 14. The progress bar lies over panel 1 and is hidden until a load or save.
    progressBar()->hide();
    // 15.
    m_document.SetSkipUnmark(false);
    m_state.FontCacheValid = false;
    // 16-17. Settings and the recent-files menu.
    M_RegS::LoadSettings(m_store, m_settings, [this] { ApplyListSettings(); });
    m_recent->EnsureEntries(m_settings.RecentMax);
    m_store.sync();
    m_recent->BuildRecentMenu();
    // Without postal data the check cannot run; its tool tip names the package.
    if (QAction *check = findChild<QAction *>(u"mm_郵便番号チェック"_s)) {
        const bool available = postalCodes().isAvailable();
        check->setEnabled(available);
        check->setToolTip(available ? u"住所録の全員の郵便番号を住所1と照らし合わせます。"_s : PostalUnavailableText());
    }
    // 18.
    m_files->OpenCommandLineFile(options.commandLine);
    // 19.
    update();
}

void MainWindow::ApplyListSettings()
{
    const SettingsRecord &s = m_settings;
    m_list->setListColours(ColourFromSetting(s.ListColor[0], SettingsDefaults::ListColor[0]),
                           ColourFromSetting(s.ListColor[1], SettingsDefaults::ListColor[1]));
    m_list->setListFont(DesignFont(s.ListFontName, 9.75));
}

void MainWindow::LayoutMain()
{
    // The main-window layout places the list between tool bar and status bar;
    // the status bar gives panel 1 the width the other panels leave.
    if (m_status)
        m_status->updateGeometry();
}

void MainWindow::setEnabledByName(const QString &name, bool enabled)
{
    if (auto *action = findChild<QAction *>(name))
        action->setEnabled(enabled);
    else if (auto *widget = findChild<QWidget *>(name))
        widget->setEnabled(enabled);
}

bool MainWindow::isEnabledByName(const QString &name) const
{
    if (auto *action = findChild<QAction *>(name))
        return action->isEnabled();
    auto *widget = findChild<QWidget *>(name);
    return widget && widget->isEnabled();
}

void MainWindow::findCommandControls()
{
    // Found once: every change of the book's size switches them.
    static const QStringList records = {
        u"cmd_修正(0)"_s, u"cmd_修正(2)"_s, u"mm_修正(0)"_s, u"mm_修正(2)"_s,
        u"cmd_File(3)"_s, u"mm_名前保存"_s,
        u"cmd_Mail"_s, u"mm_Mail"_s, u"cmd_検索"_s, u"mm_検索"_s,
        u"mm_Copy(0)"_s, u"mm_Copy(1)"_s, u"mm_印刷"_s, u"cmd_印刷"_s, u"mm_並べ替え"_s, u"mm_エクスポート"_s};
    static const QStringList saves = {u"mm_保存"_s, u"cmd_File(2)"_s};
    const auto find = [this](const QStringList &names) {
        QList<QObject *> controls;
        for (const QString &name : names) {
            if (auto *action = findChild<QAction *>(name))
                controls.append(action);
            else if (auto *widget = findChild<QWidget *>(name))
                controls.append(widget);
        }
        return controls;
    };
    m_recordControls = find(records);
    m_saveControls = find(saves);
}

void MainWindow::setControlsEnabled(const QList<QObject *> &controls, bool enabled)
{
    for (QObject *control : controls) {
        if (auto *action = qobject_cast<QAction *>(control))
            action->setEnabled(enabled);
        else
            static_cast<QWidget *>(control)->setEnabled(enabled);
    }
}

void MainWindow::UpdateCommandState(int count)
{
    setControlsEnabled(m_recordControls, count > 0);
    SetChanged(m_document.BookChanged());
}

void MainWindow::SetChanged(bool changed)
{
    // Nothing to save in an empty book, changed or not.
    setControlsEnabled(m_saveControls, changed && m_document.Count() > 0);
}

void MainWindow::setStatusText(const QString &text) { m_status->setPanelText(text); }
QString MainWindow::statusText() const { return m_status->panelText(); }
QProgressBar *MainWindow::progressBar() const { return m_status->progress(); }

void MainWindow::showRecordCount(int count) { m_countLabel->setText(QString::number(count) + u"件"_s); }

QString MainWindow::countText() const { return m_countLabel->text(); }

void MainWindow::setBusy(bool busy) { setEnabled(!busy); }

void MainWindow::repaintNow() { repaint(); }

void MainWindow::showProgress(int maximum)
{
    QProgressBar *bar = progressBar();
    bar->setRange(0, maximum);
    bar->setValue(0);
    bar->show();
}

void MainWindow::setProgress(int value) { progressBar()->setValue(value); }

void MainWindow::hideProgress() { progressBar()->hide(); }

void MainWindow::selectRow(int row) { m_list->setCurrentRow(row); }

void MainWindow::AddRecentFile(const QString &path) { m_recent->AddRecentFile(path); }

bool MainWindow::commitListEdit()
{
    return m_list->commitEdit();
}

void MainWindow::focusList()
{
    // A rename in progress keeps the focus; taking it would end the rename.
    if (QWidget *editor = m_list->openEditor()) {
        editor->setFocus();
        return;
    }
    if (m_list->isEnabled() && m_list->isVisible())
        m_list->setFocus();
}

void MainWindow::chooseViewFromCombo(int index)
{
    if (index < 0 || index > 3)
        return;
    // A rename the file cannot carry stays open in the view it was begun in.
    if (!commitListEdit()) {
        const int mode = m_list->viewMode();
        m_viewCombo->setCurrentIndex(mode);
        m_viewActions[mode]->setChecked(true);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_list->setViewMode(index);
    m_viewActions[index]->setChecked(true);
    focusList();
    QApplication::restoreOverrideCursor();
}

void MainWindow::chooseViewFromMenu(int index)
{
    m_viewCombo->setCurrentIndex(index);
    chooseViewFromCombo(index);   // as if chosen in the combo
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    if (m_files->ConfirmExit()) {
        event->ignore();
        return;
    }
    m_closed = true;
    event->accept();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    LayoutMain();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        focusList();
}

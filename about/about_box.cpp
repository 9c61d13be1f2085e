#include "about/about_box.h"

#include "entry/picture_button.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/artwork.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "mainwindow/twips.h"
#include "mainwindow/url_opener.h"
#include "mainwindow/wait_cursor.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

// The pictures are compiled into the window library; a static library needs
// its resources registered by hand.
static void initAboutResources() { Q_INIT_RESOURCE(about); }

namespace {

const TwipsPlace kReadMeButton = {u"cmd_ReadMe", 375, 1050, 2600, 510};
const TwipsPlace kMailTitle = {u"lbl_MailTitol", 675, 1725, 1590, 315};
const TwipsPlace kMailLabel = {u"lbl_Mail", 2325, 1650, 4365, 390};
const TwipsPlace kCloseButton = {u"cmd_閉じる", 375, 6450, 1730, 510};

constexpr int kWidth = 7215;   // twips, frame included
constexpr int kHeight = 7635;
const QSize kBackgroundSize(475, 484);

constexpr int kReadMe = 0, kClose = 1;
// Often enough that a forgotten highlight goes out about as the pointer leaves.
constexpr int kTimerInterval = 200;   // ms

const QString kReadMeName = u"ReadMe.txt"_s;

QStringList g_readMeFolders;

} // namespace

const QString AboutBox::ContactAddress = u"yuzaribo@example.jp"_s;

AboutPictures::AboutPictures(QObject *parent)
    : QObject(parent),
      imgH{u":/about/readme.svg"_s, u":/about/close.svg"_s},
      img{u":/about/readme_hover.svg"_s, u":/about/close_hover.svg"_s}
{
    setObjectName(u"F_VerPIc"_s);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(u"Timer1"_s);
    Timer1->setInterval(kTimerInterval);
}

AboutBox *AboutBox::Open(MainWindow &main)
{
    auto *box = new AboutBox(&main);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
    box->activateWindow();
    return box;
}

AboutBox::AboutBox(QWidget *parent) : QDialog(parent)
{
    InitArtwork();
    static const bool registered = (initAboutResources(), true);
    Q_UNUSED(registered);
    setObjectName(u"F_Ver"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"バージョン情報"_s);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DesignFont(DialogFace, 11.25));
    // Moves over the window outside the buttons put them back to normal.
    setMouseTracking(true);

    m_background = ArtPixmap(u":/about/background.svg"_s, kBackgroundSize);

    // A child: closed in any way, the box takes its pictures and timer with it.
    m_pictures = new AboutPictures(this);
    connect(m_pictures->Timer1, &QTimer::timeout, this, &AboutBox::Timer1Tick);

    const TwipsPlace *places[2] = {&kReadMeButton, &kCloseButton};
    const QString captions[2] = {u"ReadMe.txtを開く"_s, u"閉じる"_s};
    for (int i = 0; i < 2; ++i) {
        auto *button = new PictureButton(this);
        button->setObjectName(QString::fromUtf16(places[i]->name));
        button->setGeometry(places[i]->rect());
        button->setPictures(m_pictures->imgH[i], m_pictures->img[i]);
        button->setCaption(captions[i]);
        button->setCursor(Qt::PointingHandCursor);
        button->installEventFilter(this);
        m_buttons[i] = button;
    }
    connect(m_buttons[kReadMe], &QPushButton::clicked, this, &AboutBox::OpenReadMe);
    connect(m_buttons[kClose], &QPushButton::clicked, this, [this] {
        m_buttons[kClose]->showNormal();
        close();
    });
    setTabOrder(m_buttons[kReadMe], m_buttons[kClose]);

    auto *mailTitle = new QLabel(u"お問合せ メール"_s, this);
    mailTitle->setObjectName(QString::fromUtf16(kMailTitle.name));
    mailTitle->setGeometry(kMailTitle.rect());

    m_mail = new QLabel(ContactAddress, this);
    m_mail->setObjectName(QString::fromUtf16(kMailLabel.name));
    m_mail->setGeometry(kMailLabel.rect());
    m_mail->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    m_mail->setIndent(4);
    QPalette p = m_mail->palette();
    p.setColor(QPalette::Window, QColor(192, 192, 192));
    p.setColor(QPalette::WindowText, QColor(0, 0, 255));
    m_mail->setPalette(p);
    m_mail->setAutoFillBackground(true);
    m_mail->setCursor(Qt::PointingHandCursor);
    m_mail->setToolTip(u"メールソフトでお問合せのメールを書きます。"_s);
    m_mail->installEventFilter(this);

    setFixedSize(TwipsClientSize(kWidth, kHeight));
    QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
    m_buttons[kClose]->setFocus();
    ShowFocusFromTheStart(m_buttons[kClose]);
}

QStringList AboutBox::ReadMeFolders()
{
    if (!g_readMeFolders.isEmpty())
        return g_readMeFolders;
    const QString programDir = QCoreApplication::applicationDirPath();
    return {programDir, QDir::cleanPath(programDir + u"/../share/yuzaribo"_s)};
}

void AboutBox::SetReadMeFolders(const QStringList &folders) { g_readMeFolders = folders; }

void AboutBox::OpenReadMe()
{
    // The viewer comes up over the box, and the button would never hear the pointer leave.
    m_buttons[kReadMe]->showNormal();

    QString path;
    for (const QString &folder : ReadMeFolders()) {
        const QFileInfo candidate(QDir(folder).filePath(kReadMeName));
        if (candidate.isFile()) {
            path = candidate.absoluteFilePath();
            break;
        }
    }
    if (path.isEmpty()) {
        MessageBoxes::Show(this, u"「ReadMe.txt」ファイルは、見つかりませんでした。"_s, MsgIcon::Critical);
        return;
    }
    if (!UrlOpener::Open(QUrl::fromLocalFile(path))) {
        MessageBoxes::ReportError(this, u"「ReadMe.txt」ファイルを開けませんでした。\n%1\n"_s.arg(QDir::toNativeSeparators(path))
                                            + u"テキストファイルを開くプログラムが設定されているか確認してください。"_s);
    }
}

void AboutBox::OpenMail()
{
    bool opened = false;
    {
        WaitCursor busy;
        opened = UrlOpener::Open(QUrl(u"mailto:"_s + ContactAddress));
    }
    if (!opened) {
        MessageBoxes::ReportError(this, u"メールソフトを起動できませんでした。宛先「%1」"_s.arg(ContactAddress)
                                            + u"\nメールソフトが設定されているか確認してください。"_s);
    }
}

bool AboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_mail) {
        // A click is a press and a release over the address with the left button.
        if (event->type() == QEvent::MouseButtonRelease) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton && m_mail->rect().contains(mouse->position().toPoint())) {
                OpenMail();
                return true;
            }
        }
        return QDialog::eventFilter(watched, event);
    }
    for (int i = 0; i < 2; ++i) {
        if (watched != m_buttons[i])
            continue;
        // The button swaps its own picture on entering; here the box notes
        // that the pointer was there, for the timer to check on later.
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
            m_pointerSeen[i] = true;
            if (m_pictures)
                m_pictures->Timer1->start();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AboutBox::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    for (PictureButton *button : m_buttons) {
        if (!button->geometry().contains(pos))
            button->showNormal();
    }
    QDialog::mouseMoveEvent(event);
}

void AboutBox::Timer1Tick()
{
    // The widget under the pointer stands for the window under it: a button
    // the pointer has gone from, whatever lies there now, goes back to normal.
    QWidget *under = QApplication::widgetAt(QCursor::pos());
    bool restored = false;
    for (int i = 0; i < 2; ++i) {
        if (m_pointerSeen[i] && under != m_buttons[i]) {
            m_buttons[i]->showNormal();
            m_pointerSeen[i] = false;
            restored = true;
        }
    }
    if (restored)
        m_pictures->Timer1->stop();
}

void AboutBox::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    // Drawn at its own size from the top-left corner, as the artwork was laid out.
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
}

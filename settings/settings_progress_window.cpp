#include "settings/settings_progress_window.h"

#include "entry/picture_button.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/progress_parts.h"
#include "mainwindow/twips.h"
#include "model/app_state.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

using namespace Qt::Literals::StringLiterals;

static void initSettingsResources() { Q_INIT_RESOURCE(settings); }

void InitSettingsArtwork()
{
    static bool done = false;
    if (!done) {
        initSettingsResources();
        done = true;
    }
}

namespace {

// The window's outer size, frame and caption bar included.
constexpr int kWidth = 7290;    // twips
constexpr int kHeight = 2625;

const TwipsPlace kLayout[] = {
    {u"lbl_Per(0)", 0, 1035, 720, 255},
    {u"PrgBar1", 750, 975, 5415, 375},
    {u"lbl_Per(1)", 6195, 1035, 915, 255},
    {u"cmd_キャンセル", 2400, 1575, 1965, 450},
};

} // namespace

SettingsProgressWindow::SettingsProgressWindow(AppState &state, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_state(state)
{
    InitSettingsArtwork();
    setObjectName(u"F_KankyoKD"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"起動中です..."_s);
    setFont(DesignFont(DialogFace, 9));
    setFixedSize(TwipsClientSize(kWidth, kHeight));

    m_bar = MakePercentBar(this, u"PrgBar1"_s);

    m_cancel = new PictureButton(this);
    m_cancel->setObjectName(u"cmd_キャンセル"_s);
    m_cancel->setPictures(u":/settings/cancel.svg"_s, u":/settings/cancel_hover.svg"_s);
    m_cancel->setCaption(u"キャンセル"_s);
    connect(m_cancel, &QPushButton::clicked, this, &SettingsProgressWindow::Cancel);

    for (const TwipsPlace &p : kLayout) {
        if (auto *w = findChild<QWidget *>(QString::fromUtf16(p.name), Qt::FindDirectChildrenOnly))
            w->setGeometry(p.rect());
    }

    const QScreen *screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void SettingsProgressWindow::Cancel() { m_state.KankyoCancel = true; }

void SettingsProgressWindow::closeEvent(QCloseEvent *event)
{
    // No close box: a close from the window system would hide the only way
    // to stop the preparation while it goes on.
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void SettingsProgressWindow::keyPressEvent(QKeyEvent *event)
{
    // Esc would only hide the window; the button is the way to stop.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

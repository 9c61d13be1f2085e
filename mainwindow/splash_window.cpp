#include "mainwindow/splash_window.h"

#include "mainwindow/artwork.h"
#include "mainwindow/twips.h"

#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

SplashWindow::SplashWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
{
    setObjectName(u"F_SpWindow"_s);
    setWindowTitle(u"起動中です..."_s);
    setFixedSize(TwipsToPixels(4500), TwipsToPixels(4500));

    auto *picture = new QLabel(this);
    picture->setObjectName(u"pic_Splash"_s);
    picture->setPixmap(ArtPixmap(u":/splash.svg"_s, QSize(300, 300)));
    picture->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture);

    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

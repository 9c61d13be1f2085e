#include "entry/picture_dialog.h"

#include "entry/picture_button.h"
#include "mainwindow/artwork.h"
#include "mainwindow/twips.h"

#include <QPainter>

PictureDialog::PictureDialog(QWidget *parent, Qt::WindowFlags flags, const QString &background)
    : QDialog(parent, flags), m_backgroundArt(background)
{
    // Moves over the background reach the dialog only when it tracks the mouse.
    setMouseTracking(true);
}

void PictureDialog::placeControls(std::span<const TwipsPlace> layout)
{
    for (const TwipsPlace &p : layout) {
        if (auto *w = findChild<QWidget *>(QString::fromUtf16(p.name), Qt::FindDirectChildrenOnly))
            w->setGeometry(p.rect());
    }
}

PictureButton *PictureDialog::addPictureButton(const QString &name, const QString &picture, const QString &caption,
                                               bool isDefault)
{
    auto *button = new PictureButton(this);
    button->setObjectName(name);
    button->setPictures(picture + QStringLiteral(".svg"), picture + QStringLiteral("_hover.svg"));
    button->setCaption(caption);
    if (isDefault) {
        button->setAutoDefault(true);
        button->setDefault(true);
    }
    return button;
}

void PictureDialog::paintEvent(QPaintEvent *event)
{
    if (m_background.size() != size() * devicePixelRatio())
        m_background = ArtPixmap(m_backgroundArt, size());
    QPainter painter(this);
    painter.drawPixmap(rect(), m_background);
    QDialog::paintEvent(event);
}

void PictureDialog::mouseMoveEvent(QMouseEvent *event)
{
    for (PictureButton *button : findChildren<PictureButton *>(QString(), Qt::FindDirectChildrenOnly))
        button->showNormal();
    QDialog::mouseMoveEvent(event);
}

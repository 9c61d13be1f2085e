#include "entry/picture_dialog.h"

#include "entry/picture_button.h"
#include "mainwindow/artwork.h"

#include <QPainter>

PictureDialog::PictureDialog(QWidget *parent, Qt::WindowFlags flags, const QString &background)
    : QDialog(parent, flags), m_backgroundArt(background)
{
    // Moves over the background reach the dialog only when it tracks the mouse.
    setMouseTracking(true);
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

#include "entry/picture_button.h"

#include "mainwindow/artwork.h"

#include <QEnterEvent>

PictureButton::PictureButton(QWidget *parent) : QPushButton(parent)
{
    setFlat(true);
    // Enter presses the button that has the focus, as Space does.
    setAutoDefault(true);
}

void PictureButton::setPictures(const QString &normal, const QString &hover)
{
    m_normal = normal;
    m_hoverPicture = hover;
    refresh();
}

void PictureButton::setCaption(const QString &caption)
{
    setToolTip(caption);
    setAccessibleName(caption);
}

void PictureButton::showNormal()
{
    m_hover = false;
    refresh();
}

void PictureButton::enterEvent(QEnterEvent *event)
{
    QPushButton::enterEvent(event);
    m_hover = true;
    refresh();
}

void PictureButton::leaveEvent(QEvent *event)
{
    QPushButton::leaveEvent(event);
    showNormal();
}

void PictureButton::resizeEvent(QResizeEvent *event)
{
    QPushButton::resizeEvent(event);
    refresh();
}

void PictureButton::refresh()
{
    const QString &resource = m_hover && !m_hoverPicture.isEmpty() ? m_hoverPicture : m_normal;
    if (resource.isEmpty() || size().isEmpty())
        return;
    // The picture fills the button; a thin margin keeps the focus frame visible.
    const QSize picture = size() - QSize(4, 4);
    setIconSize(picture);
    setIcon(QIcon(ArtPixmap(resource, picture)));
}

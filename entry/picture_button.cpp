#include "entry/picture_button.h"

#include "mainwindow/artwork.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

PictureButton::PictureButton(QWidget *parent) : QPushButton(parent)
{
    setFlat(true);
    // Not a default-button candidate: a dialog would then press it on Enter
    // from controls where Enter means nothing (a check box). Enter on the
    // button itself is handled in keyPressEvent.
    setAutoDefault(false);
}

void PictureButton::setPictures(const QString &normal, const QString &hover)
{
    m_normal = normal;
    m_hoverPicture = hover;
    m_drawnSize = QSize();
    refresh();
}

void PictureButton::setCaption(const QString &caption)
{
    m_caption = caption;
    setToolTip(caption);
    setAccessibleName(caption);
}

void PictureButton::setActive(bool active)
{
    setEnabled(active);
    m_inactive = !active;
    setFlat(active);
    setText(active ? QString() : m_caption);
    refresh();
}

void PictureButton::showNormal()
{
    m_hover = false;
    refresh();
}

void PictureButton::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the button that has the focus, as Space does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
        event->accept();
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
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
    if (m_inactive) {
        setIcon(QIcon());
        return;
    }
    if (m_normal.isEmpty() || size().isEmpty())
        return;
    // The picture fills the button; a thin margin keeps the focus frame visible.
    // Both pictures are drawn once per size, so the mouse only swaps them.
    const QSize picture = size() - QSize(4, 4);
    if (picture != m_drawnSize) {
        m_drawnSize = picture;
        m_normalIcon = QIcon(ArtPixmap(m_normal, picture));
        m_hoverIcon = m_hoverPicture.isEmpty() ? m_normalIcon : QIcon(ArtPixmap(m_hoverPicture, picture));
        setIconSize(picture);
    }
    setIcon(m_hover ? m_hoverIcon : m_normalIcon);
}

void PictureButton::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    // A flat button shows no focus of its own; Enter and Space must be seen to go somewhere.
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(1, 1, -1, -1);
    focus.backgroundColor = palette().color(QPalette::Button);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

namespace {

// Marks the window as driven by the keyboard when the button first gets the
// focus on the window's activation, then lets go.
class FirstFocusShown : public QObject {
public:
    explicit FirstFocusShown(PictureButton *button) : QObject(button) { button->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            auto *button = static_cast<QWidget *>(watched);
            button->window()->setAttribute(Qt::WA_KeyboardFocusChange);
            button->update();
            deleteLater();
        }
        return false;
    }
};

} // namespace

void ShowFocusFromTheStart(PictureButton *button)
{
    if (button->hasFocus()) {
        button->window()->setAttribute(Qt::WA_KeyboardFocusChange);
        return;
    }
    new FirstFocusShown(button);
}

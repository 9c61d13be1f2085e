#pragma once

#include <QIcon>
#include <QPushButton>

// A button that is all picture: one picture normally and another while the
// mouse is over it. The caption goes to the tool tip and the accessible name
// only, so screen readers still say what the button does.
class PictureButton : public QPushButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget *parent = nullptr);

    // Resources of the two pictures, drawn at the button's size.
    void setPictures(const QString &normal, const QString &hover);
    void setCaption(const QString &caption);

    // A button that can be disabled shows its pictures while enabled and
    // only its caption, on a plain button face, while disabled.
    void setActive(bool active);

    bool showsHover() const { return m_hover; }
    // Back to the normal picture, as when the mouse leaves.
    void showNormal();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();

    QString m_normal, m_hoverPicture;
    QString m_caption;
    bool m_inactive = false;
    QSize m_drawnSize;
    QIcon m_normalIcon, m_hoverIcon;
    bool m_hover = false;
};

// The button a dialog opens with the focus on shows its focus frame from
// the start, as after a Tab: Enter or Space must not press a button unseen.
// (The style draws the frame only after keyboard input otherwise.)
void ShowFocusFromTheStart(PictureButton *button);

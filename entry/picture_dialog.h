#pragma once

#include <QDialog>
#include <QPixmap>

// A dialog drawn on its own artwork, stretched to the window, whose picture
// buttons go back to their normal pictures when the mouse crosses the
// background.
class PictureDialog : public QDialog {
    Q_OBJECT
public:
    PictureDialog(QWidget *parent, Qt::WindowFlags flags, const QString &background);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QString m_backgroundArt;
    QPixmap m_background;
};

#pragma once

#include <QDialog>
#include <QPixmap>
#include <span>

class PictureButton;
struct TwipsPlace;

// A dialog drawn on its own artwork, stretched to the window, whose picture
// buttons go back to their normal pictures when the mouse crosses the
// background.
class PictureDialog : public QDialog {
    Q_OBJECT
public:
    PictureDialog(QWidget *parent, Qt::WindowFlags flags, const QString &background);

protected:
    // Puts each direct child named in layout at its place.
    void placeControls(std::span<const TwipsPlace> layout);
    // A picture button named name showing picture (a resource without
    // ".svg", with a "_hover" twin) and captioned caption; the default
    // button of the dialog when isDefault.
    PictureButton *addPictureButton(const QString &name, const QString &picture, const QString &caption,
                                    bool isDefault = false);

    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QString m_backgroundArt;
    QPixmap m_background;
};

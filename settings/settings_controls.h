#pragma once

#include "mainwindow/twips.h"

#include <QString>

class PictureButton;
class QLabel;
class QWidget;

// The controls the settings dialog's pages are made of, each placed by its
// row of a layout table.
namespace SettingsControls {

// The pictures of a button: normal and mouse-over.
struct Pictures {
    QString normal, hover;
};
extern const Pictures ClosePictures, ApplyPictures, ClearPictures, DefaultsPictures, PositionPictures;
extern const Pictures ColourPictures[2];

QLabel *makeLabel(QWidget *page, const TwipsPlace &p, const QString &text);
// A label that shows a number on white, as the spinners' buddies do.
QLabel *makeNumberLabel(QWidget *page, const TwipsPlace &p);
PictureButton *makeButton(QWidget *parent, const TwipsPlace &p, const Pictures &pictures, const QString &caption);

} // namespace SettingsControls

#include "settings/settings_controls.h"

#include "entry/picture_button.h"

#include <QLabel>

using namespace Qt::Literals::StringLiterals;

namespace SettingsControls {

const Pictures ClosePictures = {u":/settings/close.svg"_s, u":/settings/close_hover.svg"_s};
const Pictures ApplyPictures = {u":/settings/apply.svg"_s, u":/settings/apply_hover.svg"_s};
const Pictures ClearPictures = {u":/settings/clear.svg"_s, u":/settings/clear_hover.svg"_s};
const Pictures DefaultsPictures = {u":/settings/defaults.svg"_s, u":/settings/defaults_hover.svg"_s};
const Pictures PositionPictures = {u":/settings/position.svg"_s, u":/settings/position_hover.svg"_s};
const Pictures ColourPictures[2] = {
    {u":/settings/colour_back.svg"_s, u":/settings/colour_back_hover.svg"_s},
    {u":/settings/colour_text.svg"_s, u":/settings/colour_text_hover.svg"_s},
};

QLabel *makeLabel(QWidget *page, const TwipsPlace &p, const QString &text)
{
    auto *label = new QLabel(text, page);
    label->setObjectName(QString::fromUtf16(p.name));
    label->setGeometry(p.rect());
    return label;
}

QLabel *makeNumberLabel(QWidget *page, const TwipsPlace &p)
{
    QLabel *label = makeLabel(page, p, QString());
    label->setFrameShape(QFrame::Box);
    label->setFrameShadow(QFrame::Plain);
    label->setAlignment(Qt::AlignCenter);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(pal);
    label->setAutoFillBackground(true);
    return label;
}

PictureButton *makeButton(QWidget *parent, const TwipsPlace &p, const Pictures &pictures, const QString &caption)
{
    auto *button = new PictureButton(parent);
    button->setObjectName(QString::fromUtf16(p.name));
    button->setGeometry(p.rect());
    button->setPictures(pictures.normal, pictures.hover);
    button->setCaption(caption);
    return button;
}

} // namespace SettingsControls

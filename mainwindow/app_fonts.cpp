#include "mainwindow/app_fonts.h"

#include <QFont>

QFont DesignFont(const QString &family, qreal points, bool bold)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

#pragma once

#include <QFont>
#include <QString>

#include "print/font_substitutes.h"

// The face the windows are drawn in.
inline const QString DialogFace = QStringLiteral("ＭＳ Ｐゴシック");

// A window font by its design name and point size.
QFont DesignFont(const QString &family, qreal points, bool bold = false);

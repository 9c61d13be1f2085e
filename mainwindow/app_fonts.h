#pragma once

#include <QFont>
#include <QString>

// The window and printout fonts are named by their Windows faces; map them
// to the installed Japanese faces so text never falls back to empty boxes.
void InstallFontSubstitutes();

// The face the windows are drawn in.
inline const QString DialogFace = QStringLiteral("ＭＳ Ｐゴシック");

// A window font by its design name and point size.
QFont DesignFont(const QString &family, qreal points, bool bold = false);

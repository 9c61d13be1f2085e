#pragma once

#include <QColor>
#include <QString>

// A colour as the settings store keeps it: the number 0x00BBGGRR, written in
// decimal or as "&H" followed by hexadecimal digits.

// The colour that text names; the one fallbackText names when text is no
// colour number.
QColor ColourFromSetting(const QString &text, const QString &fallbackText);

// The decimal text the store keeps for a colour.
QString ColourSettingText(const QColor &colour);

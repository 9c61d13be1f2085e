#include "settings/colour_setting.h"

#include "settings/settings_sections.h"

namespace {

QColor colourOfNumber(quint32 n) { return QColor(int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF)); }

} // namespace

QColor ColourFromSetting(const QString &text, const QString &fallbackText)
{
    if (const std::optional<quint32> n = ParseColourNumber(text))
        return colourOfNumber(*n);
    return colourOfNumber(ParseColourNumber(fallbackText).value_or(0));
}

QString ColourSettingText(const QColor &colour)
{
    return QString::number(quint32(colour.red()) | (quint32(colour.green()) << 8) | (quint32(colour.blue()) << 16));
}

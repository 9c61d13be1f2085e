#pragma once

#include <QString>
#include <array>

// The settings of a first run; the settings dialog's defaults buttons bring
// them back.
namespace SettingsDefaults {

inline const QString Gothic = QStringLiteral("ＭＳ ゴシック");
inline const QString Mincho = QStringLiteral("ＭＳ 明朝");

// The list's background and text colour numbers as stored: white and black.
inline const std::array<QString, 2> ListColor = {QStringLiteral("&HFFFFFF"), QStringLiteral("&H0")};
inline const QString ListFontName = Gothic;
// By printout kind - 1: the lists in Gothic, the labels and postcards in Mincho.
inline const std::array<QString, 4> PrintFontName = {Gothic, Mincho, Gothic, Mincho};

} // namespace SettingsDefaults

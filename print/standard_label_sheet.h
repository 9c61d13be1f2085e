#pragma once

#include <QString>

// The label sheet the program was made for: 14 labels, 2 across and 7 down,
// each 5300 × 2100 twips, on A4 under a page header.
inline constexpr int StandardLabelCount = 14;
inline constexpr double StandardLabelWidthMm = 5300 * 25.4 / 1440;
inline constexpr double StandardLabelHeightMm = 2100 * 25.4 / 1440;

// How the print dialog names it.
inline QString StandardSheetCaption() { return QStringLiteral("2列×7行（標準）"); }
// What a search finds it by.
inline QString StandardSheetSearchText() { return QStringLiteral("標準 2列×7行 14面 A4"); }

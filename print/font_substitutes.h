#pragma once

#include <QStringList>

// The window and printout fonts are named by their Windows faces; map them
// to the installed Japanese faces so text never falls back to empty boxes.
void InstallFontSubstitutes();

// The Windows faces the settings may name, each drawn through its stand-ins.
QStringList SubstitutedFaceNames();

#pragma once

// The window and printout fonts are named by their Windows faces; map them
// to the installed Japanese faces so text never falls back to empty boxes.
void InstallFontSubstitutes();

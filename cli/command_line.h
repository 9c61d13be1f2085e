#pragma once

#include <optional>

// The program's options: `--print KIND [--sender] [--start N] [--outlines]
// (--pdf FILE | --printer NAME) BOOK.csv`, `--export FORMAT --out FILE
// BOOK.csv`, `--help`, `--version`. Only a first argument that starts
// with "--" is taken for one; otherwise the arguments name a book for the
// window, as they always have, and this returns nothing. Otherwise it runs
// the command without a window and returns the exit code: 0 done, 1 the
// book, the printer, the PDF or the export failed (said on standard error),
// 2 wrong usage.
std::optional<int> RunCommandLine(int argc, char **argv);

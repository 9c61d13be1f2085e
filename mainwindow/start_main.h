#pragma once

#include <QStringList>

// The program: splash, main window, event loop. Returns the exit code.
int StartMain(const QStringList &arguments);

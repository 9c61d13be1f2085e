#include "mainwindow/os_platform.h"

#include <QtGlobal>

int OsPlatform()
{
#if defined(Q_OS_WIN)
    return 2;   // every Windows Qt 6 runs on is of the NT family
#else
    return 0;
#endif
}

#include "mainwindow/heap_tuning.h"

#include <cstdlib>   // defines __GLIBC__ on the C library that has mallopt

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void TuneHeapForLargeBuffers()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}

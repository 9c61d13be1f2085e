#include "print/printouts.h"

#include "print/print_surface.h"

void RunKindPrintout(int, PrintSurface *, PrintJob &, int) {}

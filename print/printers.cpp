#include "print/printers.h"

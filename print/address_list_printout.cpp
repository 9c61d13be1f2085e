#include "print/printouts.h"

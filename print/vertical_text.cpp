#include "print/vertical_text.h"

#include "entry/text_match.h"

#include "entry/search_dialog.h"

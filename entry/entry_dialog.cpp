#include "entry/entry_dialog.h"

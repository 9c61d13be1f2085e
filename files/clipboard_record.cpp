#include "files/clipboard_record.h"

#include "settings/sender_dialog.h"

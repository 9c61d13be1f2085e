#include "settings/settings_progress_window.h"

#include "settings/settings_sections.h"

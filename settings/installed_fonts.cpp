#include "settings/installed_fonts.h"

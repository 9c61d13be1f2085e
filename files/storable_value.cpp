#include "files/storable_value.h"

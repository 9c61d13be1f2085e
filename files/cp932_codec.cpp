#include "files/cp932_codec.h"

#include "files/csv_reader.h"

#include "files/csv_writer.h"

#include "mainwindow/colour_picker.h"

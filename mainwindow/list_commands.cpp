#include "mainwindow/list_commands.h"

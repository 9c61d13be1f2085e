#include "settings/settings_dialog.h"

void SettingsDialog::Open(MainWindow &main)
{
    Q_UNUSED(main);
}

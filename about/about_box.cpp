#include "about/about_box.h"

AboutBox *AboutBox::Open(MainWindow &main)
{
    Q_UNUSED(main);
    return nullptr;
}

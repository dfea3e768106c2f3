#include "programicon.h"

#include <QString>

// The pictures are compiled into this static library, so they are registered
// by hand, once.
static int registerIconPictures()
{
    Q_INIT_RESOURCE(veldrix_icons);
    return 0;
}

QIcon programIcon()
{
    static const int registered = registerIconPictures();
    Q_UNUSED(registered);
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QString(":/icons/veldrix-%1.png").arg(size), QSize(size, size));
    return icon;
}

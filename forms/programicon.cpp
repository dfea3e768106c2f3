#include "programicon.h"

#include <QDir>

// The pictures are compiled into this static library, so they are registered
// by hand, once.
static int registerIconPictures()
{
    Q_INIT_RESOURCE(veldrix_icons);
    return 0;
}

// Every size the build rendered into the resource, named veldrix-<size>.png.
QIcon programIcon()
{
    static const int registered = registerIconPictures();
    Q_UNUSED(registered);
    QIcon icon;
    const QDir pictures(QStringLiteral(":/icons"));
    for (const QString &name : pictures.entryList({QStringLiteral("veldrix-*.png")})) {
        const int size = name.mid(8, name.size() - 12).toInt();
        icon.addFile(pictures.filePath(name), QSize(size, size));
    }
    return icon;
}

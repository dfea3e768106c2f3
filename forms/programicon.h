#ifndef VELDRIX_PROGRAMICON_H
#define VELDRIX_PROGRAMICON_H

#include <QIcon>

// The program's icon, in every size that the build renders. Pictures are
// read only when a size is first drawn, so asking for it costs little.
QIcon programIcon();

#endif

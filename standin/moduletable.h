#ifndef VELDRIX_MODULETABLE_H
#define VELDRIX_MODULETABLE_H

// What the stand-in knows of the protocol without a terminal: its own table
// of the 36 settings, its check character and its framing. Tests that run
// where there is no pseudo-terminal (the Windows build) use it alone.

#include <QByteArray>
#include <QStringList>

namespace standin
{

// The 36 settings in write order, each by the form's widget that shows it,
// and by its key in a settings profile.
const QStringList &widgets();
const QStringList &profileKeys();
QStringList factorySettings(); // write order
// The module's reply lists them in an order of its own.
QStringList inReadOrder(const QStringList &writeOrder);

char checkCharacter(const QByteArray &bytes); // 0x20 + byte sum mod 64
// `payload`, its check character and the two closing bytes.
QByteArray framed(const QByteArray &payload);

} // namespace standin

#endif

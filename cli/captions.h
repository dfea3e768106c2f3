#ifndef VELDRIX_CLI_CAPTIONS_H
#define VELDRIX_CLI_CAPTIONS_H

#include <QStringList>

// The window's French captions of the 36 settings, which a profile written
// by veldrix-cli names beside each value: the window is French, and that is
// where a technician looks for a setting.
namespace cli
{

// "group box › frame › field", in write order (records::settings).
QStringList frenchCaptions();

} // namespace cli

#endif

#ifndef VELDRIX_PORTS_H
#define VELDRIX_PORTS_H

#include <QStringList>

// The serial ports that discovery visits, in the order it visits them.
//
// The program asks the system (QSerialPortInfo::availablePorts) every time.
// Tests install a list of their own instead, typically the paths of
// pseudo-terminals; every entry is something QSerialPort::setPortName
// accepts, a port name such as "ttyUSB0" or a full path such as "/dev/pts/7".
namespace ports
{

// The port names discovery visits now.
QStringList listed();

// Makes discovery see exactly `names` (possibly none) until restored.
void install(const QStringList &names);

// Makes discovery ask the system again.
void restoreSystemList();

} // namespace ports

#endif

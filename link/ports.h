#ifndef VELDRIX_PORTS_H
#define VELDRIX_PORTS_H

#include <QElapsedTimer>
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

// listed(), for a caller that looks at the ports again and again. Asking the
// system for its ports is costly (some 17 ms of processor time on Linux, where
// every terminal device is looked at, the 64 consoles included), while a
// port comes or goes rarely: on Linux the system is asked again only when
// an entry was added to or removed from /dev since it last was, or at the
// latest `refreshMs` after; elsewhere every time. An installed list is given
// every time.
class Poll
{
public:
    explicit Poll(int refreshMs) : refreshMs(refreshMs) {}
    QStringList listed();

private:
    const int refreshMs;
    QStringList last;
    QByteArray lastStamp; // what /dev's modification time was when `last` was taken
    QElapsedTimer age;    // since `last` was taken
};

} // namespace ports

#endif

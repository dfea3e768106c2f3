#include "ports.h"

#include <QSerialPortInfo>

#include <optional>

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#endif

namespace
{

// Set while a list is installed in place of the system's.
std::optional<QStringList> installed;

// When /dev last changed, as bytes, or nothing where that tells nothing.
QByteArray devTime()
{
#ifdef Q_OS_LINUX
    struct stat dev {
    };
    if (::stat("/dev", &dev) == 0)
        return QByteArray::number(qint64(dev.st_mtim.tv_sec)) + '.' +
               QByteArray::number(qint64(dev.st_mtim.tv_nsec));
#endif
    return {};
}

} // namespace

namespace ports
{

QStringList listed()
{
    if (installed)
        return *installed;
    QStringList names;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos)
        names.append(info.portName());
    return names;
}

void install(const QStringList &names)
{
    installed = names;
}

void restoreSystemList()
{
    installed.reset();
}

QStringList Poll::listed()
{
    if (installed)
        return *installed;
    // The stamp is taken before the system is asked: a port that comes
    // meanwhile changes /dev after it, and is seen at the next look.
    const QByteArray stamp = devTime();
    if (stamp.isEmpty() || stamp != lastStamp || !age.isValid() || age.hasExpired(refreshMs)) {
        last = ports::listed();
        lastStamp = stamp;
        age.start();
    }
    return last;
}

} // namespace ports

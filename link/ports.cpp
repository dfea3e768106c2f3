#include "ports.h"

#include <QSerialPortInfo>

#include <optional>

namespace
{

// Set while a list is installed in place of the system's.
std::optional<QStringList> installed;

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

} // namespace ports

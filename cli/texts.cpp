#include "cli/texts.h"

namespace cli
{

void print(QIODevice &device, const QString &line)
{
    device.write(line.toUtf8() + '\n');
}

QString portReason(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("no such port, or it was unplugged");
    case QSerialPort::PermissionError:
        return QStringLiteral("permission denied, or another program uses the port");
    case QSerialPort::OpenError:
        return QStringLiteral("the port is already open");
    case QSerialPort::WriteError:
        return QStringLiteral("writing to the port failed");
    case QSerialPort::ReadError:
        return QStringLiteral("reading from the port failed");
    case QSerialPort::ResourceError:
        return QStringLiteral("the port went away; the module was probably unplugged");
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("the system does not allow this on the port");
    default:
        return QStringLiteral("the port could not be used (error %1)").arg(int(error));
    }
}

QString sendFailure(const exchange::Outcome &outcome)
{
    switch (outcome.sent) {
    case exchange::Sent::Refused:
        return portReason(outcome.error);
    case exchange::Sent::Incomplete:
        return QStringLiteral("the port took only part of the bytes");
    case exchange::Sent::NotDrained:
        return QStringLiteral("the bytes did not leave the port in time");
    case exchange::Sent::Done:
        break;
    }
    return {};
}

} // namespace cli

#include "cli/texts.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace cli
{
namespace
{

// What went wrong with a port that refused a command outright, in a few
// words, or the system's own (`reason`) where the error says little.
QString portReason(QSerialPort::SerialPortError error, const QString &reason)
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
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("the system does not allow this on the port");
    default:
        // A port that went away says so as well as a listed port that is only
        // a placeholder with nothing behind it: the system's words tell them
        // apart, where a guess would not.
        return QStringLiteral("the port could not be used: %1")
            .arg(reason.isEmpty() ? QStringLiteral("error %1").arg(int(error)) : reason);
    }
}

// Whether this user may read and write the port's device file; unknown
// (true) where the system does not say.
bool mayOpen(const QString &port)
{
#ifdef Q_OS_UNIX
    const QString path = port.startsWith(QLatin1Char('/')) ? port : QStringLiteral("/dev/") + port;
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
#else
    Q_UNUSED(port)
    return true;
#endif
}

} // namespace

void print(QIODevice &device, const QString &line)
{
    device.write(line.toUtf8() + '\n');
}

bool refusedForPermission(const QString &port, const exchange::Outcome &outcome)
{
    return outcome.sent == exchange::Sent::Refused &&
           outcome.error == QSerialPort::PermissionError && !mayOpen(port);
}

QString permissionAdvice()
{
#ifdef Q_OS_LINUX
    return QStringLiteral("serial ports belong to the group dialout: add yourself to it "
                          "(sudo adduser \"$USER\" dialout), then log in again");
#else
    return QStringLiteral("ask the administrator for access to the serial ports");
#endif
}

QString sendFailure(const exchange::Outcome &outcome, const QString &port)
{
    switch (outcome.sent) {
    case exchange::Sent::Refused:
        if (outcome.error == QSerialPort::PermissionError && !port.isEmpty())
            return refusedForPermission(port, outcome)
                       ? QStringLiteral("permission denied")
                       : QStringLiteral("the port is in use by another program (another "
                                        "veldrix-cli, the configurator, a terminal)");
        return portReason(outcome.error, outcome.reason);
    case exchange::Sent::Incomplete:
        return QStringLiteral("the port took only part of the bytes");
    case exchange::Sent::NotDrained:
        return QStringLiteral("the bytes did not leave the port in time");
    case exchange::Sent::Done:
        break;
    }
    return {};
}

QString answerFailure(const exchange::Outcome &outcome)
{
    if (outcome.failed)
        return QStringLiteral("the port failed while the module answered");
    if (outcome.cutOff)
        return QStringLiteral("its answer went on too long");
    if (outcome.answer.isEmpty())
        return QStringLiteral("it did not answer");
    return QStringLiteral("its reply failed the check");
}

QString notModule(const QString &port, const exchange::Outcome &identify)
{
    if (identify.sent != exchange::Sent::Done)
        return sendFailure(identify, port);
    if (identify.failed)
        return QStringLiteral("the port failed while it answered");
    if (identify.cutOff)
        return QStringLiteral("it answered on and on, as no module does");
    if (identify.answer.isEmpty())
        return QStringLiteral("nothing answered");
    return QStringLiteral("something answered, but not a VELDRIX module");
}

} // namespace cli

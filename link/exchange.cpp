#include "exchange.h"

#include "records.h"

#include <QElapsedTimer>

namespace exchange
{

void prepare(QSerialPort &port, const QString &name)
{
    port.setPortName(name);
    port.setBaudRate(115200, QSerialPort::AllDirections);
}

Sent send(QSerialPort &port, const QByteArray &bytes, int drainMs)
{
    // A port that did not open refuses every write; asking it anyway would
    // only add a warning on the console.
    if (!port.isOpen())
        return Sent::Refused;
    const qint64 written = port.write(bytes);
    if (written == -1)
        return Sent::Refused;
    if (written != bytes.size())
        return Sent::Incomplete;
    return port.waitForBytesWritten(drainMs) ? Sent::Done : Sent::NotDrained;
}

QByteArray receive(QSerialPort &port, int quietMs, int byteLimit, int ceilingMs, bool *cutOff)
{
    QElapsedTimer clock;
    clock.start();
    QByteArray answer = port.readAll();
    bool cut = false;
    for (;;) {
        if (answer.size() >= byteLimit) {
            answer.truncate(byteLimit);
            cut = true;
            break;
        }
        // Every wait stops at the ceiling, so that a device sending a byte
        // just often enough to keep the line from going quiet cannot stretch
        // the answer beyond it.
        const qint64 left = ceilingMs - clock.elapsed();
        if (left <= 0) {
            cut = true;
            break;
        }
        const bool shortened = left < quietMs;
        if (!port.waitForReadyRead(shortened ? int(left) : quietMs)) {
            // Quiet until the ceiling, but not yet for the whole quiet time.
            cut = shortened && port.error() == QSerialPort::TimeoutError;
            break;
        }
        answer += port.readAll();
    }
    if (cutOff)
        *cutOff = cut;
    return answer;
}

QString textBeforeNul(const QByteArray &bytes)
{
    const int nul = bytes.indexOf('\0');
    return QString::fromUtf8(nul < 0 ? bytes : bytes.left(nul));
}

std::optional<QString> moduleNameFromIdentification(const QByteArray &answer)
{
    if (answer.size() <= 2)
        return std::nullopt;
    const QByteArray text = answer.left(answer.size() - 2);
    if (!text.startsWith(records::modulePrefix))
        return std::nullopt;
    return textBeforeNul(text);
}

QString explainPortError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
        return QStringLiteral("le port n'a signalé aucune erreur.");
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("le port n'existe pas ou a été débranché.");
    case QSerialPort::PermissionError:
        return QStringLiteral("le port est utilisé par un autre programme, ou cet utilisateur "
                              "n'a pas le droit de l'ouvrir.");
    case QSerialPort::OpenError:
        return QStringLiteral("le port est déjà ouvert.");
    case QSerialPort::NotOpenError:
        return QStringLiteral("le port n'a pas pu être ouvert.");
    case QSerialPort::WriteError:
        return QStringLiteral("l'envoi des données sur le port a échoué.");
    case QSerialPort::ReadError:
        return QStringLiteral("la lecture des données du port a échoué.");
    case QSerialPort::ResourceError:
        return QStringLiteral("le port a disparu, le module a sans doute été débranché.");
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("le système ne permet pas d'utiliser ce port ainsi.");
    case QSerialPort::TimeoutError:
        return QStringLiteral("le port n'a pas répondu à temps.");
    default:
        return QStringLiteral("le port a signalé une erreur inconnue (code %1).")
            .arg(static_cast<int>(error));
    }
}

} // namespace exchange

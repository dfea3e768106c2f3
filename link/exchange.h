#ifndef VELDRIX_EXCHANGE_H
#define VELDRIX_EXCHANGE_H

#include <QByteArray>
#include <QSerialPort>
#include <QString>

#include <optional>

// How every exchange with the module runs: one QSerialPort per exchange, set
// up the same way, a command written in one piece and drained, and an answer
// collected until the line stays quiet.
namespace exchange
{

// The module has finished answering once the line has been quiet this long.
constexpr int silenceMs = 350;
// Time allowed for a three-byte command, and for the configuration frame, to drain.
constexpr int commandDrainMs = 250;
constexpr int frameDrainMs = 5000;

// Guards against a device that never falls silent: collecting stops after
// this long or this many bytes, far beyond any answer of the module (a few
// hundred bytes, sent at once).
constexpr int answerTimeLimitMs = 5000;
constexpr int answerByteLimit = 1024 * 1024;

// Gives the port its name and the link's speed; everything else keeps
// QSerialPort's defaults (8 data bits, no parity, one stop bit, no flow
// control). Opening is left to the caller.
void prepare(QSerialPort &port, const QString &name);

enum class Sent {
    Refused,    // write() failed, as it does on a port that did not open
    Incomplete, // write() took fewer bytes than given
    NotDrained, // the bytes did not leave within the time allowed
    Done,
};

// Writes `bytes` in one write() and waits up to `drainMs` for them to leave.
Sent send(QSerialPort &port, const QByteArray &bytes, int drainMs);

// Collects an answer: what has arrived already, then whatever follows until
// `quietMs` pass with nothing new (or one of the limits above is reached).
QByteArray receive(QSerialPort &port, int quietMs = silenceMs, int timeLimitMs = answerTimeLimitMs,
                   int byteLimit = answerByteLimit);

// Bytes decoded as UTF-8, up to the first NUL byte if there is one.
QString textBeforeNul(const QByteArray &bytes);

// The module's name from its answer to the identify command: the answer less
// its two closing bytes, when that begins with "VELDRIX_". Nothing for any
// other answer, including one of two bytes or fewer.
std::optional<QString> moduleNameFromIdentification(const QByteArray &answer);

// A French sentence that tells the user what went wrong with a port, for the
// status bar message of a port that could not be written to.
QString explainPortError(QSerialPort::SerialPortError error);

} // namespace exchange

#endif

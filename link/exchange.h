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

// An answer ends only when the line falls quiet, however long that takes: a
// device that keeps sending holds the window until it stops or is unplugged.
// What is collected is capped, though, far beyond any answer of the module (a
// few hundred bytes), so that a device flooding the port cannot grow the
// answer until memory runs out; what comes past the cap is read and dropped,
// and the answer so cut fails its checks like any other bad answer.
constexpr int answerByteLimit = 16 * 1024 * 1024;

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
// `quietMs` pass with nothing new. At most `byteLimit` bytes are kept.
QByteArray receive(QSerialPort &port, int quietMs = silenceMs, int byteLimit = answerByteLimit);

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

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

// An answer also ends, cut off, when it grows past what the module ever sends
// or goes on for longer than the module ever takes: a device that chatters
// without pause or floods the port (a GPS receiver, a terminal) cannot hold
// the window nor fill memory. The module answers in tens to a few hundred
// bytes, well under a second. A cut-off answer is never taken for the
// module's: it is not an identification, and a configuration read that ends
// so has failed.
struct Ceiling {
    int bytes; // the answer ends once it holds this many bytes
    int ms;    // ... or this long after the command was written
};
constexpr Ceiling identifyCeiling{4 * 1024, 3000};
constexpr Ceiling replyCeiling{64 * 1024, 5000};

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

// Collects an answer, blocking: what has arrived already, then whatever
// follows until `quietMs` pass with nothing new, until `byteLimit` bytes are
// held (the answer is then cut to exactly that many) or until `ceilingMs`
// have passed since the call. `cutOff`, when given, tells whether one of the
// last two ended the answer.
QByteArray receive(QSerialPort &port, int quietMs = silenceMs, int byteLimit = replyCeiling.bytes,
                   int ceilingMs = replyCeiling.ms, bool *cutOff = nullptr);

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

#ifndef VELDRIX_EXCHANGE_H
#define VELDRIX_EXCHANGE_H

#include <QByteArray>
#include <QSerialPort>
#include <QString>

#include <QVector>

#include <memory>
#include <optional>
#include <vector>

// How every exchange with the module runs: one QSerialPort per exchange, set
// up the same way, a command written in one piece and drained, and an answer
// collected until the line stays quiet. No exchange blocks: they all wait in
// a local event loop, side by side when there are several.
namespace exchange
{

// The module has finished answering once the line has been quiet this long.
constexpr int silenceMs = 350;
// Time allowed for a three-byte command, and for the configuration frame, to drain.
constexpr int commandDrainMs = 250;
constexpr int frameDrainMs = 5000;
// After a configuration, a restart or a factory reset the module is given
// this long before it is read again.
constexpr int settleMs = 500;

// An answer also ends, cut off, when it grows past what the module ever sends
// or goes on for longer than the module ever takes: a device that chatters
// without pause or floods the port (a GPS receiver, a terminal) cannot hold
// the window nor fill memory. The module answers in tens to a few hundred
// bytes, well under a second. A cut-off answer is never taken for the
// module's: it is not an identification, and a configuration read that ends
// so has failed.
struct Ceiling {
    int bytes; // the answer ends once it holds this many bytes
    int ms;    // ... or this long after listening to it began (once the command drained)
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

// One port's part in a round of exchanges: its bytes go out in one write()
// and must leave within drainMs; then, when a ceiling is given, its answer is
// collected until the line has been quiet for silenceMs or the ceiling ends
// it. Without a ceiling nothing is read.
struct Request {
    QString port;
    QByteArray bytes;
    int drainMs = commandDrainMs;
    std::optional<Ceiling> answer;
};

Request identifyRequest(const QString &port); // "iI\n", answered within identifyCeiling
Request readRequest(const QString &port);     // "sS\n", answered within replyCeiling
Request writeRequest(const QString &port, const QByteArray &bytes, int drainMs); // no answer

// The three commands, none of them answered: the configuration frame
// (records::configurationFrame) with frameDrainMs to leave, "rR\n" and "zZ\n"
// with commandDrainMs. Each is followed by settleMs and a configuration read.
Request configureRequest(const QString &port, const QByteArray &frame);
Request restartRequest(const QString &port);
Request factoryResetRequest(const QString &port);

struct Outcome {
    Sent sent = Sent::Refused;
    QSerialPort::SerialPortError error = QSerialPort::NoError; // what a refusing port said
    QString reason;                                            // and the system's words for it
    QByteArray answer;
    bool cutOff = false; // a ceiling ended the answer
    bool failed = false; // the port failed while answering (unplugged, read error)
};

// Exchanges on several ports side by side. The ports are opened one after
// another, in the order given, and each is written its bytes at once; then
// the bytes drain and the answers come in on all of them together, so that a
// round lasts as long as its slowest port rather than the sum of them all.
// Everything runs on the calling thread: while run() waits, events other
// than mouse and keyboard input are handled (timers fire, windows paint).
class Round
{
public:
    explicit Round(const QVector<Request> &requests);
    ~Round();
    Round(const Round &) = delete;
    Round &operator=(const Round &) = delete;

    // The requests whose bytes the port refused outright (typically because
    // it did not open), in the order given. Known as soon as the round is made.
    QVector<int> refused() const;

    // Waits until every port has drained its bytes, or failed to within its
    // time, and has answered to its end. Every port is closed on return.
    void run();

    const Outcome &outcome(int index) const;
    int size() const;

private:
    struct Port;
    std::vector<std::unique_ptr<Port>> ports; // in the order given
};

// The text of a configuration read that ended by itself, for the reply
// check: the answer decoded up to its first NUL. Nothing when the read
// failed, was cut off or brought two bytes or fewer.
std::optional<QString> replyText(const Outcome &read);

// The reply of a configuration read, checked: prefix kept, check character
// and closing bytes removed. Nothing when replyText gives nothing or the
// check rejects it.
std::optional<QString> checkedConfiguration(const Outcome &read);

// Bytes decoded as UTF-8, up to the first NUL byte if there is one.
QString textBeforeNul(const QByteArray &bytes);

// The module's name from its answer to the identify command: the answer less
// its two closing bytes, when that begins with "VELDRIX_". Nothing for any
// other answer, including one of two bytes or fewer.
std::optional<QString> moduleNameFromIdentification(const QByteArray &answer);

} // namespace exchange

#endif

#ifndef VELDRIX_PROBE_H
#define VELDRIX_PROBE_H

#include <QSerialPort>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>
#include <optional>
#include <vector>

// Asking every listed port at once whether the module is on it. Each port is
// set up and asked exactly as in a one-port exchange, but the answers are
// collected side by side, so that a click waits for the slowest port rather
// than for all of them in turn.
namespace probe
{

// A port on which the identify command could not be written, as happens when
// it did not open, with the error the port reported.
struct Refusal {
    QString port;
    QSerialPort::SerialPortError error;
};

struct Module {
    QString name; // the identification answer less its two closing bytes
    QString port;
};

class Round
{
public:
    // Opens the ports one after another, in the order given, and writes the
    // identify command to each. A port whose command does not go out whole
    // and drained is closed again and takes no further part.
    explicit Round(const QStringList &portNames);
    ~Round();
    Round(const Round &) = delete;
    Round &operator=(const Round &) = delete;

    // The ports that refused the command, in the order given.
    const QVector<Refusal> &refusals() const { return refused; }

    // Collects all the answers at once; each ends by its own silence or
    // ceiling (exchange.h), and its port is closed as soon as it has. Returns
    // when every port is closed. Meanwhile mouse and keyboard input wait,
    // while timers and painting go on; everything runs on the calling thread.
    void collect();

    // The module on the last port, in the order given, that answered as one.
    // An answer that a ceiling cut off never counts.
    std::optional<Module> lastModule() const;

private:
    struct Listener;
    std::vector<std::unique_ptr<Listener>> listeners; // in the order given
    QVector<Refusal> refused;
};

} // namespace probe

#endif

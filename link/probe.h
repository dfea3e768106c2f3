#ifndef VELDRIX_PROBE_H
#define VELDRIX_PROBE_H

#include "exchange.h"

#include <QSerialPort>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// Asking every listed port at once whether the module is on it. Each port is
// set up and asked exactly as in a one-port exchange, but the answers are
// collected side by side, so that a click waits for the slowest port rather
// than for all of them in turn.
namespace probe
{

// A port on which the identify command could not be written, as happens when
// it did not open, with the error the port reported and the system's words.
struct Refusal {
    QString port;
    QSerialPort::SerialPortError error;
    QString reason;
};

struct Module {
    QString name; // the identification answer less its two closing bytes
    QString port;
};

class Round
{
public:
    // Opens the ports one after another, in the order given, and writes the
    // identify command to each.
    explicit Round(const QStringList &portNames);

    // The ports that refused the command, in the order given.
    const QVector<Refusal> &refusals() const { return refused; }

    // Collects all the answers at once; each ends by its own silence or
    // ceiling. Returns when every port is closed. Meanwhile mouse and
    // keyboard input wait, while timers and painting go on.
    void collect();

    // Every port that answered as a module, in the order given. An answer
    // that a ceiling cut off never counts.
    QVector<Module> modules() const;

    // The module on the last port, in the order given, that answered as one.
    std::optional<Module> lastModule() const;

private:
    QStringList names;
    exchange::Round round;
    QVector<Refusal> refused;
};

} // namespace probe

#endif

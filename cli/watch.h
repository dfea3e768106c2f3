#ifndef VELDRIX_CLI_WATCH_H
#define VELDRIX_CLI_WATCH_H

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// How provision sees modules arrive: it looks at the list of serial ports
// every pollMs, and asks a port whether a module is on it when the port
// appears in the list. A port is never asked twice at once.
namespace cli
{

class PortWatch
{
public:
    // The list is looked at every 300 ms: a technician who plugs in a module
    // and looks at the screen does not notice that much on top of the 1.6 s
    // that its handling takes anyway (two answers ended by 350 ms of
    // silence, the half second after the frame, the read after it), while
    // looking costs next to nothing: a look at /dev, and the system's list
    // only when /dev changed (ports::Poll).
    static constexpr int pollMs = 300;

    // The system's list of ports is costly to make (see ports::Poll): it is
    // made again when /dev changed, and every 5 s in case a port came
    // without that showing.
    static constexpr int listAgainMs = 5000;

    // A port that answered as no module is not asked again while it stays
    // listed, so that a modem or a GPS receiver is not asked every poll; nor
    // is a port whose module was handled. Some ports never leave the list
    // (a built-in port, the module on a cable and powered apart): after
    // 5 s they are asked again, so that a module that arrives there is
    // handled at most that much later, and one that left there is noticed,
    // while a device that is not a module hears from us twelve times a
    // minute at most.
    static constexpr int askAgainMs = 5000;

    // Watches the listed ports named in `only` (by name, "ttyUSB0", or path,
    // "/dev/ttyUSB0"), or every listed port when `only` is empty.
    explicit PortWatch(const QStringList &only = {});

    struct Ask {
        QString port;
        bool again;   // the port was asked before, and has stayed listed since
        bool handled; // ... and a module on it was handled
    };

    // Takes the list as it is at `nowMs` (a steady clock): the ports that
    // left it are forgotten, once no longer asked. Gives the ports to ask
    // now, new ones and those due again, in the order of the list; each is
    // then busy until done().
    QVector<Ask> look(const QStringList &listed, qint64 nowMs);

    // Whether `port` has stayed in the list since it was last given by look().
    bool stayed(const QString &port) const;

    // Asking `port`, and handling its module if there was one, is over;
    // `handled` tells whether a module on it has now been handled.
    void done(const QString &port, bool handled, qint64 nowMs);

    // The ports being asked, or their module handled.
    int busy() const;

private:
    struct State {
        bool busy = false;
        bool left = false;    // the port left the list while busy
        bool handled = false; // its module was handled
        qint64 askAt = 0;     // when it is due again, when not busy
    };
    QStringList only;
    QHash<QString, State> ports;
};

} // namespace cli

#endif

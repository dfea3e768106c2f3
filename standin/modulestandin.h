#ifndef VELDRIX_MODULESTANDIN_H
#define VELDRIX_MODULESTANDIN_H

// A stand-in for the VELDRIX module on a pseudo-terminal. It answers on a
// thread of its own, whatever the program's own thread is doing:
//
//   "iI\n"  its identification: id, then "\r\n"
//   "sS\n"  its configuration reply: id, a blank, the 36 settings in read
//           order, the check character over all that, then "\r\n"
//   "c" + id + " " + 36 values, each followed by a blank, check character,
//           "\n": stored when the check character is right and 36 values came
//   "rR\n"  restart, "zZ\n" factory reset: factory settings; after either
//           it hears nothing for 250 ms, starting again
//
// It is a witness of the protocol independent of the program: its own table
// of the settings, its own check character, its own parsing. It logs every
// command it hears. What it writes while nobody holds the port open is lost,
// as on a real line.

#include "standin/moduletable.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <mutex>
#include <optional>
#include <termios.h>
#include <thread>

namespace standin
{

// An answer as it goes out: wait pauseMs, then write bytes; step after step.
struct Step {
    int pauseMs;
    QByteArray bytes;
};
using Script = QVector<Step>;

// What a module does, which a test may change at any time: the settings it
// holds (write order), and answers to 'i' and 's' other than its own (no
// step: silence; many small steps: a device that keeps talking).
struct Behaviour {
    QStringList settings = factorySettings();
    QHash<char, Script> answers;
};

class ModuleStandin
{
public:
    explicit ModuleStandin(const QByteArray &id = "VELDRIX_GPS2CAN_SIM") : id(id) {}
    ~ModuleStandin();
    bool start(); // opens a pseudo-terminal and answers on it
    QString portPath() const { return path; }
    // Stops answering for good; the terminal can no longer be opened, and its
    // name is not given to another terminal while the stand-in lives.
    void unplug();

    template <class F> void change(F f)
    {
        const Lock lock(mutex);
        f(behaviour);
    }
    Behaviour now() const { return locked(behaviour); }
    // The commands heard, line feed included (none after the last bytes the
    // program wrote before closing the port).
    QByteArrayList heard() const { return locked(log); }
    QByteArray reply() const; // its own answer to "sS\n" now

    const QByteArray id;

private:
    using Mutex = std::recursive_mutex;
    using Lock = std::lock_guard<Mutex>;
    template <class T> T locked(const T &member) const
    {
        const Lock lock(mutex);
        return member;
    }
    void run();
    void handle(const QByteArray &command);
    bool pause(int ms);
    void write(const QByteArray &bytes);

    mutable Mutex mutex;
    Behaviour behaviour;
    QByteArrayList log;
    int master = -1;
    QString path;
    QElapsedTimer clock;
    qint64 deafUntil = 0; // restarting
    std::atomic<bool> quit{false};
    std::thread thread;
};

} // namespace standin

#endif

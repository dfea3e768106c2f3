// A device that never stops sending: how long it holds the window, and what
// the bytes cost in memory.
//   veldrix-bench-endless [SECONDS]   (how long to let an unbounded read go, default 15)
// Four cases, each with the module stand-in answering the identify command:
//   click, drip    the window's click while the device sends a byte every
//                  100 ms for ever (well inside the 350 ms silence)
//   click, flood   the window's click while the device sends 64 MiB as fast
//                  as the pseudo-terminal takes them
//   rule, drip     the receive rule alone (350 ms of silence ends an answer,
//                  nothing else does) on the same drip, until the device is
//                  unplugged after SECONDS
//   rule, flood    the receive rule alone on the same flood
#include "app/mainwindow.h"
#include "link/exchange.h"
#include "link/ports.h"
#include "standin/modulestandin.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QSerialPort>
#include <QStatusBar>

#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace
{

using standin::ModuleStandin;

constexpr int floodBytes = 64 * 1024 * 1024;

// Unplugs the device after `seconds` unless cancelled first.
class Watchdog
{
public:
    Watchdog(ModuleStandin &module, int seconds)
        : thread([this, &module, seconds] {
              std::unique_lock<std::mutex> lock(mutex);
              if (!wake.wait_for(lock, std::chrono::seconds(seconds), [this] { return done; })) {
                  fired = true;
                  module.unplug();
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            done = true;
        }
        wake.notify_all();
        thread.join();
    }
    std::atomic<bool> fired{false};

private:
    std::mutex mutex;
    std::condition_variable wake;
    bool done = false;
    std::thread thread;
};

// A drip of 10000 bytes lasts over 16 minutes: for ever, as far as a click goes.
void endlessDevice(ModuleStandin &module, bool drip)
{
    module.change([drip](standin::Behaviour &b) {
        b.answers['i'] = drip ? standin::Script(10000, {100, "x"})
                              : standin::Script{{0, QByteArray(floodBytes, 'x')}};
    });
}

void throughTheWindow(bool drip, int seconds)
{
    ModuleStandin module;
    if (!module.start())
        return;
    endlessDevice(module, drip);
    ports::install({module.portPath()});
    MainWindow window;
    window.show();
    auto *button = window.findChild<QAbstractButton *>("pushButton_Scan");
    Watchdog watchdog(module, seconds);
    QElapsedTimer clock;
    clock.start();
    button->click();
    const qint64 held = clock.elapsed();
    std::printf("    click, %-5s  held the window %7lld ms%s; status: %s\n",
                drip ? "drip" : "flood", held,
                watchdog.fired ? " (until the device was unplugged)" : "",
                qPrintable(window.statusBar()->currentMessage().left(60)));
    ports::restoreSystemList();
}

void ruleAlone(bool drip, int seconds)
{
    ModuleStandin module;
    if (!module.start())
        return;
    endlessDevice(module, drip);
    QSerialPort port;
    exchange::prepare(port, module.portPath());
    if (!port.open(QIODevice::ReadWrite) ||
        exchange::send(port, "iI\n", exchange::commandDrainMs) != exchange::Sent::Done)
        return;
    Watchdog watchdog(module, seconds);
    QElapsedTimer clock;
    clock.start();
    const QByteArray answer = exchange::receive(port, exchange::silenceMs, INT_MAX);
    const qint64 held = clock.elapsed();
    std::printf(
        "    rule,  %-5s  held the window %7lld ms%s; %d bytes held in memory (%.1f MiB/s)\n",
        drip ? "drip" : "flood", held, watchdog.fired ? " (until the device was unplugged)" : "",
        answer.size(), answer.size() / 1048576.0 / (held / 1000.0));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName("veldrix");
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    throughTheWindow(true, seconds);
    throughTheWindow(false, seconds);
    ruleAlone(true, seconds);
    ruleAlone(false, seconds);
    return 0;
}

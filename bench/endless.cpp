// A device that never falls silent, on the port before the module's: how
// long a click of "Connecter" takes, whether the module is still found, and
// the longest the window went without handling its events meanwhile.
//   veldrix-bench-endless [ROUNDS]   (default 3)
// Three devices, each sending for ever:
//   drip   one byte every 20 ms (never quiet for 350 ms, a few bytes a second)
//   nmea   a 70-byte sentence ten times a second, as a GPS receiver does
//   flood  as fast as the pseudo-terminal takes it
// An identification answer ends 3 s after the command, or at 4 KiB, so each
// case should end at one of these, plus the configuration read.
#include "app/mainwindow.h"
#include "fakeports.h"
#include "link/ports.h"
#include "measure.h"
#include "standin/modulestandin.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QStatusBar>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace
{

struct Device {
    const char *label;
    QByteArray chunk;
    int periodMs;
};

void click(const Device &device, int rounds)
{
    fakeports::TalkingPort talker(device.chunk, device.periodMs);
    standin::ModuleStandin module;
    if (!talker.ok() || !module.start()) {
        std::fprintf(stderr, "no pseudo-terminal to be had\n");
        return;
    }
    ports::install({talker.path(), module.portPath()});
    MainWindow window;
    window.show();
    auto *button = window.findChild<QAbstractButton *>("pushButton_Scan");

    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer clock;
        clock.start();
        const qint64 longestStall = measure::longestStall([button] { button->click(); });
        const qint64 took = clock.elapsed();
        std::printf("    %-6s click %6lld ms, window stalled at most %4lld ms; status: %s\n",
                    device.label, took, longestStall,
                    qPrintable(window.statusBar()->currentMessage()));
        std::fflush(stdout);
    }
    ports::restoreSystemList();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName("veldrix");
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const QByteArray sentence =
        "$GPGGA,123519.00,4807.03800,N,01131.00000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
    click({"drip", "x", 20}, rounds);
    click({"nmea", sentence, 100}, rounds);
    click({"flood", QByteArray(4096, 'x'), 0}, rounds);
    return 0;
}

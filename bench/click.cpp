// Click-to-status benchmark: how long "Connecter" keeps the window busy, with
// the module stand-in on the last of N pseudo-terminals and silent devices
// (ports that open but never answer) on the others.
//   veldrix-bench-click [ROUNDS] N...     e.g. veldrix-bench-click 5 1 4 16
// For each N it clicks ROUNDS times and prints the time from the click to the
// status message being set and to the status bar being painted with it, next
// to the floor that the 350 ms silence rule sets: every port that opens is
// listened to until it has been quiet for 350 ms, and so is the configuration
// reply, so no click can end before (N + 1) x 350 ms.
#include "app/mainwindow.h"
#include "link/ports.h"
#include "standin/modulestandin.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QStatusBar>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace
{

constexpr int silenceMs = 350;

// Notes when the status bar is painted after the click.
class PaintWatch : public QObject
{
public:
    qint64 paintedAt = -1;
    const QElapsedTimer *clock = nullptr;

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && paintedAt < 0)
            paintedAt = clock->nsecsElapsed();
        return false;
    }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName("veldrix");
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s ROUNDS N...\n", argv[0]);
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));

    std::printf("    %5s %9s %22s %22s %11s  %s\n", "ports", "floor", "to message: median [min]",
                "to paint: median [max]", "over floor", "last status");
    for (int a = 2; a < argc; ++a) {
        const int count = std::atoi(argv[a]);
        if (count < 1)
            continue;
        std::vector<std::unique_ptr<standin::ModuleStandin>> devices;
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            auto device = std::make_unique<standin::ModuleStandin>();
            if (!device->start()) {
                std::fprintf(stderr, "no pseudo-terminal to be had\n");
                return 1;
            }
            if (i + 1 < count)
                device->change([](standin::Behaviour &b) { b.answers['i'] = b.answers['s'] = {}; });
            paths.append(device->portPath());
            devices.push_back(std::move(device));
        }
        ports::install(paths);

        MainWindow window;
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) {
            std::fprintf(stderr, "the window was never shown\n");
            return 1;
        }
        auto *button = window.findChild<QAbstractButton *>("pushButton_Scan");
        QStatusBar *status = window.statusBar();

        QElapsedTimer clock;
        qint64 messageAt = -1;
        QObject::connect(status, &QStatusBar::messageChanged, [&](const QString &text) {
            if (!text.isEmpty())
                messageAt = clock.nsecsElapsed();
        });
        PaintWatch watch;
        watch.clock = &clock;
        status->installEventFilter(&watch);

        std::vector<double> toMessage;
        std::vector<double> toPaint;
        for (int r = 0; r < rounds; ++r) {
            // The same message twice would not repaint: start from an empty bar.
            status->clearMessage();
            QTest::qWait(20);
            messageAt = -1;
            watch.paintedAt = -1;
            clock.start();
            QTest::mouseClick(button, Qt::LeftButton);
            if (!QTest::qWaitFor([&] { return watch.paintedAt >= 0; }, 5000))
                watch.paintedAt = clock.nsecsElapsed(); // never repainted: count the wait
            toMessage.push_back(messageAt / 1e6);
            toPaint.push_back(watch.paintedAt / 1e6);
        }
        status->removeEventFilter(&watch);
        const double floor = (count + 1) * silenceMs;
        const double paint = median(toPaint);
        char first[48];
        char second[48];
        std::snprintf(first, sizeof first, "%.1f [%.1f] ms", median(toMessage),
                      *std::min_element(toMessage.begin(), toMessage.end()));
        std::snprintf(second, sizeof second, "%.1f [%.1f] ms", paint,
                      *std::max_element(toPaint.begin(), toPaint.end()));
        std::printf("    %5d %6.0f ms %22s %22s %8.1f ms  %s\n", count, floor, first, second,
                    paint - floor, qPrintable(status->currentMessage()));
        std::fflush(stdout);
        ports::restoreSystemList();
    }
    return 0;
}

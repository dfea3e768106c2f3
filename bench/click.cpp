// Click-to-status benchmark: how long "Connecter" takes, with the module
// stand-in on the last of the listed pseudo-terminals and silent devices
// (ports that open but never answer) before it.
//   veldrix-bench-click ROUNDS SILENT...     e.g. veldrix-bench-click 5 0 3 15
// For each count of silent ports it clicks ROUNDS times and prints the time
// from the click to the final status message and to the status bar painted
// with it, next to the floor: the identify answers and the configuration
// reply each end by 350 ms of silence, so no click ends before 2 x 350 ms,
// however many ports are listed.
#include "app/mainwindow.h"
#include "fakeports.h"
#include "link/ports.h"
#include "measure.h"
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

constexpr int floorMs = 2 * 350;

// Notes when the status bar is painted after the click.
class PaintWatch : public QObject
{
public:
    qint64 paintedAt = -1;
    qint64 notBefore = 0; // the final message, not one shown during the click
    const QElapsedTimer *clock = nullptr;

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && paintedAt < 0 && notBefore >= 0 &&
            clock->nsecsElapsed() >= notBefore)
            paintedAt = clock->nsecsElapsed();
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName("veldrix");
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s ROUNDS SILENT...\n", argv[0]);
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));

    std::printf("    %6s %5s %7s %24s %24s %10s  %s\n", "silent", "ports", "floor",
                "to message: median [max]", "to paint: median [max]", "over floor", "last status");
    for (int a = 2; a < argc; ++a) {
        const int silentCount = std::max(0, std::atoi(argv[a]));
        std::vector<std::unique_ptr<fakeports::SilentPort>> silent;
        QStringList paths;
        for (int i = 0; i < silentCount; ++i) {
            silent.push_back(std::make_unique<fakeports::SilentPort>());
            if (!silent.back()->ok()) {
                std::fprintf(stderr, "no pseudo-terminal to be had\n");
                return 1;
            }
            paths.append(silent.back()->path());
        }
        standin::ModuleStandin module;
        if (!module.start()) {
            std::fprintf(stderr, "no pseudo-terminal to be had for the module\n");
            return 1;
        }
        paths.append(module.portPath());
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
        PaintWatch watch;
        watch.clock = &clock;
        qint64 messageAt = -1;
        QObject::connect(status, &QStatusBar::messageChanged, [&](const QString &text) {
            if (!text.isEmpty()) {
                messageAt = clock.nsecsElapsed();
                watch.notBefore = messageAt;
                watch.paintedAt = -1;
            }
        });
        status->installEventFilter(&watch);

        std::vector<double> toMessage;
        std::vector<double> toPaint;
        for (int r = 0; r < rounds; ++r) {
            // The same message twice would not repaint: start from an empty bar.
            status->clearMessage();
            QTest::qWait(20);
            messageAt = -1;
            watch.notBefore = -1;
            watch.paintedAt = -1;
            clock.start();
            QTest::mouseClick(button, Qt::LeftButton);
            if (!QTest::qWaitFor([&] { return watch.paintedAt >= 0; }, 5000))
                watch.paintedAt = clock.nsecsElapsed(); // never repainted: count the wait
            toMessage.push_back(messageAt / 1e6);
            toPaint.push_back(watch.paintedAt / 1e6);
        }
        status->removeEventFilter(&watch);
        const double paint = measure::median(toPaint);
        char first[48];
        char second[48];
        std::snprintf(first, sizeof first, "%.1f [%.1f] ms", measure::median(toMessage),
                      *std::max_element(toMessage.begin(), toMessage.end()));
        std::snprintf(second, sizeof second, "%.1f [%.1f] ms", paint,
                      *std::max_element(toPaint.begin(), toPaint.end()));
        std::printf("    %6d %5d %4d ms %24s %24s %7.1f ms  %s\n", silentCount, silentCount + 1,
                    floorMs, first, second, paint - floorMs, qPrintable(status->currentMessage()));
        std::fflush(stdout);
        ports::restoreSystemList();
    }
    return 0;
}

// Start-up probe: starts like the program (or like a bare QMainWindow program
// when built without VELDRIX_BENCH_CONFIGURATOR), and once the window has been
// shown and painted for the first time it writes two CLOCK_MONOTONIC stamps to
// standard output and quits:
//   main <ns>    when main() was entered (after the loader and static set-up)
//   shown <ns>   when the first paint of the window has been done
// veldrix-bench-launch takes the time before it starts the probe and turns the
// stamps into durations. Only bench/run uses it; it is never installed.
#ifdef VELDRIX_BENCH_CONFIGURATOR
#include "app/mainwindow.h"
#include "forms/formfont.h"
#endif

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace
{

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The first paint event of a top-level window starts the sync of the whole
// widget tree; the zero timer fires once that sync, the children's paints and
// the flush to the platform are over.
class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!done && event->type() == QEvent::Paint) {
            auto *widget = qobject_cast<QWidget *>(watched);
            if (widget && widget->isWindow()) {
                done = true;
                QTimer::singleShot(0, [] {
                    std::printf("shown %lld\n", monotonicNs());
                    std::fflush(stdout);
                    QCoreApplication::quit();
                });
            }
        }
        return false;
    }

private:
    bool done = false;
};

} // namespace

int main(int argc, char *argv[])
{
    std::printf("main %lld\n", monotonicNs());
#ifdef VELDRIX_BENCH_CONFIGURATOR
    enableScreenScaling();
#endif
    QApplication app(argc, argv);
    FirstPaint probe;
    app.installEventFilter(&probe);
#ifdef VELDRIX_BENCH_CONFIGURATOR
    useFormFont(); // the font, loaded from its file on Windows
    // The program finds its catalogues by its own name, as build/veldrix does.
    QCoreApplication::setApplicationName("veldrix");
    MainWindow window;
#else
    QMainWindow window;
#endif
    window.show();
    const int code = app.exec();
    return code;
}

// veldrix-cli against module stand-ins: wall time of its commands.
//   veldrix-bench-cli ROUNDS PROGRAM      PROGRAM: the built veldrix-cli
// (1) `read` of one module: the program started as a process with --port
//     (its start-up included), and cli::run in the benchmark's own process;
//     the floor is the window's: 350 ms of silence after the identification,
//     350 ms after the reply;
// (2) `write --all` to 1, 4 and 8 modules, in-process: discovery, read,
//     write, the half-second wait and the read again, each step given to all
//     modules at once, so that 8 modules should take about as long as 1.
#include "cli/cli.h"
#include "link/ports.h"
#include "standin/modulestandin.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace
{

struct Figures {
    double median, min, max;
};

Figures figures(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return {n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2, v.front(), v.back()};
}

void show(const char *what, const Figures &f, double floorMs, const char *extra = "")
{
    std::printf("    %-34s %8.1f ms [%7.1f .. %7.1f]   floor %5.0f ms   %s\n", what, f.median,
                f.min, f.max, floorMs, extra);
    std::fflush(stdout);
}

// Runs one command line in-process; its wall time in ms, or -1 when it failed.
double timed(const QStringList &arguments, const QByteArray &input = {})
{
    QBuffer in, out, err;
    in.setData(input);
    for (QBuffer *buffer : {&in, &out, &err})
        buffer->open(QIODevice::ReadWrite);
    QElapsedTimer clock;
    clock.start();
    const int status = cli::run(QStringList{"veldrix-cli"} + arguments, in, out, err);
    const double ms = clock.nsecsElapsed() / 1e6;
    if (status != 0)
        std::fprintf(stderr, "exit status %d: %s", status, err.data().constData());
    return status == 0 ? ms : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s ROUNDS PROGRAM\n", argv[0]);
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));
    const QString program = QString::fromLocal8Bit(argv[2]);

    std::vector<std::unique_ptr<standin::ModuleStandin>> modules;
    for (int i = 0; i < 8; ++i) {
        modules.push_back(std::make_unique<standin::ModuleStandin>());
        if (!modules.back()->start()) {
            std::fprintf(stderr, "no pseudo-terminal to be had\n");
            return 1;
        }
    }

    std::printf("    %-34s %8s    %-20s\n", "", "median", "[min .. max]");
    std::vector<double> asProcess, inProcess;
    for (int r = 0; r < rounds; ++r) {
        QProcess process;
        QElapsedTimer clock;
        clock.start();
        process.start(program, {"read", "--port", modules[0]->portPath()});
        if (!process.waitForFinished(30000) || process.exitCode() != 0) {
            std::fprintf(stderr, "%s read failed: %s\n", qPrintable(program),
                         process.readAllStandardError().constData());
            return 1;
        }
        asProcess.push_back(clock.nsecsElapsed() / 1e6);
        ports::install({modules[0]->portPath()});
        inProcess.push_back(timed({"read"}));
    }
    show("read, the program with --port", figures(asProcess), 700);
    show("read, cli::run in-process", figures(inProcess), 700);

    double one = 0;
    for (const int count : {1, 4, 8}) {
        QStringList paths;
        for (int i = 0; i < count; ++i)
            paths << modules[size_t(i)]->portPath();
        ports::install(paths);
        std::vector<double> times;
        for (int r = 0; r < rounds; ++r) {
            // A setting that changes every round, as it would in a workshop.
            const QByteArray profile =
                "[led]\nbrightness_percent = " + QByteArray::number(r % 2 ? 40 : 45) + "\n";
            const double ms = timed({"write", "-", "--all"}, profile);
            if (ms < 0)
                return 1;
            times.push_back(ms);
        }
        const Figures f = figures(times);
        if (count == 1)
            one = f.median;
        char label[48], ratio[48];
        std::snprintf(label, sizeof label, "write --all, %d module%s", count, count > 1 ? "s" : "");
        std::snprintf(ratio, sizeof ratio, "%.2f times 1 module", f.median / one);
        show(label, f, 3 * 350 + 500, ratio);
    }
    ports::restoreSystemList();
    return 0;
}

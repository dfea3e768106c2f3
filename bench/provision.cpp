// veldrix-cli provision against module stand-ins, in-process: how soon a
// module that appears in the port list gets its line.
//   veldrix-bench-provision ROUNDS
// (1) `write --port` of one module: the yardstick;
// (2) provision --count 1, the stand-in listed at a moment that moves through
//     the poll interval from round to round: from its appearance in the list
//     to its line; the aim is at most one poll interval above (1);
// (3) provision --count 8, eight stand-ins appearing 100 ms apart: each one's
//     time from its appearance to its line, and from the first appearance to
//     the last line. Handled side by side, the last line comes about 700 ms
//     after one module's time.
#include "cli/cli.h"
#include "cli/watch.h"
#include "link/ports.h"
#include "standin/modulestandin.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace
{

// Standard output that notes when each line was written, in ms on `clock`.
class Stamped : public QIODevice
{
public:
    explicit Stamped(const QElapsedTimer &clock) : clock(clock) { open(WriteOnly); }
    QByteArrayList lines;
    std::vector<double> at;

protected:
    qint64 writeData(const char *data, qint64 size) override
    {
        pending.append(data, int(size));
        for (int end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
            lines.append(pending.left(end));
            at.push_back(clock.nsecsElapsed() / 1e6);
        }
        return size;
    }
    qint64 readData(char *, qint64) override { return -1; }

private:
    const QElapsedTimer &clock;
    QByteArray pending;
};

struct Figures {
    double median, max;
};

Figures figures(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return {n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2, v.back()};
}

void show(const char *what, const Figures &f, const char *extra = "")
{
    std::printf("    %-46s %8.1f ms  worst %8.1f ms  %s\n", what, f.median, f.max, extra);
    std::fflush(stdout);
}

QByteArray profile(int round)
{
    // A setting that changes every round, as it would from car to car.
    return "[led]\nbrightness_percent = " + QByteArray::number(round % 2 ? 40 : 45) + "\n";
}

// Runs provision with `arguments`, listing paths[i] at appear[i] ms after
// its start. Gives each path's time from its appearance to its line (-1
// when it got none), or nothing when the command failed.
std::vector<double> provision(const QStringList &arguments, const QByteArray &input,
                              const QStringList &paths, const std::vector<int> &appear)
{
    ports::install({});
    QElapsedTimer clock;
    clock.start();
    QBuffer in, err;
    in.setData(input);
    in.open(QIODevice::ReadOnly);
    err.open(QIODevice::WriteOnly);
    Stamped out(clock);
    std::vector<double> listedAt(size_t(paths.size()));
    for (int i = 0; i < paths.size(); ++i)
        QTimer::singleShot(appear[size_t(i)], Qt::PreciseTimer, [&, i] {
            ports::install(paths.mid(0, i + 1));
            listedAt[size_t(i)] = clock.nsecsElapsed() / 1e6;
        });
    const int status =
        cli::run(QStringList{"veldrix-cli", "provision", "-"} + arguments, in, out, err);
    if (status != 0) {
        std::fprintf(stderr, "provision: exit status %d: %s", status, err.data().constData());
        return {};
    }
    std::vector<double> latency(size_t(paths.size()), -1);
    for (int line = 0; line < out.lines.size(); ++line)
        for (int i = 0; i < paths.size(); ++i)
            if (out.lines[line].contains(' ' + paths[i].toUtf8() + ' '))
                latency[size_t(i)] = out.at[size_t(line)] - listedAt[size_t(i)];
    return latency;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = std::max(1, argc > 1 ? std::atoi(argv[1]) : 20);

    std::vector<std::unique_ptr<standin::ModuleStandin>> modules;
    QStringList paths;
    for (int i = 0; i < 8; ++i) {
        modules.push_back(std::make_unique<standin::ModuleStandin>());
        if (!modules.back()->start()) {
            std::fprintf(stderr, "no pseudo-terminal to be had\n");
            return 1;
        }
        paths << modules.back()->portPath();
    }

    std::vector<double> write, one;
    for (int r = 0; r < rounds; ++r) {
        ports::install({paths[0]});
        QBuffer in, out, err;
        in.setData(profile(r));
        for (QBuffer *buffer : {&in, &out, &err})
            buffer->open(QIODevice::ReadWrite);
        QElapsedTimer clock;
        clock.start();
        if (cli::run({"veldrix-cli", "write", "-"}, in, out, err) != 0) {
            std::fprintf(stderr, "write failed: %s", err.data().constData());
            return 1;
        }
        write.push_back(clock.nsecsElapsed() / 1e6);
        // Listed at 100 ms plus a moment that goes through the poll interval.
        const int at = 100 + r * cli::PortWatch::pollMs / rounds;
        const std::vector<double> latency =
            provision({"--count", "1"}, profile(r + 1), {paths[0]}, {at});
        if (latency.empty() || latency[0] < 0)
            return 1;
        one.push_back(latency[0]);
    }
    char extra[64];
    show("write, one module", figures(write));
    std::snprintf(extra, sizeof extra, "%+.0f ms on write (poll every %d ms)",
                  figures(one).median - figures(write).median, cli::PortWatch::pollMs);
    show("provision, listed to its line", figures(one), extra);

    std::vector<double> each, last;
    for (int r = 0; r < std::max(1, rounds / 4); ++r) {
        std::vector<int> appear;
        for (int i = 0; i < 8; ++i)
            appear.push_back(100 + 100 * i);
        const std::vector<double> latency = provision({"--count", "8"}, profile(r), paths, appear);
        if (latency.empty() || *std::min_element(latency.begin(), latency.end()) < 0)
            return 1;
        each.insert(each.end(), latency.begin(), latency.end());
        // From the first appearance: the last line, 700 ms of appearances later.
        double end = 0;
        for (size_t i = 0; i < latency.size(); ++i)
            end = std::max(end, latency[i] + 100.0 * double(i));
        last.push_back(end);
    }
    show("provision, 8 modules 100 ms apart, each", figures(each));
    show("provision, 8 modules, first listed to last line", figures(last));
    ports::restoreSystemList();
    return 0;
}

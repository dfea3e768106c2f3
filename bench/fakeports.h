#ifndef VELDRIX_BENCH_FAKEPORTS_H
#define VELDRIX_BENCH_FAKEPORTS_H

// Serial devices other than the module, for the click benchmarks: a
// pseudo-terminal whose far end nobody answers from (a device that stays
// silent), and one from which a thread keeps sending (a GPS receiver, a
// device that floods the port).

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <thread>
#include <unistd.h>

namespace fakeports
{

// A port that opens and takes what is written to it, and never says a word.
class SilentPort
{
public:
    SilentPort()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            return;
        if (const char *name = ptsname(master))
            slavePath = QString::fromLocal8Bit(name);
    }
    ~SilentPort()
    {
        if (master >= 0)
            ::close(master);
    }
    SilentPort(const SilentPort &) = delete;
    SilentPort &operator=(const SilentPort &) = delete;

    bool ok() const { return !slavePath.isEmpty(); }
    // What the program opens.
    QString path() const { return slavePath; }

protected:
    int master = -1;

private:
    QString slavePath;
};

// A port that sends `chunk` every `periodMs` for as long as it lives,
// whoever listens. A period of 0 sends as fast as the line takes it.
class TalkingPort : public SilentPort
{
public:
    TalkingPort(const QByteArray &chunk, int periodMs)
    {
        if (!ok())
            return;
        talker = std::thread([this, chunk, periodMs] {
            auto next = std::chrono::steady_clock::now();
            while (!stop) {
                // What the line does not take now is dropped, as a device's
                // own buffer would overflow.
                if (::write(master, chunk.constData(), size_t(chunk.size())) < 0 && periodMs == 0) {
                    // Full, or nobody has the port open: wait a little.
                    pollfd out{master, POLLOUT, 0};
                    if (errno != EAGAIN || ::poll(&out, 1, 20) < 0)
                        std::this_thread::sleep_for(std::chrono::milliseconds(5));
                }
                if (periodMs > 0) {
                    next += std::chrono::milliseconds(periodMs);
                    std::this_thread::sleep_until(next);
                }
            }
        });
    }
    ~TalkingPort()
    {
        stop = true;
        if (talker.joinable())
            talker.join();
    }

private:
    std::atomic<bool> stop{false};
    std::thread talker;
};

} // namespace fakeports

#endif

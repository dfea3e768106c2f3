#include "standin/modulestandin.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

// Nothing here comes from the program's link/ folder, on purpose: the check
// character, the two value orders and the frame parsing are written again
// from the module's side, so that the stand-in can catch the program's faults
// instead of sharing them.

namespace standin
{

namespace
{

using Clock = std::chrono::steady_clock;

constexpr int settingCount = 36;

// Factory configuration, in the order of the configuration frame. The texts
// are all different where a field holds a number, so that a value that lands
// in the wrong place shows.
const char *const factoryValues[settingCount] = {
    "500",  // 1  CAN bus speed, kbit/s
    "1",    // 2  termination resistor
    "0",    // 3  automatic summer time
    "0",    // 4  time zone offset, hours
    "1",    // 5  own longitude/latitude frame
    "1",    // 6  own speed/altitude frame
    "1",    // 7  own precision frame
    "1",    // 8  own UTC date/time frame
    "1",    // 9  own local date/time frame
    "1",    // 10 own HHMMSS frame
    "0",    // 11 MegaSquirt 3 position frames
    "0",    // 12 MegaSquirt 3 date/time frames
    "100",  // 13 period, longitude/latitude
    "256",  // 14 identifier, longitude/latitude
    "200",  // 15 period, speed/altitude
    "257",  // 16 identifier, speed/altitude
    "250",  // 17 period, precision
    "258",  // 18 identifier, precision
    "500",  // 19 period, UTC date/time
    "259",  // 20 identifier, UTC date/time
    "1000", // 21 period, local date/time
    "260",  // 22 identifier, local date/time
    "2000", // 23 period, HHMMSS
    "261",  // 24 identifier, HHMMSS
    "50",   // 25 period, MegaSquirt 3 position frames
    "150",  // 26 period, MegaSquirt 3 date/time frames
    "1512", // 27 first MegaSquirt 3 identifier
    "10",   // 28 MegaSquirt 3 identifier offset
    "1",    // 29 LED on
    "100",  // 30 LED brightness, percent
    "0",    // 31 altitude reference (0 mean sea level, 1 ellipsoid)
    "0",    // 32 ECUmaster position/info frames
    "0",    // 33 ECUmaster date/time frame
    "120",  // 34 period, ECUmaster position/info frames
    "1100", // 35 period, ECUmaster date/time frame
    "1536", // 36 first ECUmaster identifier
};

// The module reports its settings in an order of its own: entry i is the
// write position (1-based) of the value it sends in place i. Each of its own
// frames comes with switch, period and identifier together; the two
// MegaSquirt 3 switches follow them.
constexpr std::array<int, settingCount> reportOrder = {
    1,  2,  3,  4,                      // general
    5,  13, 14, 6,  15, 16, 7,  17, 18, // longitude/latitude, speed/altitude, precision
    8,  19, 20, 9,  21, 22, 10, 23, 24, // UTC, local time, HHMMSS
    11, 12,                             // MegaSquirt 3 switches
    25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36};

// What the module makes of the values it is sent when it normalises them:
// the lowest and highest whole number it takes for each setting, by write
// position, and the steps it keeps to.
struct Accepts {
    int low;
    int high;
    int step;
};
constexpr Accepts sw{0, 1, 1};
constexpr Accepts period{10, 2500, 1};
constexpr Accepts ident{10, 2045, 1};
// clang-format off
constexpr std::array<Accepts, settingCount> accepts = {{
    {125, 1000, 1}, sw, sw, {-12, 12, 1},         // 1-4
    sw, sw, sw, sw, sw, sw, sw, sw,               // 5-12
    period, ident, period, ident, period, ident,  // 13-18
    period, ident, period, ident, period, ident,  // 19-24
    period, period, {10, 2000, 1}, {10, 30, 1},   // 25-28
    sw, {5, 100, 5}, sw, sw, sw,                  // 29-33
    period, period, {10, 2000, 1}}};              // 34-36
// clang-format on

// The value as the module would hold it: a whole number within its range in
// plain decimal; anything else leaves `held`.
QString normalised(int writePosition, const QString &value, const QString &held)
{
    bool ok = false;
    const int number = value.toInt(&ok, 10);
    const Accepts &a = accepts[std::size_t(writePosition - 1)];
    if (!ok || number < a.low || number > a.high || (number - a.low) % a.step != 0)
        return held;
    if (writePosition == 1 && number != 125 && number != 250 && number != 500 && number != 1000)
        return held; // the bus runs at four speeds only
    return QString::number(number);
}

constexpr std::size_t maxLine = 4u << 20; // longer input without "\n" is dropped

struct AnswerPlan {
    bool silent = false;
    int delayMs = 0;
    QVector<ModuleStandin::Piece> pieces;
    int dripBytes = 0; // > 0: uniform pieces instead of `pieces`
    int dripPauseMs = 0;
    QByteArray raw;
    int unplugAfter = -1; // one-shot
};

int indexOf(ModuleStandin::Answer which)
{
    return which == ModuleStandin::Identify ? 0 : 1;
}

} // namespace

struct ModuleStandin::State {
    mutable std::mutex mutex;
    std::condition_variable changed; // unplug done, thread stopped

    // pty
    int master = -1;
    QString path;
    QString link;
    int wake[2] = {-1, -1};
    std::thread thread;
    bool running = false;
    bool quit = false;
    bool unplugRequested = false;

    // the module
    QByteArray id = ModuleStandin::defaultModuleId();
    QByteArray closing = "\r\n";
    QStringList values = ModuleStandin::factorySettings();
    int restartMs = 100;
    Clock::time_point deafUntil{};

    // record
    QByteArray log;
    int restarts = 0;
    int resets = 0;
    int accepted = 0;
    int rejected = 0;
    QString rejection;
    int answers[2] = {0, 0};

    // misbehaviours
    AnswerPlan plans[2];
    bool wrongCheck = false;
    int valueCount = settingCount;
    bool normalising = false;

    int generation = 0; // counts the ptys opened

    // owned by the thread only
    QByteArray line;
    bool peerGoneHandled = false;
    int seenGeneration = 0;

    // ---- helpers, called with the mutex held unless said otherwise ----

    void wakeThread() const
    {
        const char c = 'w';
        [[maybe_unused]] auto n = ::write(wake[1], &c, 1);
    }

    void updateLink()
    {
        if (link.isEmpty())
            return;
        QFile::remove(link);
        if (!path.isEmpty())
            QFile::link(path, link);
    }

    bool openPty()
    {
        int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0)
            return false;
        if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0) {
            ::close(fd);
            return false;
        }
        char name[128];
        if (::ptsname_r(fd, name, sizeof name) != 0) {
            ::close(fd);
            return false;
        }
        // Termios requests on the master act on the slave: raw bytes, no
        // echo, no line editing, whoever opens the slave.
        termios tio{};
        if (::tcgetattr(fd, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::cfsetispeed(&tio, B115200);
            ::cfsetospeed(&tio, B115200);
            ::tcsetattr(fd, TCSANOW, &tio);
        }
        master = fd;
        path = QString::fromLocal8Bit(name);
        ++generation;
        updateLink();
        return true;
    }

    void closePty()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
        path.clear();
        if (!link.isEmpty())
            QFile::remove(link);
    }

    QByteArray replyLocked(bool wrongCheck, int valueCount) const
    {
        QByteArray payload = id;
        payload += ' ';
        QList<QByteArray> parts;
        for (int position : reportOrder)
            parts.append(values.at(position - 1).toUtf8());
        while (parts.size() > valueCount)
            parts.removeLast();
        while (parts.size() < valueCount)
            parts.append("0");
        payload += parts.join(' ');
        char check = ModuleStandin::checkCharacterOf(payload);
        if (wrongCheck)
            check = char(0x20 + ((check - 0x20 + 1) & 0x3f));
        return payload + check + closing;
    }

    // ---- the thread ----

    // Sleeps up to `ms`, waking early for stop or unplug, or when the port is
    // closed on the far end (`fd` hangs up). False when the current answer
    // has to be abandoned.
    bool pause(int ms, int fd)
    {
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (quit || unplugRequested || master < 0)
                    return false;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            if (left <= 0)
                return true;
            pollfd p[2] = {{wake[0], POLLIN, 0}, {fd, 0, 0}};
            if (::poll(p, 2, int(left)) > 0) {
                if (p[0].revents)
                    drainWake();
                if (p[1].revents & (POLLHUP | POLLERR | POLLNVAL))
                    return false;
            }
        }
    }

    void drainWake()
    {
        char buf[64];
        while (::read(wake[0], buf, sizeof buf) > 0) {
        }
    }

    // Writes all of `bytes`; false when the far end went away (port closed),
    // or for stop or unplug.
    bool writeAll(int fd, const char *data, qsizetype size)
    {
        qsizetype done = 0;
        while (done < size) {
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (quit || unplugRequested)
                    return false;
            }
            pollfd p[2] = {{fd, POLLOUT, 0}, {wake[0], POLLIN, 0}};
            if (::poll(p, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            if (p[1].revents)
                drainWake();
            if (p[0].revents & (POLLHUP | POLLERR | POLLNVAL))
                return false;
            if (!(p[0].revents & POLLOUT))
                continue;
            const ssize_t n = ::write(fd, data + done, std::size_t(size - done));
            if (n < 0) {
                if (errno == EAGAIN || errno == EINTR)
                    continue;
                return false;
            }
            done += n;
        }
        return true;
    }

    // Waits (up to a second) until the far end has read what was sent, so
    // that an unplug in the middle of an answer cuts it where asked: closing
    // the master would drop bytes still queued for the reader. Reading the
    // queue needs a second opening of the slave; when that is refused, a
    // short fixed wait has to do.
    void letReaderCatchUp()
    {
        QByteArray name;
        {
            std::lock_guard<std::mutex> lock(mutex);
            name = path.toLocal8Bit();
        }
        const int fd =
            name.isEmpty() ? -1 : ::open(name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) {
            pause(100, -1);
            return;
        }
        // The bytes reach the reader's queue a moment after the write, so
        // an empty queue counts only when it stays empty for a while.
        const auto end = Clock::now() + std::chrono::seconds(1);
        int emptyLooks = 0;
        while (emptyLooks < 5 && Clock::now() < end && pause(4, -1)) {
            int pending = 0;
            if (::ioctl(fd, FIONREAD, &pending) != 0)
                break;
            emptyLooks = pending > 0 ? 0 : emptyLooks + 1;
        }
        ::close(fd);
    }

    void unplugFromThread()
    {
        std::lock_guard<std::mutex> lock(mutex);
        closePty();
        unplugRequested = false;
        changed.notify_all();
    }

    void sendAnswer(ModuleStandin::Answer which, QByteArray bytes)
    {
        AnswerPlan plan;
        int fd;
        {
            std::lock_guard<std::mutex> lock(mutex);
            AnswerPlan &stored = plans[indexOf(which)];
            plan = stored;
            stored.unplugAfter = -1;
            ++answers[indexOf(which)];
            fd = master;
        }
        // A one-shot unplug happens at this answer whatever becomes of it.
        const auto finish = [&] {
            if (plan.unplugAfter >= 0) {
                letReaderCatchUp();
                unplugFromThread();
            }
        };
        if (plan.silent || fd < 0 || (plan.delayMs > 0 && !pause(plan.delayMs, fd))) {
            finish();
            return;
        }
        if (!plan.raw.isEmpty())
            bytes = plan.raw;

        qsizetype limit = bytes.size();
        if (plan.unplugAfter >= 0)
            limit = std::min<qsizetype>(limit, plan.unplugAfter);

        // Cut into pieces: (length, pause after).
        QVector<QPair<qsizetype, int>> cuts;
        if (plan.dripBytes > 0) {
            for (qsizetype at = 0; at < bytes.size(); at += plan.dripBytes)
                cuts.append(
                    {std::min<qsizetype>(plan.dripBytes, bytes.size() - at), plan.dripPauseMs});
        } else {
            qsizetype at = 0;
            for (const Piece &piece : plan.pieces) {
                if (at >= bytes.size())
                    break;
                const qsizetype n =
                    std::min<qsizetype>(std::max(piece.bytes, 0), bytes.size() - at);
                cuts.append({n, piece.pauseAfterMs});
                at += n;
            }
            if (at < bytes.size())
                cuts.append({bytes.size() - at, 0});
        }

        qsizetype sent = 0;
        for (int i = 0; i < cuts.size() && sent < limit; ++i) {
            const qsizetype n = std::min(cuts[i].first, limit - sent);
            if (!writeAll(fd, bytes.constData() + sent, n))
                break;
            sent += n;
            if (sent < limit && cuts[i].second > 0 && !pause(cuts[i].second, fd))
                break;
        }
        finish();
    }

    void handleFrame(const QByteArray &frame)
    {
        // frame: "c" + id + " " + values each followed by a blank + check
        QString why;
        QStringList got;
        {
            std::lock_guard<std::mutex> lock(mutex);
            const QByteArray head = "c" + id + " ";
            if (frame.size() < 2) {
                why = "frame too short";
            } else if (ModuleStandin::checkCharacterOf(frame.left(frame.size() - 1)) !=
                       frame.at(frame.size() - 1)) {
                why = "wrong check character";
            } else if (!frame.startsWith(head)) {
                why = "frame is not addressed to " + QString::fromUtf8(id);
            } else {
                const QByteArray body = frame.mid(head.size(), frame.size() - 1 - head.size());
                if (!body.endsWith(' ')) {
                    why = "values do not end with a blank";
                } else {
                    QList<QByteArray> parts = body.left(body.size() - 1).split(' ');
                    if (parts.size() != settingCount)
                        why = QString("%1 values instead of 36").arg(parts.size());
                    for (const QByteArray &part : parts)
                        got.append(QString::fromUtf8(part));
                }
            }
            if (why.isEmpty()) {
                for (int i = 0; i < settingCount; ++i)
                    values[i] =
                        normalising ? normalised(i + 1, got.at(i), values.at(i)) : got.at(i);
                ++accepted;
            } else {
                rejection = why;
                ++rejected;
            }
        }
    }

    void restart(bool factory)
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (factory) {
            ++resets;
            values = ModuleStandin::factorySettings();
        } else {
            ++restarts;
        }
        deafUntil = Clock::now() + std::chrono::milliseconds(restartMs);
        line.clear();
    }

    void handleLine(const QByteArray &text)
    {
        if (text == "iI") {
            QByteArray answer;
            {
                std::lock_guard<std::mutex> lock(mutex);
                answer = id + closing;
            }
            sendAnswer(ModuleStandin::Identify, answer);
        } else if (text == "sS") {
            QByteArray answer;
            {
                std::lock_guard<std::mutex> lock(mutex);
                answer = replyLocked(wrongCheck, valueCount);
            }
            sendAnswer(ModuleStandin::Read, answer);
        } else if (text == "rR") {
            restart(false);
        } else if (text == "zZ") {
            restart(true);
        } else if (text.startsWith('c')) {
            handleFrame(text);
        }
        // anything else: not a command of the module, ignored
    }

    // The port was closed on the program's side: what the module sent and
    // nobody read is lost, as on a serial line nobody listens to, and a
    // half-received command is forgotten.
    void forgetExchange()
    {
        line.clear();
        QByteArray name;
        {
            std::lock_guard<std::mutex> lock(mutex);
            name = path.toLocal8Bit();
        }
        if (name.isEmpty())
            return;
        const int fd = ::open(name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd >= 0) {
            ::tcflush(fd, TCIFLUSH);
            ::close(fd);
        }
    }

    void run()
    {
        for (;;) {
            int fd;
            int current;
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (quit)
                    return;
                if (unplugRequested) {
                    closePty();
                    unplugRequested = false;
                    changed.notify_all();
                }
                fd = master;
                current = generation;
            }
            if (current != seenGeneration) {
                // Plugged in again: a fresh start.
                seenGeneration = current;
                line.clear();
                peerGoneHandled = false;
            }
            if (fd < 0) {
                pollfd p{wake[0], POLLIN, 0};
                if (::poll(&p, 1, -1) > 0)
                    drainWake();
                continue;
            }
            pollfd p[2] = {{fd, POLLIN, 0}, {wake[0], POLLIN, 0}};
            if (::poll(p, 2, -1) < 0)
                continue;
            if (p[1].revents)
                drainWake();
            if (p[0].revents & POLLIN) {
                char buf[4096];
                const ssize_t n = ::read(fd, buf, sizeof buf);
                if (n > 0) {
                    peerGoneHandled = false;
                    take(QByteArray(buf, int(n)));
                    continue;
                }
            }
            if (p[0].revents & (POLLHUP | POLLERR)) {
                // Nobody has the port open. A closed slave keeps reporting
                // a hang-up, so look again a little later.
                if (!peerGoneHandled) {
                    forgetExchange();
                    peerGoneHandled = true;
                }
                pollfd w{wake[0], POLLIN, 0};
                if (::poll(&w, 1, 5) > 0)
                    drainWake();
            } else if (!(p[0].revents & POLLIN)) {
                peerGoneHandled = false;
            }
        }
    }

    void take(const QByteArray &bytes)
    {
        bool deaf;
        {
            std::lock_guard<std::mutex> lock(mutex);
            log += bytes;
            deaf = Clock::now() < deafUntil;
        }
        if (deaf)
            return;
        line += bytes;
        int end;
        while ((end = line.indexOf('\n')) >= 0) {
            const QByteArray text = line.left(end);
            line.remove(0, end + 1);
            handleLine(text);
            std::lock_guard<std::mutex> lock(mutex);
            if (Clock::now() < deafUntil) {
                // Whatever followed a restart in the same read is not heard.
                line.clear();
                break;
            }
        }
        if (std::size_t(line.size()) > maxLine)
            line.clear();
    }
};

// ---------------------------------------------------------------------------

ModuleStandin::ModuleStandin() : d(new State) {}

ModuleStandin::~ModuleStandin()
{
    stop();
}

bool ModuleStandin::start()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    if (d->running)
        return true;
    if (::pipe2(d->wake, O_NONBLOCK | O_CLOEXEC) != 0)
        return false;
    if (!d->openPty()) {
        ::close(d->wake[0]);
        ::close(d->wake[1]);
        d->wake[0] = d->wake[1] = -1;
        return false;
    }
    d->quit = false;
    d->running = true;
    d->thread = std::thread([this] { d->run(); });
    return true;
}

void ModuleStandin::stop()
{
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        if (!d->running)
            return;
        d->quit = true;
        d->wakeThread();
    }
    d->thread.join();
    std::lock_guard<std::mutex> lock(d->mutex);
    d->closePty();
    ::close(d->wake[0]);
    ::close(d->wake[1]);
    d->wake[0] = d->wake[1] = -1;
    d->running = false;
}

QString ModuleStandin::portPath() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->path;
}

bool ModuleStandin::isPlugged() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->master >= 0;
}

bool ModuleStandin::setLinkPath(const QString &path)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    if (!d->link.isEmpty())
        QFile::remove(d->link);
    d->link = path;
    if (path.isEmpty())
        return true;
    QFile::remove(path);
    return d->path.isEmpty() || QFile::link(d->path, path);
}

QString ModuleStandin::linkPath() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->link;
}

void ModuleStandin::setModuleId(const QByteArray &id)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->id = id;
}

QByteArray ModuleStandin::moduleId() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->id;
}

QByteArray ModuleStandin::defaultModuleId()
{
    return QByteArrayLiteral("VELDRIX_GPS2CAN_SIM");
}

void ModuleStandin::setClosingBytes(const QByteArray &bytes)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->closing = bytes;
}

QByteArray ModuleStandin::closingBytes() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->closing;
}

QStringList ModuleStandin::settings() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->values;
}

bool ModuleStandin::setSettings(const QStringList &values)
{
    if (values.size() != settingCount)
        return false;
    std::lock_guard<std::mutex> lock(d->mutex);
    d->values = values;
    return true;
}

QString ModuleStandin::setting(int writePosition) const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    if (writePosition < 1 || writePosition > settingCount)
        return QString();
    return d->values.at(writePosition - 1);
}

void ModuleStandin::setSetting(int writePosition, const QString &value)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    if (writePosition >= 1 && writePosition <= settingCount)
        d->values[writePosition - 1] = value;
}

QStringList ModuleStandin::settingsInReadOrder() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    QStringList out;
    for (int position : reportOrder)
        out.append(d->values.at(position - 1));
    return out;
}

QStringList ModuleStandin::factorySettings()
{
    QStringList out;
    for (const char *value : factoryValues)
        out.append(QString::fromLatin1(value));
    return out;
}

QByteArray ModuleStandin::configurationReply() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->replyLocked(false, settingCount);
}

char ModuleStandin::checkCharacterOf(const QByteArray &bytes)
{
    unsigned sum = 0;
    for (char c : bytes)
        sum += static_cast<unsigned char>(c);
    return char(0x20 + (sum % 64));
}

QByteArray ModuleStandin::received() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->log;
}

void ModuleStandin::clearReceived()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->log.clear();
}

int ModuleStandin::restartCount() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->restarts;
}

int ModuleStandin::factoryResetCount() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->resets;
}

int ModuleStandin::acceptedConfigCount() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->accepted;
}

int ModuleStandin::rejectedConfigCount() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->rejected;
}

QString ModuleStandin::lastRejection() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->rejection;
}

int ModuleStandin::answerCount(Answer which) const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    int n = 0;
    if (which & Identify)
        n += d->answers[0];
    if (which & Read)
        n += d->answers[1];
    return n;
}

bool ModuleStandin::isRestarting() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return Clock::now() < d->deafUntil;
}

bool ModuleStandin::waitUntil(const std::function<bool()> &condition, int timeoutMs) const
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (condition())
            return true;
        if (Clock::now() >= end)
            return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void ModuleStandin::setRestartTime(int ms)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->restartMs = std::max(ms, 0);
}

int ModuleStandin::restartTime() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->restartMs;
}

void ModuleStandin::behaveWell()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->plans[0] = AnswerPlan();
    d->plans[1] = AnswerPlan();
    d->wrongCheck = false;
    d->valueCount = settingCount;
}

namespace
{
template <typename F> void forEach(unsigned which, AnswerPlan (&plans)[2], F f)
{
    if (which & ModuleStandin::Identify)
        f(plans[0]);
    if (which & ModuleStandin::Read)
        f(plans[1]);
}
} // namespace

void ModuleStandin::setSilent(unsigned which, bool silent)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    forEach(which, d->plans, [&](AnswerPlan &p) { p.silent = silent; });
}

void ModuleStandin::setDelay(unsigned which, int ms)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    forEach(which, d->plans, [&](AnswerPlan &p) { p.delayMs = std::max(ms, 0); });
}

void ModuleStandin::setPieces(unsigned which, const QVector<Piece> &pieces)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    forEach(which, d->plans, [&](AnswerPlan &p) {
        p.pieces = pieces;
        p.dripBytes = 0;
    });
}

void ModuleStandin::setDrip(unsigned which, int bytesPerPiece, int pauseMs)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    forEach(which, d->plans, [&](AnswerPlan &p) {
        p.pieces.clear();
        p.dripBytes = std::max(bytesPerPiece, 0);
        p.dripPauseMs = std::max(pauseMs, 0);
    });
}

void ModuleStandin::setWrongCheckCharacter(bool wrong)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->wrongCheck = wrong;
}

void ModuleStandin::setNormalisesValues(bool normalises)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->normalising = normalises;
}

void ModuleStandin::setReplyValueCount(int count)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->valueCount = std::max(count, 0);
}

void ModuleStandin::setRawAnswer(unsigned which, const QByteArray &bytes)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    forEach(which, d->plans, [&](AnswerPlan &p) { p.raw = bytes; });
}

void ModuleStandin::unplug()
{
    std::unique_lock<std::mutex> lock(d->mutex);
    if (d->master < 0)
        return;
    if (!d->running) {
        d->closePty();
        return;
    }
    d->unplugRequested = true;
    d->wakeThread();
    d->changed.wait(lock, [this] { return d->master < 0 || !d->running; });
}

void ModuleStandin::unplugAfter(unsigned which, int bytes)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    forEach(which, d->plans, [&](AnswerPlan &p) { p.unplugAfter = std::max(bytes, 0); });
}

bool ModuleStandin::replug()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    if (!d->running)
        return false;
    if (d->master >= 0)
        return true;
    if (!d->openPty())
        return false;
    d->wakeThread();
    return true;
}

} // namespace standin

#include "standin/modulestandin.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace standin
{

bool ModuleStandin::start()
{
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return false;
    termios raw{};
    ::tcgetattr(master, &raw);
    ::cfmakeraw(&raw); // at 38400 baud until the program sets its speed
    ::tcsetattr(master, TCSANOW, &raw);
    path = QString::fromLocal8Bit(::ptsname(master));
    clock.start();
    thread = std::thread([this] { run(); });
    return true;
}

ModuleStandin::~ModuleStandin()
{
    unplug();
    if (master >= 0)
        ::close(master);
}

// The terminal is locked rather than closed: closing would free its number
// for the next terminal opened on the machine, which the program, still
// holding the module's old port name, would then reach.
void ModuleStandin::unplug()
{
    quit = true;
    if (thread.joinable())
        thread.join();
    int locked = 1;
    if (master >= 0)
        ::ioctl(master, TIOCSPTLCK, &locked);
}

// Waits `ms`; false when the port was closed meanwhile or the stand-in stops.
bool ModuleStandin::pause(int ms)
{
    const qint64 end = clock.elapsed() + ms;
    do {
        pollfd p{master, 0, 0};
        if (quit || ::poll(&p, 1, int(qBound<qint64>(0, end - clock.elapsed(), 20))) > 0)
            return false;
    } while (clock.elapsed() < end);
    return true;
}

void ModuleStandin::write(const QByteArray &bytes)
{
    for (int done = 0; done < bytes.size();) {
        const ssize_t n = ::write(master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += int(n);
        else if (errno != EAGAIN || !pause(5))
            return;
    }
}

void ModuleStandin::handle(const QByteArray &command)
{
    std::unique_lock<Mutex> lock(mutex);
    log.append(command + '\n');
    if (command == "zZ")
        behaviour.settings = factorySettings();
    if (command == "rR" || command == "zZ")
        deafUntil = clock.elapsed() + 250;
    // A configuration frame: "c", id, a blank, 36 values each followed by a blank, check.
    const QByteArray payload = command.left(command.size() - 1), head = 'c' + id + ' ';
    const QString values = QString::fromUtf8(payload.mid(head.size()));
    if (payload.startsWith(head) && values.endsWith(' ') && values.count(' ') == 36 &&
        checkCharacter(payload) == command.back())
        behaviour.settings = values.left(values.size() - 1).split(' ');
    if (command != "iI" && command != "sS")
        return;
    const Script own{{0, command == "iI" ? id + "\r\n" : reply()}};
    const Script script = behaviour.answers.value(command[0], own);
    lock.unlock();
    for (const Step &step : script)
        if (pause(step.pauseMs))
            write(step.bytes);
}

void ModuleStandin::run()
{
    QByteArray line;
    while (!quit) {
        pollfd p{master, POLLIN, 0};
        ::poll(&p, 1, 10);
        char buffer[512];
        const ssize_t n = p.revents ? ::read(master, buffer, sizeof buffer) : 0;
        if (n > 0) {
            line.append(buffer, int(n));
        } else if (n <= 0 && (p.revents & POLLHUP)) { // nobody holds the port: start afresh
            if (!line.isEmpty()) { // bytes after the last line feed were heard too
                const Lock lock(mutex);
                log.append(line);
            }
            line.clear();
            ::poll(nullptr, 0, 5);
            continue;
        }
        for (int end; (end = line.indexOf('\n')) >= 0; line.remove(0, end + 1))
            if (clock.elapsed() >= deafUntil)
                handle(line.left(end));
    }
}

QByteArray ModuleStandin::reply() const
{
    return framed(id + ' ' + inReadOrder(now().settings).join(' ').toUtf8());
}

} // namespace standin

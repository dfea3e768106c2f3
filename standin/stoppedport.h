#ifndef VELDRIX_STOPPEDPORT_H
#define VELDRIX_STOPPEDPORT_H

// A serial device that opens but takes nothing: a pseudo-terminal whose
// output is stopped, so that what the program writes to it never leaves, as
// on a port held up by its flow control. It stays stopped, whoever opens and
// sets up the terminal meanwhile, until it is let go.

#include <QString>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace standin
{

class StoppedPort
{
public:
    StoppedPort()
    {
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
        ::tcflow(slave, TCOOFF);
    }
    ~StoppedPort()
    {
        ::close(slave);
        ::close(master);
    }
    StoppedPort(const StoppedPort &) = delete;
    StoppedPort &operator=(const StoppedPort &) = delete;

    bool ok() const { return slave >= 0; }
    void letGo() { ::tcflow(slave, TCOON); }
    QString path() const { return QString::fromLocal8Bit(::ptsname(master)); }

private:
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    int slave = -1;
};

} // namespace standin

#endif

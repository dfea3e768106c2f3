// veldrix-module: plays the VELDRIX module on a pseudo-terminal, so that the
// configurator can be tried without the device.

#include "standin/modulestandin.h"

#include <QByteArray>
#include <QString>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace
{

const char usage[] =
    "Usage: veldrix-module [--id TEXT] [--link PATH] [--restart-ms N] [--normalise]\n"
    "                      [--group NAME]\n"
    "\n"
    "Emulates a VELDRIX GPS-to-CAN module on a new pseudo-terminal and prints\n"
    "the terminal's path, where it speaks the module's serial protocol:\n"
    "\n"
    "  iI<LF>  answers its identification text and CR LF\n"
    "  sS<LF>  answers its 36 settings in the module's read order, closed by\n"
    "          the check character and CR LF\n"
    "  c...    a configuration frame: stored when its check character is right\n"
    "          and it holds 36 values\n"
    "  rR<LF>  restart: deaf for a moment\n"
    "  zZ<LF>  factory reset: factory settings, then a restart\n"
    "\n"
    "The check character is 0x20 plus the sum of the bytes modulo 64.\n"
    "\n"
    "Options:\n"
    "  --id TEXT       identification text (default VELDRIX_GPS2CAN_SIM)\n"
    "  --link PATH     also make PATH a symbolic link to the terminal\n"
    "  --restart-ms N  how long a restart keeps the module deaf (default 100)\n"
    "  --normalise     store only whole numbers within each setting's range, in\n"
    "                  plain decimal; other values keep the setting as it was\n"
    "                  (by default values are stored as sent)\n"
    "  --group NAME    give the terminal to group NAME, readable and writable by\n"
    "                  it (mode 660), as a USB serial port belongs to dialout:\n"
    "                  --group dialout lets its members use a stand-in started\n"
    "                  by root (by default only its owner may open it)\n"
    "  --help          show this text\n"
    "\n"
    "It runs until interrupted (Ctrl+C) and reports every command it handles.\n"
    "The configurator probes only the serial ports the system lists, which a\n"
    "pseudo-terminal is not; the README says how to put it in a listed port's\n"
    "place.\n";

volatile std::sig_atomic_t stopRequested = 0;

void onSignal(int)
{
    stopRequested = 1;
}

void sleepMs(long ms)
{
    timespec t{ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&t, nullptr);
}

} // namespace

int main(int argc, char *argv[])
{
    QByteArray id = standin::ModuleStandin::defaultModuleId();
    QString link;
    int restartMs = 100;
    bool normalise = false;
    const char *groupName = nullptr;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(usage, stdout);
            return 0;
        } else if (!std::strcmp(argv[i], "--id") && hasValue) {
            id = argv[++i];
        } else if (!std::strcmp(argv[i], "--link") && hasValue) {
            link = QString::fromLocal8Bit(argv[++i]);
        } else if (!std::strcmp(argv[i], "--normalise")) {
            normalise = true;
        } else if (!std::strcmp(argv[i], "--group") && hasValue) {
            groupName = argv[++i];
        } else if (!std::strcmp(argv[i], "--restart-ms") && hasValue) {
            restartMs = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "veldrix-module: unknown option %s (see --help)\n", argv[i]);
            return 2;
        }
    }

    standin::ModuleStandin module;
    module.setModuleId(id);
    module.setRestartTime(restartMs);
    module.setNormalisesValues(normalise);
    if (!module.start()) {
        std::fputs("veldrix-module: no pseudo-terminal could be opened\n", stderr);
        return 1;
    }
    if (!link.isEmpty() && !module.setLinkPath(link)) {
        std::fprintf(stderr, "veldrix-module: cannot make the link %s\n", qPrintable(link));
        return 1;
    }
    const QByteArray port = module.portPath().toLocal8Bit();
    const struct group *owner = groupName ? getgrnam(groupName) : nullptr;
    if (groupName && (!owner || chown(port, -1, owner->gr_gid) != 0 || chmod(port, 0660) != 0)) {
        std::fprintf(stderr, "veldrix-module: cannot give %s to group %s\n", port.data(),
                     groupName);
        return 1;
    }
    std::printf("%s\n", port.data());
    std::fflush(stdout);

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);

    int identified = 0, read = 0, accepted = 0, rejected = 0, restarts = 0, resets = 0;
    while (!stopRequested) {
        sleepMs(50);
        auto report = [](int &seen, int now, const char *what) {
            for (; seen < now; ++seen)
                std::printf("%s\n", what);
        };
        report(identified, module.answerCount(standin::ModuleStandin::Identify), "identified");
        report(read, module.answerCount(standin::ModuleStandin::Read), "configuration read");
        const int acceptedNow = module.acceptedConfigCount();
        if (acceptedNow != accepted) {
            accepted = acceptedNow;
            std::printf("configuration stored: %s\n", qPrintable(module.settings().join(' ')));
        }
        const int rejectedNow = module.rejectedConfigCount();
        if (rejectedNow != rejected) {
            rejected = rejectedNow;
            std::printf("configuration refused: %s\n", qPrintable(module.lastRejection()));
        }
        report(restarts, module.restartCount(), "restart");
        report(resets, module.factoryResetCount(), "factory reset");
        std::fflush(stdout);
    }
    module.stop();
    return 0;
}

// veldrix-module [--id TEXT] [--group NAME]: plays the VELDRIX module
// (identification TEXT, default VELDRIX_GPS2CAN_SIM) on a new pseudo-terminal,
// so that the configurator can be tried without the device. Prints the
// terminal's path, then every command it hears, until interrupted. --group
// gives the terminal to group NAME with mode 660, as a USB serial port belongs
// to dialout, so that its members may use a stand-in started by root.

#include "standin/modulestandin.h"

#include <cstdio>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char *argv[])
{
    QByteArray id = "VELDRIX_GPS2CAN_SIM";
    const char *groupName = nullptr;
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 < argc && !std::strcmp(argv[i], "--id")) {
            id = argv[i + 1];
        } else if (i + 1 < argc && !std::strcmp(argv[i], "--group")) {
            groupName = argv[i + 1];
        } else {
            std::fputs("Usage: veldrix-module [--id TEXT] [--group NAME]\n", stderr);
            return 2;
        }
    }
    standin::ModuleStandin module(id);
    if (!module.start()) {
        std::fputs("veldrix-module: no pseudo-terminal could be opened\n", stderr);
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
    for (int shown = 0;; ::usleep(50000)) {
        const QByteArrayList heard = module.heard();
        for (; shown < heard.size(); ++shown)
            std::printf("heard %s", heard.at(shown).constData());
        std::fflush(stdout);
    }
}

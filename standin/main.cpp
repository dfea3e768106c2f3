// veldrix-module [--id TEXT]: plays the VELDRIX module (identification TEXT,
// default VELDRIX_GPS2CAN_SIM) on a new pseudo-terminal, so that the
// configurator can be tried without the device. Prints the terminal's path,
// then every command it hears, until interrupted.

#include "standin/modulestandin.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char *argv[])
{
    if (argc != 1 && (argc != 3 || std::strcmp(argv[1], "--id"))) {
        std::fputs("Usage: veldrix-module [--id TEXT]\n", stderr);
        return 2;
    }
    standin::ModuleStandin module(argc == 3 ? argv[2] : "VELDRIX_GPS2CAN_SIM");
    if (!module.start()) {
        std::fputs("veldrix-module: no pseudo-terminal could be opened\n", stderr);
        return 1;
    }
    std::printf("%s\n", qPrintable(module.portPath()));
    for (int shown = 0;; ::usleep(50000)) {
        const QVector<standin::Heard> heard = module.heard();
        for (; shown < heard.size(); ++shown)
            std::printf("heard %s", heard.at(shown).command.constData());
        std::fflush(stdout);
    }
}

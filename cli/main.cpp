// veldrix-cli: the command line of the VELDRIX configurator (cli.h).
#include "cli/cli.h"
#include "cli/interrupt.h"

#include <QCoreApplication>
#include <QFile>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The descriptors themselves, unbuffered: a write that fails (a full
    // disk, a closed pipe) fails at once, where the command can tell it.
    QFile in, out, err;
    in.open(0, QIODevice::ReadOnly | QIODevice::Unbuffered);
    out.open(1, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(2, QIODevice::WriteOnly | QIODevice::Unbuffered);
    cli::watchInterrupts();
    return cli::run(QCoreApplication::arguments(), in, out, err);
}

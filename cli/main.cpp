// veldrix-cli: the command line of the VELDRIX configurator (cli.h).
#include "cli/cli.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QFile in, out, err;
    in.open(stdin, QIODevice::ReadOnly | QIODevice::Unbuffered);
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return cli::run(QCoreApplication::arguments(), in, out, err);
}

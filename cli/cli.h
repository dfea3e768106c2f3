#ifndef VELDRIX_CLI_H
#define VELDRIX_CLI_H

#include <QIODevice>
#include <QStringList>

// veldrix-cli: finds VELDRIX modules, keeps their settings as TOML profiles
// and gives them back, restarts them or returns them to their factory
// settings, from the command line.
namespace cli
{

// Exit statuses, in the order of their gravity: with --all the program ends
// with the highest any module reached.
enum Status {
    Done = 0,
    UsageError = 1, // a wrong command line or profile: nothing was sent
    PortError = 2,  // no module, several without --port, or a port that failed
    NotHeld = 3,    // written, but the module does not hold it, or a read after a command failed
    OutputLost = 4, // the result could not be written whole to its file or standard output
    Incomplete = 3, // read, but the profile leaves out settings it cannot hold (named on err)
};

// Runs one command line (`arguments` begins with the program's name) with
// `in`, `out` and `err` as its standard input, output and error, and returns
// its exit status. The serial ports are those of ports::listed().
int run(const QStringList &arguments, QIODevice &in, QIODevice &out, QIODevice &err);

} // namespace cli

#endif

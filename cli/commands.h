#ifndef VELDRIX_CLI_COMMANDS_H
#define VELDRIX_CLI_COMMANDS_H

#include "link/profile.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QIODevice>

#include <optional>

// The five commands of veldrix-cli, each given its parsed command line and
// the standard streams; each returns its exit status.
namespace cli
{

// What a command is given: its parsed command line and the standard streams.
struct Invocation {
    const QCommandLineParser &parser;
    QIODevice &in, &out, &err;
    bool allowsAll; // the command takes --all
};

// The options the commands read; the command line's parsing (cli.cpp)
// defines them with their help.
extern const QCommandLineOption portOption, allOption, outputOption, dryRunOption, yesOption;

// Whether the command line holds `option`; unlike isSet(), quiet about an
// option the command does not take.
bool given(const QCommandLineParser &parser, const QCommandLineOption &option);

// The profile FILE ('-': standard input) of a command that writes one, read
// whole and checked before any port is touched. Nothing, after every problem
// was told on `err`, when it cannot be read or has any problem.
struct Profile {
    QString fileName; // as the messages name it
    QByteArray text;
    profile::Values values;
};
std::optional<Profile> loadProfile(const Invocation &call);

int find(const Invocation &call);
int read(const Invocation &call);
int write(const Invocation &call);
int restart(const Invocation &call);
int factoryReset(const Invocation &call);

} // namespace cli

#endif

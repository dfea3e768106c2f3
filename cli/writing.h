#ifndef VELDRIX_CLI_WRITING_H
#define VELDRIX_CLI_WRITING_H

#include "cli/commands.h"
#include "cli/steps.h"
#include "link/profile.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <optional>

// What write and provision share: the profile read whole and checked before
// any port is touched, and the steps that write it to modules and check it.
namespace cli
{

struct Profile {
    QString fileName; // as the messages name it: the path given, or "<stdin>"
    QByteArray text;
    profile::Values values;
};

// The profile FILE ('-': standard input) of the command line. Nothing, after
// every problem was told on `err`, when it cannot be read or has any problem.
std::optional<Profile> loadProfile(const Invocation &call);

// Reads each module, writes it `values` over what it holds (what the profile
// leaves out, the module keeps), gives it the half second and reads it again
// to check it; with `dryRun`, only says what would change. Each target's
// outcome and details then say how it went, as write tells them.
void writeProfile(QVector<Target> &targets, const profile::Values &values, bool dryRun);

} // namespace cli

#endif

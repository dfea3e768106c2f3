#ifndef VELDRIX_CLI_STEPS_H
#define VELDRIX_CLI_STEPS_H

#include "cli/cli.h"
#include "link/exchange.h"
#include "link/probe.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// The steps a command takes with the modules it goes to: each step goes to
// all modules still in good standing at once, and a module that fails one
// takes no further step.
namespace cli
{

// The ports that refused the identify command are told on `err`; the
// modules that answered are returned in the order of the list.
QVector<probe::Module> discover(const QStringList &portNames, QIODevice &err);

// One module a command goes to, and how it fares. Each step of a command
// goes to all modules still in good standing at once.
struct Target {
    probe::Module module;
    int status = Done;
    QString outcome;                   // its line with --all
    QStringList details;               // printed alone without --all: "key: old -> new"
    QStringList before, wanted, after; // 36 values each, in write order
};

QVector<Target> targetsOf(const QVector<probe::Module> &modules);

QVector<Target *> inGoodStanding(QVector<Target> &targets);

// Reads the settings of every module still in good standing into `into`; a
// module that cannot be read ends with `status`, its outcome beginning with
// `failure`.
void readSettings(QVector<Target> &targets, QStringList Target::*into, int status,
                  const QString &failure);

// Sends the request `command` makes for every module still in good standing;
// one whose port fails ends with a port error.
void sendToAll(QVector<Target> &targets,
               const std::function<exchange::Request(const Target &)> &command);

// Gives the modules still in good standing the half second after a command,
// handling events meanwhile.
void settle(QVector<Target> &targets);

// "key: old -> new" for each setting that differs, and a summary that names
// their keys after `verb` ("changed", "would change").
void describeChanges(Target &target, const QStringList &from, const QStringList &to,
                     const QString &verb);

// After a write and the read that followed it: the outcome names each
// setting the module does not hold (then NotHeld), and what changed.
void checkWritten(Target &target);

// Tells how each module fared: with --all one line each on `out`; else the
// details on `out` and a failure on `err`. Gives the highest status.
int report(const QVector<Target> &targets, bool all, QIODevice &out, QIODevice &err);

} // namespace cli

#endif

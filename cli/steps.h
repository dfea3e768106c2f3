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
// takes no further step. After Ctrl+C or SIGTERM no step begins.
namespace cli
{

// A port asked whether a module is on it, where none answered.
struct Miss {
    QString port;
    QString why; // why it is not a module, in a few words
    bool asked;  // it took the question: nothing, or no module, answered
    QString line() const { return port + QStringLiteral(": ") + why; }
};

// The ports asked whether a module is on them, and what each said.
struct Discovery {
    QVector<probe::Module> modules;    // in the order of the list
    QVector<Miss> others;              // in the order of the list
    bool refusedForPermission = false; // a port this user may not open
};
Discovery discover(const QStringList &portNames);

// Of `found.others`, "PORT: why" for each port that could not be asked
// whole: a module may hide behind one.
QStringList unasked(const Discovery &found);

// One module a command goes to, and how it fares.
struct Target {
    probe::Module module; // its name empty when no module answered on a port named
    int status = Done;
    QString outcome;                   // how it went, in a few words; empty while it goes on
    QStringList details;               // shown under its line: "key: old -> new"
    QStringList before, wanted, after; // 36 values each, in write order
    QString sending;                   // what the command sends it: "the profile", "the restart"
    bool sent = false;                 // the command left the port whole
    bool checked = false;              // the module was read after it
};

QVector<Target> targetsOf(const QVector<probe::Module> &modules, const QString &sending);

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
// handling events meanwhile; an interruption ends it early.
void settle(QVector<Target> &targets);

// After a restart or a factory reset: finds each module again by its name,
// on its port or any other listed, as a module that comes back on USB may
// take another name. One not found ends with `status`.
void findAgain(QVector<Target> &targets, const QString &done, int status);

// A setting's value in a profile's words: `true`, `"ellipsoid"`, `250`.
QString shown(int position, const QString &wire);

// "key: old -> new" for each setting that differs, and a summary after
// `verb` ("changed", "would change").
void describeChanges(Target &target, const QStringList &from, const QStringList &to,
                     const QString &verb);

// From now on, on this thread, the steps go on after Ctrl+C or SIGTERM:
// provision lets the modules in progress finish.
void finishDespiteInterrupts();

// Tells how a module fared in one line after `lead`, with its details under
// it: on `out`, or when it failed or was interrupted on `err` after the
// program's name (on `out` as it is when `err` is `out`). Gives its status.
int tell(const Target &target, const QString &lead, QIODevice &out, QIODevice &err);

// Tells how each module fared, the port leading each line when `withPort`.
// Gives the highest status (128 + the signal when interrupted).
int report(const QVector<Target> &targets, bool withPort, QIODevice &out, QIODevice &err);

} // namespace cli

#endif

#include "cli/commands.h"

#include "cli/captions.h"
#include "cli/interrupt.h"
#include "cli/output.h"
#include "cli/steps.h"
#include "cli/texts.h"
#include "cli/writing.h"
#include "link/ports.h"
#include "link/profile.h"
#include "veldrix_version.h"

#include <QDateTime>

#include <algorithm>

namespace cli
{
namespace
{

// "no VELDRIX module found", with every port tried and why it is not one.
void tellNoneFound(const Discovery &found, QIODevice &err)
{
    if (found.others.isEmpty()) {
        print(err, QStringLiteral("%1: no VELDRIX module found: the system lists no serial port")
                       .arg(program));
        return;
    }
    print(err, QStringLiteral("%1: no VELDRIX module found; ports tried:").arg(program));
    for (const Miss &miss : found.others)
        print(err, QStringLiteral("  ") + miss.line());
    if (found.refusedForPermission)
        print(err, QStringLiteral("%1: %2").arg(program, permissionAdvice()));
}

// The modules a command goes to: those on the ports named by --port, side
// by side, each port without a module a failed one; every one found with
// --all; or else the only one found. Empty, after saying why on `err`, when
// there is none to go to.
QVector<Target> pickTargets(const Invocation &call, const QString &sending)
{
    QStringList named = call.parser.values(portOption);
    named.removeDuplicates();
    if (!named.isEmpty()) {
        const Discovery found = discover(named);
        QVector<Target> targets = targetsOf(found.modules, sending);
        for (const Miss &miss : found.others) {
            targets.append(Target());
            targets.last().module.port = miss.port;
            targets.last().status = PortError;
            targets.last().outcome = QStringLiteral("no VELDRIX module: ") + miss.why;
        }
        if (found.refusedForPermission)
            print(call.err, QStringLiteral("%1: %2").arg(program, permissionAdvice()));
        // In the order named.
        std::sort(targets.begin(), targets.end(), [&](const Target &a, const Target &b) {
            return named.indexOf(a.module.port) < named.indexOf(b.module.port);
        });
        return targets;
    }
    const Discovery found = discover(ports::listed());
    if (found.modules.isEmpty()) {
        tellNoneFound(found, call.err);
    } else if (found.modules.size() > 1 && !given(call.parser, allOption)) {
        print(call.err, QStringLiteral("%1: %2 VELDRIX modules found; choose one with --port%3:")
                            .arg(program)
                            .arg(found.modules.size())
                            .arg(call.allowsAll ? " or give --all" : ""));
        for (const probe::Module &module : found.modules)
            print(call.err, QStringLiteral("  %1\t%2").arg(module.port, module.name));
        return {};
    }
    return targetsOf(found.modules, sending);
}

// Whether lines name their port: with --all or several --port.
bool withPort(const Invocation &call)
{
    return given(call.parser, allOption) || call.parser.values(portOption).size() > 1;
}

// Restart and factory reset: the command, the half second, the module found
// again by its name and read.
int command(const Invocation &call, exchange::Request (*request)(const QString &port),
            const QString &sending, const QString &done)
{
    QVector<Target> targets = pickTargets(call, sending);
    if (targets.isEmpty())
        return unlessInterrupted(PortError);
    sendToAll(targets, [&](const Target &t) { return request(t.module.port); });
    settle(targets);
    findAgain(targets, done, NotHeld);
    readSettings(targets, &Target::after, NotHeld,
                 done + QStringLiteral(", but could not be read back: "));
    for (Target *target : inGoodStanding(targets))
        if (target->checked)
            target->outcome = done + QStringLiteral(" and read back");
    return report(targets, withPort(call), call.out, call.err);
}

} // namespace

bool given(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    const QStringList seen = parser.optionNames();
    const QStringList names = option.names();
    return std::any_of(names.begin(), names.end(),
                       [&](const QString &name) { return seen.contains(name); });
}

int find(const Invocation &call)
{
    const Discovery found = discover(ports::listed());
    for (const probe::Module &module : found.modules)
        print(call.out, module.port + QLatin1Char('\t') + module.name);
    if (interruptSignal())
        return 128 + interruptSignal();
    if (found.modules.isEmpty()) {
        tellNoneFound(found, call.err);
        return PortError;
    }
    for (const QString &line : unasked(found))
        print(call.err, QStringLiteral("%1: cannot ask %2").arg(program, line));
    return Done;
}

int read(const Invocation &call)
{
    // A file is opened before the module is asked, and replaced only once
    // the profile is complete.
    const QString fileName = call.parser.value(outputOption);
    const bool toFile = !fileName.isEmpty() && fileName != QLatin1String("-");
    OutputFile file(fileName);
    if (toFile) {
        const QString failure = file.open();
        if (!failure.isEmpty()) {
            print(call.err, failure);
            return UsageError;
        }
    }
    QVector<Target> targets = pickTargets(call, QStringLiteral("nothing"));
    if (targets.isEmpty())
        return unlessInterrupted(PortError);
    readSettings(targets, &Target::before, PortError,
                 QStringLiteral("could not read its settings: "));
    const Target &target = targets.first();
    if (target.status == Done && target.before.isEmpty()) {
        print(call.err, QStringLiteral("%1: interrupted before the module was read%2")
                            .arg(program, toFile ? QStringLiteral("; %1 is as it was").arg(fileName)
                                                 : QString()));
        return unlessInterrupted(Done);
    }
    if (target.status != Done)
        return report(targets, false, call.out, call.err);
    const profile::Written backup =
        profile::write(target.before,
                       {target.module.name, target.module.port,
                        QDateTime::currentDateTimeUtc().toString(Qt::ISODate),
                        QStringLiteral("%1 %2").arg(program, VELDRIX_VERSION)},
                       frenchCaptions());
    // What the profile could not keep is named, and the status says the
    // backup is incomplete; the file is written all the same.
    for (const profile::LeftOut &leftOut : backup.leftOut)
        print(call.err, QStringLiteral("%1: %2").arg(program, profile::describe(leftOut)));
    const QByteArray &text = backup.text;
    if (!toFile) {
        call.out.write(text); // checked with every write to standard output
    } else if (const QString failure = file.finish(text); !failure.isEmpty()) {
        print(call.err, failure);
        return OutputLost;
    }
    return unlessInterrupted(backup.leftOut.isEmpty() ? Done : Incomplete);
}

int write(const Invocation &call)
{
    const std::optional<Profile> profile = loadProfile(call);
    if (!profile)
        return UsageError;
    const bool dryRun = given(call.parser, dryRunOption);
    QVector<Target> targets =
        pickTargets(call, dryRun ? QStringLiteral("nothing") : QStringLiteral("the profile"));
    if (targets.isEmpty())
        return unlessInterrupted(PortError);
    writeProfile(targets, profile->values, dryRun);
    return report(targets, withPort(call), call.out, call.err);
}

int restart(const Invocation &call)
{
    return command(call, exchange::restartRequest, QStringLiteral("the restart"),
                   QStringLiteral("restarted"));
}

int factoryReset(const Invocation &call)
{
    if (!given(call.parser, yesOption)) {
        print(call.err, QStringLiteral("%1: factory-reset returns the module to its factory "
                                       "settings; add --yes to do so")
                            .arg(program));
        return UsageError;
    }
    return command(call, exchange::factoryResetRequest, QStringLiteral("the factory reset"),
                   QStringLiteral("reset to its factory settings"));
}

} // namespace cli

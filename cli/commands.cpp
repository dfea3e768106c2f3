#include "cli/commands.h"

#include "cli/steps.h"
#include "cli/texts.h"
#include "link/ports.h"
#include "link/profile.h"
#include "link/records.h"
#include "veldrix_version.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace cli
{
namespace
{

// profile::read refuses more than 1 MiB; reading one byte more lets it say
// so without this program reading a file or a pipe without end.
constexpr qint64 profileReadLimit = 1024 * 1024 + 1;

// The modules a command goes to: the one on --port, every one found with
// --all, or else the only one found. Empty, after saying why on `err`, when
// there is none to go to.
QVector<probe::Module> pickModules(const Invocation &call)
{
    const bool all = given(call.parser, allOption);
    if (given(call.parser, portOption)) {
        const QString port = call.parser.value(portOption);
        const QVector<probe::Module> modules = discover({port}, call.err);
        if (modules.isEmpty())
            print(call.err,
                  QStringLiteral("%1: no VELDRIX module answered on %2").arg(program, port));
        return modules;
    }
    const QVector<probe::Module> modules = discover(ports::listed(), call.err);
    if (modules.isEmpty()) {
        print(call.err, QStringLiteral("%1: no VELDRIX module found").arg(program));
    } else if (modules.size() > 1 && !all) {
        print(call.err, QStringLiteral("%1: %2 VELDRIX modules found; choose one with --port%3:")
                            .arg(program)
                            .arg(modules.size())
                            .arg(call.allowsAll ? " or give --all" : ""));
        for (const probe::Module &module : modules)
            print(call.err, QStringLiteral("  %1\t%2").arg(module.port, module.name));
        return {};
    }
    return modules;
}

// Restart and factory reset: the command, the half second, and a read that
// shows the module is back.
int command(const Invocation &call, exchange::Request (*request)(const QString &port),
            const QString &done)
{
    QVector<Target> targets = targetsOf(pickModules(call));
    if (targets.isEmpty())
        return PortError;
    sendToAll(targets, [&](const Target &t) { return request(t.module.port); });
    settle(targets);
    readSettings(targets, &Target::after, NotHeld,
                 done + QStringLiteral(", but could not be read back: "));
    for (Target *target : inGoodStanding(targets))
        target->outcome = done + QStringLiteral(" and read back");
    return report(targets, given(call.parser, allOption), call.out, call.err);
}

} // namespace

std::optional<Profile> loadProfile(const Invocation &call)
{
    const QString fileName = call.parser.positionalArguments().value(0);
    const bool fromStdin = fileName == QLatin1String("-");
    QFile file(fileName);
    if (!fromStdin && !file.open(QIODevice::ReadOnly)) {
        print(call.err,
              QStringLiteral("%1: cannot read %2: %3").arg(program, fileName, file.errorString()));
        return std::nullopt;
    }
    QIODevice &source = fromStdin ? call.in : file;
    QByteArray text;
    while (text.size() < profileReadLimit) {
        const QByteArray piece = source.read(profileReadLimit - text.size());
        if (piece.isEmpty())
            break;
        text += piece;
    }
    const QString shownName = fromStdin ? QStringLiteral("<stdin>") : fileName;
    const profile::Reading reading = profile::read(text);
    for (const profile::Problem &problem : reading.problems)
        print(call.err, profile::describe(problem, shownName));
    if (!reading.problems.isEmpty())
        return std::nullopt;
    return Profile{shownName, text, reading.values};
}

bool given(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    const QStringList seen = parser.optionNames();
    const QStringList names = option.names();
    return std::any_of(names.begin(), names.end(),
                       [&](const QString &name) { return seen.contains(name); });
}

int find(const Invocation &call)
{
    const QVector<probe::Module> modules = discover(ports::listed(), call.err);
    for (const probe::Module &module : modules)
        print(call.out, module.port + QLatin1Char('\t') + module.name);
    if (!modules.isEmpty())
        return Done;
    print(call.err, QStringLiteral("%1: no VELDRIX module found").arg(program));
    return PortError;
}

int read(const Invocation &call)
{
    // The file is opened before the module is asked, so that a file that
    // cannot be written stops the command before anything goes out; it
    // replaces the old one only once the profile is complete.
    const QString fileName = call.parser.value(outputOption);
    QSaveFile file(fileName);
    const bool toFile = !fileName.isEmpty() && fileName != QLatin1String("-");
    if (toFile && !file.open(QIODevice::WriteOnly)) {
        print(call.err,
              QStringLiteral("%1: cannot write %2: %3").arg(program, fileName, file.errorString()));
        return UsageError;
    }
    QVector<Target> targets = targetsOf(pickModules(call));
    if (targets.isEmpty())
        return PortError;
    readSettings(targets, &Target::before, PortError,
                 QStringLiteral("could not read its settings: "));
    const Target &target = targets.first();
    if (target.status != Done)
        return report(targets, false, call.out, call.err);

    const QByteArray text =
        profile::write(target.before, {target.module.name, target.module.port,
                                       QDateTime::currentDateTimeUtc().toString(Qt::ISODate),
                                       QStringLiteral("%1 %2").arg(program, VELDRIX_VERSION)});
    if (!toFile) {
        call.out.write(text);
        return Done;
    }
    if (file.write(text) != text.size() || !file.commit()) {
        print(call.err,
              QStringLiteral("%1: cannot write %2: %3").arg(program, fileName, file.errorString()));
        return UsageError;
    }
    return Done;
}

int write(const Invocation &call)
{
    // The whole profile is read and checked before any port is touched.
    const std::optional<Profile> profile = loadProfile(call);
    if (!profile)
        return UsageError;

    const bool all = given(call.parser, allOption);
    QVector<Target> targets = targetsOf(pickModules(call));
    if (targets.isEmpty())
        return PortError;
    readSettings(targets, &Target::before, PortError,
                 QStringLiteral("could not read its settings: "));
    // What the profile leaves out, the module keeps.
    for (Target *target : inGoodStanding(targets)) {
        target->wanted = target->before;
        for (const auto &[position, value] : profile->values)
            target->wanted[position] = value;
    }
    if (given(call.parser, dryRunOption)) {
        for (Target *target : inGoodStanding(targets))
            describeChanges(*target, target->before, target->wanted,
                            QStringLiteral("would change"));
        return report(targets, all, call.out, call.err);
    }

    sendToAll(targets, [](const Target &t) {
        return exchange::configureRequest(
            t.module.port,
            records::configurationFrame(records::configurationString(t.module.name, t.wanted)));
    });
    settle(targets);
    readSettings(targets, &Target::after, NotHeld,
                 QStringLiteral("written, but could not be read back: "));
    for (Target *target : inGoodStanding(targets))
        checkWritten(*target);
    return report(targets, all, call.out, call.err);
}

int restart(const Invocation &call)
{
    return command(call, exchange::restartRequest, QStringLiteral("restarted"));
}

int factoryReset(const Invocation &call)
{
    if (!given(call.parser, yesOption)) {
        print(call.err, QStringLiteral("%1: factory-reset returns the module to its factory "
                                       "settings; add --yes to do so")
                            .arg(program));
        return UsageError;
    }
    return command(call, exchange::factoryResetRequest,
                   QStringLiteral("reset to its factory settings"));
}

} // namespace cli

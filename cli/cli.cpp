#include "cli/cli.h"

#include "link/exchange.h"
#include "link/ports.h"
#include "link/probe.h"
#include "link/profile.h"
#include "link/records.h"
#include "veldrix_version.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <optional>

namespace cli
{
namespace
{

const char program[] = "veldrix-cli";

// profile::read refuses more than 1 MiB; reading one byte more lets it say
// so without this program reading a file or a pipe without end.
constexpr qint64 profileReadLimit = 1024 * 1024 + 1;

const char exitStatuses[] =
    "Exit status:\n"
    "  0  done\n"
    "  1  wrong command line, or a profile that cannot be read, written or\n"
    "     accepted: nothing was sent\n"
    "  2  no module found, several found without --port, or a port that\n"
    "     failed\n"
    "  3  written, but the module does not hold it, or it could not be read\n"
    "     after the command\n"
    "With --all, the highest status of any module.\n";

void print(QIODevice &device, const QString &line)
{
    device.write(line.toUtf8() + '\n');
}

// What went wrong with a port that refused a command outright, in a few
// words, or the system's own (`reason`) where the error says little.
QString portReason(QSerialPort::SerialPortError error, const QString &reason)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("no such port, or it was unplugged");
    case QSerialPort::PermissionError:
        return QStringLiteral("permission denied, or another program uses the port");
    case QSerialPort::OpenError:
        return QStringLiteral("the port is already open");
    case QSerialPort::WriteError:
        return QStringLiteral("writing to the port failed");
    case QSerialPort::ReadError:
        return QStringLiteral("reading from the port failed");
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("the system does not allow this on the port");
    default:
        // A port that went away says so as well as a listed port that is only a
        // placeholder, with nothing behind it: the system's words tell them apart.
        return QStringLiteral("the port could not be used: %1").arg(reason);
    }
}

// A device, such as NUL on Windows or /dev/null, is written directly: saving
// a file beside it and renaming that over it would fail, or replace it.
// Returns the name to open it by; nothing for anything else.
std::optional<QString> deviceName(const QString &fileName)
{
#ifdef Q_OS_WIN
    // Qt would open NUL as a file of that name in the current folder.
    if (fileName.compare(QLatin1String("NUL"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("\\\\.\\NUL");
#endif
    const QFileInfo info(fileName);
    if (info.exists() && !info.isFile() && !info.isDir())
        return fileName;
    return std::nullopt;
}

QString sendFailure(const exchange::Outcome &outcome)
{
    switch (outcome.sent) {
    case exchange::Sent::Refused:
        return portReason(outcome.error, outcome.reason);
    case exchange::Sent::Incomplete:
        return QStringLiteral("the port took only part of the bytes");
    case exchange::Sent::NotDrained:
        return QStringLiteral("the bytes did not leave the port in time");
    case exchange::Sent::Done:
        break;
    }
    return {};
}

// The ports that refused the identify command are told on `err`; the
// modules that answered are returned in the order of the list.
QVector<probe::Module> discover(const QStringList &portNames, QIODevice &err)
{
    probe::Round round(portNames);
    for (const probe::Refusal &refusal : round.refusals())
        print(err, QStringLiteral("%1: cannot write to %2: %3")
                       .arg(program, refusal.port, portReason(refusal.error, refusal.reason)));
    round.collect();
    return round.modules();
}

// One module a command goes to, and how it fares. Each step of a command
// goes to all modules still in good standing at once.
struct Target {
    probe::Module module;
    int status = Done;
    QString outcome;                   // its line with --all
    QStringList details;               // printed alone without --all: "key: old -> new"
    QStringList before, wanted, after; // 36 values each, in write order
};

QVector<Target *> inGoodStanding(QVector<Target> &targets)
{
    QVector<Target *> going;
    for (Target &target : targets)
        if (target.status == Done)
            going.append(&target);
    return going;
}

// Runs one request on each module still in good standing, all at once.
void exchangeWithAll(QVector<Target> &targets,
                     const std::function<exchange::Request(const Target &)> &request,
                     const std::function<void(Target &, const exchange::Outcome &)> &take)
{
    const QVector<Target *> going = inGoodStanding(targets);
    if (going.isEmpty())
        return;
    QVector<exchange::Request> requests;
    for (const Target *target : going)
        requests.append(request(*target));
    exchange::Round round(requests);
    round.run();
    for (int i = 0; i < going.size(); ++i)
        take(*going[i], round.outcome(i));
}

// Reads the settings of every module still in good standing into `into`; a
// module that cannot be read ends with `status`, its outcome beginning with
// `failure`.
void readSettings(QVector<Target> &targets, QStringList Target::*into, int status,
                  const QString &failure)
{
    exchangeWithAll(
        targets, [](const Target &t) { return exchange::readRequest(t.module.port); },
        [&](Target &t, const exchange::Outcome &outcome) {
            QString reason;
            if (outcome.sent != exchange::Sent::Done) {
                reason = sendFailure(outcome);
            } else if (const std::optional<QString> checked =
                           exchange::checkedConfiguration(outcome)) {
                const QStringList values = records::replyValues(*checked, t.module.name.length());
                if (values.size() == records::settingCount) {
                    t.*into = records::inWriteOrder(values);
                    return;
                }
                reason = QStringLiteral("its reply holds %1 settings, not %2")
                             .arg(values.size())
                             .arg(records::settingCount);
            } else if (outcome.failed) {
                reason = QStringLiteral("the port failed while the module answered");
            } else if (outcome.cutOff) {
                reason = QStringLiteral("its answer went on too long");
            } else if (outcome.answer.isEmpty()) {
                reason = QStringLiteral("it did not answer");
            } else {
                reason = QStringLiteral("its reply failed the check");
            }
            t.status = status;
            t.outcome = failure + reason;
        });
}

// Writes `bytes` to every module still in good standing; one whose port
// fails ends with a port error.
void sendToAll(QVector<Target> &targets,
               const std::function<exchange::Request(const Target &)> &command)
{
    exchangeWithAll(targets, command, [](Target &t, const exchange::Outcome &outcome) {
        if (outcome.sent == exchange::Sent::Done)
            return;
        t.status = PortError;
        t.outcome = QStringLiteral("could not write to it: ") + sendFailure(outcome);
    });
}

// Gives the modules still in good standing the half second after a command,
// handling events meanwhile.
void settle(QVector<Target> &targets)
{
    if (inGoodStanding(targets).isEmpty())
        return;
    QEventLoop loop;
    QTimer::singleShot(exchange::settleMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// "key: old -> new" for each setting that differs, and a summary that names
// their keys after `verb` ("changed", "would change").
void describeChanges(Target &target, const QStringList &from, const QStringList &to,
                     const QString &verb)
{
    QStringList keys;
    for (int i = 0; i < records::settingCount; ++i) {
        if (from.at(i) == to.at(i))
            continue;
        keys.append(profile::key(i));
        target.details.append(
            QStringLiteral("%1: %2 -> %3").arg(profile::key(i), from.at(i), to.at(i)));
    }
    target.outcome += keys.isEmpty() ? QStringLiteral("no setting %1").arg(verb)
                                     : QStringLiteral("%1 %2 %3: %4")
                                           .arg(keys.size())
                                           .arg(keys.size() == 1 ? "setting" : "settings")
                                           .arg(verb, keys.join(QStringLiteral(", ")));
}

// Tells how each module fared: with --all one line each on `out`; else the
// details on `out` and a failure on `err`. Gives the highest status.
int report(const QVector<Target> &targets, bool all, QIODevice &out, QIODevice &err)
{
    int worst = Done;
    for (const Target &target : targets) {
        worst = std::max(worst, target.status);
        if (all) {
            print(out, target.module.port + QStringLiteral(": ") + target.outcome);
            continue;
        }
        for (const QString &line : target.details)
            print(out, line);
        if (target.status != Done)
            print(err,
                  QStringLiteral("%1: %2: %3").arg(program, target.module.port, target.outcome));
    }
    return worst;
}

// --- The command line ---------------------------------------------------------

struct Invocation {
    const QCommandLineParser &parser;
    QIODevice &in, &out, &err;
    bool allowsAll; // the command takes --all
};

// A serial port's name as the platform spells it, for the help texts.
QString examplePort()
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM3");
#else
    return QStringLiteral("ttyUSB0");
#endif
}

const QCommandLineOption helpOption({"h", "help"}, "Show this help and exit.");
const QCommandLineOption versionOption({"v", "version"}, "Show the version and exit.");
const QCommandLineOption
    portOption({"p", "port"},
               QStringLiteral("Talk only to the module on PORT, a name such as %1 or a path.")
                   .arg(examplePort()),
               "PORT");
const QCommandLineOption allOption({"a", "all"},
                                   "Give the command to every module found, all at once.");
const QCommandLineOption outputOption({"o", "output"},
                                      "Write the profile to FILE ('-': standard output, the "
                                      "default). It is replaced only once the module is read.",
                                      "FILE");
const QCommandLineOption dryRunOption({"n", "dry-run"}, "Say what would change and write nothing.");
const QCommandLineOption yesOption({"y", "yes"}, "Confirm the factory reset.");

// Whether the command line holds `option`; unlike isSet(), quiet about an
// option the command does not take.
bool given(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    const QStringList seen = parser.optionNames();
    const QStringList names = option.names();
    return std::any_of(names.begin(), names.end(),
                       [&](const QString &name) { return seen.contains(name); });
}

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

QVector<Target> targetsOf(const QVector<probe::Module> &modules)
{
    QVector<Target> targets;
    for (const probe::Module &module : modules)
        targets.append(Target{module, Done, {}, {}, {}, {}, {}});
    return targets;
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
    const std::optional<QString> device = deviceName(fileName);
    QFile deviceFile(device.value_or(QString()));
    const bool toFile = !fileName.isEmpty() && fileName != QLatin1String("-");
    const bool direct = toFile && device;
    QFileDevice &output = direct ? static_cast<QFileDevice &>(deviceFile) : file;
    if (toFile && !output.open(QIODevice::WriteOnly)) {
        print(
            call.err,
            QStringLiteral("%1: cannot write %2: %3").arg(program, fileName, output.errorString()));
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
    if (output.write(text) != text.size() || !(direct || file.commit())) {
        print(
            call.err,
            QStringLiteral("%1: cannot write %2: %3").arg(program, fileName, output.errorString()));
        return UsageError;
    }
    return Done;
}

int write(const Invocation &call)
{
    // The whole profile is read and checked before any port is touched.
    const QString fileName = call.parser.positionalArguments().value(0);
    const bool fromStdin = fileName == QLatin1String("-");
    QFile file(fileName);
    if (!fromStdin && !file.open(QIODevice::ReadOnly)) {
        print(call.err,
              QStringLiteral("%1: cannot read %2: %3").arg(program, fileName, file.errorString()));
        return UsageError;
    }
    QIODevice &source = fromStdin ? call.in : file;
    QByteArray text;
    while (text.size() < profileReadLimit) {
        const QByteArray piece = source.read(profileReadLimit - text.size());
        if (piece.isEmpty())
            break;
        text += piece;
    }
    const profile::Reading reading = profile::read(text);
    for (const profile::Problem &problem : reading.problems)
        print(call.err,
              profile::describe(problem, fromStdin ? QStringLiteral("<stdin>") : fileName));
    if (!reading.problems.isEmpty())
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
        for (const auto &[position, value] : reading.values)
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
    for (Target *target : inGoodStanding(targets)) {
        QStringList differing;
        for (int i = 0; i < records::settingCount; ++i)
            if (target->after.at(i) != target->wanted.at(i))
                differing.append(
                    QStringLiteral("%1 (written %2, holds %3)")
                        .arg(profile::key(i), target->wanted.at(i), target->after.at(i)));
        if (!differing.isEmpty()) {
            target->status = NotHeld;
            target->outcome = QStringLiteral("written, but the module does not hold: ");
            target->outcome += differing.join(QStringLiteral(", ")) + QStringLiteral("; ");
        } else {
            target->outcome = QStringLiteral("written; ");
        }
        describeChanges(*target, target->before, target->after, QStringLiteral("changed"));
    }
    return report(targets, all, call.out, call.err);
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

struct Command {
    const char *name;
    const char *usage; // after the program's name
    const char *summary;
    const char *description;
    QList<QCommandLineOption> options;
    int files; // positional FILE arguments it takes
    int (*run)(const Invocation &);
};

const QList<Command> &commands()
{
    static const QList<Command> list = {
        {"find",
         "find",
         "list the modules found: port and name",
         "List every VELDRIX module on every serial port: its port and its name, one a line.\n"
         "Ports that cannot be written to are told on standard error, with the reason.",
         {},
         0,
         find},
        {"read",
         "read [--port PORT] [-o FILE]",
         "read the module's settings as a profile",
         "Read the module's settings and write them as a TOML profile, with a comment\n"
         "giving the unit and the allowed values of each.",
         {portOption, outputOption},
         0,
         read},
        {"write",
         "write FILE [--port PORT | --all] [--dry-run]",
         "write a profile's settings to the module",
         "Write the settings of the profile FILE ('-': standard input) to the module. The\n"
         "whole profile is checked before anything is sent; settings it leaves out keep\n"
         "what the module holds. The module is then read again: each setting that\n"
         "changed is shown as 'key: old -> new', and any it does not hold is named.",
         {portOption, allOption, dryRunOption},
         1,
         write},
        {"restart",
         "restart [--port PORT | --all]",
         "restart the module",
         "Restart the module, wait half a second and read it, to see that it is back.",
         {portOption, allOption},
         0,
         restart},
        {"factory-reset",
         "factory-reset [--port PORT | --all] --yes",
         "return the module to its factory settings",
         "Return the module to its factory settings, wait half a second and read it.",
         {portOption, allOption, yesOption},
         0,
         factoryReset},
    };
    return list;
}

// The parser's help with our own usage line, and the exit statuses.
QString helpText(const QCommandLineParser &parser, const QString &usage)
{
    QString text = parser.helpText();
    text.replace(0, text.indexOf(QLatin1Char('\n')),
                 QStringLiteral("Usage: %1 %2").arg(program, usage));
    return text + QLatin1Char('\n') + QLatin1String(exitStatuses);
}

int usageError(QIODevice &err, const QString &message, const QString &helpCommand)
{
    print(err, QStringLiteral("%1: %2").arg(program, message));
    print(err, QStringLiteral("Try '%1 %2--help'.").arg(program, helpCommand));
    return UsageError;
}

} // namespace

int run(const QStringList &arguments, QIODevice &in, QIODevice &out, QIODevice &err)
{
    // The command's own options come after its name: everything from there
    // on is left to the command's parser.
    QCommandLineParser top;
    top.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    QString description =
        QStringLiteral("Keep, restore and copy the settings of VELDRIX GPS-to-CAN modules as TOML\n"
                       "profiles, over the serial ports of their USB connection.\n\nCommands:");
    for (const Command &command : commands())
        description += QStringLiteral("\n  %1 %2")
                           .arg(QString::fromLatin1(command.name), -14)
                           .arg(QString::fromLatin1(command.summary));
    top.setApplicationDescription(description);
    top.addOption(helpOption);
    top.addOption(versionOption);
    if (!top.parse(arguments))
        return usageError(err, top.errorText(), {});
    const QStringList rest = top.positionalArguments();
    if (top.isSet(versionOption)) {
        print(out, QStringLiteral("%1 %2").arg(program, VELDRIX_VERSION));
        return Done;
    }
    if (rest.isEmpty() && top.isSet(helpOption)) {
        out.write(helpText(top, QStringLiteral("COMMAND [options]")).toUtf8());
        return Done;
    }
    if (rest.isEmpty())
        return usageError(err, QStringLiteral("no command given"), {});
    const auto command = std::find_if(commands().begin(), commands().end(), [&](const Command &c) {
        return rest.first() == QLatin1String(c.name);
    });
    if (command == commands().end())
        return usageError(err, QStringLiteral("unknown command '%1'").arg(rest.first()), {});

    const QString again = QString::fromLatin1(command->name) + QLatin1Char(' ');
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(command->description));
    parser.addOption(helpOption);
    parser.addOptions(command->options);
    if (command->files > 0)
        parser.addPositionalArgument("FILE", "The profile to write; '-' for standard input.");
    if (!parser.parse(QStringList{arguments.value(0)} + rest.mid(1)))
        return usageError(err, parser.errorText(), again);
    if (parser.isSet(helpOption) || top.isSet(helpOption)) {
        out.write(helpText(parser, QString::fromLatin1(command->usage)).toUtf8());
        return Done;
    }
    if (parser.positionalArguments().size() != command->files)
        return usageError(err,
                          command->files ? QStringLiteral("%1 needs one FILE").arg(command->name)
                                         : QStringLiteral("%1 takes no FILE").arg(command->name),
                          again);
    if (given(parser, portOption) && given(parser, allOption))
        return usageError(err, QStringLiteral("--port and --all exclude each other"), again);
    const bool allowsAll =
        std::any_of(command->options.begin(), command->options.end(),
                    [](const QCommandLineOption &o) { return o.names() == allOption.names(); });
    return command->run({parser, in, out, err, allowsAll});
}

} // namespace cli

#include "cli/cli.h"

#include "cli/commands.h"
#include "cli/provision.h"
#include "cli/texts.h"
#include "veldrix_version.h"

#include <QCommandLineParser>

#include <algorithm>

// The command line: its options, the table of commands with their help, and
// the parsing that hands the command line to one of them.
namespace cli
{

const QCommandLineOption
    portOption({"p", "port"}, "Talk only to the module on PORT, a name such as ttyUSB0 or a path.",
               "PORT");
const QCommandLineOption allOption({"a", "all"},
                                   "Give the command to every module found, all at once.");
const QCommandLineOption outputOption({"o", "output"},
                                      "Write the profile to FILE ('-': standard output, the "
                                      "default). It is replaced only once the module is read.",
                                      "FILE");
const QCommandLineOption dryRunOption({"n", "dry-run"}, "Say what would change and write nothing.");
const QCommandLineOption yesOption({"y", "yes"}, "Confirm the factory reset.");

namespace
{

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

const QCommandLineOption helpOption({"h", "help"}, "Show this help and exit.");
const QCommandLineOption versionOption({"v", "version"}, "Show the version and exit.");

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
        {"provision",
         "provision FILE [--log FILE.csv] [--count N] [--port PORT ...]",
         "write a profile to each module as it is plugged in",
         "Check the profile FILE as write does, then watch the serial ports: each module\n"
         "plugged in is read, written, given half a second and read again, as write does,\n"
         "and gets one line: time, port, name, and how it fared with the settings that\n"
         "changed. A module still plugged in is not written again: unplug it and plug it\n"
         "in again to redo it. Modules plugged in together are handled side by side.\n"
         "It runs until Ctrl+C, which lets the modules in progress finish, or until\n"
         "--count modules have been handled, and ends with a summary. It ends with 0\n"
         "when every module handled holds the profile, 3 when any does not, else 2 when\n"
         "a port failed.",
         {watchPortOption, logOption, countOption},
         1,
         provision},
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

#include "cli/cli.h"

#include "cli/commands.h"
#include "cli/output.h"
#include "cli/provision.h"
#include "cli/texts.h"
#include "veldrix_version.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <algorithm>

// The command line: its options, the table of commands with their help, and
// the parsing that hands the command line to one of them.
namespace cli
{

const QCommandLineOption portOption(
    {"p", "port"},
    QStringLiteral("Talk to the module on PORT, a name such as %1 or a path such as %2; given "
                   "several times, to each of those modules side by side. 'veldrix-cli find' "
                   "lists the ports with a module.")
        .arg(QLatin1String(examplePort), QLatin1String(examplePath)),
    "PORT");
const QCommandLineOption allOption({"a", "all"},
                                   "Give the command to every module found, all at once.");
const QCommandLineOption outputOption({"o", "output"},
                                      "Write the profile to FILE ('-': standard output, the "
                                      "default). A file is replaced only once the profile is "
                                      "complete.",
                                      "FILE");
const QCommandLineOption dryRunOption({"n", "dry-run"},
                                      "Say what would change, and send nothing to the module.");
const QCommandLineOption yesOption({"y", "yes"}, "Confirm the factory reset.");

namespace
{

// What the system lists, and how a stand-in is reached all the same.
const char portsSeen[] =
    "find, and a command without --port, search only the ports that the system lists\n"
    "as serial ports."
#ifndef Q_OS_WIN
    " A pseudo-terminal, such as the module stand-in's, is not one of\n"
    "them: name it with --port /dev/pts/N, which needs no root and no bind mount."
#endif
    "\n";

const char interrupted[] = "  130  interrupted by Ctrl+C (143: by SIGTERM)\n";

const QCommandLineOption helpOption({"h", "help"}, "Show this help and exit.");
const QCommandLineOption versionOption({"v", "version"}, "Show the version and exit.");

struct Command {
    const char *name;
    const char *usage; // after the program's name
    const char *summary;
    const char *description;
    QList<QCommandLineOption> options;
    int files; // positional FILE arguments it takes
    const char *statuses;
    int (*run)(const Invocation &);
    const char *ctrlC = interrupted; // what Ctrl+C does to it
};

const char stepStatuses[] =
    "  0    done, and the module found again and read back\n"
    "  1    wrong command line: nothing was sent\n"
    "  2    no module found, several without --port or --all, or a port that\n"
    "       failed before the command was sent\n"
    "  3    sent, but the module was not found again or not read back\n"
    "  4    the report could not be written to standard output\n";

const QList<Command> &commands()
{
    static const QList<Command> list = {
        {"find",
         "find",
         "list the modules found: port and name",
         "List every VELDRIX module found: its port and its name, one a line. Ports\n"
         "that cannot be opened are told on standard error, with the reason.",
         {},
         0,
         "  0    at least one module found\n"
         "  2    no module found; every port tried is told with the reason\n"
         "  4    the list could not be written to standard output\n",
         find},
        {"read",
         "read [--port PORT] [-o FILE]",
         "read the module's settings as a profile",
         "Read the module's settings and write them as a TOML profile, with a comment\n"
         "giving the unit and the allowed values of each.",
         {portOption, outputOption},
         0,
         "  0    read and written\n"
         "  1    wrong command line, or FILE cannot be written: the module was not asked\n"
         "  2    no module found, several without --port, or a port that failed\n"
         "  3    read and written, but incomplete: the profile leaves out a value it\n"
         "       cannot hold, named on standard error\n"
         "  4    the profile could not be written whole; FILE is left as it was\n",
         read},
        {"write",
         "write FILE [--port PORT]... [--all] [--dry-run]",
         "write a profile's settings to the module",
         "Write the settings of the profile FILE ('-': standard input) to the module. The\n"
         "whole profile is checked before anything is sent; settings it leaves out keep\n"
         "what the module holds. The module is then read again: one line tells how\n"
         "it went, followed by each setting that changed as 'key: old -> new'.",
         {portOption, allOption, dryRunOption},
         1,
         "  0    written, and the module holds it (--dry-run: compared, nothing sent)\n"
         "  1    wrong command line, or a profile that cannot be read or accepted:\n"
         "       nothing was sent\n"
         "  2    no module found, several without --port or --all, or a port that\n"
         "       failed before the profile was sent\n"
         "  3    written, but the module does not hold it, or it could not be read back\n"
         "  4    the report could not be written to standard output\n",
         write},
        {"restart",
         "restart [--port PORT]... [--all]",
         "restart the module",
         "Restart the module, wait half a second and find it again by its name, on any\n"
         "port, and read it, to see that it is back.",
         {portOption, allOption},
         0,
         stepStatuses,
         restart},
        {"factory-reset",
         "factory-reset [--port PORT]... [--all] --yes",
         "return the module to its factory settings",
         "Return the module to its factory settings, wait half a second and find it\n"
         "again by its name, on any port, and read it. Without --yes nothing is sent.",
         {portOption, allOption, yesOption},
         0,
         stepStatuses,
         factoryReset},
        {"provision",
         "provision FILE [--log FILE.csv] [--count N] [--port PORT]...",
         "write a profile to each module as it is plugged in",
         "Check the profile FILE as write does, then watch the serial ports: each module\n"
         "plugged in is written, checked and told as write does with several, after the\n"
         "time and with its name. One still plugged in is not written again: unplug it\n"
         "and plug it in again to redo it. Modules plugged in together go side by side.\n"
         "It runs until Ctrl+C or --count modules handled, and ends with a summary.",
         {watchPortOption, logOption, countOption},
         1,
         "  0    every module handled holds the profile\n"
         "  1    wrong command line, a profile that cannot be read or accepted, or a\n"
         "       record that cannot be written: no module was touched\n"
         "  2    a port failed (and every module that was written holds it)\n"
         "  3    a module was written, but does not hold it or could not be read back\n"
         "  4    a line or a row of the record could not be written\n",
         provision,
         "Ctrl+C (or SIGTERM) ends it as it should: the modules in progress finish, the\n"
         "summary is printed, and the status is the modules', not 130. A second one ends\n"
         "it at once.\n"},
    };
    return list;
}

bool takes(const Command &command, const QCommandLineOption &option)
{
    return std::any_of(command.options.begin(), command.options.end(),
                       [&](const QCommandLineOption &o) { return o.names() == option.names(); });
}

// The parser's help with our own usage line, what the system lists, and the
// command's exit statuses.
QString helpText(const QCommandLineParser &parser, const QString &usage, const Command *command)
{
    QString text = parser.helpText();
    text.replace(0, text.indexOf(QLatin1Char('\n')),
                 QStringLiteral("Usage: %1 %2").arg(program, usage));
    text += QLatin1Char('\n') + QLatin1String(portsSeen);
    if (command) {
        text += QStringLiteral("\nExit status:\n") + QLatin1String(command->statuses) +
                QLatin1String(command->ctrlC);
        if (takes(*command, allOption))
            text += QStringLiteral("With several modules, the highest status of any.\n");
    }
    return text;
}

// Qt's parser says "Unknown option 'x'."; our messages begin in lower case
// and end without a full stop.
QString ourCase(QString message)
{
    if (!message.isEmpty())
        message[0] = message[0].toLower();
    if (message.endsWith(QLatin1Char('.')))
        message.chop(1);
    return message;
}

int usageError(QIODevice &err, const QString &message, const Command *command)
{
    print(err, QStringLiteral("%1: %2").arg(program, ourCase(message)));
    if (command)
        print(err, QStringLiteral("Usage: %1 %2").arg(program, command->usage));
    print(err,
          QStringLiteral("Try '%1 %2--help'.")
              .arg(program, command ? QLatin1String(command->name) + QLatin1Char(' ') : QString()));
    return UsageError;
}

int runCommand(const QStringList &arguments, QIODevice &in, QIODevice &out, QIODevice &err)
{
    // The options may come before the command's name or after it: the first
    // parser knows them all, only to tell where the command begins; the
    // command's own parser then takes them all, from both sides.
    QList<QCommandLineOption> every{helpOption, versionOption, portOption,
                                    allOption,  outputOption,  dryRunOption,
                                    yesOption,  logOption,     countOption};
    QCommandLineParser top;
    top.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    top.addOptions(every);
    if (!top.parse(arguments))
        return usageError(err, top.errorText(), nullptr);
    const QStringList rest = top.positionalArguments();
    if (top.isSet(versionOption)) {
        print(out, QStringLiteral("%1 %2").arg(program, VELDRIX_VERSION));
        return Done;
    }
    if (rest.isEmpty() && top.isSet(helpOption)) {
        QCommandLineParser shown;
        QString description = QStringLiteral(
            "Keep, restore and copy the settings of VELDRIX GPS-to-CAN modules as TOML\n"
            "profiles, over the serial ports of their USB connection.\n\nCommands:");
        for (const Command &command : commands())
            description += QStringLiteral("\n  %1 %2")
                               .arg(QString::fromLatin1(command.name), -14)
                               .arg(QString::fromLatin1(command.summary));
        description += QStringLiteral("\n\nEach command's options come before or after it;\n"
                                      "'%1 COMMAND --help' tells them.")
                           .arg(program);
        shown.setApplicationDescription(description);
        shown.addOptions({helpOption, versionOption});
        out.write(helpText(shown, QStringLiteral("COMMAND [options]"), nullptr).toUtf8());
        return Done;
    }
    if (rest.isEmpty())
        return usageError(err, QStringLiteral("no command given"), nullptr);
    const auto command = std::find_if(commands().begin(), commands().end(), [&](const Command &c) {
        return rest.first() == QLatin1String(c.name);
    });
    if (command == commands().end())
        return usageError(err, QStringLiteral("unknown command '%1'").arg(rest.first()), nullptr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(command->description));
    parser.addOption(helpOption);
    parser.addOptions(command->options);
    if (command->files > 0)
        parser.addPositionalArgument("FILE", "The profile to write; '-' for standard input.");
    const QStringList before = arguments.mid(1, arguments.size() - 1 - rest.size());
    if (!parser.parse(QStringList{arguments.value(0)} + before + rest.mid(1))) {
        QString message = parser.errorText();
        if (message.contains(QLatin1String("port'")) || message.contains(QLatin1String("'-p'")))
            message = ourCase(message) + QStringLiteral("; '%1 find' lists the ports with a "
                                                        "module")
                                             .arg(program);
        return usageError(err, message, &*command);
    }
    if (parser.isSet(helpOption)) {
        out.write(helpText(parser, QString::fromLatin1(command->usage), &*command).toUtf8());
        return Done;
    }
    if (parser.positionalArguments().size() != command->files)
        return usageError(err,
                          command->files ? QStringLiteral("%1 needs one FILE").arg(command->name)
                                         : QStringLiteral("%1 takes no FILE").arg(command->name),
                          &*command);
    if (given(parser, portOption) && given(parser, allOption))
        return usageError(err, QStringLiteral("--port and --all exclude each other"), &*command);
    const QStringList named = given(parser, portOption) ? parser.values(portOption) : QStringList();
    if (std::any_of(named.begin(), named.end(),
                    [](const QString &port) { return port.trimmed().isEmpty(); }))
        return usageError(err,
                          QStringLiteral("--port needs a port name; '%1 find' lists the ports "
                                         "with a module")
                              .arg(program),
                          &*command);
    return command->run({parser, in, out, err, takes(*command, allOption)});
}

} // namespace

int run(const QStringList &arguments, QIODevice &in, QIODevice &out, QIODevice &err)
{
    // Every write to standard output is checked: a list, a profile or a
    // report that did not get there whole is not a success.
    CheckedOutput checked(out);
    const int status = runCommand(arguments, in, checked, err);
    if (checked.failure().isEmpty())
        return status;
    print(err,
          QStringLiteral("%1: cannot write standard output: %2").arg(program, checked.failure()));
    return std::max(status, int(OutputLost));
}

} // namespace cli

// veldrix-cli against module stand-ins on pseudo-terminals, called in-process
// with the stand-ins' terminals as the listed ports: what each command prints,
// its exit status, what the stand-ins heard and what they hold afterwards.
#include "cli/cli.h"
#include "cli/interrupt.h"
#include "link/ports.h"
#include "testsupport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

using standin::ModuleStandin;

namespace
{

const QString gone = "/dev/veldrix-none";

// What the modules hold at the start: a few settings away from the factory's.
QStringList held()
{
    QStringList values = standin::factorySettings();
    values[0] = "250";   // can.bus_speed_kbps
    values[3] = "-3";    // time.zone_offset_hours
    values[13] = "1234"; // frames.position.id, a setting whose place differs in the reply
    values[29] = "85";   // led.brightness_percent
    values[30] = "1";    // altitude.reference, ellipsoid
    return values;
}

struct Run {
    int status;
    QString out, err;
    qint64 ms; // how long it took
};

bool ctrlCPressed = false;

void pressCtrlC()
{
    if (!ctrlCPressed) // a second one would end the test
        std::raise(SIGINT);
    ctrlCPressed = true;
}

// Runs a command line, its standard output a buffer or the file `outFile`
// (such as /dev/full); `scene`, when given, is called every 50 ms with what
// the command printed so far. A command still running after 60 s is stopped
// by Ctrl+C, and says so on standard error.
Run veldrix(const QStringList &arguments, const QByteArray &input = {}, const QString &outFile = {},
            const std::function<void(const QString &)> &scene = {})
{
    QBuffer in, out, err;
    in.setData(input);
    for (QBuffer *buffer : {&in, &out, &err})
        buffer->open(QIODevice::ReadWrite);
    QFile file(outFile);
    if (!outFile.isEmpty() && !file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        qFatal("cannot open %s", qPrintable(outFile));
    cli::watchInterrupts(); // none noted yet
    QElapsedTimer clock;
    clock.start();
    QTimer timer;
    ctrlCPressed = false;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        scene(QString::fromUtf8(out.data()));
        if (clock.elapsed() > 60000 && !ctrlCPressed) {
            err.write("test: no end after 60 s\n");
            pressCtrlC();
        }
    });
    if (scene)
        timer.start(50);
    const int status = cli::run(QStringList{"veldrix-cli"} + arguments, in,
                                outFile.isEmpty() ? static_cast<QIODevice &>(out) : file, err);
    return {status, QString::fromUtf8(out.data()), QString::fromUtf8(err.data()), clock.elapsed()};
}

// Stand-ins holding held(), listed in the order made; ports as "A", "B", "C".
struct Modules {
    std::vector<std::unique_ptr<ModuleStandin>> list;
    explicit Modules(int count)
    {
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            list.push_back(
                std::make_unique<ModuleStandin>("VELDRIX_GPS2CAN_SI" + QByteArray(1, 'A' + i)));
            list.back()->change([](standin::Behaviour &m) { m.settings = held(); });
            if (!list.back()->start())
                qFatal("no pseudo-terminal");
            paths << list.back()->portPath();
        }
        ports::install(paths);
    }
    ModuleStandin &operator[](int i) { return *list.at(size_t(i)); }
    QString letters(const QString &text) const
    {
        QStringList paths;
        for (const auto &module : list)
            paths << module->portPath();
        return testsupport::lettered(text, paths);
    }
};

QByteArray heard(const ModuleStandin &module)
{
    QByteArray bytes;
    for (const QByteArray &command : module.heard())
        bytes += command.startsWith('c') ? QByteArray("c\n") : command;
    return bytes;
}

// How many modules provision told of, its summary included: the lines but
// the changes under them.
int told(const QString &out)
{
    int lines = 0;
    for (const QStringRef &line : out.splitRef('\n', Qt::SkipEmptyParts))
        lines += !line.startsWith(QLatin1String("  "));
    return lines;
}

// How the stand-ins come and go while provision runs: each step waits until
// the command has told of `lines` modules, `ms` have passed since the step
// before and `also` holds; then it lists the stand-ins named by their letters,
// or with "!" presses Ctrl+C.
struct Step {
    int lines, ms;
    QString listed;
    std::function<bool()> also = [] { return true; };
};

std::function<void(const QString &)> scene(Modules &modules, const QVector<Step> &steps)
{
    ports::install({});
    return [&modules, steps, next = 0, since = QElapsedTimer()](const QString &out) mutable {
        if (!since.isValid())
            since.start();
        if (next == steps.size())
            return;
        const Step &step = steps[next];
        if (told(out) < step.lines || since.elapsed() < step.ms || !step.also())
            return;
        ++next;
        since.restart();
        if (step.listed == "!")
            return pressCtrlC();
        QStringList paths;
        for (const QChar letter : step.listed)
            paths << modules[letter.unicode() - 'A'].portPath();
        ports::install(paths);
    };
}

// Rows of fields, read as RFC 4180 says, apart from the program's writer.
QVector<QStringList> csv(const QString &fileName)
{
    QFile file(fileName);
    file.open(QIODevice::ReadOnly);
    const QString text = QString::fromUtf8(file.readAll());
    QVector<QStringList> rows{{}};
    QString field;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '"' && quoted && text.mid(i + 1, 1) == "\"") {
            field += text[i++];
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == ',' || text.mid(i, 2) == "\r\n")) {
            rows.last() << std::exchange(field, {});
            if (c != ',' && ++i)
                rows << QStringList();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty())
        rows.last() << field;
    if (rows.last().isEmpty())
        rows.removeLast();
    return rows;
}

QStringList column(const QVector<QStringList> &rows, int index)
{
    QStringList fields;
    for (const QStringList &row : rows)
        fields << row.value(index);
    return fields;
}

const QByteArray partial = "[led]\nbrightness_percent = 40\n[time]\nzone_offset_hours = 2\n"
                           "[can]\ntermination = false\n[altitude]\nreference = \"sea_level\"\n";
// What it changes, as a line after the summary says how many.
const QString changes = ":\n  can.termination: true -> false\n  time.zone_offset_hours: -3 -> 2\n"
                        "  led.brightness_percent: 85 -> 40\n"
                        "  altitude.reference: \"ellipsoid\" -> \"sea_level\"\n";

// The time that leads each of provision's lines.
const QRegularExpression leadingTime("^\\d\\d:\\d\\d:\\d\\d ", QRegularExpression::MultilineOption);

// The lines under a module's line, as its row in the record holds them.
QString inOneField(const QString &details)
{
    return details.mid(2).trimmed().split("\n  ").join("; ");
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    // The profile read, written back, changes nothing.
    void roundTrip()
    {
        Modules modules(1);
        QTemporaryDir dir;
        const QString file = dir.filePath("backup.toml");
        QCOMPARE(veldrix({"read", "-o", file}).status, 0);
        const Run run = veldrix({"write", file});
        QCOMPARE(run.out + run.err, "written and checked; no setting changed\n");
        QCOMPARE(modules[0].now().settings, held());
        QCOMPARE(heard(modules[0]), "iI\nsS\niI\nsS\nc\nsS\n");
    }

    // A value a profile cannot hold is named on standard error, and the
    // backup, still written whole otherwise, ends with status 3.
    void readIncomplete()
    {
        Modules modules(1);
        modules[0].change([](standin::Behaviour &m) { m.settings[29] = "47"; });
        const Run run = veldrix({"read"});
        QCOMPARE(run.status, 3);
        QCOMPARE(run.err, "veldrix-cli: led.brightness_percent: left out of the profile: the "
                          "module holds \"47\", not a multiple of 5; allowed: 0 to 100 in steps "
                          "of 5 (%)\n");
        QVERIFY(run.out.contains("period_ms = 100             # CAN Module VELDRIX › Trame "
                                 "Longitude/Latitude › Période (ms): 10 to 2500 (ms)\n"));
    }

    // One module, named as the port "A" or found alone: each exit status of
    // each command, with all it prints on each stream, and what the module
    // heard and holds afterwards. Whatever is wrong on the command line or
    // in the profile, nothing is sent.
    void oneModule_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QByteArray>("commands");
        const QStringList write{"write", "-"};
        const auto row = [](const char *name, const QStringList &arguments, int status,
                            const QString &out, const QString &err, const QByteArray &commands,
                            const QByteArray &input = partial) {
            QTest::newRow(name) << arguments << input << status << out << err << commands;
        };
        row("written", write, 0, "written and checked; 4 settings changed" + changes, "",
            "iI\nsS\nc\nsS\n");
        row("dry run, port before the command",
            QStringList{"--port", "A"} + write + QStringList{"-n"}, 0,
            "dry run, nothing sent; 4 settings would change" + changes, "", "iI\nsS\n");
        row("restart", {"restart"}, 0, "restarted and read back\n", "", "iI\nrR\niI\nsS\n");
        row("factory reset", {"factory-reset", "--yes"}, 0,
            "reset to its factory settings and read back\n", "", "iI\nzZ\niI\nsS\n");
        const QString usage = "Usage: veldrix-cli write FILE [--port PORT]... [--all] [--dry-run]\n"
                              "Try 'veldrix-cli write --help'.\n";
        const QString findHint = "; 'veldrix-cli find' lists the ports with a module\n";
        row("every problem told", write, 1, "",
            "<stdin>:2:22: led.brightness_percent = 42: not a multiple of 5; allowed: 0 to 100 in "
            "steps of 5 (%)\n<stdin>:4:18: can.bus_speed_kbps = 300: not a CAN speed of the "
            "module; allowed: 125, 250, 500 or 1000 (kbit/s)\n",
            "", "[led]\nbrightness_percent = 42\n[can]\nbus_speed_kbps = 300\n");
        row("no such file", {"write", "/nonexistent/p.toml"}, 1, "",
            "veldrix-cli: cannot read /nonexistent/p.toml: No such file or directory\n", "");
        row("a read error", {"write", "/"}, 1, "",
            "veldrix-cli: cannot read /: file to open is a directory\n", "");
        row("empty port", {"write", "-", "--port", ""}, 1, "",
            "veldrix-cli: --port needs a port name" + findHint + usage, "");
        row("port missing", {"write", "-", "--port"}, 1, "",
            "veldrix-cli: missing value after '--port'" + findHint + usage, "");
        row("--port and --all", {"write", "-", "--port", "A", "--all"}, 1, "",
            "veldrix-cli: --port and --all exclude each other\n" + usage, "");
        row("two files", {"write", "a", "b"}, 1, "", "veldrix-cli: write needs one FILE\n" + usage,
            "");
        row("option of another command", {"--yes", "write", "-"}, 1, "",
            "veldrix-cli: unknown option 'yes'\n" + usage, "");
        row("factory reset unconfirmed", {"factory-reset"}, 1, "",
            "veldrix-cli: factory-reset returns the module to its factory settings; add --yes "
            "to do so\n",
            "");
        row("read to a file that cannot be made", {"read", "-o", "/nonexistent/b.toml"}, 1, "",
            "veldrix-cli: cannot write /nonexistent/b.toml: No such file or directory\n", "");
        const QString none = "veldrix-cli: no VELDRIX module: no such port, or it was unplugged\n";
        for (const QStringList &line : {QStringList{"read"}, write, QStringList{"restart"},
                                        QStringList{"factory-reset", "--yes"}})
            row(qPrintable(line.first() + " on no module"), line + QStringList{"--port", gone}, 2,
                "", none, "");
        row("read to a full disk", {"read", "-o", "/dev/full"}, 4, "",
            "veldrix-cli: cannot write /dev/full: No space left on device\n", "iI\nsS\n");
        const QStringList provision{"provision", "-"};
        row("provision: a problem in the profile", provision, 1, "",
            "<stdin>:2:22: led.brightness_percent = 42: not a multiple of 5; allowed: 0 to 100 in "
            "steps of 5 (%)\n",
            "", "[led]\nbrightness_percent = 42\n");
        row("provision: a record that cannot be written",
            provision + QStringList{"--log", "/nonexistent/r.csv"}, 1, "",
            "veldrix-cli: cannot write /nonexistent/r.csv: No such file or directory\n", "");
        row("provision: no count", provision + QStringList{"--count", "0"}, 1, "",
            "veldrix-cli: --count needs a number of modules, 1 or more\n"
            "Try 'veldrix-cli provision --help'.\n",
            "");
    }
    void oneModule()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QByteArray, commands);
        Modules modules(1);
        arguments.replaceInStrings(QRegularExpression("^A$"), modules[0].portPath());
        const Run run = veldrix(arguments, input);
        QCOMPARE(modules.letters(run.out), out);
        QCOMPARE(modules.letters(run.err), err);
        QCOMPARE(run.status, status);
        QCOMPARE(heard(modules[0]), commands);
        QStringList expected = commands.contains('z') ? standin::factorySettings() : held();
        if (commands.contains('c')) {
            expected[1] = "0";
            expected[3] = "2";
            expected[29] = "40";
            expected[30] = "0";
        }
        QCOMPARE(modules[0].now().settings, expected);
        // A command went out: each answer ends after 350 ms of silence, and
        // the half second after the command is longer than one more.
        if (commands.count('\n') > 2)
            QVERIFY2(run.ms >= 350 * (commands.count('I') + commands.count('S') + 1),
                     qPrintable(QString::number(run.ms)));
    }

    // Several modules: without --port or --all nothing is written; two --port
    // go to those two side by side, --all to all three; the lines name their
    // ports, and the status is the worst of any: a module that does not hold
    // the frame, one that is not back after a restart, a port named without a
    // module. find lists every module; with none, every port tried and why.
    void severalModules()
    {
        Modules modules(3);
        Run run = veldrix({"write", "-"}, partial);
        QCOMPARE(run.status, 2);
        QCOMPARE(modules.letters(run.err),
                 "veldrix-cli: 3 VELDRIX modules found; choose one with --port or give --all:\n"
                 "  A\tVELDRIX_GPS2CAN_SIA\n  B\tVELDRIX_GPS2CAN_SIB\n  C\tVELDRIX_GPS2CAN_SIC\n");
        run = veldrix({"write", "-", "-p", modules[2].portPath(), "-p", modules[1].portPath()},
                      "[can]\nbus_speed_kbps = 1000\n");
        QCOMPARE(heard(modules[0]) + '|' + heard(modules[1]) + '|' + heard(modules[2]),
                 "iI\n|iI\niI\nsS\nc\nsS\n|iI\niI\nsS\nc\nsS\n");
        const QString written = ": written and checked; 1 setting changed:\n"
                                "  can.bus_speed_kbps: 250 -> 1000\n";
        QCOMPARE(modules.letters(run.out), "C" + written + "B" + written);
        run = veldrix({"write", "-", "--all"}, "[can]\nbus_speed_kbps = 1000\n");
        QCOMPARE(run.status, 0);
        QCOMPARE(modules.letters(run.out),
                 "A" + written +
                     "B: written and checked; no setting changed\nC: written and "
                     "checked; no setting changed\n");
        // Each step went to all three at once: about 1550 ms as for one
        // module (discovery, read, half a second, read), where taking the
        // modules one after another, in each step or whole, takes 2950 ms or
        // more.
        QVERIFY2(run.ms < 2600, qPrintable(QString::number(run.ms)));
        // B answers to another name of the same length: its reply is read, but
        // the frame sent to that name leaves it as it was.
        modules[1].change([](standin::Behaviour &m) {
            m.answers['i'] = {{0, "VELDRIX_OTHER_NAME_\r\n"}};
        });
        run = veldrix({"write", "-", "--all"}, "[can]\nbus_speed_kbps = 125\n");
        QCOMPARE(run.status, 3);
        QCOMPARE(modules.letters(run.err),
                 "veldrix-cli: B: written, but the module does not hold 1 of the settings sent; "
                 "no setting changed:\n  can.bus_speed_kbps: sent 125, holds 1000\n");
        QCOMPARE(modules[0].now().settings[0] + modules[2].now().settings[0], "125125");
        modules[2].change([](standin::Behaviour &m) { m.answers['s'] = {{0, ""}}; }); // silent
        ports::install(ports::listed() + QStringList{gone});
        for (const QStringList &line :
             {QStringList{"restart", "--all"},
              QStringList{"factory-reset", "--yes", "-p", gone, "-p", modules[2].portPath()}}) {
            run = veldrix(line);
            QCOMPARE(run.status, 3);
            QVERIFY2(
                modules.letters(run.err).contains(
                    "veldrix-cli: C: " +
                    QString(line[0] == "restart" ? "restarted" : "reset to its factory settings") +
                    ", but could not be read back: it did not answer\n"),
                qPrintable(run.err));
        }
        QVERIFY2(run.err.startsWith("veldrix-cli: " + gone + ": no VELDRIX module: no such port"),
                 qPrintable(run.err));

        run = veldrix({"find"});
        QCOMPARE(run.status, 0);
        QCOMPARE(modules.letters(run.out),
                 "A\tVELDRIX_GPS2CAN_SIA\nB\tVELDRIX_OTHER_NAME_\nC\tVELDRIX_GPS2CAN_SIC\n");
        QCOMPARE(run.err,
                 "veldrix-cli: cannot ask " + gone + ": no such port, or it was unplugged\n");
        modules[0].change([](standin::Behaviour &m) { m.answers['i'] = {{0, "OK\r\n"}}; });
        modules[1].change([](standin::Behaviour &m) { m.answers['i'] = {}; });
        ports::install({modules[0].portPath(), modules[1].portPath(), gone});
        run = veldrix({"find"});
        QCOMPARE(run.status, 2);
        QCOMPARE(modules.letters(run.out + run.err),
                 "veldrix-cli: no VELDRIX module found; ports tried:\n"
                 "  A: something answered, but not a VELDRIX module\n  B: nothing answered\n  " +
                     gone + ": no such port, or it was unplugged\n");
    }

    // A module that comes back from a restart under another port name is
    // found there by its name.
    void foundAgainElsewhere()
    {
        Modules modules(2);
        modules[0].change([](standin::Behaviour &m) { m.answers['i'] = {}; });
        modules[1].change([](standin::Behaviour &m) { m.answers['i'] = {}; });
        // A answers until the restart; then only B answers, with A's name.
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (!heard(modules[0]).contains("rR"))
                return;
            modules[0].change([](standin::Behaviour &m) { m.answers['i'] = {}; });
            modules[1].change([](standin::Behaviour &m) {
                m.answers['i'] = {{0, "VELDRIX_GPS2CAN_SIA\r\n"}};
            });
            watch.stop();
        });
        modules[0].change([](standin::Behaviour &m) {
            m.answers['i'] = {{0, "VELDRIX_GPS2CAN_SIA\r\n"}};
        });
        watch.start(10);
        const Run run = veldrix({"restart", "-p", modules[0].portPath()});
        QCOMPARE(run.status, 0);
        QCOMPARE(modules.letters(run.out), "restarted and read back:\n  found again on B\n");
    }

    // What cannot be written whole fails, naming the file and the reason,
    // and leaves an old file as it was; a link is followed, a mode kept, a
    // pipe written into.
    void savesWhole()
    {
        Modules modules(1);
        Run run = veldrix({"find"}, {}, "/dev/full");
        QCOMPARE(run.err, "veldrix-cli: cannot write standard output: No space left on device\n");
        QCOMPARE(run.status, 4);
        QCOMPARE(veldrix({"write", "-", "-n"}, partial, "/dev/full").status, 4);
        const QByteArray profile = veldrix({"read"}).out.toUtf8();
        QTemporaryDir dir;
        const QString backup = dir.filePath("backup.toml"), link = dir.filePath("link.toml");
        QFile::link(backup, link);
        QFile old(backup);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QVERIFY(old.setPermissions(QFile::ReadOwner | QFile::ReadGroup));
        QCOMPARE(veldrix({"read", "-o", link}).status, 0);
        QVERIFY(QFileInfo(link).isSymLink());
        struct stat kept {
        };
        QCOMPARE(stat(QFile::encodeName(backup).constData(), &kept), 0);
        QCOMPARE(kept.st_mode & 0777, 0440u);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll().left(40), profile.left(40));
        // A named pipe stays one, and gets the profile.
        const QByteArray fifo = QFile::encodeName(dir.filePath("fifo"));
        QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
        const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
        QCOMPARE(veldrix({"read", "-o", fifo}).status, 0);
        QByteArray got(8192, 0);
        got.resize(int(::read(reader, got.data(), size_t(got.size()))));
        ::close(reader);
        QCOMPARE(got.left(40), profile.left(40));
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
    }

    // Ctrl+C or SIGTERM: each module's line says whether its profile was
    // sent and checked, and the status is 128 + the signal.
    void interrupted_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QByteArray>("after"); // the command heard that sets it off
        QTest::addColumn<QString>("err");
        QTest::newRow("before") << SIGTERM << QByteArray("iI")
                                << "veldrix-cli: interrupted before the profile was sent: the "
                                   "module is as it was\n";
        QTest::newRow("after") << SIGINT << QByteArray("c")
                               << "veldrix-cli: interrupted after the profile was sent, before "
                                  "the module was read back to check it\n";
    }
    void interrupted()
    {
        QFETCH(int, signal);
        QFETCH(QByteArray, after);
        QFETCH(QString, err);
        Modules modules(1);
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (heard(modules[0]).contains(after)) {
                watch.stop();
                raise(signal);
            }
        });
        watch.start(5);
        const Run run = veldrix({"write", "-"}, partial);
        QCOMPARE(run.out, "");
        QCOMPARE(run.err, err);
        QCOMPARE(run.status, 128 + signal);
        QCOMPARE(heard(modules[0]).contains('c'), after == "c");
        cli::watchInterrupts();
    }

    // provision: modules arrive one after another, then two at once; each is
    // handled once, in the order it came, while the others stay plugged in.
    // One unplugged and plugged in again is handled again, and Ctrl+C during
    // that lets it finish. Each line has its row in the record, on the disk
    // before the next module comes.
    void provisionArrivals()
    {
        Modules modules(5);
        QTemporaryDir dir;
        const QString log = dir.filePath("record.csv");
        QVector<QStringList> early;
        const auto heardReads = [&] { return heard(modules[0]).count("sS"); };
        const Run run =
            veldrix({"provision", "-", "--log", log}, partial, {},
                    scene(modules, {{0, 0, "A"},
                                    {1, 0, "AB", [&] { return !(early = csv(log)).isEmpty(); }},
                                    {2, 0, "ABC"},
                                    {3, 0, "ABCDE"},
                                    {5, 0, "BCDE"},
                                    {5, 1500, "ABCDE"},
                                    {5, 0, "!", [&] { return heardReads() == 3; }}}));
        QCOMPARE(run.status, 0);
        QVERIFY2(run.err.endsWith("veldrix-cli: stopping once the module on " +
                                  modules[0].portPath() + " is done\n"),
                 qPrintable(run.err));
        QString out = modules.letters(run.out), order;
        QCOMPARE(out.count(leadingTime), 6);
        out.remove(leadingTime);
        for (const QString &line : out.split('\n'))
            order += line.contains(" VELDRIX_") ? line.left(1) : "";
        QVERIFY2(order == "ABCDEA" || order == "ABCEDA", qPrintable(order));
        QString expected;
        for (const QChar letter : order.left(5))
            expected += QString(letter) + " VELDRIX_GPS2CAN_SI" + letter +
                        ": written and checked; 4 settings changed" + changes;
        QCOMPARE(out, expected + "A VELDRIX_GPS2CAN_SIA: written and checked; no setting changed\n"
                                 "6 modules handled: 6 hold the profile, 0 did not hold the "
                                 "write, 0 failed\n");
        const QVector<QStringList> rows = csv(log);
        QCOMPARE(early.size(), 2);
        QCOMPARE(rows.size(), 7);
        QCOMPARE(rows[0].join(','), "time,port,module,profile,profile_sha256,outcome,changes");
        const QString sha256 =
            QCryptographicHash::hash(partial, QCryptographicHash::Sha256).toHex();
        for (int i = 0; i < 6; ++i) {
            const QStringList row = rows[i + 1];
            QVERIFY2(QDateTime::fromString(row[0], Qt::ISODate).isValid(), qPrintable(row[0]));
            QCOMPARE(row.mid(1),
                     QStringList({modules[order[i].unicode() - 'A'].portPath(),
                                  "VELDRIX_GPS2CAN_SI" + order.mid(i, 1), "<stdin>", sha256,
                                  i < 5 ? "written and checked; 4 settings changed"
                                        : "written and checked; no setting changed",
                                  i < 5 ? inOneField(changes) : ""}));
        }
        for (int i = 0; i < 5; ++i)
            QCOMPARE(heard(modules[i]).count("c\n"), i ? 1 : 2);
    }

    // provision: a module that ignores the frame says so in its line and its
    // row, and the status is 3; a port that answers garbage hears nothing but
    // the identify command; --count 2 ends the command after the second
    // module, although two were plugged in together. A row that a crash cut
    // short in the record is left alone, on a line of its own.
    void provisionMisfits()
    {
        Modules modules(4);
        modules[0].change([](standin::Behaviour &m) {
            m.answers['i'] = {{0, "VELDRIX_OTHER_NAME_\r\n"}};
        });
        modules[1].change([](standin::Behaviour &m) {
            m.answers['i'] = m.answers['s'] = {{0, "\x15garbage,\r\n"}};
        });
        QTemporaryDir dir;
        QFile log(dir.filePath("record.csv"));
        const QByteArray header = "time,port,module,profile,profile_sha256,outcome,changes\r\n";
        log.open(QIODevice::WriteOnly);
        log.write(header + "2026-01-05T10:00:00+01:00,ttyUSB0,VELD");
        log.close();
        const Run run = veldrix({"provision", "-", "--log", log.fileName(), "--count", "2"},
                                partial, {}, scene(modules, {{0, 0, "BA"}, {1, 0, "BACD"}}));
        QCOMPARE(run.status, 3);
        QCOMPARE(run.err, "veldrix-cli: watching the serial ports for modules; Ctrl+C to stop\n");
        QString out = modules.letters(run.out);
        QCOMPARE(out.count(leadingTime), 2);
        out.remove(leadingTime);
        const QString last = out.mid(out.lastIndexOf(": written and checked") - 21, 21);
        QVERIFY2(last == "C VELDRIX_GPS2CAN_SIC" || last == "D VELDRIX_GPS2CAN_SID",
                 qPrintable(out));
        const QString notHeld = ":\n  can.termination: sent false, holds true\n"
                                "  time.zone_offset_hours: sent 2, holds -3\n"
                                "  led.brightness_percent: sent 40, holds 85\n"
                                "  altitude.reference: sent \"sea_level\", holds \"ellipsoid\"\n";
        QCOMPARE(out, "A VELDRIX_OTHER_NAME_: written, but the module does not hold 4 of the "
                      "settings sent; no setting changed" +
                          notHeld + last + ": written and checked; 4 settings changed" + changes +
                          "2 modules handled: 1 holds the profile, 1 did not hold the write, 0 "
                          "failed\n");
        QCOMPARE(heard(modules[1]).replace("iI\n", ""), "");
        QCOMPARE(heard(modules[2]).count("c\n") + heard(modules[3]).count("c\n"), 1);
        const QVector<QStringList> rows = csv(log.fileName());
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[1].size(), 3);
        QCOMPARE(column(rows, 2),
                 QStringList({"module", "VELD", "VELDRIX_OTHER_NAME_", last.mid(2)}));
        QCOMPARE(rows[2].mid(5), QStringList({"written, but the module does not hold 4 of the "
                                              "settings sent; no setting changed",
                                              inOneField(notHeld)}));
        QCOMPARE(rows[3].size(), 7);
    }
};

VELDRIX_TEST_MAIN(TestCli)
#include "tst_cli.moc"

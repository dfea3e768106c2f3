// veldrix-cli against module stand-ins on pseudo-terminals, called in-process
// with the stand-ins' terminals as the listed ports: what each command prints,
// its exit status, what the stand-ins heard and what they hold afterwards.
#include "cli/cli.h"
#include "link/ports.h"
#include "testsupport.h"

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

// Runs a command line; `scene`, when given, is called every 50 ms with what
// the command printed so far. A command still running after 60 s is stopped
// by Ctrl+C, and says so on standard error.
Run veldrix(const QStringList &arguments, const QByteArray &input = {},
            const std::function<void(const QString &)> &scene = {})
{
    QBuffer in, out, err;
    in.setData(input);
    for (QBuffer *buffer : {&in, &out, &err})
        buffer->open(QIODevice::ReadWrite);
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
    const int status = cli::run(QStringList{"veldrix-cli"} + arguments, in, out, err);
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
    QString letters(QString text) const
    {
        for (size_t i = 0; i < list.size(); ++i)
            text.replace(list[i]->portPath(), QString(QChar('A' + int(i))));
        return text;
    }
};

QByteArray heard(const ModuleStandin &module)
{
    QByteArray bytes;
    for (const QByteArray &command : module.heard())
        bytes += command.startsWith('c') ? QByteArray("c\n") : command;
    return bytes;
}

// How the stand-ins come and go while provision runs: each step waits until
// the command has printed `lines` lines, `ms` have passed since the step
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
        if (out.count('\n') < step.lines || since.elapsed() < step.ms || !step.also())
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

const QByteArray partial = "[led]\nbrightness_percent = 40\n[time]\nzone_offset_hours = 2\n";

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    // The profile read, written back, changes nothing and reports nothing.
    void roundTrip()
    {
        Modules modules(1);
        QTemporaryDir dir;
        const QString file = dir.filePath("backup.toml");
        QCOMPARE(veldrix({"read", "-o", file}).status, 0);
        const Run run = veldrix({"write", file});
        QCOMPARE(run.out + run.err, "");
        QCOMPARE(modules[0].now().settings, held());
        QCOMPARE(heard(modules[0]), "iI\nsS\niI\nsS\nc\nsS\n");
    }

    // One module: a profile of two settings changes those two and keeps the
    // rest; a restart or factory reset is followed by the half second and a
    // read that shows the module is back. Whatever is wrong on the command
    // line or in the profile, nothing is sent.
    void oneModule_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QStringList>("told"); // each said on standard error: refused
        QTest::addColumn<QByteArray>("commands");
        const QStringList write{"write", "-"};
        const QString changes =
            "time.zone_offset_hours: -3 -> 2\nled.brightness_percent: 85 -> 40\n";
        QTest::newRow("written") << write << partial << changes << QStringList()
                                 << QByteArray("iI\nsS\nc\nsS\n");
        QTest::newRow("dry run") << write + QStringList{"--dry-run"} << partial << changes
                                 << QStringList() << QByteArray("iI\nsS\n");
        QTest::newRow("restart") << QStringList{"restart"} << QByteArray() << "" << QStringList()
                                 << QByteArray("iI\nrR\nsS\n");
        QTest::newRow("factory reset") << QStringList{"factory-reset", "--yes"} << QByteArray()
                                       << "" << QStringList() << QByteArray("iI\nzZ\nsS\n");
        const auto refused = [](const char *row, const QStringList &arguments,
                                const QStringList &told, const QByteArray &input = {}) {
            QTest::newRow(row) << arguments << input << "" << told << QByteArray();
        };
        refused("every problem told", write,
                {"<stdin>:2:", "led.brightness_percent", "<stdin>:4:", "can.bus_speed_kbps"},
                "[led]\nbrightness_percent = 42\n[can]\nbus_speed_kbps = 300\n");
        refused("no such file", {"write", "/nonexistent/p.toml"},
                {"cannot read /nonexistent/p.toml"});
        refused("factory reset unconfirmed", {"factory-reset"}, {"--yes"});
        refused("--port and --all", {"restart", "--port", "A", "--all"}, {"exclude"});
        refused("two files", {"write", "a", "b"}, {"FILE"});
        const QStringList provision{"provision", "-"};
        refused("provision: a problem in the profile", provision, {"<stdin>:2:"},
                "[led]\nbrightness_percent = 42\n");
        refused("provision: a record that cannot be written",
                provision + QStringList{"--log", "/nonexistent/r.csv"}, {"/nonexistent/r.csv"},
                partial);
        refused("provision: no count", provision + QStringList{"--count", "0"}, {"--count"});
        refused("provision: an empty port", provision + QStringList{"--port", ""}, {"find"});
    }
    void oneModule()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QString, out);
        QFETCH(QStringList, told);
        QFETCH(QByteArray, commands);
        Modules modules(1);
        const Run run = veldrix(arguments, input);
        QCOMPARE(run.status, told.isEmpty() ? 0 : 1);
        QCOMPARE(run.out, out);
        QCOMPARE(run.err.isEmpty(), told.isEmpty());
        for (const QString &text : told)
            QVERIFY2(run.err.contains(text), qPrintable(run.err));
        QCOMPARE(heard(modules[0]), commands);
        QStringList expected = commands.contains('z') ? standin::factorySettings() : held();
        if (commands.contains('c')) {
            expected[3] = "2";
            expected[29] = "40";
        }
        QCOMPARE(modules[0].now().settings, expected);
        // A command went out: each answer ends after 350 ms of silence, and
        // the half second after the command is longer than one more.
        if (commands.count('\n') > 2)
            QVERIFY2(run.ms >= 350 * (commands.count('I') + commands.count('S') + 1),
                     qPrintable(QString::number(run.ms)));
    }

    // Several modules: without --port or --all nothing is written; --port
    // picks one; --all writes to all three at once, and ends with the worst
    // status of any: a module that does not hold the frame, one that is not
    // back after a restart. find lists every module, and every port that
    // cannot be written to with why.
    void severalModules()
    {
        Modules modules(3);
        Run run = veldrix({"write", "-"}, partial);
        QCOMPARE(run.status, 2);
        QVERIFY2(modules.letters(run.err).endsWith("  C\tVELDRIX_GPS2CAN_SIC\n"),
                 qPrintable(run.err));
        QCOMPARE(veldrix({"write", "-", "--port", modules[1].portPath()}, partial).status, 0);
        QCOMPARE(heard(modules[0]) + '|' + heard(modules[1]) + '|' + heard(modules[2]),
                 "iI\n|iI\niI\nsS\nc\nsS\n|iI\n");
        run = veldrix({"write", "-", "--all"}, "[can]\nbus_speed_kbps = 1000\n");
        QCOMPARE(run.status, 0);
        const QString written = ": written; 1 setting changed: can.bus_speed_kbps\n";
        QCOMPARE(modules.letters(run.out), "A" + written + "B" + written + "C" + written);
        // Each step went to all three at once: about 1550 ms as for one
        // module (discovery, read, half a second, read), where taking the
        // modules one after another, in each step or whole, takes 2950 ms or
        // more.
        QVERIFY2(run.ms < 2600, qPrintable(QString::number(run.ms)));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(modules[i].now().settings[0], "1000");
        // B answers to another name of the same length: its reply is read, but
        // the frame sent to that name leaves it as it was.
        modules[1].change([](standin::Behaviour &m) {
            m.answers['i'] = {{0, "VELDRIX_OTHER_NAME_\r\n"}};
        });
        run = veldrix({"write", "-", "--all"}, "[can]\nbus_speed_kbps = 125\n");
        QCOMPARE(run.status, 3);
        QVERIFY2(modules.letters(run.out).contains("\nB: written, but the module does not hold: "
                                                   "can.bus_speed_kbps (written 125, holds 1000)"),
                 qPrintable(run.out));
        QCOMPARE(modules[0].now().settings[0] + modules[2].now().settings[0], "125125");
        modules[2].change([](standin::Behaviour &m) { m.answers['s'] = {{0, ""}}; }); // silent
        run = veldrix({"restart", "--all"});
        QCOMPARE(run.status, 3);
        QVERIFY2(modules.letters(run.out).contains("C: restarted, but could not be read back"),
                 qPrintable(run.out));

        ports::install(QStringList{gone} + ports::listed());
        run = veldrix({"find"});
        QCOMPARE(run.status, 0);
        QCOMPARE(modules.letters(run.out),
                 "A\tVELDRIX_GPS2CAN_SIA\nB\tVELDRIX_OTHER_NAME_\nC\tVELDRIX_GPS2CAN_SIC\n");
        QVERIFY2(run.err.startsWith("veldrix-cli: cannot write to " + gone + ": no such port"),
                 qPrintable(run.err));
        ports::install({gone});
        QCOMPARE(veldrix({"find"}).status, 2);
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
            veldrix({"provision", "-", "--log", log}, partial,
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
        QStringList lines = modules.letters(run.out).split('\n');
        QCOMPARE(lines.takeLast(), "");
        QCOMPARE(lines.takeLast(),
                 "6 modules handled: 6 hold the profile, 0 did not hold the write, 0 failed");
        const QVector<QStringList> rows = csv(log);
        QCOMPARE(early.size(), 2);
        QCOMPARE(rows.size(), 7);
        QCOMPARE(rows[0].join(','), "time,port,module,profile,profile_sha256,outcome,changes");
        const QString sha256 =
            QCryptographicHash::hash(partial, QCryptographicHash::Sha256).toHex();
        QString order;
        for (int i = 0; i < 6; ++i) {
            const QStringList line = lines[i].split('\t'), row = rows[i + 1];
            QVERIFY2(QTime::fromString(line[0], "HH:mm:ss").isValid(), qPrintable(lines[i]));
            QVERIFY2(QDateTime::fromString(row[0], Qt::ISODate).isValid(), qPrintable(row[0]));
            order += line[1];
            QCOMPARE(row.mid(1), QStringList({modules[line[1][0].unicode() - 'A'].portPath(),
                                              line[2], "<stdin>", sha256, line[3],
                                              i < 5 ? "time.zone_offset_hours: -3 -> 2; "
                                                      "led.brightness_percent: 85 -> 40"
                                                    : ""}));
            QCOMPARE(line[3], i < 5 ? "written; 2 settings changed: time.zone_offset_hours, "
                                      "led.brightness_percent"
                                    : "written; no setting changed");
        }
        QVERIFY2(order == "ABCDEA" || order == "ABCEDA", qPrintable(order));
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
                                partial, scene(modules, {{0, 0, "BA"}, {1, 0, "BACD"}}));
        QCOMPARE(run.status, 3);
        QCOMPARE(run.err, "veldrix-cli: watching the serial ports for modules; Ctrl+C to stop\n");
        const QStringList lines = modules.letters(run.out).split('\n');
        QCOMPARE(lines.size(), 4);
        const QString notHeld = "VELDRIX_OTHER_NAME_\twritten, but the module does not hold: "
                                "time.zone_offset_hours (written 2, holds -3), "
                                "led.brightness_percent (written 40, holds 85); no setting changed";
        QCOMPARE(lines[0].section('\t', 1), "A\t" + notHeld);
        QCOMPARE(lines[2],
                 "2 modules handled: 1 holds the profile, 1 did not hold the write, 0 failed");
        QCOMPARE(heard(modules[1]).replace("iI\n", ""), "");
        QCOMPARE(heard(modules[2]).count("c\n") + heard(modules[3]).count("c\n"), 1);
        const QVector<QStringList> rows = csv(log.fileName());
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[1].size(), 3);
        QCOMPARE(column(rows, 2), QStringList({"module", "VELD", "VELDRIX_OTHER_NAME_",
                                               lines[1].section('\t', 2, 2)}));
        QCOMPARE(rows[2].value(5), notHeld.section('\t', 1));
        QCOMPARE(rows[3].size(), 7);
    }
};

VELDRIX_TEST_MAIN(TestCli)
#include "tst_cli.moc"

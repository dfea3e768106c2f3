// veldrix-cli against module stand-ins on pseudo-terminals, called in-process
// with the stand-ins' terminals as the listed ports: what each command prints,
// its exit status, what the stand-ins heard and what they hold afterwards.
#include "cli/cli.h"
#include "link/ports.h"
#include "testsupport.h"

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

Run veldrix(const QStringList &arguments, const QByteArray &input = {})
{
    QBuffer in, out, err;
    in.setData(input);
    for (QBuffer *buffer : {&in, &out, &err})
        buffer->open(QIODevice::ReadWrite);
    QElapsedTimer clock;
    clock.start();
    const int status = cli::run(QStringList{"veldrix-cli"} + arguments, in, out, err);
    return {status, QString::fromUtf8(out.data()), QString::fromUtf8(err.data()), clock.elapsed()};
}

// Stand-ins holding held(), listed in the order made; ports as "A", "B", "C".
struct Modules {
    std::vector<std::unique_ptr<ModuleStandin>> list;
    explicit Modules(int count)
    {
        for (int i = 0; i < count; ++i) {
            list.push_back(
                std::make_unique<ModuleStandin>("VELDRIX_GPS2CAN_SI" + QByteArray(1, 'A' + i)));
            list.back()->change([](standin::Behaviour &m) { m.settings = held(); });
            if (!list.back()->start())
                qFatal("no pseudo-terminal");
        }
        QStringList paths;
        for (const auto &module : list)
            paths << module->portPath();
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

// The value of a dotted key in a profile as `read` writes it, comment left out.
QString valueIn(const QString &profile, const QString &key)
{
    const int table = profile.indexOf('[' + key.section('.', 0, -2) + "]\n");
    const QRegularExpression line("\n" + key.section('.', -1) + " *= *([^#\n]*[^#\\s])");
    return table < 0 ? "no table" : line.match(profile, table).captured(1);
}

// A module that answers to another name of the same length: its reply is
// read, the frame sent to that name is not its own and leaves it as it was.
void ignoreFrames(ModuleStandin &module)
{
    module.change([](standin::Behaviour &m) { m.answers['i'] = {{0, "VELDRIX_OTHER_NAME_\r\n"}}; });
}

const QByteArray partial = "[led]\nbrightness_percent = 40\n[time]\nzone_offset_hours = 2\n";

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void find_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::newRow("none") << 0 << 2 << "";
        QTest::newRow("one") << 1 << 0 << "A\tVELDRIX_GPS2CAN_SIA\n";
        QTest::newRow("three")
            << 3 << 0 << "A\tVELDRIX_GPS2CAN_SIA\nB\tVELDRIX_GPS2CAN_SIB\nC\tVELDRIX_GPS2CAN_SIC\n";
    }
    void find()
    {
        QFETCH(int, count);
        QFETCH(int, status);
        QFETCH(QString, out);
        Modules modules(count);
        ports::install(QStringList{gone} + ports::listed());
        const Run run = veldrix({"find"});
        QCOMPARE(run.status, status);
        QCOMPARE(modules.letters(run.out), out);
        QVERIFY2(run.err.startsWith("veldrix-cli: cannot write to " + gone + ": no such port"),
                 qPrintable(run.err));
    }

    // The profile read holds the module's values, each under its key;
    // written back, it changes nothing and nothing is reported changed.
    void roundTrip()
    {
        Modules modules(1);
        QTemporaryDir dir;
        const QString file = dir.filePath("backup.toml");
        QCOMPARE(veldrix({"read", "-o", file}).status, 0);
        QFile profile(file);
        QVERIFY(profile.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(profile.readAll());
        for (const QString expected :
             {"can.bus_speed_kbps = 250", "time.zone_offset_hours = -3",
              "frames.position.id = 1234", "frames.position.period_ms = 100",
              "led.brightness_percent = 85", "altitude.reference = \"ellipsoid\"",
              "frames.precision.enabled = false"}) {
            const QString key = expected.section(" = ", 0, 0);
            QCOMPARE(key + " = " + valueIn(text, key), expected);
        }
        const Run run = veldrix({"write", file});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out + run.err, "");
        QCOMPARE(modules[0].now().settings, held());
        QCOMPARE(heard(modules[0]), "iI\nsS\niI\nsS\nc\nsS\n");
    }

    // A profile of two settings changes those two and keeps the rest; a
    // module that ignores the frame is named with the settings it lacks.
    void partialProfile_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("ignores");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QByteArray>("commands");
        const QString changes =
            "time.zone_offset_hours: -3 -> 2\nled.brightness_percent: 85 -> 40\n";
        QTest::newRow("written") << QStringList() << false << 0 << changes << ""
                                 << QByteArray("iI\nsS\nc\nsS\n");
        QTest::newRow("dry run") << QStringList{"--dry-run"} << false << 0 << changes << ""
                                 << QByteArray("iI\nsS\n");
        QTest::newRow("frame ignored")
            << QStringList() << true << 3 << ""
            << "veldrix-cli: A: written, but the module does not hold: time.zone_offset_hours "
               "(written 2, holds -3), led.brightness_percent (written 40, holds 85); no "
               "setting changed\n"
            << QByteArray("iI\nsS\nc\nsS\n");
    }
    void partialProfile()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, ignores);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QByteArray, commands);
        Modules modules(1);
        if (ignores)
            ignoreFrames(modules[0]);
        const Run run = veldrix(QStringList{"write", "-"} + options, partial);
        QCOMPARE(run.status, status);
        QCOMPARE(run.out, out);
        QCOMPARE(modules.letters(run.err), err);
        QCOMPARE(heard(modules[0]), commands);
        QStringList expected = held();
        if (status == 0 && !options.contains("--dry-run"))
            expected[3] = "2", expected[29] = "40";
        QCOMPARE(modules[0].now().settings, expected);
        // Discovery, read, half a second, read: each answer ends after 350 ms
        // of silence, so the half second shows above 1050 ms.
        if (modules[0].heard().size() == 4)
            QVERIFY(run.ms >= 1400);
    }

    // Whatever is wrong on the command line or in the profile, nothing is sent.
    void refused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QStringList>("told"); // each said on standard error
        const QStringList write{"write", "-"};
        QTest::newRow("out of range") << write << QByteArray("[led]\nbrightness_percent = 150\n")
                                      << QStringList{"<stdin>:2:", "led.brightness_percent", "150"};
        QTest::newRow("unknown key") << write << QByteArray("[led]\nbrightnes_percent = 50\n")
                                     << QStringList{"<stdin>:2:", "led.brightnes_percent"};
        QTest::newRow("wrong type") << write << QByteArray("[can]\ntermination = 1\n")
                                    << QStringList{"<stdin>:2:", "can.termination"};
        QTest::newRow("blank inside a value")
            << write << QByteArray("[altitude]\nreference = \"sea level\"\n")
            << QStringList{"<stdin>:2:", "altitude.reference"};
        QTest::newRow("every problem told")
            << write << QByteArray("[led]\nbrightness_percent = 42\n[can]\nbus_speed_kbps = 300\n")
            << QStringList{"<stdin>:2:", "led.brightness_percent",
                           "<stdin>:4:", "can.bus_speed_kbps"};
        QTest::newRow("garbage") << write
                                 << QByteArray("\x7f"
                                               "ELF\x02\x01\x01\0\0\xff\xfe",
                                               11)
                                 << QStringList{"<stdin>"};
        QTest::newRow("empty") << write << QByteArray() << QStringList{"<stdin>"};
        QTest::newRow("no such file") << QStringList{"write", "/nonexistent/p.toml"} << QByteArray()
                                      << QStringList{"cannot read /nonexistent/p.toml"};
        QTest::newRow("factory reset unconfirmed")
            << QStringList{"factory-reset"} << QByteArray() << QStringList{"--yes"};
        QTest::newRow("--port and --all") << QStringList{"restart", "--port", "A", "--all"}
                                          << QByteArray() << QStringList{"exclude"};
        QTest::newRow("two files")
            << QStringList{"write", "a", "b"} << QByteArray() << QStringList{"FILE"};
        QTest::newRow("no command") << QStringList() << QByteArray() << QStringList{"--help"};
    }
    void refused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QStringList, told);
        Modules modules(1);
        const Run run = veldrix(arguments, input);
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, "");
        for (const QString &text : told)
            QVERIFY2(run.err.contains(text), qPrintable(run.err));
        QCOMPARE(heard(modules[0]), "");
    }

    // Several modules: without --port or --all nothing is written; --port
    // picks one; --all writes to all three at once, and ends with the worst
    // status of any.
    void severalModules()
    {
        Modules modules(3);
        Run run = veldrix({"write", "-"}, partial);
        QCOMPARE(run.status, 2);
        QVERIFY2(
            modules.letters(run.err).endsWith(
                "  A\tVELDRIX_GPS2CAN_SIA\n  B\tVELDRIX_GPS2CAN_SIB\n  C\tVELDRIX_GPS2CAN_SIC\n"),
            qPrintable(run.err));
        QCOMPARE(veldrix({"write", "-", "--port", modules[1].portPath()}, partial).status, 0);
        QCOMPARE(heard(modules[0]) + '|' + heard(modules[1]) + '|' + heard(modules[2]),
                 "iI\n|iI\niI\nsS\nc\nsS\n|iI\n");
        run = veldrix({"write", "-", "--all"}, "[can]\nbus_speed_kbps = 1000\n");
        QCOMPARE(run.status, 0);
        QCOMPARE(modules.letters(run.out), "A: written; 1 setting changed: can.bus_speed_kbps\n"
                                           "B: written; 1 setting changed: can.bus_speed_kbps\n"
                                           "C: written; 1 setting changed: can.bus_speed_kbps\n");
        // Each step went to all three at once: about 1550 ms as for one
        // module (discovery, read, half a second, read), where taking the
        // modules one after another, in each step or whole, takes 2950 ms or
        // more.
        QVERIFY2(run.ms < 2600, qPrintable(QString::number(run.ms)));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(modules[i].now().settings[0], "1000");
        ignoreFrames(modules[1]);
        run = veldrix({"write", "-", "--all"}, "[can]\nbus_speed_kbps = 125\n");
        QCOMPARE(run.status, 3);
        QVERIFY2(modules.letters(run.out).contains("\nB: written, but the module does not hold: "
                                                   "can.bus_speed_kbps (written 125, holds 1000)"),
                 qPrintable(run.out));
        QCOMPARE(modules[0].now().settings[0] + modules[2].now().settings[0], "125125");
    }

    // A restart or factory reset, then the half second and a read that shows
    // the module is back; a module that does not answer it fails.
    void commands_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("silentAfter");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("commands");
        QTest::newRow("restart") << QStringList{"restart"} << false << 0
                                 << QByteArray("iI\nrR\nsS\n");
        QTest::newRow("factory reset")
            << QStringList{"factory-reset", "--yes"} << false << 0 << QByteArray("iI\nzZ\nsS\n");
        QTest::newRow("not back after the restart")
            << QStringList{"restart"} << true << 3 << QByteArray("iI\nrR\nsS\n");
    }
    void commands()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, silentAfter);
        QFETCH(int, status);
        QFETCH(QByteArray, commands);
        Modules modules(1);
        if (silentAfter)
            modules[0].change([](standin::Behaviour &m) { m.answers['s'] = {{0, ""}}; });
        const Run run = veldrix(arguments);
        QCOMPARE(run.status, status);
        QCOMPARE(run.out, "");
        QCOMPARE(run.err.isEmpty(), status == 0);
        QCOMPARE(heard(modules[0]), commands);
        QCOMPARE(modules[0].now().settings,
                 commands.contains('z') ? standin::factorySettings() : held());
        QVERIFY(run.ms >= 1100); // discovery, the half second, the read
    }
};

VELDRIX_TEST_MAIN(TestCli)
#include "tst_cli.moc"

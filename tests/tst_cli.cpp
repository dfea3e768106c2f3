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
};

VELDRIX_TEST_MAIN(TestCli)
#include "tst_cli.moc"

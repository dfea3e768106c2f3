// The module stand-in seen through a real QSerialPort on its pseudo-terminal,
// and the records of the program exchanged with it. The stand-in has its own
// check character and its own idea of the read order, so a reply that the
// program loads into the form and writes back unchanged shows both sides agree.
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "link/records.h"
#include "standin/modulestandin.h"
#include "testsupport.h"

#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>

#include <functional>

using standin::ModuleStandin;
using Setup = std::function<void(ModuleStandin &)>;
Q_DECLARE_METATYPE(Setup)

namespace
{

const QStringList exampleValues =
    QString("500 1 1 1 1 1 0 0 1 0 0 0 100 1000 200 1001 500 1002 1000 1003 1000 1004 1000 1005 "
            "50 100 1520 10 1 50 0 1 0 100 1000 1536")
        .split(' ');

struct Exchange {
    bool opened = false;
    QByteArray answer;
    QSerialPort::SerialPortError error = QSerialPort::NoError;
};

// One exchange the way the program makes it: open, write, then read until
// 350 ms pass without data, close.
Exchange exchange(const QString &path, const QByteArray &bytes)
{
    Exchange result;
    QSerialPort port;
    port.setPortName(path);
    port.setBaudRate(115200, QSerialPort::AllDirections);
    result.opened = port.open(QIODevice::ReadWrite);
    if (!result.opened)
        return result;
    port.write(bytes);
    port.waitForBytesWritten(250);
    result.answer = port.readAll();
    while (port.waitForReadyRead(350))
        result.answer += port.readAll();
    result.error = port.error();
    port.close();
    return result;
}

QString make(MainWindow &w)
{
    QString s;
    QMetaObject::invokeMethod(&w, "makeConfFromUI", Q_RETURN_ARG(QString, s));
    return s;
}

bool parse(MainWindow &w, const QString &conf)
{
    bool ok = false;
    QMetaObject::invokeMethod(&w, "parseConfToUI", Q_RETURN_ARG(bool, ok), Q_ARG(QString, conf));
    return ok;
}

// A configuration frame built by the stand-in's rules, not the program's.
QByteArray moduleFrame(const QByteArray &id, const QStringList &values)
{
    QByteArray text = "c" + id + " ";
    for (const QString &value : values)
        text += value.toUtf8() + " ";
    return text + ModuleStandin::checkCharacterOf(text) + "\n";
}

} // namespace

class TestStandin : public QObject
{
    Q_OBJECT

    std::unique_ptr<ModuleStandin> device; // a new module for every test
    QString path;

private slots:
    void init()
    {
        device = std::make_unique<ModuleStandin>();
        QVERIFY(device->start());
        path = device->portPath();
        QVERIFY(QFileInfo::exists(path));
        moduleName = QString::fromLatin1(ModuleStandin::defaultModuleId());
    }
    void cleanup() { device.reset(); }

    // Two independent check characters agree on arbitrary bytes.
    void checkCharactersAgree()
    {
        QByteArray bytes;
        for (int n = 0; n < 2000; ++n) {
            bytes += char((n * 7919 + n / 3) & 0xff);
            QCOMPARE(records::checkCharacter(bytes), ModuleStandin::checkCharacterOf(bytes));
        }
    }

    void identifyAndRead()
    {
        const Exchange id = exchange(path, "iI\n");
        QVERIFY(id.opened);
        QCOMPARE(id.answer, ModuleStandin::defaultModuleId() + "\r\n");

        const Exchange read = exchange(path, "sS\n");
        QCOMPARE(read.answer, device->configurationReply());
        const QString checked = records::checkedReply(QString::fromUtf8(read.answer));
        QVERIFY(checked != "NAN");
        MainWindow w;
        QVERIFY(parse(w, checked));
        QCOMPARE(make(w),
                 "c" + moduleName + " " + ModuleStandin::factorySettings().join(' ') + " ");
        QCOMPARE(device->received(), QByteArray("iI\nsS\n"));
    }

    // The program's frame is taken by the module, byte for byte, and reads
    // back as it was written.
    void writeThenReadBack_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::newRow("worked example") << exampleValues;
        QStringList odd = exampleValues;
        odd[3] = "+5";
        odd[23] = "0100";
        odd[35] = "%3";
        odd[33] = "é";
        QTest::newRow("odd texts") << odd;
    }
    void writeThenReadBack()
    {
        QFETCH(QStringList, values);
        MainWindow w;
        device->setSettings(values);
        QVERIFY(parse(w, records::checkedReply(QString::fromUtf8(device->configurationReply()))));
        const QByteArray frame = records::configurationFrame(make(w));
        device->setSettings(ModuleStandin::factorySettings());
        device->clearReceived();

        QVERIFY(exchange(path, frame).answer.isEmpty());
        QVERIFY(device->waitUntil([&] { return device->acceptedConfigCount() == 1; }, 2000));
        QCOMPARE(device->received(), frame);
        QCOMPARE(device->settings(), values);
        QCOMPARE(device->rejectedConfigCount(), 0);
    }

    void configurationFrames_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("accepted");
        const QByteArray id = ModuleStandin::defaultModuleId();
        QStringList withEmpty = exampleValues;
        withEmpty[3] = "";
        QTest::newRow("good") << moduleFrame(id, exampleValues) << true;
        QTest::newRow("empty value") << moduleFrame(id, withEmpty) << true;
        QByteArray wrong = moduleFrame(id, exampleValues);
        wrong[wrong.size() - 2] = wrong.at(wrong.size() - 2) == 'A' ? 'B' : 'A';
        QTest::newRow("wrong check") << wrong << false;
        QTest::newRow("35 values") << moduleFrame(id, exampleValues.mid(1)) << false;
        QTest::newRow("37 values") << moduleFrame(id, exampleValues + QStringList{"1"}) << false;
        QTest::newRow("other module") << moduleFrame("VELDRIX_OTHER", exampleValues) << false;
        QByteArray noBlank = "c" + id + " " + exampleValues.join(' ').toUtf8();
        QTest::newRow("no closing blank")
            << noBlank + ModuleStandin::checkCharacterOf(noBlank) + "\n"
            << false;
        QTest::newRow("blank in a value")
            << moduleFrame(id, exampleValues.mid(1) + QStringList{"1 2"}) << false;
    }
    void configurationFrames()
    {
        QFETCH(QByteArray, frame);
        QFETCH(bool, accepted);
        exchange(path, frame);
        QVERIFY(device->waitUntil(
            [&] { return device->acceptedConfigCount() + device->rejectedConfigCount() == 1; },
            2000));
        QCOMPARE(device->acceptedConfigCount(), accepted ? 1 : 0);
        QCOMPARE(device->settings() != ModuleStandin::factorySettings(), accepted);
    }

    // A module that normalises keeps what it cannot take.
    void normalisedValues_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("held");
        auto row = [](const char *name, int position, const char *sent, const char *held) {
            QTest::newRow(name) << position << QString(sent) << QString(held);
        };
        row("leading zero", 14, "0100", "100");
        row("plus sign", 4, "+5", "5");
        row("not a number", 36, "%3", "1536");
        row("period too long", 13, "2501", "100");
        row("identifier too small", 14, "9", "256");
        row("bus speed between", 1, "875", "500");
        row("bus speed", 1, "1000", "1000");
        row("brightness off step", 30, "47", "100");
        row("switch 2", 2, "2", "1");
        row("empty", 4, "", "0");
    }
    void normalisedValues()
    {
        QFETCH(int, position);
        QFETCH(QString, sent);
        QFETCH(QString, held);
        device->setNormalisesValues();
        QStringList values = ModuleStandin::factorySettings();
        values[position - 1] = sent;
        exchange(path, moduleFrame(ModuleStandin::defaultModuleId(), values));
        QVERIFY(device->waitUntil([&] { return device->acceptedConfigCount() == 1; }, 2000));
        values = ModuleStandin::factorySettings();
        values[position - 1] = held;
        QCOMPARE(device->settings(), values);
    }

    // What the program's way of reading gets from a module that misbehaves.
    void misbehaviour_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("expected"); // "reply", "id", "", "NAN", "35", or raw bytes
        auto row = [](const char *name, Setup setup, const char *command, const char *expected) {
            QTest::newRow(name) << setup << QByteArray(command) << QString(expected);
        };
        row(
            "well", [](ModuleStandin &) {}, "sS\n", "reply");
        row(
            "pieces, 50 ms gaps",
            [](ModuleStandin &m) {
                m.setPieces(ModuleStandin::Read, {{5, 50}, {20, 50}, {1, 50}});
            },
            "sS\n", "reply");
        row(
            "dripping", [](ModuleStandin &m) { m.setDrip(ModuleStandin::Both, 16, 30); }, "sS\n",
            "reply");
        row(
            "late but in time", [](ModuleStandin &m) { m.setDelay(ModuleStandin::Read, 50); },
            "sS\n", "reply");
        row(
            "too late", [](ModuleStandin &m) { m.setDelay(ModuleStandin::Read, 1500); }, "sS\n",
            "");
        row(
            "gap too long",
            [](ModuleStandin &m) {
                m.setPieces(ModuleStandin::Read, {{8, 1500}});
            },
            "sS\n", "VELDRIX_");
        row(
            "silent reader", [](ModuleStandin &m) { m.setSilent(ModuleStandin::Read); }, "sS\n",
            "");
        row(
            "silent reader identifies", [](ModuleStandin &m) { m.setSilent(ModuleStandin::Read); },
            "iI\n", "id");
        row(
            "wrong check", [](ModuleStandin &m) { m.setWrongCheckCharacter(); }, "sS\n", "NAN");
        row(
            "35 values", [](ModuleStandin &m) { m.setReplyValueCount(35); }, "sS\n", "35");
        row(
            "37 values", [](ModuleStandin &m) { m.setReplyValueCount(37); }, "sS\n", "37");
        row(
            "garbage",
            [](ModuleStandin &m) {
                m.setRawAnswer(ModuleStandin::Identify, QByteArray("\0\xff\xfe"
                                                                   "abc",
                                                                   6));
            },
            "iI\n", "raw");
        row(
            "unknown command", [](ModuleStandin &) {}, "xX\n", "");
    }
    void misbehaviour()
    {
        QFETCH(Setup, setup);
        QFETCH(QByteArray, command);
        QFETCH(QString, expected);
        setup(*device);
        const QByteArray answer = exchange(path, command).answer;
        const QString checked = records::checkedReply(QString::fromUtf8(answer));
        MainWindow w;
        if (expected == "reply")
            QCOMPARE(answer, device->configurationReply());
        else if (expected == "id")
            QCOMPARE(answer, ModuleStandin::defaultModuleId() + "\r\n");
        else if (expected == "NAN")
            QCOMPARE(checked, "NAN");
        else if (expected == "35" || expected == "37") {
            QVERIFY(checked != "NAN");
            QCOMPARE(records::replyValues(checked, moduleName.size()).size(), expected.toInt());
            QVERIFY(!parse(w, checked));
        } else if (expected == "raw")
            QCOMPARE(answer, QByteArray("\0\xff\xfe"
                                        "abc",
                                        6));
        else
            QCOMPARE(QString::fromLatin1(answer), expected);
    }

    // What the module sends while nobody listens is lost with the closed
    // port; the next opening starts clean.
    void answerToClosedPortIsLost_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::newRow("late") << Setup(
            [](ModuleStandin &m) { m.setDelay(ModuleStandin::Read, 800); });
        QTest::newRow("long pause") << Setup([](ModuleStandin &m) {
            m.setPieces(ModuleStandin::Read, {{4, 800}});
        });
        QTest::newRow("not read") << Setup([](ModuleStandin &m) {
            m.setRawAnswer(ModuleStandin::Read, QByteArray(256 * 1024, 'x'));
        });
    }
    void answerToClosedPortIsLost()
    {
        QFETCH(Setup, setup);
        setup(*device);
        {
            QSerialPort port(path);
            QVERIFY(port.open(QIODevice::ReadWrite));
            port.write("sS\n");
            QVERIFY(port.waitForBytesWritten(250));
            QVERIFY(device->waitUntil([&] { return device->answerCount(ModuleStandin::Read) == 1; },
                                      2000));
            QTest::qWait(50);
        }
        QTest::qWait(50);
        QCOMPARE(exchange(path, "iI\n").answer, ModuleStandin::defaultModuleId() + "\r\n");
    }

    void unplugAndReplug()
    {
        device->unplugAfter(ModuleStandin::Read, 10);
        const Exchange cut = exchange(path, "sS\n");
        QCOMPARE(cut.answer, device->configurationReply().left(10));
        QVERIFY(!device->isPlugged());
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(!exchange(path, "iI\n").opened);

        QVERIFY(device->replug());
        QCOMPARE(exchange(device->portPath(), "sS\n").answer, device->configurationReply());

        device->unplug();
        QVERIFY(device->portPath().isEmpty());
        QVERIFY(device->replug());
    }

    void linkFollowsReplug()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath("ttyVELDRIX");
        QVERIFY(device->setLinkPath(link));
        device->unplug();
        QVERIFY(device->replug());
        QCOMPARE(exchange(link, "iI\n").answer, ModuleStandin::defaultModuleId() + "\r\n");
        QVERIFY(device->setLinkPath(QString()));
        QVERIFY(!QFileInfo::exists(link));
    }

    void restartAndFactoryReset()
    {
        device->setRestartTime(1500);
        device->setSettings(exampleValues);
        exchange(path, "rR\n");
        QVERIFY(device->waitUntil([&] { return device->restartCount() == 1; }, 2000));
        QVERIFY(exchange(path, "iI\n").answer.isEmpty()); // deaf while it restarts
        QVERIFY(device->waitUntil([&] { return !device->isRestarting(); }, 3000));
        QCOMPARE(device->settings(), exampleValues);
        QCOMPARE(exchange(path, "iI\n").answer, ModuleStandin::defaultModuleId() + "\r\n");

        device->setRestartTime(100);
        exchange(path, "zZ\n");
        QVERIFY(device->waitUntil(
            [&] { return !device->isRestarting() && device->factoryResetCount() == 1; }, 3000));
        QCOMPARE(device->settings(), ModuleStandin::factorySettings());
        QCOMPARE(device->restartCount(), 1);
        QCOMPARE(device->received(), QByteArray("rR\niI\niI\nzZ\n"));
    }

    void programRunsAndHelps()
    {
        const QString program = testsupport::buildDir() + "/standin/veldrix-module";
        if (!QFileInfo::exists(program))
            QSKIP("veldrix-module is not built");
        QProcess help;
        help.start(program, {"--help"});
        QVERIFY(help.waitForFinished(5000));
        QCOMPARE(help.exitCode(), 0);
        const QString usage = QString::fromUtf8(help.readAllStandardOutput());
        QVERIFY(usage.contains("VELDRIX"));
        QVERIFY(usage.contains("pseudo-terminal"));

        QProcess run;
        run.start(program, {"--id", "VELDRIX_CLI"});
        QVERIFY(run.waitForReadyRead(5000));
        const QString pty = QString::fromUtf8(run.readLine()).trimmed();
        QCOMPARE(exchange(pty, "iI\n").answer, QByteArray("VELDRIX_CLI\r\n"));
        run.terminate();
        QVERIFY(run.waitForFinished(5000));
        QCOMPARE(run.exitCode(), 0);
    }
};

VELDRIX_TEST_MAIN(TestStandin)
#include "tst_standin.moc"

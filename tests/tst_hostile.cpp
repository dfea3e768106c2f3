// Misbehaving devices, end to end through the window: whatever the device
// sends, the program does not crash, the form keeps exactly what it held
// unless a good reply replaced it, the user reads one of the program's own
// status messages, and the next click on a well-behaved module works again.
#include "linkfixture.h"

#include <QProcess>
#include <QRandomGenerator>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace linkfixture;

namespace
{

enum class Outcome { Lost, ReadFailed, Connected };

Misbehaviour raw(unsigned which, const QByteArray &bytes)
{
    return [=](ModuleStandin &m) { m.setRawAnswer(which, bytes); };
}

QByteArray frame(const QByteArray &payload)
{
    return payload + ModuleStandin::checkCharacterOf(payload) + "\r\n";
}

} // namespace

Q_DECLARE_METATYPE(Outcome)

class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetLink(); }

    void misbehavingModule_data();
    void misbehavingModule();
    void dripNearTheSilence();
    void unreachablePort_data();
    void unreachablePort();
};

void TestHostile::misbehavingModule_data()
{
    QTest::addColumn<Misbehaviour>("misbehave");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("name"); // the name the message shows

    const QByteArray id = ModuleStandin::defaultModuleId();
    QRandomGenerator random(1);
    QByteArray garbage(300, '\0');
    for (char &byte : garbage)
        byte = char(random.bounded(256));
    ModuleStandin good;
    good.setSettings(otherSettings);
    const QByteArray reply = good.configurationReply();
    QByteArray nulInReply = reply;
    nulInReply[30] = '\0';
    QByteArray notUtf8Reply = reply.chopped(3);
    notUtf8Reply.replace(" 20 ", " 2\xff ");

    QTest::newRow("garbage to identify")
        << raw(ModuleStandin::Identify, garbage) << Outcome::Lost << defaultId;
    QTest::newRow("garbage to read")
        << raw(ModuleStandin::Read, garbage) << Outcome::ReadFailed << defaultId;
    QTest::newRow("no reply") << Misbehaviour([](ModuleStandin &m) {
        m.setSilent(ModuleStandin::Read);
    }) << Outcome::ReadFailed << defaultId;
    QTest::newRow("wrong check character")
        << Misbehaviour([](ModuleStandin &m) { m.setWrongCheckCharacter(); }) << Outcome::ReadFailed
        << defaultId;
    QTest::newRow("35 values") << Misbehaviour([](ModuleStandin &m) { m.setReplyValueCount(35); })
                               << Outcome::ReadFailed << defaultId;
    QTest::newRow("pause of over a second") << Misbehaviour([](ModuleStandin &m) {
        m.setPieces(ModuleStandin::Read, {{30, 1200}});
    }) << Outcome::ReadFailed << defaultId;
    // A NUL ends the name, and a shorter name skips fewer bytes of the reply.
    QTest::newRow("NUL inside the name")
        << raw(ModuleStandin::Identify, QByteArray("VELDRIX_GP\0S2CAN_SIM\r\n", 23))
        << Outcome::ReadFailed << "VELDRIX_GP";
    QTest::newRow("NUL inside the reply")
        << raw(ModuleStandin::Read, nulInReply) << Outcome::ReadFailed << defaultId;
    QTest::newRow("NUL after a whole reply")
        << raw(ModuleStandin::Read, reply + QByteArray("\0junk", 5)) << Outcome::Connected
        << defaultId;
    // Bytes that are not UTF-8 decode to U+FFFD, whose bytes no longer add up
    // to the check character the module computed.
    QTest::newRow("reply not UTF-8")
        << raw(ModuleStandin::Read, frame(notUtf8Reply)) << Outcome::ReadFailed << defaultId;
    QTest::newRow("1 MiB reply") << raw(ModuleStandin::Read,
                                        frame(id + " " + QByteArray(1024 * 1024 - 23, 'A')))
                                 << Outcome::ReadFailed << defaultId;
    // Cut within the prefix: whether the bytes before the hang-up reach the
    // program or not, they never make a module.
    QTest::newRow("unplugged within the identification answer")
        << Misbehaviour([](ModuleStandin &m) { m.unplugAfter(ModuleStandin::Identify, 5); })
        << Outcome::Lost << defaultId;
    QTest::newRow("unplugged within the reply")
        << Misbehaviour([](ModuleStandin &m) { m.unplugAfter(ModuleStandin::Read, 40); })
        << Outcome::ReadFailed << defaultId;
}

// The form is first read from a well-behaved module; then the module
// misbehaves on the next click, and behaves again for the click after.
void TestHostile::misbehavingModule()
{
    QFETCH(Misbehaviour, misbehave);
    QFETCH(Outcome, outcome);
    QFETCH(QString, name);

    QTemporaryDir dir;
    auto module = plug(dir);
    QVERIFY(module);
    const QString port = module->linkPath();
    ports::install({port});

    Window w;
    w.scan->click();
    QCOMPARE(w.form(), exampleSettings);

    QVERIFY(module->setSettings(otherSettings));
    misbehave(*module);
    w.scan->click();
    const bool read = outcome == Outcome::Connected;
    const QString shown[] = {lost(name), readFailed(name, port),
                             connected(name, port) + " (relecture)"};
    QCOMPARE(w.status(), shown[int(outcome)]);
    QCOMPARE(w.buttons(), read ? "Lire 1 1 1" : "Connecter 0 0 0");
    QCOMPARE(w.form(), read ? otherSettings : exampleSettings);

    // Nothing of the misbehaviour stays behind in the program.
    module->behaveWell();
    QVERIFY(module->isPlugged() || module->replug());
    w.scan->click();
    QCOMPARE(w.status(), connected(defaultId, port) + (read ? " (relecture)" : ""));
    QCOMPARE(w.form(), otherSettings);
}

// A byte every 300 ms comes close to the 350 ms that end an answer, so a busy
// machine may cut the answer short: whichever way it goes, the window ends up
// in one of its own states, never between two.
void TestHostile::dripNearTheSilence()
{
    QTemporaryDir dir;
    auto module = plug(dir);
    QVERIFY(module);
    ports::install({module->linkPath()});

    Window w;
    w.scan->click();
    QVERIFY(module->setSettings(otherSettings));
    module->setDrip(ModuleStandin::Identify, 1, 300);
    w.scan->click();

    qInfo("the dripping answer ended with: %s", qPrintable(w.status()));
    if (w.status() == connected(defaultId, module->linkPath()) + " (relecture)") {
        QCOMPARE(w.buttons(), "Lire 1 1 1");
        QCOMPARE(w.form(), otherSettings);
    } else {
        // Cut short: the name is a piece of the answer, or no module at all.
        QVERIFY2(w.status() == lost(defaultId) || w.status().startsWith("Impossible de lire "),
                 qPrintable(w.status()));
        QCOMPARE(w.buttons(), "Connecter 0 0 0");
        QCOMPARE(w.form(), exampleSettings);
    }
}

void TestHostile::unreachablePort_data()
{
    QTest::addColumn<bool>("noPermission"); // else held open by another process
    QTest::addColumn<bool>("moduleAfter");

    QTest::newRow("held by another process") << false << false;
    QTest::newRow("held by another process, module after it") << false << true;
    QTest::newRow("no permission") << true << false;
}

// A port that this user may not open, or that another process holds, cannot
// be reached: discovery says so on the status bar and goes on.
void TestHostile::unreachablePort()
{
    QFETCH(bool, noPermission);
    QFETCH(bool, moduleAfter);

    if (noPermission && geteuid() == 0) {
        // The superuser opens any port whatever its mode: run this case
        // again as an ordinary user.
        const QString self = QCoreApplication::applicationFilePath();
        const QStringList asNobody = {"--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"};
        if (QProcess::execute("setpriv",
                              asNobody + QStringList{"/bin/sh", "-c", "test -x \"$0\"", self}) != 0)
            QSKIP("needs to run as an ordinary user: setpriv is missing, or user nobody "
                  "cannot reach this test program");
        const QString tag = QTest::currentDataTag();
        QProcess child;
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start("setpriv", asNobody + QStringList{self, "unreachablePort:" + tag});
        QVERIFY(child.waitForFinished(120000));
        const QByteArray output = child.readAll();
        QVERIFY2(
            child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
                output.contains(("PASS   : TestHostile::unreachablePort(" + tag + ")").toUtf8()) &&
                output.contains(" 0 failed, 0 skipped"),
            output.constData());
        return;
    }

    QTemporaryDir dir;
    auto blocked = plug(dir, "blocked%2%1");
    auto module = plug(dir, "behind%2%1", otherSettings);
    QVERIFY(blocked && module);
    const QString blockedPort = blocked->linkPath();

    pid_t holder = -1;
    int release[2] = {-1, -1};
    if (noPermission) {
        QCOMPARE(::chmod(qPrintable(blocked->portPath()), 0), 0);
    } else {
        // Another process opens the port the way a terminal program would,
        // tells us so, and keeps it until we close `release`.
        int opened[2];
        QVERIFY(::pipe(opened) == 0 && ::pipe(release) == 0);
        holder = ::fork();
        QVERIFY(holder >= 0);
        if (holder == 0) {
            ::close(release[1]);
            ::close(opened[0]);
            QSerialPort port;
            exchange::prepare(port, blockedPort);
            const char ok = port.open(QIODevice::ReadWrite) ? '1' : '0';
            (void)!::write(opened[1], &ok, 1);
            char byte;
            (void)!::read(release[0], &byte, 1);
            port.close();
            ::_exit(0);
        }
        ::close(release[0]);
        char ok = '0';
        (void)!::read(opened[0], &ok, 1);
        ::close(opened[0]);
        ::close(opened[1]);
        QCOMPARE(ok, '1');
    }
    ports::install(moduleAfter ? QStringList{blockedPort, module->linkPath()}
                               : QStringList{blockedPort});

    Window w;
    w.setForm(exampleSettings);
    w.scan->click();
    if (holder > 0) {
        ::close(release[1]);
        ::waitpid(holder, nullptr, 0);
    }

    QCOMPARE(w.messages(),
             QStringList({cannotWrite(blockedPort, QSerialPort::PermissionError),
                          moduleAfter ? connected(defaultId, module->linkPath()) : notDetected}));
    QCOMPARE(w.form(), moduleAfter ? otherSettings : exampleSettings);
    QCOMPARE(blocked->received(), QByteArray());
}

VELDRIX_TEST_MAIN(TestHostile)
#include "tst_hostile.moc"

// Misbehaving devices, end to end through the window: whatever the device
// sends, the program does not crash, the form keeps exactly what it held
// unless a good reply replaced it, the user reads one of the program's own
// status messages, and the next click on a well-behaved module works again.
#include "linkfixture.h"

#include <QProcess>
#include <QRandomGenerator>

#include <sys/socket.h>
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

    using M = ModuleStandin;
    const QByteArray id = M::defaultModuleId();
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

    QTest::newRow("garbage") << raw(M::Identify, garbage) << Outcome::Lost;
    QTest::newRow("no reply") << Misbehaviour([](M &m) { m.setSilent(M::Read); })
                              << Outcome::ReadFailed;
    QTest::newRow("wrong check character")
        << Misbehaviour([](M &m) { m.setWrongCheckCharacter(); }) << Outcome::ReadFailed;
    QTest::newRow("35 values") << Misbehaviour([](M &m) { m.setReplyValueCount(35); })
                               << Outcome::ReadFailed;
    QTest::newRow("pause of over a second") << Misbehaviour([](M &m) {
        m.setPieces(M::Read, {{30, 1200}});
    }) << Outcome::ReadFailed;
    // A NUL ends what the program reads of an answer.
    QTest::newRow("NUL after the name")
        << raw(M::Identify, id + QByteArray("\0junk\r\n", 7)) << Outcome::Connected;
    QTest::newRow("NUL inside the reply") << raw(M::Read, nulInReply) << Outcome::ReadFailed;
    QTest::newRow("NUL after a whole reply")
        << raw(M::Read, reply + QByteArray("\0junk", 5)) << Outcome::Connected;
    // Bytes that are not UTF-8 decode to U+FFFD, whose bytes no longer add up
    // to the check character the module computed.
    QTest::newRow("reply not UTF-8") << raw(M::Read, frame(notUtf8Reply)) << Outcome::ReadFailed;
    QTest::newRow("1 MiB reply") << raw(M::Read,
                                        frame(id + " " + QByteArray(1024 * 1024 - 23, 'A')))
                                 << Outcome::ReadFailed;
    // Cut within the prefix: whether the bytes before the hang-up reach the
    // program or not, they never make a module.
    QTest::newRow("unplugged within the identification answer")
        << Misbehaviour([](M &m) { m.unplugAfter(M::Identify, 5); }) << Outcome::Lost;
    QTest::newRow("unplugged within the reply")
        << Misbehaviour([](M &m) { m.unplugAfter(M::Read, 40); }) << Outcome::ReadFailed;
}

// The form is first read from a well-behaved module; then the module
// misbehaves on the next click, and behaves again for the click after.
void TestHostile::misbehavingModule()
{
    QFETCH(Misbehaviour, misbehave);
    QFETCH(Outcome, outcome);

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
    const QString shown[] = {lost(defaultId), readFailed(defaultId, port),
                             connected(defaultId, port) + " (relecture)"};
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
    int line[2] = {-1, -1};
    if (noPermission) {
        QCOMPARE(::chmod(qPrintable(blocked->portPath()), 0), 0);
    } else {
        // Another process opens the port the way a terminal program would,
        // tells us so, and keeps it until we hang up on it.
        QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM, 0, line), 0);
        holder = ::fork();
        QVERIFY(holder >= 0);
        if (holder == 0) {
            ::close(line[0]);
            QSerialPort port;
            exchange::prepare(port, blockedPort);
            char ok = port.open(QIODevice::ReadWrite) ? '1' : '0';
            if (::write(line[1], &ok, 1) == 1)
                (void)!::read(line[1], &ok, 1);
            port.close();
            ::_exit(0);
        }
        ::close(line[1]);
        char ok = '0';
        (void)!::read(line[0], &ok, 1);
        QCOMPARE(ok, '1');
    }
    ports::install(moduleAfter ? QStringList{blockedPort, module->linkPath()}
                               : QStringList{blockedPort});

    Window w;
    const QStringList before = w.form();
    w.scan->click();
    if (holder > 0) {
        ::close(line[0]);
        ::waitpid(holder, nullptr, 0);
    }

    QCOMPARE(w.messages(),
             QStringList({cannotWrite(blockedPort, QSerialPort::PermissionError),
                          moduleAfter ? connected(defaultId, module->linkPath()) : notDetected}));
    // The user learns why: the port is busy, or not open to this user.
    QVERIFY(w.messages().at(0).contains("autre programme") && w.messages().at(0).contains("droit"));
    QCOMPARE(w.form(), moduleAfter ? otherSettings : before);
    QCOMPARE(blocked->received(), QByteArray());
}

VELDRIX_TEST_MAIN(TestHostile)
#include "tst_hostile.moc"

// Connecting to the module and giving it commands, through the window, with
// stand-in modules on pseudo-terminals at the other end of real serial ports.
#include "linkfixture.h"

#include <vector>

using namespace linkfixture;

class TestLink : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetLink(); }

    void discovery_data();
    void discovery();
    void commandSucceeds_data();
    void commandSucceeds();
    void commandOnUnpluggedModule_data();
    void commandOnUnpluggedModule();
};

void TestLink::discovery_data()
{
    QTest::addColumn<QByteArrayList>("ids");  // one module per listed port, in list order
    QTest::addColumn<Misbehaviour>("timing"); // applied to every module
    QTest::addColumn<int>("winner");          // the module that is read, or -1

    using M = ModuleStandin;
    const QByteArrayList one{M::defaultModuleId()};
    const Misbehaviour wellBehaved = [](M &) {};

    QTest::newRow("no port") << QByteArrayList() << wellBehaved << -1;
    QTest::newRow("silent port") << one << Misbehaviour([](M &m) { m.setSilent(M::Identify); })
                                 << -1;
    QTest::newRow("one module") << one << wellBehaved << 0;
    QTest::newRow("two modules, percent signs in their names")
        << QByteArrayList{"VELDRIX_%2A", "VELDRIX_%1B"} << wellBehaved << 1;
    // Gaps well under the 350 ms of silence never cut an answer, however
    // long it takes in all.
    QTest::newRow("first byte after 150 ms")
        << one << Misbehaviour([](M &m) { m.setDelay(M::Both, 150); }) << 0;
    QTest::newRow("identification, a byte every 60 ms for 2 s")
        << QByteArrayList{"VELDRIX_" + QByteArray(30, 'S')}
        << Misbehaviour([](M &m) { m.setDrip(M::Identify, 1, 60); }) << 0;
    QTest::newRow("reply, a byte every 20 ms for 3 s")
        << one << Misbehaviour([](M &m) { m.setDrip(M::Read, 1, 20); }) << 0;
}

void TestLink::discovery()
{
    QFETCH(QByteArrayList, ids);
    QFETCH(Misbehaviour, timing);
    QFETCH(int, winner);

    // The links' names sort against the list, so that only the list's order
    // can make the winner.
    QTemporaryDir dir;
    std::vector<std::unique_ptr<ModuleStandin>> modules;
    QStringList listed;
    for (int i = 0; i < ids.size(); ++i) {
        modules.push_back(plug(dir, "module%2%1-" + QString::number(ids.size() - i),
                               i == winner ? exampleSettings : otherSettings));
        QVERIFY(modules.back());
        modules.back()->setModuleId(ids.at(i));
        timing(*modules.back());
        listed.append(modules.back()->linkPath());
    }
    ports::install(listed);

    Window w;
    const QStringList before = w.form();
    w.scan->click();

    const bool found = winner >= 0;
    const QString name = found ? QString::fromUtf8(ids.at(winner)) : QString();
    const QString port = found ? listed.at(winner) : QString();
    QCOMPARE(w.messages(), QStringList{found ? connected(name, port) : notDetected});
    QCOMPARE(w.buttons(), found ? "Lire 1 1 1" : "Connecter 0 0 0");
    QCOMPARE(w.form(), found ? exampleSettings : before);
    for (int i = 0; i < ids.size(); ++i)
        QCOMPARE(modules[i]->received(), QByteArray(i == winner ? "iI\nsS\n" : "iI\n"));
    QCOMPARE(moduleName, name);
    QCOMPARE(modulePortName, port);
    QVERIFY(moduleFound == found && moduleConnected == found);
    if (!found)
        return;

    // The second reading changes every one of the 36 widgets.
    QVERIFY(modules[winner]->setSettings(otherSettings));
    w.scan->click();
    QCOMPARE(w.status(), connected(name, port) + " (relecture)");
    QCOMPARE(w.buttons(), "Lire 1 1 1");
    QCOMPARE(w.form(), otherSettings);
}

void TestLink::commandSucceeds_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("command"); // the bytes the module receives
    QTest::addColumn<QStringList>("held");   // what the module holds afterwards
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("restartMs");

    const QByteArray frame =
        "c" + ModuleStandin::defaultModuleId() + " " + exampleSettings.join(' ').toUtf8() + " ";
    const QString restarted = "Le module a été redémarré.";
    QTest::newRow("configure") << "pushButton_Config"
                               << frame + ModuleStandin::checkCharacterOf(frame) + '\n'
                               << exampleSettings << "Le module a été configuré." << 50;
    // Back well within the half-second wait, or long after the re-read.
    QTest::newRow("restart") << "pushButton_Reboot" << QByteArray("rR\n") << otherSettings
                             << restarted << 50;
    QTest::newRow("slow restart") << "pushButton_Reboot" << QByteArray("rR\n") << otherSettings
                                  << restarted << 3000;
    QTest::newRow("factory reset")
        << "pushButton_RAZ" << QByteArray("zZ\n") << ModuleStandin::factorySettings()
        << "Le module a été remis en configuration usine." << 50;
}

// The form shows the first settings read, the module has others by then; a
// command that works is reported in a plain box, then the module is read again.
void TestLink::commandSucceeds()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, command);
    QFETCH(QStringList, held);
    QFETCH(QString, box);
    QFETCH(int, restartMs);

    QTemporaryDir dir;
    auto module = plug(dir);
    QVERIFY(module);
    module->setRestartTime(restartMs);
    ports::install({module->linkPath()});

    Window w;
    w.scan->click();
    QVERIFY(module->setSettings(otherSettings));
    module->clearReceived();

    // While the box is up, the module changes a value on its own: the re-read
    // must show the module's value, not the form's.
    testsupport::ModalAnswerer answerer;
    const auto commandTaken = [&] {
        return module->acceptedConfigCount() + module->restartCount() + module->factoryResetCount();
    };
    answerer.inspect = [&](QDialog *) {
        module->waitUntil([&] { return commandTaken() == 1; }, 5000);
        module->setSetting(30, "75");
    };
    w.button(button)->click();
    QCOMPARE(boxes(answerer), QStringList{box + " | "});

    const bool back = restartMs < 500;
    QStringList reread = held;
    reread[29] = "75";
    QCOMPARE(module->received(), command + (back ? "iI\nsS\n" : "iI\n"));
    QCOMPARE(w.status(),
             back ? connected(defaultId, module->linkPath()) + " (relecture)" : lost(defaultId));
    QCOMPARE(w.form(), back ? reread : exampleSettings);
}

void TestLink::commandOnUnpluggedModule_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("failure");

    QTest::newRow("configure") << "pushButton_Config"
                               << "Impossible de configurer le module.";
    QTest::newRow("restart") << "pushButton_Reboot"
                             << "Impossible de redémarrer le module.";
    QTest::newRow("factory reset") << "pushButton_RAZ"
                                   << "Impossible de redémarrer le module.";
}

// With the module gone, a command fails without touching the link state; the
// next click on the connect button finds the loss. The link goes with the
// unplug, as the pty's number may meanwhile be handed to another program.
void TestLink::commandOnUnpluggedModule()
{
    QFETCH(QString, button);
    QFETCH(QString, failure);

    QTemporaryDir dir;
    auto module = plug(dir);
    QVERIFY(module);
    const QString port = module->linkPath();
    ports::install({port});

    Window w;
    w.scan->click();
    const QString connectedText = w.status();
    module->unplug();

    testsupport::ModalAnswerer answerer;
    w.button(button)->click();
    QCOMPARE(boxes(answerer),
             QStringList{failure + " | Veuillez débrancher le module et re-essayer."});
    QCOMPARE(w.status(), connectedText);
    QCOMPARE(w.buttons(), "Lire 1 1 1");

    w.messageSpy.clear();
    w.scan->click();
    QCOMPARE(w.messages(),
             QStringList({cannotWrite(port, QSerialPort::DeviceNotFoundError), lost(defaultId)}));
    QVERIFY(w.messages().at(0).contains("n'existe pas"));
    QCOMPARE(w.buttons(), "Connecter 0 0 0");
    QVERIFY(!moduleFound && !moduleConnected);
}

VELDRIX_TEST_MAIN(TestLink)
#include "tst_link.moc"

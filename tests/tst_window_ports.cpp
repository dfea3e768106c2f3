// The window against module stand-ins on pseudo-terminals, through real
// serial ports: every outcome of a click on "Connecter" and of the three
// commands, the bytes on the wire, the line settings and the waits.
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "link/ports.h"
#include "standin/stoppedport.h"
#include "testsupport.h"

#include <QSerialPort>

using standin::ModuleStandin;
using standin::Script;
Q_DECLARE_METATYPE(Script)

namespace
{

const QString id = "VELDRIX_GPS2CAN_SIM", gone = "/dev/veldrix-none";
// A port that is not there, and the module's port once unplugged.
const QString notWritten = "Impossible d'écrire sur le port %1. Erreur : %2",
              absent = "le port n'existe pas ou a été débranché.",
              unplugged = "le port a disparu, le module a sans doute été débranché.";

// What the modules hold at the start: none of it the form's own at start.
QStringList held()
{
    QStringList values = standin::factorySettings();
    values[3] = "-3";
    values[29] = "85";
    return values;
}

// The line settings of every port the program holds open, seen on the port
// whenever an event reaches it. The stand-in cannot see them for a command
// that only writes: closing the port puts the terminal's previous settings
// back at once, before the stand-in has read the command.
struct LineWatch : QObject {
    QSet<QVector<int>> seen; // baud, data bits, parity, stop bits, flow control
    LineWatch() { QCoreApplication::instance()->installEventFilter(this); }
    bool eventFilter(QObject *object, QEvent *) override
    {
        if (auto *port = qobject_cast<QSerialPort *>(object); port && port->isOpen())
            seen << QVector<int>{port->baudRate(), port->dataBits(), port->parity(),
                                 port->stopBits(), port->flowControl()};
        return false;
    }
};

// The window and two modules, A listed; twelve ports whose bytes never leave.
struct Bench {
    ModuleStandin a, b;
    standin::StoppedPort stopped[12];
    MainWindow window;
    testsupport::Answerer answerer;
    LineWatch lines;

    Bench()
    {
        moduleConnected = false; // a click finds the rest afresh
        for (ModuleStandin *module : {&a, &b}) {
            module->change([](standin::Behaviour &m) { m.settings = held(); });
            QVERIFY(module->start());
        }
        ports::install({a.portPath()});
    }
    // Clicks and gives the status messages shown meanwhile, ports as "A", "B";
    // notes how long the click took.
    qint64 clickMs = 0;
    QStringList click(const QString &button)
    {
        QSignalSpy spy(testsupport::get<QStatusBar>(window, "statusbar"),
                       &QStatusBar::messageChanged);
        QElapsedTimer clock;
        clock.start();
        testsupport::get<QPushButton>(window, button)->click();
        clickMs = clock.elapsed();
        QStringList shown;
        for (const QList<QVariant> &message : spy)
            shown << message[0].toString().replace(a.portPath(), "A").replace(b.portPath(), "B");
        return shown;
    }
};

} // namespace

class TestLink : public QObject
{
    Q_OBJECT

private slots:
    // A click on "Connecter" with the row's ports listed, then the twelve
    // stopped ports: what it shows, how long it takes, the buttons after it.
    void connect_data()
    {
        QTest::addColumn<QString>("ports");
        QTest::addColumn<Script>("identify"); // B's answer to the identify command
        QTest::addColumn<Script>("reply");    // A's answer to the read
        QTest::addColumn<QStringList>("messages");
        const QByteArray values = standin::inReadOrder(held()).join(' ').toUtf8();
        const QByteArray good = standin::framed(id.toUtf8() + ' ' + values);
        const QByteArray wrong = QByteArray(good).replace(" 85 ", " 86 "); // a garbled value
        const Script own{{0, id.toUtf8() + "\r\n"}}, its{{0, good}}; // B's and A's own answers
        const QStringList ok{id + " connecté sur port A"},
            failed{"Impossible de lire la configuration du module " + id + " connecté sur port A"};
        QTest::newRow("no port") << "" << own << its << QStringList{"Aucun Module VELDRIX détecté"};
        // An answer ends after 350 ms of silence: gaps well under it are
        // bridged (an identification in pieces), a gap well over it is not.
        QTest::newRow("gap of 550 ms")
            << "A" << own << Script{{0, good.left(29)}, {550, good.mid(29)}} << failed;
        QTest::newRow("wrong check") << "A" << own << Script{{0, wrong}} << failed;
        const QByteArray fewer = id.toUtf8() + ' ' + values.left(values.lastIndexOf(' '));
        QTest::newRow("35 values") << "A" << own << Script{{0, standin::framed(fewer)}} << failed;
        // All ports are asked at once; the last listed module wins, whenever it answers.
        QTest::newRow("the last module wins, answering first")
            << "B A" << Script{{100, id.toUtf8() + "\r\n"}} << its << ok;
        QTest::newRow("identification in pieces")
            << "A B" << Script{{0, "VELDRIX_"}, {250, "GPS2CAN"}, {250, "_SIM\r\n"}} << its
            << QStringList{id + " connecté sur port B"};
        QTest::newRow("identification with a gap of 550 ms")
            << "A B" << Script{{0, "VELDRIX_"}, {550, "GPS2CAN_SIM\r\n"}} << its << ok;
        // The ports that do not open are told in their order, and the module's
        // answer is listened to in full behind them and the stopped ports.
        QTest::newRow("ports that do not open")
            << gone + " B " + gone + "2 A" << own << its
            << QStringList{notWritten.arg(gone, absent), notWritten.arg(gone + "2", absent), ok[0]};
        // Whatever talks on without pause is cut off (3 s, 4 KiB) and is no
        // module; the click goes on with the module well within 10 s.
        QTest::newRow("a byte every 20 ms") << "B A" << Script(9999, {20, "x"}) << its << ok;
        QTest::newRow("4 KiB") << "A B" << Script{{0, "VELDRIX_" + QByteArray(4096, 'x') + "\r\n"}}
                               << its << ok;
        QTest::newRow("a reply without end") << "A" << own << Script(9999, {20, "x"}) << failed;
    }
    void connect()
    {
        QFETCH(QString, ports);
        QFETCH(Script, identify);
        QFETCH(Script, reply);
        QFETCH(QStringList, messages);
        Bench bench;
        if (messages.last().startsWith("Impossible de lire")) // fail from the connected state
            bench.click("pushButton_Scan");
        bench.a.change([&](standin::Behaviour &m) { m.answers['s'] = reply; });
        bench.b.change([&](standin::Behaviour &m) { m.answers['i'] = identify; });
        QStringList listed = ports.replace('A', bench.a.portPath())
                                 .replace('B', bench.b.portPath())
                                 .split(' ', Qt::SkipEmptyParts);
        for (const standin::StoppedPort &port : bench.stopped) {
            QVERIFY(port.ok());
            listed << port.path();
        }
        ports::install(listed);
        QCOMPARE(bench.click("pushButton_Scan"), messages);
        // Listened to side by side, the stopped ports hold a click up by their
        // drain time once, not twelve times (3 s); a device that talks on, up
        // to its ceiling (3 s, or 5 s for a read) and no more.
        const bool talksOn = identify.size() + reply.size() > 100;
        QVERIFY2(bench.clickMs < (talksOn ? 10000 : 3000),
                 qPrintable(QString::number(bench.clickMs)));
        QCOMPARE(testsupport::buttons(bench.window),
                 messages.last().startsWith(id) ? "Lire 1 1 1" : "Connecter 0 0 0");
    }

    // Each command goes out on a port of its own and is reported; half a
    // second later the module is read again. To a module gone, it fails and
    // changes nothing, until a click on "Connecter" finds the module lost.
    void commands_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QByteArray>("command"); // none: the form's configuration frame
        QTest::addColumn<QString>("success");
        QTest::addColumn<QString>("failure");
        QTest::newRow("configure")
            << "pushButton_Config" << QByteArray() << "Le module a été configuré."
            << "Impossible de configurer le module.";
        QTest::newRow("restart") << "pushButton_Reboot" << QByteArray("rR\n")
                                 << "Le module a été redémarré."
                                 << "Impossible de redémarrer le module.";
        QTest::newRow("factory reset") << "pushButton_RAZ" << QByteArray("zZ\n")
                                       << "Le module a été remis en configuration usine."
                                       << "Impossible de redémarrer le module.";
    }
    void commands()
    {
        QFETCH(QString, button);
        QFETCH(QByteArray, command);
        QFETCH(QString, success);
        QFETCH(QString, failure);
        Bench bench;
        bench.click("pushButton_Scan");
        QStringList expected = command == "zZ\n" ? standin::factorySettings() : held();
        if (command.isEmpty()) {
            testsupport::get<QLineEdit>(bench.window, "lineEdit_TimeShift")
                ->setText(expected[3] = "+5");
            command = "c" + id.toUtf8() + ' ' + expected.join(' ').toUtf8() + ' ';
            command += standin::checkCharacter(command) + QByteArray("\n");
        }
        QCOMPARE(bench.click(button), QStringList{id + " connecté sur port A (relecture)"});
        QCOMPARE(bench.answerer.seen, QStringList{"QMessageBox: " + success + " | "});
        QCOMPARE(bench.a.heard().join(), "iI\nsS\n" + command + "iI\nsS\n");
        QVERIFY(bench.lines.seen ==
                QSet<QVector<int>>({{115200, QSerialPort::Data8, QSerialPort::NoParity,
                                     QSerialPort::OneStop, QSerialPort::NoFlowControl}}));
        QCOMPARE(bench.a.now().settings, expected);
        // Half a second's wait, then the identification and the reply, each
        // ended by 350 ms of silence: however late, not under 1.1 s.
        QVERIFY2(bench.clickMs >= 1100, qPrintable(QString::number(bench.clickMs)));

        bench.a.unplug();
        QCOMPARE(bench.click(button), QStringList());
        QCOMPARE(bench.answerer.seen.last(),
                 "QMessageBox: " + failure + " | Veuillez débrancher le module et re-essayer.");
        QCOMPARE(testsupport::buttons(bench.window), "Lire 1 1 1");
        QCOMPARE(
            bench.click("pushButton_Scan"),
            QStringList({notWritten.arg("A", unplugged), "Connexion au module " + id + " perdue"}));
        QCOMPARE(testsupport::buttons(bench.window), "Connecter 0 0 0");
        // The link starts afresh: the module found next is read as a new one.
        ports::install({bench.b.portPath()});
        QCOMPARE(bench.click("pushButton_Scan"), QStringList{id + " connecté sur port B"});
    }

    // While a click talks to the module, the window handles its events: a
    // timer ticks through a read whose pieces come 200 ms apart, a close is
    // put off until the click is over (the wait and the re-read after a
    // command included) and then quits the program, and a field left with a
    // value out of range opens no box in the middle of an exchange.
    void duringClick_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("close"); // a close, or else the window losing activation
        QTest::newRow("a close in the read") << "pushButton_Scan" << true;
        QTest::newRow("a close in the wait after a restart") << "pushButton_Reboot" << true;
        QTest::newRow("a field left in the read") << "pushButton_Scan" << false;
    }
    void duringClick()
    {
        QFETCH(QString, button);
        QFETCH(bool, close);
        Bench bench;
        const QByteArray reply = bench.a.reply();
        bench.a.change([&](standin::Behaviour &m) {
            m.answers['s'] = {{0, reply.left(40)}, {200, reply.mid(40, 40)}, {200, reply.mid(80)}};
        });
        const int at = button == "pushButton_Scan" ? 2 : 3; // the read heard, or the restart
        if (at == 3)
            bench.click("pushButton_Scan");
        bench.window.show();
        QApplication::setActiveWindow(&bench.window);
        if (!close) {
            auto *field = testsupport::get<QLineEdit>(bench.window, "lineEdit_ID_Lat_Lon");
            field->setFocus();
            field->setText("5");
        }

        int ticks = 0; // from the moment the module has heard `at` commands: act then
        bool openMeanwhile = false;
        QTimer ticker;
        ticker.callOnTimeout([&] {
            if (bench.a.heard().size() < at || ticks++ > 0)
                return;
            if (close)
                openMeanwhile = !bench.window.close();
            else
                QApplication::setActiveWindow(nullptr);
        });
        ticker.start(20);
        // The program quits once its window is closed; otherwise this does.
        QTimer::singleShot(0, [&] {
            bench.click(qPrintable(button));
            if (!close)
                QCoreApplication::quit();
        });
        QTimer::singleShot(30000, &ticker, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
        QCOMPARE(openMeanwhile, close);
        QCOMPARE(bench.answerer.seen.filter("limites"), QStringList());
    }
};

VELDRIX_TEST_MAIN(TestLink)
#include "tst_window_ports.moc"

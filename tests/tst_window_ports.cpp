// The window against module stand-ins on pseudo-terminals, through real
// serial ports: every outcome of a click on "Connecter" and of the three
// commands, the bytes on the wire, the line settings and the waits.
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "link/ports.h"
#include "standin/stoppedport.h"
#include "testsupport.h"

#include <QSerialPort>

#ifdef VELDRIX_XCB
#include <xcb/xcb.h>
#include <xcb/xtest.h>
#endif

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
    // notes how long the click took and what the status bar showed while the
    // ports were first listened to.
    qint64 clickMs = 0;
    QString shownMeanwhile;
    QStringList click(const QString &button)
    {
        auto *bar = testsupport::get<QStatusBar>(window, "statusbar");
        QSignalSpy spy(bar, &QStatusBar::messageChanged);
        QTimer::singleShot(0, bar, [this, bar] { shownMeanwhile = bar->currentMessage(); });
        QElapsedTimer clock;
        clock.start();
        testsupport::get<QPushButton>(window, button)->click();
        clickMs = clock.elapsed();
        QStringList shown;
        for (const QList<QVariant> &message : spy)
            shown << testsupport::lettered(message[0].toString(), {a.portPath(), b.portPath()});
        return shown;
    }
};

#ifdef VELDRIX_XCB
// What a person does through the X server, on a connection of the test's
// own: Ctrl+Q typed on Xvfb's keyboard (Control_L is key 37, q key 24), or
// the window's close button, which has the window system send the window
// WM_PROTOCOLS with WM_DELETE_WINDOW.
void asPerson(QWidget &window, const QString &act)
{
    xcb_connection_t *x = xcb_connect(nullptr, nullptr);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(window.winId());
    for (const char *name : {"WM_PROTOCOLS", "WM_DELETE_WINDOW"}) {
        auto *atom =
            xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, uint16_t(strlen(name)), name), nullptr);
        (name[3] == 'P' ? message.type : message.data.data32[0]) = atom->atom;
        free(atom);
    }
    if (act == "Ctrl+Q")
        for (const auto &[type, key] : {std::pair{XCB_KEY_PRESS, 37},
                                        {XCB_KEY_PRESS, 24},
                                        {XCB_KEY_RELEASE, 24},
                                        {XCB_KEY_RELEASE, 37}})
            xcb_test_fake_input(x, uint8_t(type), uint8_t(key), XCB_CURRENT_TIME, XCB_NONE, 0, 0,
                                0);
    else
        xcb_send_event(x, 0, message.window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char *>(&message));
    free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr)); // all of it handled
    xcb_disconnect(x);
}
#else
void asPerson(QWidget &, const QString &) {}
#endif

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
        // An answer ends after 350 ms of silence: a gap 40 ms under it is
        // bridged, one 100 ms over it is not. A late stand-in thread only
        // widens a gap; the margins are for a late timer in the window.
        QTest::newRow("gap of 310 ms")
            << "A" << own << Script{{0, good.left(29)}, {310, good.mid(29)}} << ok;
        QTest::newRow("gap of 450 ms")
            << "A" << own << Script{{0, good.left(29)}, {450, good.mid(29)}} << failed;
        // A reply may take 5 s and 64 KiB: blanks between the values make it
        // 5 KiB, sent in 22 pieces 180 ms apart.
        const QByteArray wide = standin::framed(
            id.toUtf8() + ' ' + standin::inReadOrder(held()).join(QString(150, ' ')).toUtf8());
        Script slow;
        for (int at = 0; at < wide.size(); at += 256)
            slow << standin::Step{at ? 180 : 0, wide.mid(at, 256)};
        QTest::newRow("5 KiB over 4 s") << "A" << own << slow << ok;
        QTest::newRow("wrong check") << "A" << own << Script{{0, wrong}} << failed;
        const QByteArray fewer = id.toUtf8() + ' ' + values.left(values.lastIndexOf(' '));
        QTest::newRow("35 values") << "A" << own << Script{{0, standin::framed(fewer)}} << failed;
        // All ports are asked at once; the last listed module wins, whenever it answers.
        QTest::newRow("the last module wins, answering first")
            << "B A" << Script{{100, id.toUtf8() + "\r\n"}} << its << ok;
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
        // The ports that did not open are told while the others are listened to.
        if (messages.size() > 1)
            QCOMPARE(bench.shownMeanwhile, messages[messages.size() - 2]);
        // Listened to side by side, the stopped ports hold a click up by their
        // drain time once, not twelve times (3 s); a device that talks on, up
        // to its ceiling (3 s, or 5 s for a read) and no more.
        const bool talksOn = identify.size() + reply.size() > 20;
        QVERIFY2(bench.clickMs < (talksOn ? 10000 : 3000),
                 qPrintable(QString::number(bench.clickMs)));
        QCOMPARE(testsupport::buttons(bench.window),
                 messages.last().startsWith(id) ? "Lire 1 1 1" : "Connecter 0 0 0");
        // After a failed read, a module gone is no module lost.
        ports::install({});
        if (messages.last().startsWith("Impossible de lire"))
            QCOMPARE(bench.click("pushButton_Scan"), QStringList{"Aucun Module VELDRIX détecté"});
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
    // timer ticks through a read whose pieces come 200 ms apart; a close,
    // asked for in any exchange or in the wait after a command, is put off
    // until the click is over and then quits the program; a field left in an
    // exchange opens no box then, and the next time it is left, one. On X,
    // the close comes from the window system and as Ctrl+Q typed, and the
    // box that follows stays up 700 ms, as for a person.
    void duringClick_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("at"); // act once the module has heard this many commands
        QTest::addColumn<QString>("act");
        QTest::addColumn<QString>("box"); // the click's first box
        // At 0 the command goes to a port whose output is stopped, let go
        // after a second: the frame leaves, a restart or a reset does not.
        const QString failed = "Impossible de redémarrer le module.";
        const QList<std::tuple<const char *, const char *, int, QString>> exchanges = {
            {"discovery", "pushButton_Scan", 1, ""},
            {"the read", "pushButton_Scan", 2, ""},
            {"the frame", "pushButton_Config", 0, "Le module a été configuré."},
            {"the restart", "pushButton_Reboot", 0, failed},
            {"the factory reset", "pushButton_RAZ", 0, failed},
            {"the wait after a restart", "pushButton_Reboot", 3, "Le module a été redémarré."}};
#ifdef VELDRIX_XCB
        const QStringList acts{"window system", "Ctrl+Q"};
#else
        const QStringList acts{"close", "field"};
#endif
        for (const auto &[exchange, button, at, box] : exchanges)
            for (const QString &act : acts)
                if (at < 3 || act == "close")
                    QTest::addRow("%s in %s", qPrintable(act), exchange)
                        << button << at << act << box;
    }
    void duringClick()
    {
        QFETCH(QString, button);
        QFETCH(int, at);
        QFETCH(QString, act);
        QFETCH(QString, box);
        Bench bench;
        const QByteArray reply = bench.a.reply();
        bench.a.change([&](standin::Behaviour &m) {
            m.answers['s'] = {{0, reply.left(40)}, {200, reply.mid(40, 40)}, {200, reply.mid(80)}};
        });
        standin::StoppedPort &stopped = bench.stopped[0];
        if (button != "pushButton_Scan")
            bench.click("pushButton_Scan");
        if (at == 0)
            modulePortName = stopped.path();
        bench.window.show();
        bench.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&bench.window));
        auto *field = testsupport::get<QLineEdit>(bench.window, "lineEdit_ID_Lat_Lon");
        field->setFocus();
        if (act == "field")
            field->setText("5");
#ifdef VELDRIX_XCB
        // A close held back while the command is written must not be lost
        // under the box that follows, left up as long as a person would.
        bench.answerer.patienceMs = 700;
#endif

        int ticks = 0;
        QTimer ticker;
        ticker.callOnTimeout([&] {
            if (bench.a.heard().size() < at || ticks++ > 0)
                return;
            if (act == "close")
                bench.window.close();
            else if (act == "field")
                QApplication::setActiveWindow(nullptr);
            else
                asPerson(bench.window, act);
        });
        ticker.start(20);
        bool openAtLastMessage = true; // a close carried out in the click cuts it short
        QObject::connect(testsupport::get<QStatusBar>(bench.window, "statusbar"),
                         &QStatusBar::messageChanged, &ticker,
                         [&] { openAtLastMessage = bench.window.isVisible(); });
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(1000, &ticker, [&stopped] { stopped.letGo(); });
            bench.click(button);
            if (act == "field") {
                field->setText("5"); // the read has put the module's value in it
                QTest::keyClick(field, Qt::Key_Return);
                QCoreApplication::quit();
            } else { // the program quits once its window is closed, else this does
                QTimer::singleShot(2000, &ticker, [] { QCoreApplication::exit(1); });
            }
        });
        QTimer::singleShot(30000, &ticker, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(openAtLastMessage);
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
        QVERIFY2(bench.answerer.seen.value(0).contains(box),
                 qPrintable(bench.answerer.seen.join('\n')));
        QCOMPARE(bench.answerer.seen.filter("limites").size(), act == "field" ? 1 : 0);
    }
};

VELDRIX_TEST_MAIN(TestLink)
#include "tst_window_ports.moc"

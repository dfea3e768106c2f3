// Misbehaving devices, end to end through the window, with the module
// stand-in on a pseudo-terminal: whatever the device sends, the program does
// not crash, the form keeps exactly what it held unless a good reply replaced
// it, the user reads one of the program's own status messages, and the next
// click on a well-behaved module works again.
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "link/exchange.h"
#include "link/ports.h"
#include "standin/modulestandin.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSerialPort>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <memory>

using standin::ModuleStandin;
using Misbehaviour = std::function<void(ModuleStandin &)>;
Q_DECLARE_METATYPE(Misbehaviour)

namespace
{

enum class Outcome { Lost, ReadFailed, Connected };

// The 36 settings in frame order, as the stand-in holds them.
const QStringList formFields =
    QString("comboBox_VCAN checkBox_ZT checkBox_DayLightSaving lineEdit_TimeShift "
            "checkBox_GPS_Long_Lat checkBox_GPS_Speed_Alt checkBox_precision checkBox_GPS_UTC_Time "
            "checkBox_GPS_CURRENT_Time checkBox_Time checkBox_Lon_Lat_RT checkBox_Time_RT "
            "lineEdit_periode_Lon_Lat lineEdit_ID_Lat_Lon lineEdit_periode_Speed_Alt "
            "lineEdit_ID_Speed_Alt lineEdit_periode_precision lineEdit_ID_precision "
            "lineEdit_periode_UTC_time lineEdit_ID_UTC_Time lineEdit_periode_Current_time "
            "lineEdit_ID_Current_Time lineEdit_periode_Time lineEdit_ID_Time "
            "lineEdit_periode_Lon_Lat_RT lineEdit_periode_Time_RT lineEdit_PremierID_RT "
            "lineEdit_OffsetID_RT checkBox_LEDs horizontalSlider_LumLED radioButton_hEllipsoidal "
            "checkBox_ECUMASTER_GPS_INFOS checkBox_ECUMASTER_TIME "
            "lineEdit_periode_ECUMASTER_GPS_INFOS lineEdit_periode_ECUMASTER_TIME "
            "lineEdit_PremierID_ECUMASTER")
        .split(' ');

// What the module holds when the form is first read, and what it holds when
// it misbehaves: they differ wherever values can, so that a reply loaded in
// part would show.
const QStringList firstSettings =
    QString("500 1 1 1 1 1 0 0 1 0 0 0 100 1000 200 1001 500 1002 1000 1003 1000 1004 1000 1005 "
            "50 100 1520 10 1 50 0 1 0 100 1000 1536")
        .split(' ');
const QStringList laterSettings =
    QString("250 0 0 -3 0 0 1 1 0 1 1 1 20 11 30 12 40 13 50 14 60 15 70 16 80 90 100 20 0 85 1 "
            "0 1 200 300 400")
        .split(' ');

const QByteArray defaultId = ModuleStandin::defaultModuleId();

// The window, with every status message it showed.
struct Window {
    MainWindow window;
    QStatusBar *const bar = window.findChild<QStatusBar *>("statusbar");
    QPushButton *const scan = window.findChild<QPushButton *>("pushButton_Scan");
    QSignalSpy messageSpy{bar, &QStatusBar::messageChanged};

    QString status() const { return bar->currentMessage(); }

    QStringList messages() const
    {
        QStringList shown;
        for (const QList<QVariant> &arguments : messageSpy)
            shown.append(arguments.at(0).toString());
        return shown;
    }

    // Caption of the connect button and whether the command buttons are on.
    QString buttons() const
    {
        QString state = scan->text();
        for (const char *name : {"pushButton_Config", "pushButton_Reboot", "pushButton_RAZ"})
            state += window.findChild<QPushButton *>(name)->isEnabled() ? " 1" : " 0";
        return state;
    }

    // The 36 settings as the form shows them, in frame order.
    QStringList settings() const
    {
        QStringList values;
        for (const QString &name : formFields) {
            QWidget *widget = window.findChild<QWidget *>(name);
            if (auto *combo = qobject_cast<QComboBox *>(widget))
                values.append(combo->currentData().toString());
            else if (auto *box = qobject_cast<QAbstractButton *>(widget))
                values.append(box->isChecked() ? "1" : "0");
            else if (auto *field = qobject_cast<QLineEdit *>(widget))
                values.append(field->text());
            else
                values.append(QString::number(qobject_cast<QSlider *>(widget)->value()));
        }
        return values;
    }

    // Everything the form holds, every widget of it, by object name.
    QStringList everything() const
    {
        QStringList state;
        for (QWidget *widget : window.centralWidget()->findChildren<QWidget *>()) {
            QString value;
            if (auto *combo = qobject_cast<QComboBox *>(widget))
                value = QString::number(combo->currentIndex());
            else if (auto *field = qobject_cast<QLineEdit *>(widget))
                value = field->text();
            else if (auto *slider = qobject_cast<QSlider *>(widget))
                value = QString::number(slider->value());
            else if (auto *label = qobject_cast<QLabel *>(widget))
                value = label->text();
            else if (auto *button = qobject_cast<QAbstractButton *>(widget))
                value = button->isChecked() ? "on" : "off";
            state.append(widget->objectName() + "=" + value);
        }
        return state;
    }

    // Clicks "Connecter"/"Lire" and says how long the window was held.
    qint64 click()
    {
        QElapsedTimer clock;
        clock.start();
        scan->click();
        return clock.elapsed();
    }
};

QString connected(const QString &name, const QString &port)
{
    return QString("%1 connecté sur port %2").arg(name, port);
}

QString readFailed(const QString &name, const QString &port)
{
    return QString("Impossible de lire la configuration du module %1 connecté sur port %2")
        .arg(name, port);
}

QString lost(const QString &name)
{
    return QString("Connexion au module %1 perdue").arg(name);
}

QByteArray garbage(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

QByteArray frame(const QByteArray &payload, const QByteArray &closing = "\r\n")
{
    return payload + ModuleStandin::checkCharacterOf(payload) + closing;
}

// The configuration reply the stand-in sends for `settings`.
QByteArray replyOf(const QStringList &settings)
{
    ModuleStandin module;
    module.setSettings(settings);
    return module.configurationReply();
}

// A started stand-in listed under a fixed name in `dir`, so that it keeps
// its name when unplugged and plugged in again.
std::unique_ptr<ModuleStandin> plug(const QTemporaryDir &dir, const QString &name = "module")
{
    auto module = std::make_unique<ModuleStandin>();
    if (!module->start() || !module->setLinkPath(dir.filePath(name)))
        return nullptr;
    return module;
}

} // namespace

Q_DECLARE_METATYPE(Outcome)

class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void misbehavingModule_data();
    void misbehavingModule();
    void slowModuleIsReadWhole_data();
    void slowModuleIsReadWhole();
    void dripNearTheSilence();
    void blockedPort_data();
    void blockedPort();
};

// The link state outlives windows: every test starts from a fresh program.
void TestHostile::init()
{
    moduleName.clear();
    modulePortName.clear();
    moduleFound = false;
    moduleConnected = false;
    ports::install({});
}

void TestHostile::cleanup()
{
    ports::restoreSystemList();
    init();
}

void TestHostile::misbehavingModule_data()
{
    QTest::addColumn<Misbehaviour>("misbehave");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("name"); // the name the final message shows

    const auto raw = [](unsigned which, const QByteArray &bytes) {
        return Misbehaviour([=](ModuleStandin &m) { m.setRawAnswer(which, bytes); });
    };
    const QString id = QString::fromLatin1(defaultId);
    const QByteArray reply = replyOf(laterSettings);
    const QByteArray mib(1024 * 1024, 'A');
    QByteArray nulInReply = reply;
    nulInReply[30] = '\0';
    QByteArray notUtf8Reply = reply.left(reply.size() - 3);
    notUtf8Reply.replace(" 20 ", " 2\xff ");

    QTest::newRow("garbage to identify")
        << raw(ModuleStandin::Identify, garbage(300, 1)) << Outcome::Lost << id;
    QTest::newRow("garbage to read")
        << raw(ModuleStandin::Read, garbage(300, 2)) << Outcome::ReadFailed << id;
    QTest::newRow("every byte value to both") << Misbehaviour([](ModuleStandin &m) {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all += char(b);
        m.setRawAnswer(ModuleStandin::Both, all);
    }) << Outcome::Lost << id;
    QTest::newRow("answer of two bytes")
        << raw(ModuleStandin::Identify, "\r\n") << Outcome::Lost << id;

    // A NUL ends the name: the rest of the answer is not part of it.
    QTest::newRow("NUL after the name")
        << raw(ModuleStandin::Identify, defaultId + QByteArray("\0junk\r\n", 7))
        << Outcome::Connected << id;
    // ...and a shorter name skips fewer characters of the reply.
    QTest::newRow("NUL inside the name")
        << raw(ModuleStandin::Identify, QByteArray("VELDRIX_GP\0S2CAN_SIM\r\n", 23))
        << Outcome::ReadFailed << "VELDRIX_GP";
    QTest::newRow("NUL inside the reply")
        << raw(ModuleStandin::Read, nulInReply) << Outcome::ReadFailed << id;
    QTest::newRow("NUL after a whole reply")
        << raw(ModuleStandin::Read, reply + QByteArray("\0junk", 5)) << Outcome::Connected << id;

    // Bytes that are not UTF-8 decode to U+FFFD, whose bytes no longer add up
    // to the check character the module computed.
    QTest::newRow("name not UTF-8")
        << Misbehaviour([](ModuleStandin &m) { m.setModuleId("VELDRIX_\xff\xfe"); })
        << Outcome::ReadFailed << QString("VELDRIX_") + QChar(0xfffd) + QChar(0xfffd);
    QTest::newRow("reply not UTF-8")
        << raw(ModuleStandin::Read, frame(notUtf8Reply)) << Outcome::ReadFailed << id;

    // 1 MiB in all, framing included.
    QTest::newRow("1 MiB reply") << raw(ModuleStandin::Read,
                                        frame(defaultId + " " + mib.left(mib.size() - 23)))
                                 << Outcome::ReadFailed << id;
    QTest::newRow("1 MiB reply of values")
        << raw(ModuleStandin::Read,
               frame(defaultId + " " + QByteArray("1 ").repeated(524276) + "0"))
        << Outcome::ReadFailed << id;
    QTest::newRow("1 MiB identification answer")
        << raw(ModuleStandin::Identify, "VELDRIX_" + mib.left(mib.size() - 10) + "\r\n")
        << Outcome::ReadFailed << QString("VELDRIX_") + QString(mib.size() - 10, 'A');

    QTest::newRow("one closing byte")
        << Misbehaviour([](ModuleStandin &m) { m.setClosingBytes("\n"); }) << Outcome::ReadFailed
        << id.chopped(1);

    QTest::newRow("unplugged before identifying")
        << Misbehaviour([](ModuleStandin &m) { m.unplugAfter(ModuleStandin::Identify, 0); })
        << Outcome::Lost << id;
    // Cut within the prefix: whether the bytes before the hang-up reach the
    // program or not, they never make a module.
    QTest::newRow("unplugged within the identification answer")
        << Misbehaviour([](ModuleStandin &m) { m.unplugAfter(ModuleStandin::Identify, 5); })
        << Outcome::Lost << id;
    QTest::newRow("unplugged within the reply")
        << Misbehaviour([](ModuleStandin &m) { m.unplugAfter(ModuleStandin::Read, 40); })
        << Outcome::ReadFailed << id;
    QTest::newRow("unplugged within the reply, in pieces") << Misbehaviour([](ModuleStandin &m) {
        m.setPieces(ModuleStandin::Read, {{20, 50}, {20, 50}, {20, 50}});
        m.unplugAfter(ModuleStandin::Read, 50);
    }) << Outcome::ReadFailed << id;
    QTest::newRow("unplugged before the reply")
        << Misbehaviour([](ModuleStandin &m) { m.unplugAfter(ModuleStandin::Read, 0); })
        << Outcome::ReadFailed << id;
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
    QVERIFY(module->setSettings(firstSettings));

    Window w;
    w.click();
    QCOMPARE(w.status(), connected(QString::fromLatin1(defaultId), port));
    const QStringList before = w.everything();

    QVERIFY(module->setSettings(laterSettings));
    misbehave(*module);
    const qint64 held = w.click();
    qInfo("the click held the window %lld ms", held);

    switch (outcome) {
    case Outcome::Lost:
        QCOMPARE(w.status(), lost(name));
        break;
    case Outcome::ReadFailed:
        QCOMPARE(w.status(), readFailed(name, port));
        break;
    case Outcome::Connected:
        QCOMPARE(w.status(), connected(name, port) + " (relecture)");
        break;
    }
    if (outcome == Outcome::Connected) {
        QCOMPARE(w.buttons(), "Lire 1 1 1");
        QCOMPARE(w.settings(), laterSettings);
    } else {
        QCOMPARE(w.buttons(), "Connecter 0 0 0");
        QCOMPARE(w.everything(), before);
    }

    // Nothing of the misbehaviour stays behind in the program.
    module->behaveWell();
    module->setModuleId(defaultId);
    module->setClosingBytes("\r\n");
    QVERIFY(module->isPlugged() || module->replug());
    w.click();
    QVERIFY2(w.status().startsWith(connected(QString::fromLatin1(defaultId), port)),
             qPrintable(w.status()));
    QCOMPARE(w.settings(), laterSettings);
}

void TestHostile::slowModuleIsReadWhole_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<QByteArray>("id");

    // Both answers drip for two to three seconds, with pauses far below the
    // 350 ms of silence that end an answer (and in all well within the 5 s
    // after which the program stops listening to a device that keeps sending).
    QTest::newRow("identification, a byte every 60 ms")
        << int(ModuleStandin::Identify) << 60 << QByteArray("VELDRIX_") + QByteArray(30, 'S');
    QTest::newRow("reply, a byte every 20 ms") << int(ModuleStandin::Read) << 20 << defaultId;
}

void TestHostile::slowModuleIsReadWhole()
{
    QFETCH(int, which);
    QFETCH(int, pauseMs);
    QFETCH(QByteArray, id);

    QTemporaryDir dir;
    auto module = plug(dir);
    QVERIFY(module);
    ports::install({module->linkPath()});
    module->setModuleId(id);
    QVERIFY(module->setSettings(laterSettings));
    module->setDrip(unsigned(which), 1, pauseMs);

    Window w;
    const qint64 held = w.click();
    qInfo("the click held the window %lld ms", held);
    QCOMPARE(w.status(), connected(QString::fromLatin1(id), module->linkPath()));
    QCOMPARE(w.settings(), laterSettings);
}

// A byte every 300 ms comes close to the 350 ms that end an answer, so a busy
// machine may cut the answer short: whichever way it goes, the window ends up
// in one of its own states, never between two.
void TestHostile::dripNearTheSilence()
{
    QTemporaryDir dir;
    auto module = plug(dir);
    QVERIFY(module);
    const QString port = module->linkPath();
    const QString id = QString::fromLatin1(defaultId);
    ports::install({port});
    QVERIFY(module->setSettings(firstSettings));

    Window w;
    w.click();
    QCOMPARE(w.settings(), firstSettings);
    const QStringList before = w.everything();
    QVERIFY(module->setSettings(laterSettings));
    module->setDrip(ModuleStandin::Identify, 1, 300);

    const qint64 held = w.click();
    qInfo("the click held the window %lld ms; it ended with: %s", held, qPrintable(w.status()));
    if (w.status() == connected(id, port) + " (relecture)") {
        QCOMPARE(w.buttons(), "Lire 1 1 1");
        QCOMPARE(w.settings(), laterSettings);
    } else {
        // Cut short: the name is a piece of the answer, or no module at all.
        QVERIFY2(w.status() == lost(id) || w.status().startsWith("Impossible de lire "),
                 qPrintable(w.status()));
        QCOMPARE(w.buttons(), "Connecter 0 0 0");
        QCOMPARE(w.everything(), before);
    }
}

void TestHostile::blockedPort_data()
{
    QTest::addColumn<bool>("noPermission"); // else held open by another process
    QTest::addColumn<bool>("moduleAfter");

    QTest::newRow("held by another process") << false << false;
    QTest::newRow("held by another process, module after it") << false << true;
    QTest::newRow("no permission") << true << false;
    QTest::newRow("no permission, module after it") << true << true;
}

// A module on a port that this user may not open, or that another process
// holds, cannot be reached: discovery says so on the status bar and goes on.
void TestHostile::blockedPort()
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
        QProcess child;
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start("setpriv", asNobody + QStringList{self, QString("blockedPort:") +
                                                                QTest::currentDataTag()});
        QVERIFY(child.waitForFinished(120000));
        const QByteArray output = child.readAll();
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
                     output.contains(QString("PASS   : TestHostile::blockedPort(%1)")
                                         .arg(QTest::currentDataTag())
                                         .toUtf8()) &&
                     output.contains(" 0 failed, 0 skipped"),
                 output.constData());
        return;
    }

    QTemporaryDir dir;
    auto blocked = plug(dir, "blocked");
    auto module = plug(dir, "behind");
    QVERIFY(blocked && module);
    module->setModuleId("VELDRIX_BEHIND");
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
    const QStringList before = w.everything();
    w.click();
    if (holder > 0) {
        ::close(release[1]);
        ::waitpid(holder, nullptr, 0);
    }

    const QStringList shown = w.messages();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(0),
             QString("Impossible d'écrire sur le port %1. Erreur : %2")
                 .arg(blockedPort, exchange::explainPortError(QSerialPort::PermissionError)));
    if (moduleAfter) {
        QCOMPARE(shown.at(1), connected("VELDRIX_BEHIND", module->linkPath()));
    } else {
        QCOMPARE(shown.at(1), "Aucun Module VELDRIX détecté");
        QCOMPARE(w.everything(), before);
    }
    QCOMPARE(blocked->received(), QByteArray());
}

VELDRIX_TEST_MAIN(TestHostile)
#include "tst_hostile.moc"

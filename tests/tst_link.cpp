// Connecting to the module and giving it commands, through the window, with a
// stand-in module on a pseudo-terminal at the other end of a real QSerialPort.
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "link/ports.h"
#include "standin/modulestandin.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>

#include <memory>

using standin::ModuleStandin;

Q_DECLARE_METATYPE(ModuleStandin::Piece)

namespace
{

// The form's 36 settings in the order of the configuration frame, each read
// and set through its widget, so that what the window shows is compared with
// what the module holds without going through the program's own records.
enum class Kind { Speed, Switch, Text, Brightness, Altitude };
struct Field {
    const char *widget;
    Kind kind;
};
const Field formFields[36] = {
    {"comboBox_VCAN", Kind::Speed},
    {"checkBox_ZT", Kind::Switch},
    {"checkBox_DayLightSaving", Kind::Switch},
    {"lineEdit_TimeShift", Kind::Text},
    {"checkBox_GPS_Long_Lat", Kind::Switch},
    {"checkBox_GPS_Speed_Alt", Kind::Switch},
    {"checkBox_precision", Kind::Switch},
    {"checkBox_GPS_UTC_Time", Kind::Switch},
    {"checkBox_GPS_CURRENT_Time", Kind::Switch},
    {"checkBox_Time", Kind::Switch},
    {"checkBox_Lon_Lat_RT", Kind::Switch},
    {"checkBox_Time_RT", Kind::Switch},
    {"lineEdit_periode_Lon_Lat", Kind::Text},
    {"lineEdit_ID_Lat_Lon", Kind::Text},
    {"lineEdit_periode_Speed_Alt", Kind::Text},
    {"lineEdit_ID_Speed_Alt", Kind::Text},
    {"lineEdit_periode_precision", Kind::Text},
    {"lineEdit_ID_precision", Kind::Text},
    {"lineEdit_periode_UTC_time", Kind::Text},
    {"lineEdit_ID_UTC_Time", Kind::Text},
    {"lineEdit_periode_Current_time", Kind::Text},
    {"lineEdit_ID_Current_Time", Kind::Text},
    {"lineEdit_periode_Time", Kind::Text},
    {"lineEdit_ID_Time", Kind::Text},
    {"lineEdit_periode_Lon_Lat_RT", Kind::Text},
    {"lineEdit_periode_Time_RT", Kind::Text},
    {"lineEdit_PremierID_RT", Kind::Text},
    {"lineEdit_OffsetID_RT", Kind::Text},
    {"checkBox_LEDs", Kind::Switch},
    {"horizontalSlider_LumLED", Kind::Brightness},
    {"radioButton_hEllipsoidal", Kind::Altitude},
    {"checkBox_ECUMASTER_GPS_INFOS", Kind::Switch},
    {"checkBox_ECUMASTER_TIME", Kind::Switch},
    {"lineEdit_periode_ECUMASTER_GPS_INFOS", Kind::Text},
    {"lineEdit_periode_ECUMASTER_TIME", Kind::Text},
    {"lineEdit_PremierID_ECUMASTER", Kind::Text},
};

// Two complete configurations, in frame order, that differ everywhere a
// value can differ.
const QStringList exampleSettings = QString("500 1 1 1 1 1 0 0 1 0 0 0 100 1000 200 1001 500 1002 "
                                            "1000 1003 1000 1004 1000 1005 50 100 1520 10 1 50 0 "
                                            "1 0 100 1000 1536")
                                        .split(' ');
const QStringList otherSettings = QString("250 0 0 -3 0 0 1 1 0 1 1 1 20 11 30 12 40 13 50 14 60 "
                                          "15 70 16 80 90 100 20 0 85 1 0 1 200 300 400")
                                      .split(' ');

const char *const unplugAdvice = "Veuillez débrancher le module et re-essayer.";

// The window with handles on what the link drives, and a record of every
// status message shown while it lives.
struct Window {
    MainWindow window;
    QStatusBar *const bar = window.findChild<QStatusBar *>("statusbar");
    QPushButton *const scan = window.findChild<QPushButton *>("pushButton_Scan");
    QPushButton *const config = window.findChild<QPushButton *>("pushButton_Config");
    QPushButton *const reboot = window.findChild<QPushButton *>("pushButton_Reboot");
    QPushButton *const raz = window.findChild<QPushButton *>("pushButton_RAZ");
    QSignalSpy messageSpy{bar, &QStatusBar::messageChanged};

    QString status() const { return bar->currentMessage(); }

    QStringList messages() const
    {
        QStringList shown;
        for (const QList<QVariant> &arguments : messageSpy)
            shown.append(arguments.at(0).toString());
        return shown;
    }

    // Enabled state of the three command buttons, as "1 1 1" or "0 0 0".
    QString commands() const
    {
        return QString("%1 %2 %3")
            .arg(int(config->isEnabled()))
            .arg(int(reboot->isEnabled()))
            .arg(int(raz->isEnabled()));
    }

    QStringList form() const
    {
        QStringList values;
        for (const Field &field : formFields) {
            QWidget *widget = window.findChild<QWidget *>(field.widget);
            switch (field.kind) {
            case Kind::Speed:
                values.append(qobject_cast<QComboBox *>(widget)->currentData().toString());
                break;
            case Kind::Switch:
            case Kind::Altitude:
                values.append(qobject_cast<QAbstractButton *>(widget)->isChecked() ? "1" : "0");
                break;
            case Kind::Text:
                values.append(qobject_cast<QLineEdit *>(widget)->text());
                break;
            case Kind::Brightness:
                values.append(QString::number(qobject_cast<QSlider *>(widget)->value()));
                break;
            }
        }
        return values;
    }

    void setForm(const QStringList &values)
    {
        for (int i = 0; i < 36; ++i) {
            QWidget *widget = window.findChild<QWidget *>(formFields[i].widget);
            const QString &value = values.at(i);
            switch (formFields[i].kind) {
            case Kind::Speed: {
                auto *combo = qobject_cast<QComboBox *>(widget);
                combo->setCurrentIndex(combo->findData(value.toInt()));
                break;
            }
            case Kind::Switch:
                qobject_cast<QCheckBox *>(widget)->setChecked(value == "1");
                break;
            case Kind::Text:
                qobject_cast<QLineEdit *>(widget)->setText(value);
                break;
            case Kind::Brightness:
                qobject_cast<QSlider *>(widget)->setValue(value.toInt());
                break;
            case Kind::Altitude:
                window
                    .findChild<QRadioButton *>(value == "1" ? "radioButton_hEllipsoidal"
                                                            : "radioButton_hMSL")
                    ->setChecked(true);
                break;
            }
        }
    }
};

// A started stand-in, or a failed test.
std::unique_ptr<ModuleStandin> plugModule(const QByteArray &id = ModuleStandin::defaultModuleId())
{
    auto module = std::make_unique<ModuleStandin>();
    if (!module->start())
        return nullptr;
    module->setModuleId(id);
    return module;
}

QString connectedText(const ModuleStandin &module, const QString &port)
{
    return QString("%1 connecté sur port %2").arg(QString::fromUtf8(module.moduleId()), port);
}

QString readFailureText(const ModuleStandin &module)
{
    return QString("Impossible de lire la configuration du module %1 connecté sur port %2")
        .arg(QString::fromUtf8(module.moduleId()), module.portPath());
}

void resetLinkState()
{
    moduleName.clear();
    modulePortName.clear();
    moduleFound = false;
    moduleConnected = false;
}

} // namespace

class TestLink : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void noPortAtAll();
    void connectsAndShowsWhatTheModuleHolds();
    void secondClickRereads();
    void laterPortWins_data();
    void laterPortWins();
    void identificationAnswers_data();
    void identificationAnswers();
    void answerInPieces_data();
    void answerInPieces();
    void readFailureKeepsTheForm_data();
    void readFailureKeepsTheForm();
    void unopenablePort_data();
    void unopenablePort();
    void configureWritesTheForm();
    void restartAndFactoryReset_data();
    void restartAndFactoryReset();
    void commandsOnUnpluggedModule_data();
    void commandsOnUnpluggedModule();
    void portKeepsTheNameItWasListedUnder();
};

void TestLink::init()
{
    resetLinkState();
    ports::install({});
}

void TestLink::cleanup()
{
    ports::restoreSystemList();
    resetLinkState();
}

void TestLink::noPortAtAll()
{
    Window w;
    w.scan->click();
    QCOMPARE(w.status(), "Aucun Module VELDRIX détecté");
    QCOMPARE(w.scan->text(), "Connecter");
    QCOMPARE(w.commands(), "0 0 0");
    QVERIFY(!moduleFound);
    QVERIFY(!moduleConnected);
}

void TestLink::connectsAndShowsWhatTheModuleHolds()
{
    auto module = plugModule();
    QVERIFY(module);
    QVERIFY(module->setSettings(exampleSettings));
    ports::install({module->portPath()});

    Window w;
    w.setForm(otherSettings);
    w.scan->click();

    QCOMPARE(w.messages(), QStringList{connectedText(*module, module->portPath())});
    QCOMPARE(w.scan->text(), "Lire");
    QCOMPARE(w.commands(), "1 1 1");
    QCOMPARE(w.form(), exampleSettings);
    QCOMPARE(module->received(), QByteArray("iI\nsS\n"));
    QVERIFY(moduleFound && moduleConnected);
    QCOMPARE(moduleName, QString::fromUtf8(module->moduleId()));
    QCOMPARE(modulePortName, module->portPath());
}

void TestLink::secondClickRereads()
{
    auto module = plugModule();
    QVERIFY(module);
    ports::install({module->portPath()});

    Window w;
    w.scan->click();
    QCOMPARE(w.status(), connectedText(*module, module->portPath()));
    QVERIFY(module->setSettings(otherSettings));
    w.scan->click();

    QCOMPARE(w.status(), connectedText(*module, module->portPath()) + " (relecture)");
    QCOMPARE(w.form(), otherSettings);
    QCOMPARE(w.scan->text(), "Lire");
    QCOMPARE(w.commands(), "1 1 1");
}

void TestLink::laterPortWins_data()
{
    QTest::addColumn<bool>("secondListedLast");
    QTest::newRow("first plugged, listed first") << true;
    QTest::newRow("first plugged, listed last") << false;
}

void TestLink::laterPortWins()
{
    QFETCH(bool, secondListedLast);
    auto first = plugModule("VELDRIX_FIRST");
    auto second = plugModule("VELDRIX_SECOND");
    QVERIFY(first && second);
    QVERIFY(first->setSettings(exampleSettings));
    QVERIFY(second->setSettings(otherSettings));
    ModuleStandin &winner = secondListedLast ? *second : *first;
    ModuleStandin &loser = secondListedLast ? *first : *second;
    ports::install({loser.portPath(), winner.portPath()});

    Window w;
    w.scan->click();

    QCOMPARE(w.status(), connectedText(winner, winner.portPath()));
    QCOMPARE(w.form(), winner.settings());
    QCOMPARE(winner.received(), QByteArray("iI\nsS\n"));
    QCOMPARE(loser.received(), QByteArray("iI\n"));
}

void TestLink::identificationAnswers_data()
{
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<QByteArray>("closing");
    QTest::addColumn<QByteArray>("rawIdentification"); // in place of the module's own
    QTest::addColumn<bool>("silent");
    QTest::addColumn<bool>("detected");

    using B = QByteArray;
    QTest::newRow("prefix alone, odd closing bytes")
        << B("VELDRIX_") << B("#!") << B() << false << true;
    QTest::newRow("percent signs in the name")
        << B("VELDRIX_%2%1") << B("\r\n") << B() << false << true;
    QTest::newRow("closing bytes alone")
        << B("VELDRIX_GPS") << B("\r\n") << B("\r\n") << false << false;
    QTest::newRow("lower-case prefix")
        << B("VELDRIX_GPS") << B("\r\n") << B("veldrix_GPS\r\n") << false << false;
    QTest::newRow("silent port") << B("VELDRIX_GPS") << B("\r\n") << B() << true << false;
}

void TestLink::identificationAnswers()
{
    QFETCH(QByteArray, id);
    QFETCH(QByteArray, closing);
    QFETCH(QByteArray, rawIdentification);
    QFETCH(bool, silent);
    QFETCH(bool, detected);

    auto module = plugModule(id);
    QVERIFY(module);
    module->setClosingBytes(closing);
    if (!rawIdentification.isEmpty())
        module->setRawAnswer(ModuleStandin::Identify, rawIdentification);
    module->setSilent(ModuleStandin::Identify, silent);
    ports::install({module->portPath()});

    Window w;
    w.scan->click();

    if (detected) {
        QCOMPARE(moduleName, QString::fromUtf8(id));
        QCOMPARE(w.status(), connectedText(*module, module->portPath()));
        QCOMPARE(w.commands(), "1 1 1");
    } else {
        QCOMPARE(w.status(), "Aucun Module VELDRIX détecté");
        QCOMPARE(moduleName, QString());
        QCOMPARE(modulePortName, QString());
        QCOMPARE(module->received(), QByteArray("iI\n"));
        QCOMPARE(w.commands(), "0 0 0");
    }
}

void TestLink::answerInPieces_data()
{
    QTest::addColumn<QVector<ModuleStandin::Piece>>("pieces");
    QTest::addColumn<int>("dripBytes");
    QTest::addColumn<int>("delayMs");

    using P = QVector<ModuleStandin::Piece>;
    QTest::newRow("three pieces 50 ms apart") << P{{3, 50}, {40, 50}, {9, 50}} << 0 << 0;
    QTest::newRow("16 bytes every 50 ms") << P() << 16 << 0;
    QTest::newRow("first byte after 150 ms") << P() << 0 << 150;
}

// Gaps well under 350 ms never cut an answer, neither the identification nor
// the configuration reply.
void TestLink::answerInPieces()
{
    QFETCH(QVector<ModuleStandin::Piece>, pieces);
    QFETCH(int, dripBytes);
    QFETCH(int, delayMs);

    auto module = plugModule();
    QVERIFY(module);
    QVERIFY(module->setSettings(exampleSettings));
    if (!pieces.isEmpty())
        module->setPieces(ModuleStandin::Both, pieces);
    if (dripBytes)
        module->setDrip(ModuleStandin::Both, dripBytes, 50);
    if (delayMs)
        module->setDelay(ModuleStandin::Both, delayMs);
    ports::install({module->portPath()});

    Window w;
    w.scan->click();

    QCOMPARE(w.status(), connectedText(*module, module->portPath()));
    QCOMPARE(w.form(), exampleSettings);
}

void TestLink::readFailureKeepsTheForm_data()
{
    QTest::addColumn<QString>("misbehaviour");
    QTest::newRow("wrong check character") << "check";
    QTest::newRow("35 values") << "35";
    QTest::newRow("37 values") << "37";
    QTest::newRow("no reply") << "silent";
    QTest::newRow("closing bytes alone") << "closing";
    QTest::newRow("not a reply") << "garbage";
    QTest::newRow("pause of over a second") << "pause";
}

// A reply that cannot be trusted changes nothing in the form, whether or not
// a module was connected before.
void TestLink::readFailureKeepsTheForm()
{
    QFETCH(QString, misbehaviour);

    auto module = plugModule();
    QVERIFY(module);
    QVERIFY(module->setSettings(exampleSettings));
    ports::install({module->portPath()});

    Window w;
    w.scan->click();
    QCOMPARE(w.form(), exampleSettings);

    QVERIFY(module->setSettings(otherSettings));
    if (misbehaviour == "check")
        module->setWrongCheckCharacter();
    else if (misbehaviour == "35")
        module->setReplyValueCount(35);
    else if (misbehaviour == "37")
        module->setReplyValueCount(37);
    else if (misbehaviour == "silent")
        module->setSilent(ModuleStandin::Read);
    else if (misbehaviour == "closing")
        module->setRawAnswer(ModuleStandin::Read, "\r\n");
    else if (misbehaviour == "garbage")
        module->setRawAnswer(ModuleStandin::Read, "VELDRIX_ what is this?\r\n");
    else if (misbehaviour == "pause")
        module->setPieces(ModuleStandin::Read, {{30, 1200}});

    for (int click = 0; click < 2; ++click) {
        w.scan->click();
        QCOMPARE(w.status(), readFailureText(*module));
        QCOMPARE(w.scan->text(), "Connecter");
        QCOMPARE(w.commands(), "0 0 0");
        QCOMPARE(w.form(), exampleSettings);
        QVERIFY(moduleFound);
        QVERIFY(!moduleConnected);
        // Let a late end of the reply arrive, so that it cannot answer the
        // next click.
        QTest::qWait(misbehaviour == "pause" ? 1500 : 0);
    }
}

void TestLink::unopenablePort_data()
{
    QTest::addColumn<bool>("held"); // else: no such device
    QTest::addColumn<bool>("moduleListedAfter");
    QTest::addColumn<QString>("explanation");

    QTest::newRow("missing") << false << false << "n'existe pas";
    QTest::newRow("held by another program") << true << false << "autre programme";
    QTest::newRow("missing, module after it") << false << true << "n'existe pas";
    QTest::newRow("held, module after it") << true << true << "autre programme";
}

// A port that does not open is reported while discovery goes on, and the
// outcome of the click replaces that report.
void TestLink::unopenablePort()
{
    QFETCH(bool, held);
    QFETCH(bool, moduleListedAfter);
    QFETCH(QString, explanation);

    auto blocked = plugModule();
    auto module = plugModule("VELDRIX_BEHIND");
    QVERIFY(blocked && module);
    QSerialPort holder;
    QString unopenable = "/dev/veldrix-no-such-port";
    if (held) {
        unopenable = blocked->portPath();
        holder.setPortName(unopenable);
        QVERIFY(holder.open(QIODevice::ReadWrite));
    }
    QStringList listed{unopenable};
    if (moduleListedAfter)
        listed.append(module->portPath());
    ports::install(listed);

    Window w;
    w.scan->click();

    const QStringList shown = w.messages();
    QCOMPARE(shown.size(), 2);
    const QString report = shown.at(0);
    QVERIFY2(
        report.startsWith(QString("Impossible d'écrire sur le port %1. Erreur : ").arg(unopenable)),
        qPrintable(report));
    QVERIFY2(report.contains(explanation), qPrintable(report));
    QCOMPARE(shown.at(1), moduleListedAfter ? connectedText(*module, module->portPath())
                                            : QString("Aucun Module VELDRIX détecté"));
    QCOMPARE(blocked->received(), QByteArray());
}

void TestLink::configureWritesTheForm()
{
    auto module = plugModule();
    QVERIFY(module);
    QVERIFY(module->setSettings(otherSettings));
    ports::install({module->portPath()});

    Window w;
    w.scan->click();
    QCOMPARE(w.form(), otherSettings);
    w.setForm(exampleSettings);
    module->clearReceived();

    // While the success box is up, the module adjusts one value on its own:
    // the re-read that follows must show the module's value, not the form's.
    testsupport::ModalAnswerer answerer;
    answerer.inspect = [&](QDialog *) {
        QCOMPARE(module->acceptedConfigCount(), 1);
        module->setSetting(30, "100");
    };
    w.config->click();

    QCOMPARE(answerer.seen.size(), 1);
    const testsupport::SeenBox box = answerer.seen.at(0);
    QCOMPARE(box.text, "Le module a été configuré.");
    QCOMPARE(box.informativeText, QString());
    QCOMPARE(box.title, QString());
    QVERIFY(!box.hadParent);
    QVERIFY(!box.hadIcon);
    QCOMPARE(box.buttonCount, 1);

    const QByteArray configuration =
        "c" + module->moduleId() + " " + exampleSettings.join(' ').toUtf8() + " ";
    const QByteArray frame =
        configuration + ModuleStandin::checkCharacterOf(configuration) + QByteArray("\n");
    QCOMPARE(module->received(), frame + "iI\nsS\n");
    QCOMPARE(module->acceptedConfigCount(), 1);

    QStringList held = exampleSettings;
    held[29] = "100";
    QCOMPARE(module->settings(), held);
    QCOMPARE(w.status(), connectedText(*module, module->portPath()) + " (relecture)");
    QCOMPARE(w.form(), held);
}

void TestLink::restartAndFactoryReset_data()
{
    QTest::addColumn<bool>("reset");
    QTest::addColumn<int>("restartMs");

    // Back well within the half-second wait, or long after discovery.
    QTest::newRow("restart") << false << 50;
    QTest::newRow("factory reset") << true << 50;
    QTest::newRow("slow restart") << false << 3000;
    QTest::newRow("slow factory reset") << true << 3000;
}

void TestLink::restartAndFactoryReset()
{
    QFETCH(bool, reset);
    QFETCH(int, restartMs);

    auto module = plugModule();
    QVERIFY(module);
    QVERIFY(module->setSettings(exampleSettings));
    QVERIFY(exampleSettings != ModuleStandin::factorySettings());
    module->setRestartTime(restartMs);
    ports::install({module->portPath()});

    Window w;
    w.scan->click();
    QCOMPARE(w.form(), exampleSettings);
    module->clearReceived();

    testsupport::ModalAnswerer answerer;
    (reset ? w.raz : w.reboot)->click();

    QCOMPARE(answerer.seen.size(), 1);
    const testsupport::SeenBox box = answerer.seen.at(0);
    QCOMPARE(box.text, reset ? "Le module a été remis en configuration usine."
                             : "Le module a été redémarré.");
    QCOMPARE(box.informativeText, QString());
    QCOMPARE(box.title, QString());
    QVERIFY(!box.hadParent);
    QVERIFY(!box.hadIcon);
    QCOMPARE(box.buttonCount, 1);
    QCOMPARE(module->restartCount() + module->factoryResetCount(), 1);
    QCOMPARE(module->factoryResetCount(), int(reset));

    const QByteArray command = reset ? "zZ\n" : "rR\n";
    const QStringList expectedForm = reset ? ModuleStandin::factorySettings() : exampleSettings;
    if (restartMs < 500) {
        QCOMPARE(module->received(), command + "iI\nsS\n");
        QCOMPARE(w.status(), connectedText(*module, module->portPath()) + " (relecture)");
        QCOMPARE(w.commands(), "1 1 1");
        QCOMPARE(w.form(), expectedForm);
    } else {
        QCOMPARE(module->received(), command + "iI\n");
        QCOMPARE(
            w.status(),
            QString("Connexion au module %1 perdue").arg(QString::fromUtf8(module->moduleId())));
        QCOMPARE(w.scan->text(), "Connecter");
        QCOMPARE(w.commands(), "0 0 0");
        QCOMPARE(w.form(), exampleSettings);
    }
}

void TestLink::commandsOnUnpluggedModule_data()
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
// next click on the connect button finds the loss.
void TestLink::commandsOnUnpluggedModule()
{
    QFETCH(QString, button);
    QFETCH(QString, failure);

    // Listed under a link of its own that goes with the unplug: the pty's
    // number may meanwhile be handed to another program's terminal.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    auto module = plugModule("VELDRIX_UNPLUGGED");
    QVERIFY(module);
    QVERIFY(module->setLinkPath(dir.filePath("module")));
    ports::install({module->linkPath()});

    Window w;
    w.scan->click();
    QCOMPARE(w.commands(), "1 1 1");
    const QString connected = w.status();
    module->unplug();

    testsupport::ModalAnswerer answerer;
    w.window.findChild<QPushButton *>(button)->click();

    QCOMPARE(answerer.seen.size(), 1);
    const testsupport::SeenBox box = answerer.seen.at(0);
    QCOMPARE(box.text, failure);
    QCOMPARE(box.informativeText, unplugAdvice);
    QCOMPARE(box.title, QString());
    QVERIFY(!box.hadParent);
    QVERIFY(!box.hadIcon);
    QCOMPARE(box.buttonCount, 1);
    QCOMPARE(w.status(), connected);
    QCOMPARE(w.scan->text(), "Lire");
    QCOMPARE(w.commands(), "1 1 1");
    QVERIFY(moduleConnected);

    w.messageSpy.clear();
    w.scan->click();
    QCOMPARE(w.messages().size(), 2);
    QVERIFY2(w.messages().at(0).startsWith("Impossible d'écrire sur le port " + module->linkPath()),
             qPrintable(w.messages().at(0)));
    QCOMPARE(w.status(), "Connexion au module VELDRIX_UNPLUGGED perdue");
    QCOMPARE(w.scan->text(), "Connecter");
    QCOMPARE(w.commands(), "0 0 0");
    QVERIFY(!moduleFound);
    QVERIFY(!moduleConnected);

    // Once that is known, a further click no longer speaks of a loss.
    w.scan->click();
    QCOMPARE(w.status(), "Aucun Module VELDRIX détecté");
}

// A port listed under a path of its own (here a link with percent signs in
// its name) is shown and opened again under that same path.
void TestLink::portKeepsTheNameItWasListedUnder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    auto module = plugModule();
    QVERIFY(module);
    const QString link = dir.filePath("module%2%1");
    QVERIFY(module->setLinkPath(link));
    ports::install({link});

    Window w;
    w.scan->click();
    QCOMPARE(w.status(), connectedText(*module, link));
    QCOMPARE(modulePortName, link);

    testsupport::ModalAnswerer answerer;
    w.reboot->click();
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(module->restartCount(), 1);
    QCOMPARE(w.status(), connectedText(*module, link) + " (relecture)");
}

VELDRIX_TEST_MAIN(TestLink)
#include "tst_link.moc"

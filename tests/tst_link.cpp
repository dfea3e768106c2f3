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
using Pieces = QVector<ModuleStandin::Piece>;
Q_DECLARE_METATYPE(ModuleStandin::Piece)

namespace
{

// The form's 36 settings in the order of the configuration frame, read and
// set through the widgets themselves, so that what the window shows is
// compared with what the module holds without the program's own table.
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

// Two configurations, in frame order, that differ wherever values can.
const QStringList exampleSettings =
    QString("500 1 1 1 1 1 0 0 1 0 0 0 100 1000 200 1001 500 1002 1000 1003 1000 1004 1000 1005 "
            "50 100 1520 10 1 50 0 1 0 100 1000 1536")
        .split(' ');
const QStringList otherSettings =
    QString("250 0 0 -3 0 0 1 1 0 1 1 1 20 11 30 12 40 13 50 14 60 15 70 16 80 90 100 20 0 85 1 "
            "0 1 200 300 400")
        .split(' ');

const QString notDetected = "Aucun Module VELDRIX détecté";

// The window, with a record of every status message shown while it lives.
struct Window {
    MainWindow window;
    QStatusBar *const bar = window.findChild<QStatusBar *>("statusbar");
    QPushButton *const scan = window.findChild<QPushButton *>("pushButton_Scan");
    QSignalSpy messageSpy{bar, &QStatusBar::messageChanged};

    QString status() const { return bar->currentMessage(); }
    QPushButton *button(const QString &name) { return window.findChild<QPushButton *>(name); }

    QStringList messages() const
    {
        QStringList shown;
        for (const QList<QVariant> &arguments : messageSpy)
            shown.append(arguments.at(0).toString());
        return shown;
    }

    // Caption of the connect button, then the enabled state of the three
    // command buttons: "Lire 1 1 1" or "Connecter 0 0 0".
    QString buttons()
    {
        QString state = scan->text();
        for (const char *name : {"pushButton_Config", "pushButton_Reboot", "pushButton_RAZ"})
            state += button(name)->isEnabled() ? " 1" : " 0";
        return state;
    }

    QStringList form() const
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

    void setForm(const QStringList &values)
    {
        for (int i = 0; i < formFields.size(); ++i) {
            QWidget *widget = window.findChild<QWidget *>(formFields.at(i));
            const QString &value = values.at(i);
            if (auto *combo = qobject_cast<QComboBox *>(widget))
                combo->setCurrentIndex(combo->findData(value.toInt()));
            else if (qobject_cast<QRadioButton *>(widget))
                window
                    .findChild<QRadioButton *>(value == "1" ? "radioButton_hEllipsoidal"
                                                            : "radioButton_hMSL")
                    ->setChecked(true);
            else if (auto *box = qobject_cast<QCheckBox *>(widget))
                box->setChecked(value == "1");
            else if (auto *field = qobject_cast<QLineEdit *>(widget))
                field->setText(value);
            else
                qobject_cast<QSlider *>(widget)->setValue(value.toInt());
        }
    }
};

// What a box showed: "text | informative text", with " | dressed" added
// when it has a parent, a title, an icon or other than one button.
QString describe(const testsupport::SeenBox &box)
{
    QString text = box.text + " | " + box.informativeText;
    if (box.hadParent || !box.title.isEmpty() || box.hadIcon || box.buttonCount != 1)
        text += " | dressed";
    return text;
}

// A started stand-in, or null. With `linkDir`, it is listed under a link
// in that folder (whose name holds percent signs) rather than its pty.
std::unique_ptr<ModuleStandin> plugModule(const QByteArray &id = ModuleStandin::defaultModuleId(),
                                          const QTemporaryDir *linkDir = nullptr)
{
    auto module = std::make_unique<ModuleStandin>();
    if (!module->start() || (linkDir && !module->setLinkPath(linkDir->filePath("module%2%1"))))
        return nullptr;
    module->setModuleId(id);
    return module;
}

QString listedName(const ModuleStandin &module)
{
    return module.linkPath().isEmpty() ? module.portPath() : module.linkPath();
}

QString connectedText(const ModuleStandin &module)
{
    return QString("%1 connecté sur port %2")
        .arg(QString::fromUtf8(module.moduleId()), listedName(module));
}

} // namespace

class TestLink : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void noPortAtAll();
    void connectsThenRereads();
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
};

// The link state outlives windows: every test starts from a fresh program.
void TestLink::init()
{
    moduleName.clear();
    modulePortName.clear();
    moduleFound = false;
    moduleConnected = false;
    ports::install({});
}

void TestLink::cleanup()
{
    ports::restoreSystemList();
    init();
}

void TestLink::noPortAtAll()
{
    Window w;
    w.scan->click();
    QCOMPARE(w.messages(), QStringList{notDetected});
    QCOMPARE(w.buttons(), "Connecter 0 0 0");
    QVERIFY(!moduleFound && !moduleConnected);
}

void TestLink::connectsThenRereads()
{
    auto module = plugModule();
    QVERIFY(module);
    QVERIFY(module->setSettings(exampleSettings));
    ports::install({module->portPath()});

    Window w;
    w.setForm(otherSettings);
    w.scan->click();

    QCOMPARE(w.messages(), QStringList{connectedText(*module)});
    QCOMPARE(w.buttons(), "Lire 1 1 1");
    QCOMPARE(w.form(), exampleSettings);
    QCOMPARE(module->received(), QByteArray("iI\nsS\n"));
    QVERIFY(moduleFound && moduleConnected);
    QCOMPARE(moduleName, QString::fromUtf8(module->moduleId()));
    QCOMPARE(modulePortName, module->portPath());

    QVERIFY(module->setSettings(otherSettings));
    w.scan->click();
    QCOMPARE(w.status(), connectedText(*module) + " (relecture)");
    QCOMPARE(w.buttons(), "Lire 1 1 1");
    QCOMPARE(w.form(), otherSettings);
}

void TestLink::laterPortWins_data()
{
    QTest::addColumn<bool>("firstListedLast");
    QTest::newRow("listed in plugging order") << false;
    QTest::newRow("listed in reverse order") << true;
}

void TestLink::laterPortWins()
{
    QFETCH(bool, firstListedLast);
    auto first = plugModule("VELDRIX_FIRST");
    auto second = plugModule("VELDRIX_SECOND");
    QVERIFY(first && second);
    QVERIFY(first->setSettings(exampleSettings));
    QVERIFY(second->setSettings(otherSettings));
    ModuleStandin &winner = firstListedLast ? *first : *second;
    ModuleStandin &loser = firstListedLast ? *second : *first;
    ports::install({loser.portPath(), winner.portPath()});

    Window w;
    w.scan->click();

    QCOMPARE(w.status(), connectedText(winner));
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

    QCOMPARE(w.status(), detected ? connectedText(*module) : notDetected);
    QCOMPARE(w.buttons(), detected ? "Lire 1 1 1" : "Connecter 0 0 0");
    QCOMPARE(moduleName, detected ? QString::fromUtf8(id) : QString());
    QCOMPARE(modulePortName, detected ? module->portPath() : QString());
    QCOMPARE(module->received(), QByteArray(detected ? "iI\nsS\n" : "iI\n"));
}

void TestLink::answerInPieces_data()
{
    QTest::addColumn<Pieces>("pieces");
    QTest::addColumn<int>("dripBytes");
    QTest::addColumn<int>("delayMs");

    QTest::newRow("three pieces 50 ms apart") << Pieces{{3, 50}, {40, 50}, {9, 50}} << 0 << 0;
    QTest::newRow("16 bytes every 50 ms") << Pieces() << 16 << 0;
    QTest::newRow("first byte after 150 ms") << Pieces() << 0 << 150;
}

// Gaps well under 350 ms never cut an answer, neither the identification nor
// the configuration reply.
void TestLink::answerInPieces()
{
    QFETCH(Pieces, pieces);
    QFETCH(int, dripBytes);
    QFETCH(int, delayMs);

    auto module = plugModule();
    QVERIFY(module);
    QVERIFY(module->setSettings(exampleSettings));
    module->setPieces(ModuleStandin::Both, pieces);
    if (dripBytes)
        module->setDrip(ModuleStandin::Both, dripBytes, 50);
    module->setDelay(ModuleStandin::Both, delayMs);
    ports::install({module->portPath()});

    Window w;
    w.scan->click();

    QCOMPARE(w.status(), connectedText(*module));
    QCOMPARE(w.form(), exampleSettings);
}

void TestLink::readFailureKeepsTheForm_data()
{
    QTest::addColumn<QString>("misbehaviour");
    for (const char *tag : {"wrong check character", "35 values", "37 values", "no reply",
                            "closing bytes alone", "not a reply", "pause of over a second"})
        QTest::newRow(tag) << tag;
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
    if (misbehaviour == "wrong check character")
        module->setWrongCheckCharacter();
    else if (misbehaviour == "35 values")
        module->setReplyValueCount(35);
    else if (misbehaviour == "37 values")
        module->setReplyValueCount(37);
    else if (misbehaviour == "no reply")
        module->setSilent(ModuleStandin::Read);
    else if (misbehaviour == "closing bytes alone")
        module->setRawAnswer(ModuleStandin::Read, "\r\n");
    else if (misbehaviour == "not a reply")
        module->setRawAnswer(ModuleStandin::Read, "VELDRIX_ what is this?\r\n");
    else
        module->setPieces(ModuleStandin::Read, {{30, 1200}});

    const QString failure =
        QString("Impossible de lire la configuration du module %1 connecté sur port %2")
            .arg(QString::fromUtf8(module->moduleId()), module->portPath());
    for (int click = 0; click < 2; ++click) {
        w.scan->click();
        QCOMPARE(w.status(), failure);
        QCOMPARE(w.buttons(), "Connecter 0 0 0");
        QCOMPARE(w.form(), exampleSettings);
        QVERIFY(moduleFound && !moduleConnected);
        // The late end of this reply is still on its way.
        if (misbehaviour.startsWith("pause"))
            break;
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
    QSerialPort holder; // as another program would hold the port
    QString unopenable = "/dev/veldrix-no-such-port";
    if (held) {
        unopenable = blocked->portPath();
        holder.setPortName(unopenable);
        QVERIFY(holder.open(QIODevice::ReadWrite));
    }
    ports::install(moduleListedAfter ? QStringList{unopenable, module->portPath()}
                                     : QStringList{unopenable});

    Window w;
    w.scan->click();

    const QStringList shown = w.messages();
    QCOMPARE(shown.size(), 2);
    QVERIFY2(shown.at(0).startsWith(
                 QString("Impossible d'écrire sur le port %1. Erreur : ").arg(unopenable)) &&
                 shown.at(0).contains(explanation),
             qPrintable(shown.at(0)));
    QCOMPARE(shown.at(1), moduleListedAfter ? connectedText(*module) : notDetected);
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

    // While the success box is up, the module changes one value on its own:
    // the re-read that follows must show the module's value, not the form's.
    testsupport::ModalAnswerer answerer;
    answerer.inspect = [&](QDialog *) {
        module->waitUntil([&] { return module->acceptedConfigCount() == 1; }, 5000);
        module->setSetting(30, "100");
    };
    w.button("pushButton_Config")->click();

    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(describe(answerer.seen.at(0)), "Le module a été configuré. | ");
    const QByteArray configuration =
        "c" + module->moduleId() + " " + exampleSettings.join(' ').toUtf8() + " ";
    QCOMPARE(module->received(), configuration + ModuleStandin::checkCharacterOf(configuration) +
                                     QByteArray("\niI\nsS\n"));
    QCOMPARE(module->acceptedConfigCount(), 1);

    QStringList held = exampleSettings;
    held[29] = "100";
    QCOMPARE(module->settings(), held);
    QCOMPARE(w.status(), connectedText(*module) + " (relecture)");
    QCOMPARE(w.form(), held);
}

void TestLink::restartAndFactoryReset_data()
{
    QTest::addColumn<bool>("reset");
    QTest::addColumn<int>("restartMs");

    // Back well within the half-second wait, or long after the re-read.
    QTest::newRow("restart") << false << 50;
    QTest::newRow("factory reset") << true << 50;
    QTest::newRow("slow restart") << false << 3000;
    QTest::newRow("slow factory reset") << true << 3000;
}

// The module is listed under a link whose name holds percent signs: the
// command and the re-read open it under that same name.
void TestLink::restartAndFactoryReset()
{
    QFETCH(bool, reset);
    QFETCH(int, restartMs);

    QTemporaryDir dir;
    auto module = plugModule(ModuleStandin::defaultModuleId(), &dir);
    QVERIFY(module);
    QVERIFY(module->setSettings(exampleSettings));
    QVERIFY(exampleSettings != ModuleStandin::factorySettings());
    module->setRestartTime(restartMs);
    ports::install({module->linkPath()});

    Window w;
    w.scan->click();
    QCOMPARE(w.status(), connectedText(*module));
    module->clearReceived();

    testsupport::ModalAnswerer answerer;
    w.button(reset ? "pushButton_RAZ" : "pushButton_Reboot")->click();

    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(describe(answerer.seen.at(0)), reset
                                                ? "Le module a été remis en configuration usine. | "
                                                : "Le module a été redémarré. | ");
    QCOMPARE(module->factoryResetCount(), int(reset));
    QCOMPARE(module->restartCount(), int(!reset));

    const QByteArray command = reset ? "zZ\n" : "rR\n";
    if (restartMs < 500) {
        QCOMPARE(module->received(), command + "iI\nsS\n");
        QCOMPARE(w.status(), connectedText(*module) + " (relecture)");
        QCOMPARE(w.buttons(), "Lire 1 1 1");
        QCOMPARE(w.form(), reset ? ModuleStandin::factorySettings() : exampleSettings);
    } else {
        QCOMPARE(module->received(), command + "iI\n");
        QCOMPARE(
            w.status(),
            QString("Connexion au module %1 perdue").arg(QString::fromUtf8(module->moduleId())));
        QCOMPARE(w.buttons(), "Connecter 0 0 0");
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
// next click on the connect button finds the loss. The module is listed
// under a link that goes with the unplug, as the pty's number may meanwhile
// be handed to another program.
void TestLink::commandsOnUnpluggedModule()
{
    QFETCH(QString, button);
    QFETCH(QString, failure);

    QTemporaryDir dir;
    auto module = plugModule("VELDRIX_UNPLUGGED", &dir);
    QVERIFY(module);
    const QString link = module->linkPath();
    ports::install({link});

    Window w;
    w.scan->click();
    const QString connected = w.status();
    QCOMPARE(connected, connectedText(*module));
    module->unplug();

    testsupport::ModalAnswerer answerer;
    w.button(button)->click();

    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(describe(answerer.seen.at(0)),
             failure + " | Veuillez débrancher le module et re-essayer.");
    QCOMPARE(w.status(), connected);
    QCOMPARE(w.buttons(), "Lire 1 1 1");
    QVERIFY(moduleConnected);

    w.messageSpy.clear();
    w.scan->click();
    QCOMPARE(w.messages().size(), 2);
    QVERIFY2(w.messages().at(0).startsWith("Impossible d'écrire sur le port " + link),
             qPrintable(w.messages().at(0)));
    QCOMPARE(w.status(), "Connexion au module VELDRIX_UNPLUGGED perdue");
    QCOMPARE(w.buttons(), "Connecter 0 0 0");
    QVERIFY(!moduleFound && !moduleConnected);

    // Once the loss is known, a further click no longer speaks of it.
    w.scan->click();
    QCOMPARE(w.status(), notDetected);
}

VELDRIX_TEST_MAIN(TestLink)
#include "tst_link.moc"

// The pieces every exchange with the module is made of: the port list,
// writing a command, collecting an answer, and making sense of it.
#include "link/exchange.h"
#include "link/ports.h"
#include "standin/modulestandin.h"
#include "testsupport.h"

#include <QSerialPortInfo>

using standin::ModuleStandin;

Q_DECLARE_METATYPE(ModuleStandin::Piece)

class TestExchange : public QObject
{
    Q_OBJECT

private slots:
    void identification_data();
    void identification();
    void textBeforeNul_data();
    void textBeforeNul();
    void portErrorsAreExplained_data();
    void portErrorsAreExplained();
    void portListCanBeReplacedAndRestored();
    void sendToPortThatDidNotOpen();
    void receive_data();
    void receive();
    void receiveStopsAtItsLimits_data();
    void receiveStopsAtItsLimits();
};

void TestExchange::identification_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("isModule");
    QTest::addColumn<QString>("name");

    using B = QByteArray;
    QTest::newRow("usual") << B("VELDRIX_GPS2CAN_v2\r\n") << true << "VELDRIX_GPS2CAN_v2";
    QTest::newRow("prefix alone") << B("VELDRIX_\r\n") << true << "VELDRIX_";
    QTest::newRow("any two closing bytes") << B("VELDRIX_AB\0\xff", 12) << true << "VELDRIX_AB";
    QTest::newRow("one closing byte eats the name") << B("VELDRIX_A\n") << true << "VELDRIX_";
    QTest::newRow("NUL ends the name") << B("VELDRIX_AB\0CD\r\n", 15) << true << "VELDRIX_AB";
    QTest::newRow("UTF-8 name") << B("VELDRIX_é\r\n") << true << QString::fromUtf8("VELDRIX_é");
    QTest::newRow("percent signs kept") << B("VELDRIX_%1%2\r\n") << true << "VELDRIX_%1%2";
    QTest::newRow("nothing") << B() << false << QString();
    QTest::newRow("closing bytes only") << B("\r\n") << false << QString();
    QTest::newRow("prefix cut by closing bytes") << B("VELDRIX\r\n") << false << QString();
    QTest::newRow("prefix eaten by closing bytes") << B("VELDRIX_") << false << QString();
    QTest::newRow("lower case") << B("veldrix_GPS\r\n") << false << QString();
    QTest::newRow("prefix not at start") << B(" VELDRIX_GPS\r\n") << false << QString();
    QTest::newRow("echo of the command") << B("iI\n") << false << QString();
    QTest::newRow("NUL inside the prefix") << B("VELD\0RIX_\r\n", 11) << false << QString();
}

void TestExchange::identification()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, isModule);
    QFETCH(QString, name);

    const std::optional<QString> found = exchange::moduleNameFromIdentification(answer);
    QCOMPARE(found.has_value(), isModule);
    if (isModule)
        QCOMPARE(*found, name);
}

void TestExchange::textBeforeNul_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("no NUL") << QByteArray("VELDRIX_ 500\r\n") << "VELDRIX_ 500\r\n";
    QTest::newRow("NUL in the middle") << QByteArray("ab\0cd", 5) << "ab";
    QTest::newRow("NUL first") << QByteArray("\0ab", 3) << "";
    QTest::newRow("empty") << QByteArray() << "";
    QTest::newRow("UTF-8") << QByteArray("d\xc3\xa9j\xc3\xa0") << QString::fromUtf8("déjà");
}

void TestExchange::textBeforeNul()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(exchange::textBeforeNul(bytes), text);
}

void TestExchange::portErrorsAreExplained_data()
{
    QTest::addColumn<QSerialPort::SerialPortError>("error");
    QTest::addColumn<QString>("mentions");

    QTest::newRow("no error") << QSerialPort::NoError << "aucune erreur";
    QTest::newRow("missing") << QSerialPort::DeviceNotFoundError << "n'existe pas";
    QTest::newRow("held or forbidden") << QSerialPort::PermissionError << "autre programme";
    QTest::newRow("already open") << QSerialPort::OpenError << "déjà ouvert";
    QTest::newRow("not open") << QSerialPort::NotOpenError << "pas pu être ouvert";
    QTest::newRow("write") << QSerialPort::WriteError << "envoi";
    QTest::newRow("read") << QSerialPort::ReadError << "lecture";
    QTest::newRow("gone") << QSerialPort::ResourceError << "débranché";
    QTest::newRow("unsupported") << QSerialPort::UnsupportedOperationError << "ne permet pas";
    QTest::newRow("timeout") << QSerialPort::TimeoutError << "à temps";
    QTest::newRow("unknown") << QSerialPort::UnknownError << "inconnue";
}

// Each error reads as the end of "Erreur : ..." and says what it is about.
void TestExchange::portErrorsAreExplained()
{
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(QString, mentions);

    const QString text = exchange::explainPortError(error);
    QVERIFY2(text.contains(mentions), qPrintable(text));
    QVERIFY2(text.at(0).isLower() && text.endsWith('.'), qPrintable(text));
}

void TestExchange::portListCanBeReplacedAndRestored()
{
    QStringList system;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        system.append(info.portName());

    ports::install({"/dev/pts/98", "ttyUSB7"});
    QCOMPARE(ports::listed(), QStringList({"/dev/pts/98", "ttyUSB7"}));
    ports::install({});
    QCOMPARE(ports::listed(), QStringList());
    ports::restoreSystemList();
    QCOMPARE(ports::listed(), system);
}

void TestExchange::sendToPortThatDidNotOpen()
{
    QSerialPort port;
    exchange::prepare(port, "/dev/veldrix-no-such-port");
    QVERIFY(!port.open(QIODevice::ReadWrite));
    QCOMPARE(exchange::send(port, "iI\n", exchange::commandDrainMs), exchange::Sent::Refused);
    QCOMPARE(port.error(), QSerialPort::DeviceNotFoundError);
}

void TestExchange::receive_data()
{
    QTest::addColumn<QVector<ModuleStandin::Piece>>("pieces");
    QTest::addColumn<int>("dripBytes");
    QTest::addColumn<int>("dripPauseMs");
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<int>("expectedBytes"); // -1: the whole answer

    using P = QVector<ModuleStandin::Piece>;
    QTest::newRow("one write") << P() << 0 << 0 << 0 << -1;
    QTest::newRow("pieces 50 ms apart") << P{{5, 50}, {20, 50}, {1, 50}} << 0 << 0 << 0 << -1;
    QTest::newRow("dripping 4 bytes per 50 ms") << P() << 4 << 50 << 0 << -1;
    QTest::newRow("first byte after 200 ms") << P() << 0 << 0 << 200 << -1;
    QTest::newRow("gap of over a second") << P{{6, 1200}} << 0 << 0 << 0 << 6;
    QTest::newRow("silent for over a second") << P() << 0 << 0 << 1200 << 0;
}

// The answer runs until the line stays quiet for 350 ms, whatever its shape.
void TestExchange::receive()
{
    QFETCH(QVector<ModuleStandin::Piece>, pieces);
    QFETCH(int, dripBytes);
    QFETCH(int, dripPauseMs);
    QFETCH(int, delayMs);
    QFETCH(int, expectedBytes);

    ModuleStandin module;
    QVERIFY(module.start());
    module.setModuleId("VELDRIX_RECEIVE_TEST");
    if (!pieces.isEmpty())
        module.setPieces(ModuleStandin::Identify, pieces);
    if (dripBytes)
        module.setDrip(ModuleStandin::Identify, dripBytes, dripPauseMs);
    if (delayMs)
        module.setDelay(ModuleStandin::Identify, delayMs);
    const QByteArray whole = "VELDRIX_RECEIVE_TEST\r\n";

    QSerialPort port;
    exchange::prepare(port, module.portPath());
    QVERIFY(port.open(QIODevice::ReadWrite));
    QCOMPARE(exchange::send(port, "iI\n", exchange::commandDrainMs), exchange::Sent::Done);
    const QByteArray answer = exchange::receive(port);
    QCOMPARE(answer, expectedBytes < 0 ? whole : whole.left(expectedBytes));
}

void TestExchange::receiveStopsAtItsLimits_data()
{
    QTest::addColumn<int>("answerBytes");
    QTest::addColumn<int>("dripBytes");
    QTest::addColumn<int>("dripPauseMs");
    QTest::addColumn<int>("timeLimitMs");
    QTest::addColumn<int>("byteLimit");

    // A drip that would last 30 s, against a limit of one second.
    QTest::newRow("never quiet") << 600 << 1 << 50 << 1000 << 1024 * 1024;
    // A flood of 4 MiB against a limit of 64 KiB.
    QTest::newRow("flood") << 4 * 1024 * 1024 << 0 << 0 << 60000 << 64 * 1024;
}

// A device that never falls silent does not hold the window for ever.
void TestExchange::receiveStopsAtItsLimits()
{
    QFETCH(int, answerBytes);
    QFETCH(int, dripBytes);
    QFETCH(int, dripPauseMs);
    QFETCH(int, timeLimitMs);
    QFETCH(int, byteLimit);

    ModuleStandin module;
    QVERIFY(module.start());
    module.setRawAnswer(ModuleStandin::Identify, QByteArray(answerBytes, 'x'));
    if (dripBytes)
        module.setDrip(ModuleStandin::Identify, dripBytes, dripPauseMs);

    QSerialPort port;
    exchange::prepare(port, module.portPath());
    QVERIFY(port.open(QIODevice::ReadWrite));
    QCOMPARE(exchange::send(port, "iI\n", exchange::commandDrainMs), exchange::Sent::Done);
    const QByteArray answer = exchange::receive(port, exchange::silenceMs, timeLimitMs, byteLimit);
    QVERIFY(!answer.isEmpty());
    QVERIFY2(answer.size() < answerBytes, qPrintable(QString::number(answer.size())));
}

VELDRIX_TEST_MAIN(TestExchange)
#include "tst_exchange.moc"

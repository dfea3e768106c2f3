// What the window tests cannot easily reach: every identification answer
// byte by byte, the explanation of each port error, and the limits that keep
// a device that never falls silent from holding the window.
#include "link/exchange.h"
#include "standin/modulestandin.h"
#include "testsupport.h"

using standin::ModuleStandin;

class TestExchange : public QObject
{
    Q_OBJECT

private slots:
    void identification_data();
    void identification();
    void portErrorsAreExplained_data();
    void portErrorsAreExplained();
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

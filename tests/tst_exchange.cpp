// What the window tests cannot easily reach: identification answers byte by
// byte, and the cap on what an answer keeps of a device that floods the port.
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
    void receiveKeepsAtMostItsCap();
};

void TestExchange::identification_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("isModule");
    QTest::addColumn<QString>("name");

    using B = QByteArray;
    QTest::newRow("usual") << B("VELDRIX_GPS2CAN_v2\r\n") << true << "VELDRIX_GPS2CAN_v2";
    QTest::newRow("prefix alone") << B("VELDRIX_\r\n") << true << "VELDRIX_";
    QTest::newRow("one closing byte eats the name") << B("VELDRIX_A\n") << true << "VELDRIX_";
    QTest::newRow("NUL ends the name") << B("VELDRIX_AB\0CD\r\n", 15) << true << "VELDRIX_AB";
    QTest::newRow("UTF-8 name") << B("VELDRIX_é\r\n") << true << QString::fromUtf8("VELDRIX_é");
    QTest::newRow("closing bytes only") << B("\r\n") << false << QString();
    QTest::newRow("prefix eaten by closing bytes") << B("VELDRIX_") << false << QString();
    QTest::newRow("lower case") << B("veldrix_GPS\r\n") << false << QString();
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

// A device that floods the port does not grow the answer without bound: what
// passes the cap is dropped, and the line is still listened to until quiet.
void TestExchange::receiveKeepsAtMostItsCap()
{
    const int answerBytes = 4 * 1024 * 1024;
    const int byteLimit = 64 * 1024;

    ModuleStandin module;
    QVERIFY(module.start());
    module.setRawAnswer(ModuleStandin::Identify, QByteArray(answerBytes, 'x'));

    QSerialPort port;
    exchange::prepare(port, module.portPath());
    QVERIFY(port.open(QIODevice::ReadWrite));
    QCOMPARE(exchange::send(port, "iI\n", exchange::commandDrainMs), exchange::Sent::Done);
    const QByteArray answer = exchange::receive(port, exchange::silenceMs, byteLimit);
    QCOMPARE(answer, QByteArray(byteLimit, 'x'));
    // Nothing of the flood is left over for the next exchange.
    QVERIFY(!port.waitForReadyRead(exchange::silenceMs));
    QVERIFY(port.readAll().isEmpty());
}

VELDRIX_TEST_MAIN(TestExchange)
#include "tst_exchange.moc"

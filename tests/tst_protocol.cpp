// The module protocol without any widget: the check character and the port's
// settings. Replies of every shape are the fuzz target's; the records and the
// exchanges are the window's tests.
#include "link/exchange.h"
#include "link/records.h"
#include "testsupport.h"

class TestProtocol : public QObject
{
    Q_OBJECT

private slots:
    void checkCharacter()
    {
        const QList<QPair<QByteArray, char>> cases = {
            {"", ' '}, {"abc", 'F'}, {"\x7f\x7f", '^'}, {"\xff", '_'}, {"\xc3\xa9@", 'L'}};
        for (const auto &[bytes, check] : cases) {
            QCOMPARE(standin::checkCharacter(bytes), check);
            QCOMPARE(records::checkCharacter(bytes), check);
        }
    }

    // The stand-in sees speed, stop bits and flow control on its end of the
    // line, but Linux gives a pseudo-terminal 8 data bits without parity
    // whatever is asked: what every exchange asks for is checked here.
    void portSettings()
    {
        QSerialPort port;
        exchange::prepare(port, "ttyUSB0");
        QCOMPARE(QVector<int>({port.baudRate(), port.dataBits(), port.parity(), port.stopBits(),
                               port.flowControl()}),
                 QVector<int>({115200, QSerialPort::Data8, QSerialPort::NoParity,
                               QSerialPort::OneStop, QSerialPort::NoFlowControl}));
    }
};

VELDRIX_TEST_MAIN(TestProtocol)
#include "tst_protocol.moc"

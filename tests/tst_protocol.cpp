// The module protocol without any widget: check character, reply check,
// identification, both records, and the end of an answer on a real port.
#include "link/exchange.h"
#include "link/records.h"
#include "support.h"

using standin::ModuleStandin;
using Name = std::optional<QString>;
Q_DECLARE_METATYPE(Name)

class TestProtocol : public QObject
{
    Q_OBJECT

private slots:
    void checkCharacter_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<char>("check");
        QTest::newRow("empty") << QByteArray() << ' ';
        QTest::newRow("abc: 294") << QByteArray("abc") << 'F';
        QTest::newRow("254") << QByteArray("\x7f\x7f") << '^';
        QTest::newRow("0xff: 255, unsigned") << QByteArray("\xff") << '_';
        QTest::newRow("é@: 428") << QByteArray("\xc3\xa9@") << 'L';
    }
    void checkCharacter()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(char, check);
        QCOMPARE(standin::checkCharacter(bytes), check);
        QCOMPARE(records::checkCharacter(bytes), check);
    }

    void checkedReply_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("payload");
        const QByteArray good = ModuleStandin().reply();
        QByteArray wrong = good;
        wrong[good.size() - 3] = good[good.size() - 3] == '_' ? ' ' : good[good.size() - 3] + 1;
        QTest::newRow("module's") << good << QString(good.chopped(3));
        QTest::newRow("any closing bytes") << good.chopped(2) + "x\x01" << QString(good.chopped(3));
        QTest::newRow("check off by one") << wrong << "NAN";
        QTest::newRow("no prefix") << standin::framed("VELDRIX 1 2") << "NAN";
        QTest::newRow("prefix only") << standin::framed("VELDRIX_") << "VELDRIX_";
        QTest::newRow("two bytes") << QByteArray("\r\n") << "NAN";
    }
    void checkedReply()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QString, payload);
        QCOMPARE(records::checkedReply(QString::fromUtf8(frame)), payload);
    }

    void identification_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<Name>("name");
        QTest::newRow("module") << QByteArray("VELDRIX_GPS\r\n") << Name("VELDRIX_GPS");
        QTest::newRow("any two bytes") << QByteArray("VELDRIX_xy") << Name("VELDRIX_");
        QTest::newRow("cut at NUL") << QByteArray("VELDRIX_A\0B\r\n", 13) << Name("VELDRIX_A");
        QTest::newRow("prefix cut") << QByteArray("VELDRIX\r\n") << Name();
        QTest::newRow("two bytes") << QByteArray("\r\n") << Name();
        QTest::newRow("not a module") << QByteArray("$GPGGA,VELDRIX_\r\n") << Name();
    }
    void identification()
    {
        QFETCH(QByteArray, answer);
        QFETCH(Name, name);
        QCOMPARE(exchange::moduleNameFromIdentification(answer), name);
    }

    // What goes out is what the module parses, byte for byte; a reply in any
    // spacing, after any separator, gives the values in read order.
    void records()
    {
        QStringList values = standin::factorySettings();
        const QString reply = "VELDRIX_X#\t " + standin::inReadOrder(values).join(" \n ") + '\t';
        QCOMPARE(records::replyValues(reply, 9), standin::inReadOrder(values));
        values[3] = "%1";
        values[12] = "";
        values[35] = "é";
        const QByteArray body = "cVELDRIX_X " + values.join(' ').toUtf8() + ' ';
        QCOMPARE(records::configurationFrame(records::configurationString("VELDRIX_X", values)),
                 body + standin::checkCharacter(body) + '\n');
    }

    // An answer ends after 350 ms of silence: gaps well under it are bridged,
    // a gap well over it is not.
    void silenceEndsAnswer_data()
    {
        QTest::addColumn<int>("gap");
        QTest::newRow("gaps of 250 ms") << 250;
        QTest::newRow("gap of 550 ms") << 550;
    }
    void silenceEndsAnswer()
    {
        QFETCH(int, gap);
        ModuleStandin module;
        const QByteArray reply = module.reply();
        module.change([&](standin::Behaviour &b) {
            b.answers['s'] = {{0, reply.left(29)}, {gap, reply.mid(29, 20)}, {gap, reply.mid(49)}};
        });
        QVERIFY(module.start());
        QSerialPort port;
        exchange::prepare(port, module.portPath());
        QVERIFY(port.open(QIODevice::ReadWrite));
        QCOMPARE(exchange::send(port, "sS\n", exchange::commandDrainMs), exchange::Sent::Done);
        QCOMPARE(exchange::receive(port), gap < 350 ? reply : reply.left(29));
    }
};

VELDRIX_TEST_MAIN(TestProtocol)
#include "tst_protocol.moc"

// The module protocol without any widget: the check character, and the end of
// an answer on a real port. Replies of every shape are the fuzz target's; the
// records are the window's tests.
#include "link/exchange.h"
#include "link/records.h"
#include "support.h"

using standin::ModuleStandin;

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

    // An answer ends after 350 ms of silence: gaps well under it are bridged,
    // a gap well over it is not.
    void silenceEndsAnswer()
    {
        for (int gap : {250, 550}) {
            ModuleStandin module;
            const QByteArray reply = module.reply();
            module.change([&](standin::Behaviour &b) {
                b.answers['s'] = {
                    {0, reply.left(29)}, {gap, reply.mid(29, 20)}, {gap, reply.mid(49)}};
            });
            QVERIFY(module.start());
            QSerialPort port;
            exchange::prepare(port, module.portPath());
            QVERIFY(port.open(QIODevice::ReadWrite));
            QCOMPARE(exchange::send(port, "sS\n", exchange::commandDrainMs), exchange::Sent::Done);
            QCOMPARE(exchange::receive(port), gap < 350 ? reply : reply.left(29));
        }
    }
};

QTEST_MAIN(TestProtocol)
#include "tst_protocol.moc"

// The module protocol without any widget: check character, reply check,
// identification, both records, and the end of an answer on a real port.
#include "link/exchange.h"
#include "link/records.h"
#include "support.h"

using standin::ModuleStandin;
using Name = std::optional<QString>;

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

    // The payload of a good frame whatever its closing bytes, else "NAN".
    void checkedReply()
    {
        const QByteArray good = ModuleStandin().reply();
        QByteArray wrong = good;
        wrong[good.size() - 3] = good[good.size() - 3] == '_' ? ' ' : good[good.size() - 3] + 1;
        const QList<QPair<QByteArray, QString>> cases = {
            {good, good.chopped(3)}, {good.chopped(2) + "x\x01", good.chopped(3)},
            {wrong, "NAN"},          {standin::framed("VELDRIX 1 2"), "NAN"},
            {"\r\n", "NAN"},         {standin::framed("VELDRIX_"), "VELDRIX_"}};
        for (const auto &[frame, payload] : cases)
            QCOMPARE(records::checkedReply(QString::fromUtf8(frame)), payload);
    }

    // The answer less its two closing bytes, up to a NUL, when it has the prefix.
    void identification()
    {
        const QList<QPair<QByteArray, Name>> cases = {
            {"VELDRIX_GPS\r\n", "VELDRIX_GPS"},
            {"VELDRIX_xy", "VELDRIX_"},
            {QByteArray("VELDRIX_A\0B\r\n", 13), "VELDRIX_A"},
            {"VELDRIX\r\n", {}},
            {"\r\n", {}},
            {"$GPGGA,VELDRIX_\r\n", {}}};
        for (const auto &[answer, name] : cases)
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

QTEST_MAIN(TestProtocol)
#include "tst_protocol.moc"

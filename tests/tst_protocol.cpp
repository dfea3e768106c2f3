// The module protocol without any widget: the check character, and the
// stand-in's reply pinned. Replies of every shape are the fuzz target's; the
// records and the exchanges, with the settings of every port, are the
// window's tests.
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

#ifndef _WIN32 // the stand-in runs where there are pseudo-terminals
    // The stand-in's answer to the read command with its factory settings,
    // written out once: the witness's own tables cannot drift unseen.
    void standinReply()
    {
        QCOMPARE(standin::ModuleStandin().reply(),
                 QByteArray("VELDRIX_GPS2CAN_SIM 500 1 1 1 1 100 1000 1 200 1001 0 500 1002 0 1000 "
                            "1003 1 1000 1004 0 1000 1005 0 0 50 100 1520 10 1 50 0 1 0 100 1000 "
                            "1536"
                            "5\r\n"));
    }
#endif
};

VELDRIX_TEST_MAIN(TestProtocol)
#include "tst_protocol.moc"

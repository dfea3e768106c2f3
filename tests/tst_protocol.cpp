// The module protocol without any widget: the check character. Replies of
// every shape are the fuzz target's; the records and the exchanges, with the
// settings of every port, are the window's tests.
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
};

VELDRIX_TEST_MAIN(TestProtocol)
#include "tst_protocol.moc"

// The module stand-in itself, only where the other tests lean on it without
// being able to see a fault of its own: its independent check character,
// which frames it takes, and its answers in pieces or cut by an unplug as a
// plain QSerialPort receives them.
#include "link/records.h"
#include "standin/modulestandin.h"
#include "testsupport.h"

#include <QFileInfo>
#include <QSerialPort>

#include <functional>

using standin::ModuleStandin;
using Setup = std::function<void(ModuleStandin &)>;
Q_DECLARE_METATYPE(Setup)

namespace
{

const QStringList exampleValues =
    QString("500 1 1 1 1 1 0 0 1 0 0 0 100 1000 200 1001 500 1002 1000 1003 1000 1004 1000 1005 "
            "50 100 1520 10 1 50 0 1 0 100 1000 1536")
        .split(' ');

// Open, write, read until 350 ms pass without data, close: no program code.
QByteArray exchange(const QString &path, const QByteArray &bytes)
{
    QSerialPort port(path);
    if (!port.open(QIODevice::ReadWrite))
        return "<not opened>";
    port.write(bytes);
    port.waitForBytesWritten(250);
    QByteArray answer = port.readAll();
    while (port.waitForReadyRead(350))
        answer += port.readAll();
    return answer;
}

// A configuration frame built by the stand-in's rules, not the program's.
QByteArray moduleFrame(const QByteArray &id, const QStringList &values)
{
    QByteArray text = "c" + id + " ";
    for (const QString &value : values)
        text += value.toUtf8() + " ";
    return text + ModuleStandin::checkCharacterOf(text) + "\n";
}

const int whole = 1 << 20; // more than any reply: all of it

} // namespace

class TestStandin : public QObject
{
    Q_OBJECT

    std::unique_ptr<ModuleStandin> device; // a new module for every test

private slots:
    void init()
    {
        device = std::make_unique<ModuleStandin>();
        QVERIFY(device->start());
    }
    void cleanup() { device.reset(); }

    // Two independent check characters agree on arbitrary bytes.
    void checkCharactersAgree()
    {
        QByteArray bytes;
        for (int n = 0; n < 2000; ++n) {
            bytes += char((n * 7919 + n / 3) & 0xff);
            QCOMPARE(records::checkCharacter(bytes), ModuleStandin::checkCharacterOf(bytes));
        }
    }

    void configurationFrames_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("accepted");
        const QByteArray id = ModuleStandin::defaultModuleId();
        QStringList withEmpty = exampleValues;
        withEmpty[3] = "";
        QByteArray wrong = moduleFrame(id, exampleValues);
        wrong[wrong.size() - 2] = wrong.at(wrong.size() - 2) == 'A' ? 'B' : 'A';
        const QByteArray noBlank = "c" + id + " " + exampleValues.join(' ').toUtf8();
        QTest::newRow("good") << moduleFrame(id, exampleValues) << true;
        QTest::newRow("empty value") << moduleFrame(id, withEmpty) << true;
        QTest::newRow("wrong check") << wrong << false;
        QTest::newRow("35 values") << moduleFrame(id, exampleValues.mid(1)) << false;
        QTest::newRow("37 values") << moduleFrame(id, exampleValues + QStringList{"1"}) << false;
        QTest::newRow("other module") << moduleFrame("VELDRIX_OTHER", exampleValues) << false;
        QTest::newRow("no closing blank")
            << noBlank + ModuleStandin::checkCharacterOf(noBlank) + "\n"
            << false;
    }
    void configurationFrames()
    {
        QFETCH(QByteArray, frame);
        QFETCH(bool, accepted);
        QCOMPARE(exchange(device->portPath(), frame), QByteArray());
        QVERIFY(device->waitUntil(
            [&] { return device->acceptedConfigCount() + device->rejectedConfigCount() == 1; },
            2000));
        QCOMPARE(device->acceptedConfigCount(), accepted ? 1 : 0);
        QCOMPARE(device->settings() != ModuleStandin::factorySettings(), accepted);
        QCOMPARE(device->received(), frame);
    }

    // However it is cut, the answer arrives whole, or up to the unplug.
    void answers_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<int>("bytes");
        QTest::newRow("at once") << Setup([](ModuleStandin &) {}) << whole;
        QTest::newRow("pieces, 50 ms gaps") << Setup([](ModuleStandin &m) {
            m.setPieces(ModuleStandin::Read, {{5, 50}, {20, 50}, {1, 50}});
        }) << whole;
        QTest::newRow("dripping") << Setup([](ModuleStandin &m) {
            m.setDrip(ModuleStandin::Both, 16, 30);
        }) << whole;
        QTest::newRow("unplugged after 10 bytes")
            << Setup([](ModuleStandin &m) { m.unplugAfter(ModuleStandin::Read, 10); }) << 10;
    }
    void answers()
    {
        QFETCH(Setup, setup);
        QFETCH(int, bytes);
        setup(*device);
        const QString path = device->portPath();
        QCOMPARE(exchange(path, "sS\n"), device->configurationReply().left(bytes));
        QCOMPARE(device->isPlugged(), bytes == whole);
        if (bytes == whole)
            return;
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(exchange(path, "iI\n"), QByteArray("<not opened>"));
        QVERIFY(device->replug());
        QCOMPARE(exchange(device->portPath(), "iI\n"), ModuleStandin::defaultModuleId() + "\r\n");
    }
};

VELDRIX_TEST_MAIN(TestStandin)
#include "tst_standin.moc"

// Writes the seed corpus of the fuzz targets from real frames: each seed is
// what a QSerialPort read, by the program's own receive pattern, from the
// module stand-in on a pseudo-terminal.
//   veldrix-fuzz-seeds DIR   ->  DIR/reply/*, DIR/identification/*
#include "link/exchange.h"
#include "standin/modulestandin.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSerialPort>

#include <cstdio>
#include <functional>

namespace
{

using standin::ModuleStandin;

// One exchange with a freshly set-up stand-in: the command, then the answer.
QByteArray exchangeWith(const std::function<void(ModuleStandin &)> &setUp,
                        const QByteArray &command)
{
    ModuleStandin module;
    if (!module.start())
        return QByteArray();
    setUp(module);
    QSerialPort port;
    exchange::prepare(port, module.portPath());
    if (!port.open(QIODevice::ReadWrite))
        return QByteArray();
    if (exchange::send(port, command, exchange::commandDrainMs) != exchange::Sent::Done)
        return QByteArray();
    return exchange::receive(port);
}

bool save(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "no seed for %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// The identification target reads the answer up to a backslash and one other
// byte; a backslash of the answer itself is doubled.
QByteArray identificationSeed(QByteArray answer, const QByteArray &reply)
{
    return answer.replace("\\", "\\\\") + "\\|" + reply;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    dir.mkpath("reply");
    dir.mkpath("identification");

    const QStringList example = {"500", "1",    "1",    "1",    "1",    "1",    "0",    "0",
                                 "1",   "0",    "0",    "0",    "100",  "1000", "200",  "1001",
                                 "500", "1002", "1000", "1003", "1000", "1004", "1000", "1005",
                                 "50",  "100",  "1520", "10",   "1",    "50",   "0",    "1",
                                 "0",   "100",  "1000", "1536"};
    const auto none = [](ModuleStandin &) {};
    const QByteArray factory = exchangeWith(none, "sS\n");
    bool ok = save(dir.filePath("reply/factory"), factory);
    ok &= save(dir.filePath("reply/example"),
               exchangeWith([&](ModuleStandin &m) { m.setSettings(example); }, "sS\n"));
    ok &= save(dir.filePath("reply/wrong-check"),
               exchangeWith([](ModuleStandin &m) { m.setWrongCheckCharacter(); }, "sS\n"));
    ok &= save(dir.filePath("reply/35-values"),
               exchangeWith([](ModuleStandin &m) { m.setReplyValueCount(35); }, "sS\n"));
    ok &= save(dir.filePath("reply/37-values"),
               exchangeWith([](ModuleStandin &m) { m.setReplyValueCount(37); }, "sS\n"));
    ok &= save(dir.filePath("reply/odd-values"), exchangeWith(
                                                     [](ModuleStandin &m) {
                                                         m.setSetting(1, "800");
                                                         m.setSetting(30, "abc");
                                                         m.setSetting(36, "%1");
                                                     },
                                                     "sS\n"));

    struct Id {
        const char *file;
        QByteArray id;
        QByteArray closing;
    };
    const Id ids[] = {
        {"default", ModuleStandin::defaultModuleId(), "\r\n"},
        {"bare-prefix", "VELDRIX_", "\r\n"},
        {"line-feeds", ModuleStandin::defaultModuleId(), "\n\n"},
        {"nul-inside", QByteArray("VELDRIX_AB\0CD", 13), "\r\n"},
        {"not-utf8", "VELDRIX_\xff\xfe\xc3", "\r\n"},
        {"percent", "VELDRIX_%1%2", "\r\n"},
        {"lower-case", "veldrix_GPS", "\r\n"},
    };
    for (const Id &id : ids) {
        const QByteArray answer = exchangeWith(
            [&](ModuleStandin &m) {
                m.setModuleId(id.id);
                m.setClosingBytes(id.closing);
            },
            "iI\n");
        ok &= save(dir.filePath(QString("identification/") + id.file),
                   identificationSeed(answer, factory));
    }
    return ok ? 0 : 1;
}

#include "probe.h"

#include "exchange.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace probe
{

struct Round::Listener {
    QString name;
    QSerialPort port;
    QElapsedTimer sinceCommand;
    QTimer quiet;
    QTimer ceiling;
    QByteArray answer;
    bool listening = false;
    bool cutOff = false;
};

Round::Round(const QStringList &portNames)
{
    for (const QString &name : portNames) {
        auto listener = std::make_unique<Listener>();
        Listener &l = *listener;
        l.name = name;
        exchange::prepare(l.port, name);
        // Whether it opened shows in the write below.
        l.port.open(QIODevice::ReadWrite);
        l.sinceCommand.start();
        const exchange::Sent sent = exchange::send(l.port, "iI\n", exchange::commandDrainMs);
        if (sent == exchange::Sent::Refused)
            refused.append({name, l.port.error()});
        if (sent == exchange::Sent::Done)
            l.listening = true;
        else if (l.port.isOpen())
            l.port.close();
        listeners.push_back(std::move(listener));
    }
}

Round::~Round() = default;

void Round::collect()
{
    QEventLoop loop;
    // Every connection made here goes with it when collect() returns.
    QObject context;
    int stillListening = 0;

    const auto end = [&](Listener &l, bool cutOff) {
        if (!l.listening)
            return;
        l.listening = false;
        l.cutOff = cutOff;
        l.quiet.stop();
        l.ceiling.stop();
        // Not from inside the port's own signal: closed once back in the loop.
        QMetaObject::invokeMethod(
            &l.port,
            [&l] {
                if (l.port.isOpen())
                    l.port.close();
            },
            Qt::QueuedConnection);
        if (--stillListening == 0)
            loop.quit();
    };
    const auto take = [&](Listener &l) {
        if (!l.listening) {
            l.port.readAll();
            return;
        }
        l.answer += l.port.readAll();
        if (l.answer.size() >= exchange::identifyCeiling.bytes) {
            l.answer.truncate(exchange::identifyCeiling.bytes);
            end(l, true);
            return;
        }
        l.quiet.start();
    };

    for (const std::unique_ptr<Listener> &listener : listeners) {
        Listener &l = *listener;
        if (!l.listening)
            continue;
        ++stillListening;
        // Coarse timers may fire 5 % early or late: an answer would be cut
        // short, or the click held longer than it needs.
        l.quiet.setTimerType(Qt::PreciseTimer);
        l.quiet.setSingleShot(true);
        l.quiet.setInterval(exchange::silenceMs);
        l.ceiling.setTimerType(Qt::PreciseTimer);
        l.ceiling.setSingleShot(true);
        QObject::connect(&l.port, &QSerialPort::readyRead, &context, [&take, &l] { take(l); });
        QObject::connect(&l.quiet, &QTimer::timeout, &context, [&end, &l] {
            // Bytes that came while the loop was busy elsewhere (another
            // port, a repaint, a loaded machine) mean the line was not quiet:
            // reading them here starts the wait again.
            if (!l.port.waitForReadyRead(0))
                end(l, false);
        });
        QObject::connect(&l.ceiling, &QTimer::timeout, &context, [&end, &l] { end(l, true); });
        // A port that fails while answering (unplugged) ends its answer with
        // what it had sent.
        QObject::connect(&l.port, &QSerialPort::errorOccurred, &context,
                         [&end, &l](QSerialPort::SerialPortError error) {
                             if (error == QSerialPort::ReadError ||
                                 error == QSerialPort::ResourceError)
                                 end(l, false);
                         });
        l.ceiling.start(
            int(qMax<qint64>(0, exchange::identifyCeiling.ms - l.sinceCommand.elapsed())));
        // What arrived while the command drained is part of the answer.
        take(l);
    }

    while (stillListening > 0) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        // Once the application has been asked to quit, exec() returns at
        // once: the answers are still collected to their end.
        if (stillListening > 0)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                            QEventLoop::WaitForMoreEvents);
    }

    for (const std::unique_ptr<Listener> &listener : listeners)
        if (listener->port.isOpen())
            listener->port.close();
}

std::optional<Module> Round::lastModule() const
{
    for (auto l = listeners.rbegin(); l != listeners.rend(); ++l) {
        if ((*l)->cutOff)
            continue;
        if (const std::optional<QString> name =
                exchange::moduleNameFromIdentification((*l)->answer))
            return Module{*name, (*l)->name};
    }
    return std::nullopt;
}

} // namespace probe

#include "exchange.h"

#include "records.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace exchange
{

void prepare(QSerialPort &port, const QString &name)
{
    port.setPortName(name);
    port.setBaudRate(115200, QSerialPort::AllDirections);
}

Request identifyRequest(const QString &port)
{
    return {port, QByteArrayLiteral("iI\n"), commandDrainMs, identifyCeiling};
}

Request readRequest(const QString &port)
{
    return {port, QByteArrayLiteral("sS\n"), commandDrainMs, replyCeiling};
}

Request writeRequest(const QString &port, const QByteArray &bytes, int drainMs)
{
    return {port, bytes, drainMs, std::nullopt};
}

Request configureRequest(const QString &port, const QByteArray &frame)
{
    return writeRequest(port, frame, frameDrainMs);
}

Request restartRequest(const QString &port)
{
    return writeRequest(port, QByteArrayLiteral("rR\n"), commandDrainMs);
}

Request factoryResetRequest(const QString &port)
{
    return writeRequest(port, QByteArrayLiteral("zZ\n"), commandDrainMs);
}

// A port through its exchange: written to, draining, listening, then closed.
struct Round::Port {
    enum class Stage { Draining, Listening, Over };
    Request request;
    QSerialPort serial;
    Outcome outcome;
    Stage stage = Stage::Over;
    QTimer drain;   // the bytes must have left by then
    QTimer quiet;   // the answer is over once the line stays quiet this long
    QTimer ceiling; // ... or, cut off, at the latest by then
};

Round::Round(const QVector<Request> &requests)
{
    for (const Request &request : requests) {
        auto port = std::make_unique<Port>();
        Port &p = *port;
        p.request = request;
        prepare(p.serial, request.port);
        // Whether it opened shows in the write: a port that did not open
        // refuses it (asking it anyway would only warn on the console).
        p.serial.open(QIODevice::ReadWrite);
        const qint64 written = p.serial.isOpen() ? p.serial.write(request.bytes) : -1;
        if (written == -1) {
            p.outcome.sent = Sent::Refused;
            p.outcome.error = p.serial.error();
            p.outcome.reason = p.serial.errorString();
        } else if (written != request.bytes.size()) {
            p.outcome.sent = Sent::Incomplete;
        } else {
            // The bytes leave once the event loop runs, on every port at once.
            p.stage = Port::Stage::Draining;
            p.outcome.sent = Sent::NotDrained; // until they have left
        }
        if (p.stage == Port::Stage::Over && p.serial.isOpen())
            p.serial.close();
        ports.push_back(std::move(port));
    }
}

Round::~Round() = default;

QVector<int> Round::refused() const
{
    QVector<int> indexes;
    for (std::size_t i = 0; i < ports.size(); ++i)
        if (ports[i]->outcome.sent == Sent::Refused)
            indexes.append(int(i));
    return indexes;
}

const Outcome &Round::outcome(int index) const
{
    return ports.at(std::size_t(index))->outcome;
}

int Round::size() const
{
    return int(ports.size());
}

void Round::run()
{
    QEventLoop loop;
    // Every connection made here goes with it when run() returns.
    QObject context;
    int active = 0;

    const auto finish = [&](Port &p) {
        if (p.stage == Port::Stage::Over)
            return;
        p.stage = Port::Stage::Over;
        p.drain.stop();
        p.quiet.stop();
        p.ceiling.stop();
        // Not from inside the port's own signal: closed once back in the loop.
        QMetaObject::invokeMethod(
            &p.serial,
            [&p] {
                if (p.serial.isOpen())
                    p.serial.close();
            },
            Qt::QueuedConnection);
        if (--active == 0)
            loop.quit();
    };
    const auto take = [&](Port &p) {
        const QByteArray bytes = p.serial.readAll();
        if (p.stage == Port::Stage::Over || !p.request.answer)
            return;
        p.outcome.answer += bytes;
        if (p.outcome.answer.size() >= p.request.answer->bytes) {
            p.outcome.answer.truncate(p.request.answer->bytes);
            p.outcome.cutOff = true;
            finish(p);
        } else if (p.stage == Port::Stage::Listening) {
            p.quiet.start();
        }
    };
    const auto drained = [&](Port &p) {
        if (p.stage != Port::Stage::Draining || p.serial.bytesToWrite() > 0)
            return;
        p.drain.stop();
        p.outcome.sent = Sent::Done;
        if (!p.request.answer)
            return finish(p);
        // The answer's time counts from here: ports that drain slowly, or
        // open slowly, cannot use it up before it is listened to.
        p.stage = Port::Stage::Listening;
        p.ceiling.start(p.request.answer->ms);
        // What came while the command drained is part of the answer.
        take(p);
    };

    for (const std::unique_ptr<Port> &port : ports) {
        Port &p = *port;
        if (p.stage == Port::Stage::Over)
            continue;
        ++active;
        // Coarse timers may fire 5 % early or late: an answer would be cut
        // short, or the exchange held longer than it needs.
        for (QTimer *timer : {&p.drain, &p.quiet, &p.ceiling}) {
            timer->setTimerType(Qt::PreciseTimer);
            timer->setSingleShot(true);
        }
        p.quiet.setInterval(silenceMs);
        QObject::connect(&p.serial, &QSerialPort::bytesWritten, &context,
                         [&drained, &p] { drained(p); });
        QObject::connect(&p.serial, &QSerialPort::readyRead, &context, [&take, &p] { take(p); });
        QObject::connect(&p.drain, &QTimer::timeout, &context, [&finish, &p] {
            p.outcome.sent = Sent::NotDrained;
            finish(p);
        });
        QObject::connect(&p.quiet, &QTimer::timeout, &context, [&finish, &context, &p] {
            // Bytes that came while the loop was busy elsewhere (another
            // port, a repaint, a loaded machine) mean the line was not quiet.
            // Their notice is handled before a timer started now comes due:
            // reading them starts the wait again, else the answer is over.
            // No blocking call asks the port: each system's serial code
            // counts "new" bytes its own way.
            QTimer::singleShot(1, Qt::PreciseTimer, &context, [&finish, &p] {
                if (!p.quiet.isActive())
                    finish(p);
            });
        });
        QObject::connect(&p.ceiling, &QTimer::timeout, &context, [&finish, &p] {
            p.outcome.cutOff = true;
            finish(p);
        });
        // A port that fails (unplugged) before its bytes have left has not
        // sent them; one that fails while answering ends the answer with what
        // it had sent.
        QObject::connect(&p.serial, &QSerialPort::errorOccurred, &context,
                         [&finish, &p](QSerialPort::SerialPortError error) {
                             if (error != QSerialPort::ReadError &&
                                 error != QSerialPort::WriteError &&
                                 error != QSerialPort::ResourceError)
                                 return;
                             if (p.stage == Port::Stage::Draining)
                                 p.outcome.sent = Sent::NotDrained;
                             else
                                 p.outcome.failed = true;
                             finish(p);
                         });
        p.drain.start(p.request.drainMs);
        drained(p); // in case a port wrote its bytes at once
    }

    while (active > 0) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        // Once the application has been asked to quit, exec() returns at
        // once: the exchanges are still taken to their end.
        if (active > 0)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                            QEventLoop::WaitForMoreEvents);
    }

    for (const std::unique_ptr<Port> &port : ports)
        if (port->serial.isOpen())
            port->serial.close();
}

std::optional<QString> replyText(const Outcome &read)
{
    if (read.sent != Sent::Done || read.cutOff || read.failed || read.answer.size() <= 2)
        return std::nullopt;
    return textBeforeNul(read.answer);
}

std::optional<QString> checkedConfiguration(const Outcome &read)
{
    const std::optional<QString> text = replyText(read);
    if (!text)
        return std::nullopt;
    const QString checked = records::checkedReply(*text);
    if (checked == QLatin1String(records::rejectedReply))
        return std::nullopt;
    return checked;
}

QString textBeforeNul(const QByteArray &bytes)
{
    const int nul = bytes.indexOf('\0');
    return QString::fromUtf8(nul < 0 ? bytes : bytes.left(nul));
}

std::optional<QString> moduleNameFromIdentification(const QByteArray &answer)
{
    if (answer.size() <= 2)
        return std::nullopt;
    const QByteArray text = answer.left(answer.size() - 2);
    if (!text.startsWith(records::modulePrefix))
        return std::nullopt;
    return textBeforeNul(text);
}

} // namespace exchange

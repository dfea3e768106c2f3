#include "cli/provision.h"

#include "cli/interrupt.h"
#include "cli/record.h"
#include "cli/steps.h"
#include "cli/texts.h"
#include "cli/watch.h"
#include "cli/writing.h"
#include "link/ports.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <memory>

namespace cli
{

const QCommandLineOption watchPortOption(
    {"p", "port"},
    "Watch only PORT, a name such as ttyUSB0 or a path; give it again to watch several.", "PORT");
const QCommandLineOption logOption({"l", "log"},
                                   "Append a row for each module handled to the CSV file FILE, "
                                   "with a header when it is new.",
                                   "FILE");
const QCommandLineOption countOption({"c", "count"}, "Stop once N modules have been handled.", "N");

namespace
{

// Runs `work` on a thread of its own, and then `then` on this thread, from
// its event loop. Each exchange waits in an event loop of its own thread, so
// that modules plugged in at different times are handled side by side, each
// at its own pace, while this thread goes on watching the ports.
void onThread(QObject &context, std::function<void()> work, std::function<void()> then)
{
    QThread *thread = QThread::create(std::move(work));
    QObject::connect(thread, &QThread::finished, &context, [thread, then] {
        thread->wait();
        delete thread;
        then();
    });
    thread->start();
}

// What write does to a module, on the module's own thread; the module is
// done before the thread ends, Ctrl+C or not.
Target written(const probe::Module &module, const profile::Values &values)
{
    finishDespiteInterrupts();
    QVector<Target> targets = targetsOf({module}, QStringLiteral("the profile"));
    writeProfile(targets, values, false);
    return targets.first();
}

int usageError(const Invocation &call, const QString &message)
{
    print(call.err, QStringLiteral("%1: %2").arg(program, message));
    print(call.err, QStringLiteral("Try '%1 provision --help'.").arg(program));
    return UsageError;
}

} // namespace

int provision(const Invocation &call)
{
    int count = 0; // no end but Ctrl+C
    if (given(call.parser, countOption)) {
        bool whole = false;
        count = call.parser.value(countOption).toInt(&whole);
        if (!whole || count < 1)
            return usageError(call, QStringLiteral("--count needs a number of modules, 1 or more"));
    }
    const QStringList only = call.parser.values(watchPortOption);

    // Nothing is touched before the profile has passed every check and the
    // record has taken its header.
    const std::optional<Profile> profile = loadProfile(call);
    if (!profile)
        return UsageError;
    Record record;
    const bool recording = given(call.parser, logOption);
    const QString logName = call.parser.value(logOption);
    if (recording && !record.open(logName)) {
        print(call.err,
              QStringLiteral("%1: cannot write %2: %3").arg(program, logName, record.error()));
        return UsageError;
    }
    const QString profileName = profile->fileName == QLatin1String("<stdin>")
                                    ? profile->fileName
                                    : QFileInfo(profile->fileName).absoluteFilePath();
    const QString profileSha256 = QString::fromLatin1(
        QCryptographicHash::hash(profile->text, QCryptographicHash::Sha256).toHex());

    print(call.err, QStringLiteral("%1: watching %2 for modules; Ctrl+C to stop")
                        .arg(program, only.isEmpty() ? QStringLiteral("the serial ports")
                                                     : only.join(QStringLiteral(", "))));

    QEventLoop loop;
    QObject context; // every thread's ending is handled while it lives
    QElapsedTimer clock;
    clock.start();
    PortWatch watch(only);
    ports::Poll listed(PortWatch::listAgainMs);
    QStringList handling; // the ports whose module is being handled
    int handled = 0, held = 0, notHeld = 0, failed = 0, worst = Done;
    bool stopping = false;

    const auto endWhenIdle = [&] {
        if (stopping && watch.busy() == 0)
            loop.quit();
    };
    const auto fared = [&](const Target &target) {
        ++handled;
        worst = std::max(worst, target.status);
        (target.status == Done ? held : target.status == NotHeld ? notHeld : failed)++;
        // As write tells one of several modules, after the time and with the
        // module's name; every module on standard output, in the order done.
        const QDateTime now = QDateTime::currentDateTime();
        tell(target,
             QStringLiteral("%1 %2 %3: ")
                 .arg(now.toString(QStringLiteral("HH:mm:ss")), target.module.port,
                      target.module.name),
             call.out, call.out);
        if (recording &&
            !record.append({now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODate),
                            target.module.port, target.module.name, profileName, profileSha256,
                            target.outcome, target.details})) {
            print(call.err, QStringLiteral("%1: cannot write %2: %3; stopping")
                                .arg(program, logName, record.error()));
            worst = std::max(worst, int(OutputLost));
            stopping = true;
        }
        if (count > 0 && handled >= count)
            stopping = true;
    };
    // A module found on a port: handled unless it was already, or the
    // command is ending.
    const auto found = [&](const PortWatch::Ask &ask, const Discovery &seen) {
        if (!ask.again) {
            for (const QString &line : unasked(seen))
                print(call.err, QStringLiteral("%1: cannot ask %2").arg(program, line));
            if (seen.refusedForPermission)
                print(call.err, QStringLiteral("%1: %2").arg(program, permissionAdvice()));
        }
        const QVector<probe::Module> &modules = seen.modules;
        const bool full = count > 0 && handled + handling.size() >= count;
        if (modules.isEmpty() || ask.handled || stopping || full || !watch.stayed(ask.port)) {
            watch.done(ask.port, ask.handled && !modules.isEmpty(), clock.elapsed());
            return endWhenIdle();
        }
        handling.append(ask.port);
        auto target = std::make_shared<Target>();
        onThread(
            context,
            [target, module = modules.first(), values = profile->values] {
                *target = written(module, values);
            },
            [&, target, port = ask.port] {
                handling.removeOne(port);
                fared(*target);
                watch.done(port, true, clock.elapsed());
                endWhenIdle();
            });
    };
    const auto look = [&] {
        if (!stopping && interruptSignal()) {
            stopping = true;
            if (!handling.isEmpty())
                print(call.err, QStringLiteral("%1: stopping once the module%2 on %3 %4 done")
                                    .arg(program, handling.size() > 1 ? "s" : "",
                                         handling.join(QStringLiteral(", ")),
                                         handling.size() > 1 ? "are" : "is"));
        }
        if (stopping)
            return endWhenIdle();
        if (count > 0 && handled + handling.size() >= count)
            return;
        for (const PortWatch::Ask &ask : watch.look(listed.listed(), clock.elapsed())) {
            // Asked as find asks. The round, and its port, end on the
            // thread they belong to.
            auto seen = std::make_shared<Discovery>();
            onThread(
                context, [seen, port = ask.port] { *seen = discover({port}); },
                [&, seen, ask] { found(ask, *seen); });
        }
    };

    // Sleeps between looks: the timer wakes the thread, nothing spins.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &context, look);
    poll.start(PortWatch::pollMs);
    look();
    loop.exec();

    print(call.out, QStringLiteral("%1 module%2 handled: %3 hold%4 the profile, %5 did not hold "
                                   "the write, %6 failed")
                        .arg(handled)
                        .arg(handled == 1 ? "" : "s")
                        .arg(held)
                        .arg(held == 1 ? "s" : "")
                        .arg(notHeld)
                        .arg(failed));
    return worst;
}

} // namespace cli

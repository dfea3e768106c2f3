#include "cli/steps.h"

#include "cli/interrupt.h"
#include "cli/texts.h"
#include "link/ports.h"
#include "link/profile.h"
#include "link/records.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace cli
{
namespace
{

// Set on a thread whose steps go on after an interruption.
thread_local bool finishing = false;

// Whether no further step begins.
bool stopped()
{
    return !finishing && interruptSignal();
}

// Runs one request on each module still in good standing, all at once. A
// round begun runs to its end (a few seconds at most); none begins after an
// interruption.
void exchangeWithAll(QVector<Target> &targets,
                     const std::function<exchange::Request(const Target &)> &request,
                     const std::function<void(Target &, const exchange::Outcome &)> &take)
{
    const QVector<Target *> going = inGoodStanding(targets);
    if (going.isEmpty() || stopped())
        return;
    QVector<exchange::Request> requests;
    for (const Target *target : going)
        requests.append(request(*target));
    exchange::Round round(requests);
    round.run();
    for (int i = 0; i < going.size(); ++i)
        take(*going[i], round.outcome(i));
}

} // namespace

Discovery discover(const QStringList &portNames)
{
    QVector<exchange::Request> requests;
    for (const QString &name : portNames)
        requests.append(exchange::identifyRequest(name));
    exchange::Round round(requests);
    round.run();
    Discovery found;
    for (int i = 0; i < round.size(); ++i) {
        const exchange::Outcome &outcome = round.outcome(i);
        const QString &port = portNames.at(i);
        const std::optional<QString> name = exchange::moduleNameFromIdentification(outcome.answer);
        if (outcome.sent == exchange::Sent::Done && !outcome.cutOff && name) {
            found.modules.append({*name, port});
            continue;
        }
        found.refusedForPermission |= refusedForPermission(port, outcome);
        const bool asked =
            outcome.sent == exchange::Sent::Done && !outcome.failed && !outcome.cutOff;
        found.others.append({port, notModule(port, outcome), asked});
    }
    return found;
}

QStringList unasked(const Discovery &found)
{
    QStringList lines;
    for (const Miss &miss : found.others)
        if (!miss.asked)
            lines.append(miss.line());
    return lines;
}

QVector<Target> targetsOf(const QVector<probe::Module> &modules, const QString &sending)
{
    QVector<Target> targets;
    for (const probe::Module &module : modules) {
        targets.append(Target());
        targets.last().module = module;
        targets.last().sending = sending;
    }
    return targets;
}

QVector<Target *> inGoodStanding(QVector<Target> &targets)
{
    QVector<Target *> going;
    for (Target &target : targets)
        if (target.status == Done && target.outcome.isEmpty())
            going.append(&target);
    return going;
}

void readSettings(QVector<Target> &targets, QStringList Target::*into, int status,
                  const QString &failure)
{
    exchangeWithAll(
        targets, [](const Target &t) { return exchange::readRequest(t.module.port); },
        [&](Target &t, const exchange::Outcome &outcome) {
            QString reason;
            if (outcome.sent != exchange::Sent::Done) {
                reason = sendFailure(outcome);
            } else if (const std::optional<QString> checked =
                           exchange::checkedConfiguration(outcome)) {
                const QStringList values = records::replyValues(*checked, t.module.name.length());
                if (values.size() == records::settingCount) {
                    t.*into = records::inWriteOrder(values);
                    t.checked = t.sent;
                    return;
                }
                reason = QStringLiteral("its reply holds %1 settings, not %2")
                             .arg(values.size())
                             .arg(records::settingCount);
            } else {
                reason = answerFailure(outcome);
            }
            t.status = status;
            t.outcome = failure + reason;
        });
}

void sendToAll(QVector<Target> &targets,
               const std::function<exchange::Request(const Target &)> &command)
{
    exchangeWithAll(targets, command, [](Target &t, const exchange::Outcome &outcome) {
        t.sent = outcome.sent == exchange::Sent::Done;
        if (t.sent)
            return;
        t.status = PortError;
        t.outcome = QStringLiteral("could not send %1: %2").arg(t.sending, sendFailure(outcome));
    });
}

void settle(QVector<Target> &targets)
{
    if (inGoodStanding(targets).isEmpty() || stopped())
        return;
    QEventLoop loop;
    QTimer::singleShot(exchange::settleMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    QTimer watch; // an interruption ends the wait
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        if (stopped())
            loop.quit();
    });
    watch.start(20);
    loop.exec();
}

void findAgain(QVector<Target> &targets, const QString &done, int status)
{
    const QVector<Target *> going = inGoodStanding(targets);
    if (going.isEmpty() || stopped())
        return;
    QStringList portNames;
    for (const Target *target : going)
        portNames.append(target->module.port);
    for (const QString &port : ports::listed())
        if (!portNames.contains(port))
            portNames.append(port);
    QVector<probe::Module> back = discover(portNames).modules;
    // Its own port first, as discovery lists the ports in that order.
    for (Target *target : going) {
        const auto again = std::find_if(back.begin(), back.end(), [&](const probe::Module &module) {
            return module.name == target->module.name;
        });
        if (again == back.end()) {
            target->status = status;
            target->outcome =
                done +
                QStringLiteral(", but no module named %1 answered again").arg(target->module.name);
            continue;
        }
        if (again->port != target->module.port)
            target->details.append(QStringLiteral("found again on %1").arg(again->port));
        target->module.port = again->port;
        back.erase(again);
    }
}

QString shown(int position, const QString &wire)
{
    if (const std::optional<QString> text = profile::valueText(position, wire))
        return *text;
    return QStringLiteral("%1 (held by the module, not a profile's value)").arg(wire);
}

void describeChanges(Target &target, const QStringList &from, const QStringList &to,
                     const QString &verb)
{
    int count = 0;
    for (int i = 0; i < records::settingCount; ++i) {
        if (from.at(i) == to.at(i))
            continue;
        ++count;
        target.details.append(QStringLiteral("%1: %2 -> %3")
                                  .arg(profile::key(i), shown(i, from.at(i)), shown(i, to.at(i))));
    }
    target.outcome +=
        count == 0
            ? QStringLiteral("no setting %1").arg(verb)
            : QStringLiteral("%1 %2 %3").arg(count).arg(count == 1 ? "setting" : "settings", verb);
}

void finishDespiteInterrupts()
{
    finishing = true;
}

int tell(const Target &target, const QString &lead, QIODevice &out, QIODevice &err)
{
    QString outcome = target.outcome;
    int status = target.status;
    if (status == Done && outcome.isEmpty() && interruptSignal()) {
        status = 128 + interruptSignal();
        outcome =
            !target.sent ? QStringLiteral("interrupted before %1 was sent: the module "
                                          "is as it was")
                               .arg(target.sending)
            : !target.checked
                ? QStringLiteral("interrupted after %1 was sent, before "
                                 "the module was read back to check it")
                      .arg(target.sending)
                : QStringLiteral("interrupted after %1 was sent and checked").arg(target.sending);
    }
    QIODevice &stream = status == Done ? out : err;
    QString line = lead + outcome;
    if (&stream != &out)
        line = QStringLiteral("%1: %2").arg(program, line);
    print(stream, target.details.isEmpty() ? line : line + QLatin1Char(':'));
    for (const QString &detail : target.details)
        print(stream, QStringLiteral("  ") + detail);
    return status;
}

int report(const QVector<Target> &targets, bool withPort, QIODevice &out, QIODevice &err)
{
    int worst = Done;
    for (const Target &target : targets)
        worst = std::max(
            worst, tell(target, withPort ? target.module.port + QStringLiteral(": ") : QString(),
                        out, err));
    const int signal = interruptSignal();
    return signal ? std::max(worst, 128 + signal) : worst;
}

} // namespace cli

#include "cli/steps.h"

#include "cli/texts.h"
#include "link/profile.h"
#include "link/records.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace cli
{
namespace
{

// Runs one request on each module still in good standing, all at once.
void exchangeWithAll(QVector<Target> &targets,
                     const std::function<exchange::Request(const Target &)> &request,
                     const std::function<void(Target &, const exchange::Outcome &)> &take)
{
    const QVector<Target *> going = inGoodStanding(targets);
    if (going.isEmpty())
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

QVector<probe::Module> discover(const QStringList &portNames, QIODevice &err)
{
    probe::Round round(portNames);
    for (const probe::Refusal &refusal : round.refusals())
        print(err, QStringLiteral("%1: cannot write to %2: %3")
                       .arg(program, refusal.port, portReason(refusal.error)));
    round.collect();
    return round.modules();
}

QVector<Target> targetsOf(const QVector<probe::Module> &modules)
{
    QVector<Target> targets;
    for (const probe::Module &module : modules)
        targets.append(Target{module, Done, {}, {}, {}, {}, {}});
    return targets;
}

QVector<Target *> inGoodStanding(QVector<Target> &targets)
{
    QVector<Target *> going;
    for (Target &target : targets)
        if (target.status == Done)
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
                    return;
                }
                reason = QStringLiteral("its reply holds %1 settings, not %2")
                             .arg(values.size())
                             .arg(records::settingCount);
            } else if (outcome.failed) {
                reason = QStringLiteral("the port failed while the module answered");
            } else if (outcome.cutOff) {
                reason = QStringLiteral("its answer went on too long");
            } else if (outcome.answer.isEmpty()) {
                reason = QStringLiteral("it did not answer");
            } else {
                reason = QStringLiteral("its reply failed the check");
            }
            t.status = status;
            t.outcome = failure + reason;
        });
}

void sendToAll(QVector<Target> &targets,
               const std::function<exchange::Request(const Target &)> &command)
{
    exchangeWithAll(targets, command, [](Target &t, const exchange::Outcome &outcome) {
        if (outcome.sent == exchange::Sent::Done)
            return;
        t.status = PortError;
        t.outcome = QStringLiteral("could not write to it: ") + sendFailure(outcome);
    });
}

void settle(QVector<Target> &targets)
{
    if (inGoodStanding(targets).isEmpty())
        return;
    QEventLoop loop;
    QTimer::singleShot(exchange::settleMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void describeChanges(Target &target, const QStringList &from, const QStringList &to,
                     const QString &verb)
{
    QStringList keys;
    for (int i = 0; i < records::settingCount; ++i) {
        if (from.at(i) == to.at(i))
            continue;
        keys.append(profile::key(i));
        target.details.append(
            QStringLiteral("%1: %2 -> %3").arg(profile::key(i), from.at(i), to.at(i)));
    }
    target.outcome += keys.isEmpty() ? QStringLiteral("no setting %1").arg(verb)
                                     : QStringLiteral("%1 %2 %3: %4")
                                           .arg(keys.size())
                                           .arg(keys.size() == 1 ? "setting" : "settings")
                                           .arg(verb, keys.join(QStringLiteral(", ")));
}

void checkWritten(Target &target)
{
    QStringList differing;
    for (int i = 0; i < records::settingCount; ++i)
        if (target.after.at(i) != target.wanted.at(i))
            differing.append(QStringLiteral("%1 (written %2, holds %3)")
                                 .arg(profile::key(i), target.wanted.at(i), target.after.at(i)));
    if (!differing.isEmpty()) {
        target.status = NotHeld;
        target.outcome = QStringLiteral("written, but the module does not hold: ");
        target.outcome += differing.join(QStringLiteral(", ")) + QStringLiteral("; ");
    } else {
        target.outcome = QStringLiteral("written; ");
    }
    describeChanges(target, target.before, target.after, QStringLiteral("changed"));
}

int report(const QVector<Target> &targets, bool all, QIODevice &out, QIODevice &err)
{
    int worst = Done;
    for (const Target &target : targets) {
        worst = std::max(worst, target.status);
        if (all) {
            print(out, target.module.port + QStringLiteral(": ") + target.outcome);
            continue;
        }
        for (const QString &line : target.details)
            print(out, line);
        if (target.status != Done)
            print(err,
                  QStringLiteral("%1: %2: %3").arg(program, target.module.port, target.outcome));
    }
    return worst;
}

} // namespace cli

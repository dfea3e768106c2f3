#include "probe.h"

namespace probe
{

namespace
{

QVector<exchange::Request> identifyRequests(const QStringList &portNames)
{
    QVector<exchange::Request> requests;
    for (const QString &name : portNames)
        requests.append(exchange::identifyRequest(name));
    return requests;
}

} // namespace

Round::Round(const QStringList &portNames) : names(portNames), round(identifyRequests(portNames))
{
    for (int index : round.refused())
        refused.append({names.at(index), round.outcome(index).error, round.outcome(index).reason});
}

void Round::collect()
{
    round.run();
}

QVector<Module> Round::modules() const
{
    QVector<Module> found;
    for (int i = 0; i < round.size(); ++i) {
        const exchange::Outcome &outcome = round.outcome(i);
        if (outcome.sent != exchange::Sent::Done || outcome.cutOff)
            continue;
        if (const std::optional<QString> name =
                exchange::moduleNameFromIdentification(outcome.answer))
            found.append({*name, names.at(i)});
    }
    return found;
}

std::optional<Module> Round::lastModule() const
{
    const QVector<Module> found = modules();
    if (found.isEmpty())
        return std::nullopt;
    return found.last();
}

} // namespace probe

#include "cli/watch.h"

namespace cli
{
namespace
{

// "/dev/ttyUSB0" and "ttyUSB0" name the same port.
QString bare(const QString &port)
{
    return port.startsWith(QLatin1String("/dev/")) ? port.mid(5) : port;
}

} // namespace

PortWatch::PortWatch(const QStringList &only)
{
    for (const QString &port : only)
        this->only.append(bare(port));
}

QVector<PortWatch::Ask> PortWatch::look(const QStringList &listed, qint64 nowMs)
{
    QStringList watched;
    for (const QString &port : listed)
        if (only.isEmpty() || only.contains(bare(port)))
            watched.append(port);
    for (auto state = ports.begin(); state != ports.end();) {
        if (watched.contains(state.key())) {
            ++state;
        } else if (state->busy) {
            state->left = true;
            ++state;
        } else {
            state = ports.erase(state);
        }
    }
    QVector<Ask> due;
    for (const QString &port : watched) {
        State &state = ports[port]; // a new port is due at once
        if (state.busy || nowMs < state.askAt)
            continue;
        state.busy = true;
        state.left = false;
        due.append({port, state.askAt != 0, state.handled});
    }
    return due;
}

bool PortWatch::stayed(const QString &port) const
{
    const auto state = ports.constFind(port);
    return state != ports.constEnd() && !state->left;
}

void PortWatch::done(const QString &port, bool handled, qint64 nowMs)
{
    const auto state = ports.find(port);
    if (state == ports.end())
        return;
    if (state->left) {
        ports.erase(state); // if it is back, it is asked as a new one
        return;
    }
    state->busy = false;
    state->handled = handled;
    state->askAt = nowMs + askAgainMs;
}

int PortWatch::busy() const
{
    int count = 0;
    for (const State &state : ports)
        count += state.busy;
    return count;
}

} // namespace cli

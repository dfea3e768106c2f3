#include "cli/writing.h"

#include "cli/texts.h"
#include "link/records.h"

#include <QFile>

#include <algorithm>

namespace cli
{
namespace
{

// profile::read refuses more than 1 MiB; reading one byte more lets it say
// so without this program reading a file or a pipe without end.
constexpr qint64 profileReadLimit = 1024 * 1024 + 1;

// Reads a whole profile, up to the limit. False, after saying why, on a read error.
bool readWhole(QIODevice &source, const QString &name, QByteArray &text, QIODevice &err)
{
    char piece[16384];
    while (text.size() < profileReadLimit) {
        const qint64 got =
            source.read(piece, std::min<qint64>(sizeof piece, profileReadLimit - text.size()));
        if (got < 0) {
            print(
                err,
                QStringLiteral("%1: cannot read %2: %3").arg(program, name, source.errorString()));
            return false;
        }
        if (got == 0)
            break;
        text.append(piece, int(got));
    }
    return true;
}

// After the read that follows the frame: each setting the module does not
// hold is named (then NotHeld), and what changed.
void checkWritten(Target &target)
{
    QStringList held;
    for (int i = 0; i < records::settingCount; ++i)
        if (target.after.at(i) != target.wanted.at(i))
            held.append(QStringLiteral("%1: sent %2, holds %3")
                            .arg(profile::key(i), shown(i, target.wanted.at(i)),
                                 shown(i, target.after.at(i))));
    if (!held.isEmpty()) {
        target.status = NotHeld;
        target.outcome = QStringLiteral("written, but the module does not hold %1 of the "
                                        "settings sent; ")
                             .arg(held.size());
        target.details = held;
    } else {
        target.outcome = QStringLiteral("written and checked; ");
    }
    describeChanges(target, target.before, target.after, QStringLiteral("changed"));
}

} // namespace

std::optional<Profile> loadProfile(const Invocation &call)
{
    const QString fileName = call.parser.positionalArguments().value(0);
    const bool fromStdin = fileName == QLatin1String("-");
    Profile loaded{fromStdin ? QStringLiteral("<stdin>") : fileName, {}, {}};
    QFile file(fileName);
    if (!fromStdin && !file.open(QIODevice::ReadOnly)) {
        print(call.err,
              QStringLiteral("%1: cannot read %2: %3").arg(program, fileName, file.errorString()));
        return std::nullopt;
    }
    if (!readWhole(fromStdin ? call.in : file, loaded.fileName, loaded.text, call.err))
        return std::nullopt;
    const profile::Reading reading = profile::read(loaded.text);
    for (const profile::Problem &problem : reading.problems)
        print(call.err, profile::describe(problem, loaded.fileName));
    if (!reading.problems.isEmpty())
        return std::nullopt;
    loaded.values = reading.values;
    return loaded;
}

void writeProfile(QVector<Target> &targets, const profile::Values &values, bool dryRun)
{
    readSettings(targets, &Target::before, PortError,
                 QStringLiteral("could not read its settings: "));
    for (Target *target : inGoodStanding(targets)) {
        if (target->before.isEmpty())
            continue; // interrupted before its read
        target->wanted = target->before;
        for (const auto &[position, value] : values)
            target->wanted[position] = value;
        if (dryRun) {
            target->outcome = QStringLiteral("dry run, nothing sent; ");
            describeChanges(*target, target->before, target->wanted,
                            QStringLiteral("would change"));
        }
    }
    sendToAll(targets, [](const Target &t) {
        return exchange::configureRequest(
            t.module.port,
            records::configurationFrame(records::configurationString(t.module.name, t.wanted)));
    });
    settle(targets);
    readSettings(targets, &Target::after, NotHeld,
                 QStringLiteral("written, but could not be read back: "));
    for (Target *target : inGoodStanding(targets))
        if (target->checked) // else interrupted before its read
            checkWritten(*target);
}

} // namespace cli

#include "cli/record.h"

#include <cerrno>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace cli
{
namespace
{

QString field(QString text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    text.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

bool Record::open(const QString &fileName)
{
    file.setFileName(fileName);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append)) {
        reason = file.errorString();
        return false;
    }
    if (file.size() == 0)
        return writeLine(
            {"time", "port", "module", "profile", "profile_sha256", "outcome", "changes"});
    // A row that a crash cut short is ended, so that the next one starts on
    // a line of its own.
    char last = 0;
    if (!file.seek(file.size() - 1) || !file.getChar(&last)) {
        reason = file.errorString();
        return false;
    }
    return last == '\n' || writeBytes("\r\n");
}

bool Record::append(const Row &row)
{
    return writeLine({row.time, row.port, row.module, row.profile, row.profileSha256, row.outcome,
                      row.changes.join(QStringLiteral("; "))});
}

bool Record::writeLine(const QStringList &fields)
{
    QStringList quoted;
    for (const QString &text : fields)
        quoted.append(field(text));
    return writeBytes(quoted.join(QLatin1Char(',')).toUtf8() + "\r\n");
}

bool Record::writeBytes(const QByteArray &bytes)
{
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        reason = file.errorString();
        return false;
    }
#ifdef Q_OS_WIN
    const bool synced = ::_commit(file.handle()) == 0;
#else
    const bool synced = ::fsync(file.handle()) == 0;
#endif
    // A pipe or a terminal has no disk to go to.
    if (synced || errno == EINVAL)
        return true;
    reason = qt_error_string(errno);
    return false;
}

} // namespace cli

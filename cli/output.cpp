#include "cli/output.h"

#include "cli/texts.h"

#include <QFileInfo>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cli
{
namespace
{

#ifdef Q_OS_WIN
// The device a name stands for, such as \\.\NUL for "NUL" or "nul.txt": the
// devices every folder holds (NUL, CON, COM1, LPT1...), with any extension.
// Qt would open such a name as a file of that name in the current folder.
// Empty for any other name.
QString windowsDevice(const QString &name)
{
    static const QRegularExpression device(
        QStringLiteral("^(nul|con|prn|aux|com[1-9]|lpt[1-9])(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = device.match(QFileInfo(name).fileName());
    return match.hasMatch() ? QStringLiteral("\\\\.\\") + match.captured(1).toUpper() : QString();
}
#endif

// The file to replace for a name, or empty when the name is to be written
// in place. A symbolic link is followed to its end, even to a file that does
// not exist yet; a link the system makes up (/dev/stdout to a pipe) is
// opened as it is.
QString toReplace(const QString &name)
{
#ifdef Q_OS_WIN
    if (!windowsDevice(name).isEmpty())
        return {};
#endif
    // Followed link by link: one through /proc (/dev/stdout, /dev/fd/1) is
    // the descriptor the shell opened, written in place whatever it leads to.
    QString path = name;
    for (int hops = 0; hops < 40 && QFileInfo(path).isSymLink(); ++hops) {
        path = QFileInfo(path).symLinkTarget();
        if (path.startsWith(QLatin1String("/proc/")))
            return {};
    }
    const QFileInfo info(path);
    return !info.exists() || info.isFile() ? path : QString();
}

QString failure(const QString &name, const QString &reason)
{
    return QStringLiteral("%1: cannot write %2: %3").arg(program, name, reason);
}

} // namespace

OutputFile::OutputFile(const QString &name) : name(name)
{
    const QString path = toReplace(name);
    replacing = !path.isEmpty();
    replaced.setFileName(path);
    inPlace.setFileName(name);
#ifdef Q_OS_WIN
    if (const QString device = windowsDevice(name); !device.isEmpty())
        inPlace.setFileName(device);
#endif
}

QString OutputFile::open()
{
    if (!replacing) {
        // Appended to: a device or a pipe does not care, and a file the
        // shell opened through /dev/stdout keeps what came before (>>).
        if (!inPlace.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            return failure(name, inPlace.errorString());
        return {};
    }
    const QFileInfo old(replaced.fileName());
    if (!replaced.open(QIODevice::WriteOnly))
        return failure(name, replaced.errorString());
#ifdef Q_OS_UNIX
    // The new file takes the old one's place: its mode, and its owner when
    // this user may give it (root may; others keep their own).
    struct stat was {
    };
    if (old.exists() && ::stat(QFile::encodeName(old.filePath()).constData(), &was) == 0) {
        if (::fchown(replaced.handle(), was.st_uid, was.st_gid) != 0)
            (void)!::fchown(replaced.handle(), uid_t(-1), was.st_gid);
        (void)!::fchmod(replaced.handle(), was.st_mode & 07777);
    }
#else
    Q_UNUSED(old)
#endif
    return {};
}

QString OutputFile::finish(const QByteArray &bytes)
{
    QFileDevice &file = replacing ? static_cast<QFileDevice &>(replaced) : inPlace;
    if (file.write(bytes) != bytes.size() || !file.flush())
        return failure(name, file.errorString());
    if (replacing) {
        if (!replaced.commit())
            return failure(name, replaced.errorString());
        return {};
    }
    inPlace.close();
    if (inPlace.error() != QFileDevice::NoError)
        return failure(name, inPlace.errorString());
    return {};
}

CheckedOutput::CheckedOutput(QIODevice &target) : target(target)
{
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 CheckedOutput::writeData(const char *data, qint64 size)
{
    if (!failed.isEmpty())
        return -1;
    if (target.write(data, size) == size)
        return size;
    failed = target.errorString();
    return -1;
}

} // namespace cli

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

// The file a name stands for: a symbolic link's target, followed to its end
// even when that does not exist yet.
QString followed(const QString &name)
{
    QString path = name;
    for (int hops = 0; hops < 40 && QFileInfo(path).isSymLink(); ++hops)
        path = QFileInfo(path).symLinkTarget();
    return path;
}

// Whether the name is one to replace: a regular file, or nothing yet.
bool replaces(const QString &path)
{
#ifdef Q_OS_WIN
    // The devices every folder holds: NUL, CON, COM1, LPT1..., with any extension.
    static const QRegularExpression device(
        QStringLiteral("^(nul|con|prn|aux|com[1-9]|lpt[1-9])(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    if (device.match(QFileInfo(path).fileName()).hasMatch())
        return false;
#endif
    const QFileInfo info(path);
    return !info.exists() || info.isFile();
}

QString failure(const QString &name, const QString &reason)
{
    return QStringLiteral("%1: cannot write %2: %3").arg(program, name, reason);
}

} // namespace

OutputFile::OutputFile(const QString &name) : name(name)
{
    const QString path = followed(name);
    replacing = replaces(path);
    replaced.setFileName(path);
    inPlace.setFileName(path);
}

QString OutputFile::open()
{
    if (!replacing) {
        if (!inPlace.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return failure(name, inPlace.errorString());
        return {};
    }
    const QFileInfo old(replaced.fileName());
    if (!replaced.open(QIODevice::WriteOnly))
        return failure(name, replaced.errorString());
#ifdef Q_OS_UNIX
    // The new file takes the old one's place: its mode, and its owner when
    // this user may give it (root may; others keep their own).
    struct stat was {};
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

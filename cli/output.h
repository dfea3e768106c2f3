#ifndef VELDRIX_CLI_OUTPUT_H
#define VELDRIX_CLI_OUTPUT_H

#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QSaveFile>
#include <QString>

#include <memory>

// Where a command's result goes, and the proof that all of it got there.
namespace cli
{

// A file named on the command line. A regular file (or a new one) is
// replaced at once, only when the result is complete, keeping the old file's
// mode and, where the system allows, its owner; a symbolic link is followed
// and its target replaced. Anything else (a device, a pipe, /dev/stdout, NUL
// on Windows) is written in place, as the shell's `>` would.
class OutputFile
{
public:
    explicit OutputFile(const QString &name);

    // Opens the file before the module is asked, so that one that cannot be
    // written stops the command before anything goes out. Empty when it
    // opened; else what went wrong, naming the file.
    QString open();

    // Writes `bytes` whole and closes the file, flushing it: empty when
    // everything got there, else what went wrong, naming the file. An old
    // regular file is left as it was on failure, and when this is destroyed
    // unfinished.
    QString finish(const QByteArray &bytes);

private:
    QString name;
    QSaveFile replaced; // a regular file
    QFile inPlace;      // anything else
    bool replacing = true;
};

// Standard output as the commands see it: each write goes to `target`
// whole, and the first that does not is remembered.
class CheckedOutput : public QIODevice
{
public:
    explicit CheckedOutput(QIODevice &target);
    // Empty while every write went through; else the system's reason.
    QString failure() const { return failed; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    QIODevice &target;
    QString failed;
};

} // namespace cli

#endif

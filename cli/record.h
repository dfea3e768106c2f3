#ifndef VELDRIX_CLI_RECORD_H
#define VELDRIX_CLI_RECORD_H

#include <QFile>
#include <QString>
#include <QStringList>

// The record that provision keeps: a CSV file, one row per module handled,
// that a spreadsheet opens as it is (RFC 4180: fields quoted when they hold a
// comma, a quote or a line break, rows ended by CR LF, UTF-8).
namespace cli
{

struct Row {
    QString time; // ISO 8601, local time with its offset from UTC
    QString port, module, profile, profileSha256, outcome;
    QStringList changes; // "key: old -> new", joined by "; "
};

class Record
{
public:
    // Opens `fileName` to append to it, and writes the header when the file
    // is new or empty. False, with error() telling why, when it cannot.
    bool open(const QString &fileName);

    // Appends one row and hands it to the disk before returning, so that a
    // row once reported is not lost in a crash or a power cut. False, with
    // error() telling why, when it could not.
    bool append(const Row &row);

    QString error() const { return reason; }

private:
    bool writeLine(const QStringList &fields);
    bool writeBytes(const QByteArray &bytes);
    QFile file;
    QString reason;
};

} // namespace cli

#endif

#ifndef VELDRIX_PROFILE_H
#define VELDRIX_PROFILE_H

// A module's settings as a TOML profile that a user keeps, edits by hand and
// gives back: reading and checking one, writing one. The keys are English,
// one table per group of the form, one key per setting: records::settings
// and records::groups (link/records.h) list them all.
//
// Switches are booleans, numbers integers, the altitude reference a string.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <map>
#include <optional>

namespace profile
{

// Something wrong in a profile: where, which key, what value, what is allowed.
struct Problem {
    int line = 0, column = 0; // 1-based; 0 when the file as a whole is wrong
    QString key;              // dotted, e.g. "frames.position.period_ms"; empty for the whole file
    QString value;            // as written in the file (empty when none)
    QString message;          // what is wrong and what is allowed, English
};

// "FILE:LINE:COLUMN: KEY = VALUE: MESSAGE" (parts left out when empty), one line.
QString describe(const Problem &problem, const QString &fileName);

// What a profile sets: for each setting it names, the value as the module
// spells it on the wire ("1"/"0" for switches and the altitude reference,
// decimal text for numbers), by the setting's 0-based place in the write
// order (0..35).
using Values = std::map<int, QString>;
struct Reading {
    Values values;             // empty when there is any problem
    QVector<Problem> problems; // every problem found, in file order
};

// Reads and checks a whole profile (UTF-8 TOML, BOM and CRLF accepted, at most 1 MiB).
Reading read(const QByteArray &text);

// The profile of a module: a header comment (module name, port, time, program
// version), then every setting grouped like the form, each with a comment
// giving its caption in the window (when the caller gives one), what is
// allowed and its unit.
struct Header {
    QString moduleName, port, time, programVersion;
};
// A value of the module that a profile cannot hold (a period of "5" or "abc",
// a brightness of "47"), which the profile leaves out.
struct LeftOut {
    int position;   // 0-based place in the write order
    QString held;   // what the module holds, as it spells it
    QString reason; // why a profile cannot hold it, English
};
// "KEY: left out of the profile: the module holds "HELD", REASON; allowed: ...", one line.
QString describe(const LeftOut &leftOut);
struct Written {
    QByteArray text;          // UTF-8
    QVector<LeftOut> leftOut; // in the profile's order; empty when the profile is whole
};
// `captionsInWriteOrder` holds the window's caption of each setting, which
// the library does not know (the window speaks French); when it is short, a
// setting without one has none in its comment.
Written write(const QStringList &valuesInWriteOrder, const Header &header,
              const QStringList &captionsInWriteOrder = {});

// The dotted key of the setting at 0-based write position `position`, for
// messages ("key: old -> new").
QString key(int position);

// How the module's value `wire` of the setting at write position `position`
// is written in a profile ("true", "\"ellipsoid\"", "250"), for messages;
// nothing when a profile cannot hold it.
std::optional<QString> valueText(int position, const QString &wire);

} // namespace profile

#endif

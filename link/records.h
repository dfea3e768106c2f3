#ifndef VELDRIX_RECORDS_H
#define VELDRIX_RECORDS_H

// The two records that carry the module's 36 settings, the rules of each
// setting, and the check character that closes the records. Pure functions,
// no widgets: the window and the command line are the clients.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>

namespace records
{

// Every identification text and every configuration reply begins with it.
inline constexpr char modulePrefix[] = "VELDRIX_";
// What checkedReply() gives for a reply it rejects.
inline constexpr char rejectedReply[] = "NAN";

inline constexpr int settingCount = 36;

// How a setting is spelt on the wire.
enum class Kind {
    CanSpeed,   // the speed in kbit/s as decimal text: 125, 250, 500 or 1000
    Switch,     // "1" on, "0" off; any text but "0" is read as on
    Number,     // decimal text within its range; the window sends its field as typed
    Brightness, // percent as decimal text, 0 to 100 in steps of 5
    Altitude,   // "1" above the earth ellipsoid, "0" above mean sea level
};

// The inclusive bounds of a number, and its step.
struct Range {
    int lowest;
    int highest;
    int step = 1;
};
inline constexpr Range frameIdRange{10, 2045};   // identifier of one of the module's own frames
inline constexpr Range periodRange{10, 2500};    // period of any frame, ms
inline constexpr Range zoneOffsetRange{-12, 12}; // time zone offset, hours
inline constexpr Range firstIdRange{10, 2000};   // first identifier, MegaSquirt 3 and ECUmaster
inline constexpr Range idOffsetRange{10, 30};    // identifier offset, MegaSquirt 3
inline constexpr Range brightnessRange{0, 100, 5};
inline constexpr int canSpeeds[] = {125, 250, 500, 1000};

struct Setting {
    const char *key; // dotted key in a profile: table, then name
    Kind kind;
    int readPosition;   // 1-based place in the configuration reply
    const Range *range; // numbers and brightness; null otherwise
    const char *unit;   // "ms", "kbit/s", ...; empty when the number has none
};

// The one table of the 36 settings, listed in write order: the
// configuration string goes through it as listed, the reply by readPosition.
extern const std::array<Setting, settingCount> settings;

// The table's entries sorted by read position.
std::array<const Setting *, settingCount> settingsInReadOrder();

// 0x20 plus the sum of the bytes (unsigned) modulo 64: between ' ' and '_'.
char checkCharacter(const QByteArray &bytes);

// A reply frame less its framing: the text without its last three
// characters when the check character (third character from the end) matches
// the UTF-8 bytes before it and the text begins with modulePrefix; otherwise
// rejectedReply. Positions count characters; for the ASCII frames of the
// module that is the same as bytes.
QString checkedReply(const QString &data);

// "c" + moduleName, then " " + value for each of the 36 values (write order),
// then one closing blank. Every value goes out exactly as given.
QString configurationString(const QString &moduleName, const QStringList &valuesInWriteOrder);

// The bytes written to the module: the string as UTF-8, its check character
// and a line feed.
QByteArray configurationFrame(const QString &configuration);

// The values of a checked configuration reply, in read order: the leading
// text (as long as moduleName) and one separator are skipped by count, the
// rest is split at runs of white space. The caller checks the count.
QStringList replyValues(const QString &conf, int moduleNameLength);

// The 36 values of a reply, reordered to the write order; empty for any
// other count.
QStringList inWriteOrder(const QStringList &valuesInReadOrder);

// How the module spells a switch and how a received part is read.
inline QString switchText(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}
inline bool switchIsOn(const QString &part)
{
    return part != QLatin1String("0");
}

} // namespace records

#endif

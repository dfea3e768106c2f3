#ifndef VELDRIX_RECORDS_H
#define VELDRIX_RECORDS_H

// The two records that carry the module's 36 settings, the rules of each
// setting, and the check character that closes the records. Pure functions,
// no widgets: the window and the command line are the clients.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <iterator>

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
// Everything else that names a setting (the window's widgets, a profile's
// tables) is checked against it when the program is compiled.
// clang-format off
inline constexpr std::array<Setting, settingCount> settings = {{
    // key                                  kind              R   range             unit
    {"can.bus_speed_kbps",                  Kind::CanSpeed,    1, nullptr,          "kbit/s"},
    {"can.termination",                     Kind::Switch,      2, nullptr,          ""},
    {"time.daylight_saving",                Kind::Switch,      3, nullptr,          ""},
    {"time.zone_offset_hours",              Kind::Number,      4, &zoneOffsetRange, "hours"},
    {"frames.position.enabled",             Kind::Switch,      5, nullptr,          ""},
    {"frames.speed_altitude.enabled",       Kind::Switch,      8, nullptr,          ""},
    {"frames.precision.enabled",            Kind::Switch,     11, nullptr,          ""},
    {"frames.utc_time.enabled",             Kind::Switch,     14, nullptr,          ""},
    {"frames.local_time.enabled",           Kind::Switch,     17, nullptr,          ""},
    {"frames.hhmmss.enabled",               Kind::Switch,     20, nullptr,          ""},
    {"megasquirt3.position_enabled",        Kind::Switch,     23, nullptr,          ""},
    {"megasquirt3.time_enabled",            Kind::Switch,     24, nullptr,          ""},
    {"frames.position.period_ms",           Kind::Number,      6, &periodRange,     "ms"},
    {"frames.position.id",                  Kind::Number,      7, &frameIdRange,    ""},
    {"frames.speed_altitude.period_ms",     Kind::Number,      9, &periodRange,     "ms"},
    {"frames.speed_altitude.id",            Kind::Number,     10, &frameIdRange,    ""},
    {"frames.precision.period_ms",          Kind::Number,     12, &periodRange,     "ms"},
    {"frames.precision.id",                 Kind::Number,     13, &frameIdRange,    ""},
    {"frames.utc_time.period_ms",           Kind::Number,     15, &periodRange,     "ms"},
    {"frames.utc_time.id",                  Kind::Number,     16, &frameIdRange,    ""},
    {"frames.local_time.period_ms",         Kind::Number,     18, &periodRange,     "ms"},
    {"frames.local_time.id",                Kind::Number,     19, &frameIdRange,    ""},
    {"frames.hhmmss.period_ms",             Kind::Number,     21, &periodRange,     "ms"},
    {"frames.hhmmss.id",                    Kind::Number,     22, &frameIdRange,    ""},
    {"megasquirt3.position_period_ms",      Kind::Number,     25, &periodRange,     "ms"},
    {"megasquirt3.time_period_ms",          Kind::Number,     26, &periodRange,     "ms"},
    {"megasquirt3.first_id",                Kind::Number,     27, &firstIdRange,    ""},
    {"megasquirt3.id_offset",               Kind::Number,     28, &idOffsetRange,   ""},
    {"led.enabled",                         Kind::Switch,     29, nullptr,          ""},
    {"led.brightness_percent",              Kind::Brightness, 30, &brightnessRange, "%"},
    {"altitude.reference",                  Kind::Altitude,   31, nullptr,          ""},
    {"ecumaster.position_enabled",          Kind::Switch,     32, nullptr,          ""},
    {"ecumaster.time_enabled",              Kind::Switch,     33, nullptr,          ""},
    {"ecumaster.position_period_ms",        Kind::Number,     34, &periodRange,     "ms"},
    {"ecumaster.time_period_ms",            Kind::Number,     35, &periodRange,     "ms"},
    {"ecumaster.first_id",                  Kind::Number,     36, &firstIdRange,    ""},
}};
// clang-format on

// The tables of a profile: the part of a key before its last dot, each with
// the form's caption of that group (English), written above the table. A
// table's settings follow one another in read order.
struct Group {
    const char *table;
    const char *title;
};
inline constexpr Group groups[] = {
    {"can", "CAN settings"},
    {"time", "Time zone settings"},
    {"frames.position", "CAN VELDRIX (own format): Longitude/Latitude frame"},
    {"frames.speed_altitude", "CAN VELDRIX (own format): Speed/Altitude frame"},
    {"frames.precision", "CAN VELDRIX (own format): GPS precision/satellite info frame"},
    {"frames.utc_time", "CAN VELDRIX (own format): Date/Time frame (UTC)"},
    {"frames.local_time", "CAN VELDRIX (own format): Date/Time frame (local time)"},
    {"frames.hhmmss", "CAN VELDRIX (own format): Time frame (HHMMSS)"},
    {"megasquirt3", "CAN MegaSquirt 3 (RT)"},
    {"led", "GPS module LED"},
    {"altitude", "Altitude"},
    {"ecumaster", "CAN ECUmaster"},
};

// Two texts are the same, for checks made when the program is compiled.
constexpr bool sameText(const char *a, const char *b)
{
    while (*a && *a == *b)
        ++a, ++b;
    return *a == *b;
}
// The key's table is `table`: the key is the table, a dot, and a name without dots.
constexpr bool inTable(const char *key, const char *table)
{
    while (*table && *table == *key)
        ++table, ++key;
    if (*table || *key != '.')
        return false;
    for (++key; *key; ++key)
        if (*key == '.')
            return false;
    return true;
}
// The place in groups of the setting's table; -1 when it has none.
constexpr int groupOf(const Setting &setting)
{
    for (int g = 0; g < int(std::size(groups)); ++g)
        if (inTable(setting.key, groups[g].table))
            return g;
    return -1;
}
// Compile-time checks of the tables above.
namespace check
{
// Every read position is used once, every setting belongs to a group, a
// group's settings follow one another in read order (the order of a written
// profile), and every group has settings.
constexpr bool tableIsWhole()
{
    bool seen[std::size(groups)] = {};
    int previous = -1;
    for (int position = 1; position <= settingCount; ++position) {
        // Indexes, not pointers: GCC's UBSan makes a pointer's test against
        // null no constant expression.
        std::size_t found = settings.size();
        for (std::size_t i = 0; i < settings.size(); ++i)
            if (settings[i].readPosition == position) {
                if (found != settings.size())
                    return false;
                found = i;
            }
        if (found == settings.size())
            return false;
        const Setting &setting = settings[found];
        const int g = groupOf(setting);
        if (g < 0 || (g != previous && seen[g]))
            return false;
        seen[g] = true;
        previous = g;
    }
    for (bool used : seen)
        if (!used)
            return false;
    return true;
}
} // namespace check
static_assert(check::tableIsWhole(),
              "each read position once; each setting in one group, together");

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

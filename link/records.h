#ifndef VELDRIX_RECORDS_H
#define VELDRIX_RECORDS_H

// The two records that carry the module's 36 settings, and the check
// character that closes them. Pure functions, no widgets: the slots in
// configrecords.cpp move values between the form and these.

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

// How a setting is shown on the form and spelt on the wire.
enum class Kind {
    CanSpeed,   // combo box; its current item's data as decimal text
    Switch,     // check box; "1" / "0", any part but "0" checks it
    Text,       // line edit; its text verbatim both ways
    Brightness, // slider; its value; the received text goes to the % label
    Altitude,   // radio pair; "1" ellipsoid, "0" mean sea level
};

struct Setting {
    const char *widget;  // object name on the form
    const char *partner; // second widget: the MSL radio button, the % label
    Kind kind;
    int readPosition; // 1-based place in the configuration reply
};

// The one table of the 36 settings, listed in write order: makeConfFromUI
// goes through it as listed, parseConfToUI by readPosition.
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

// The 36 values of a reply, reordered to the write order.
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

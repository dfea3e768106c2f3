#include "link/records.h"

#include <QRegExp>

#include <algorithm>

namespace records
{

// clang-format off
const std::array<Setting, settingCount> settings = {{
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

std::array<const Setting *, settingCount> settingsInReadOrder()
{
    std::array<const Setting *, settingCount> order{};
    for (const Setting &setting : settings)
        order[std::size_t(setting.readPosition - 1)] = &setting;
    return order;
}

char checkCharacter(const QByteArray &bytes)
{
    unsigned sum = 0; // wraps modulo 2^32, a multiple of 64
    for (char byte : bytes)
        sum += static_cast<unsigned char>(byte);
    return char(0x20 + (sum % 64));
}

QString checkedReply(const QString &data)
{
    const int length = data.length();
    if (length < 3)
        return QString::fromLatin1(rejectedReply);
    const QString payload = data.left(length - 3);
    const QChar received = data.at(length - 3);
    if (received.unicode() != static_cast<unsigned char>(checkCharacter(payload.toUtf8())))
        return QString::fromLatin1(rejectedReply);
    if (!data.startsWith(QLatin1String(modulePrefix)))
        return QString::fromLatin1(rejectedReply);
    return payload;
}

QString configurationString(const QString &moduleName, const QStringList &valuesInWriteOrder)
{
    // Plain appends: a value holding "%3" or the like goes out as it is,
    // never taken for a placeholder of the next one.
    QString text = QStringLiteral("c") + moduleName;
    for (const QString &value : valuesInWriteOrder) {
        text += QLatin1Char(' ');
        text += value;
    }
    text += QLatin1Char(' ');
    return text;
}

QByteArray configurationFrame(const QString &configuration)
{
    QByteArray frame = configuration.toUtf8();
    frame += checkCharacter(frame);
    frame += '\n';
    return frame;
}

QStringList replyValues(const QString &conf, int moduleNameLength)
{
    // QString::right gives the whole text for a negative count.
    const QString values = conf.right(conf.length() - moduleNameLength - 1);
    return values.split(QRegExp(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

QStringList inWriteOrder(const QStringList &valuesInReadOrder)
{
    if (valuesInReadOrder.size() != settingCount)
        return {};
    QStringList values;
    for (const Setting &setting : settings)
        values.append(valuesInReadOrder.at(setting.readPosition - 1));
    return values;
}

} // namespace records

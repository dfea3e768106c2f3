#include "link/records.h"

#include <QRegExp>

#include <algorithm>

namespace records
{

// clang-format off
const std::array<Setting, settingCount> settings = {{
    // widget                                  partner                 kind              R
    {"comboBox_VCAN",                          nullptr,                Kind::CanSpeed,     1},
    {"checkBox_ZT",                            nullptr,                Kind::Switch,       2},
    {"checkBox_DayLightSaving",                nullptr,                Kind::Switch,       3},
    {"lineEdit_TimeShift",                     nullptr,                Kind::Text,         4},
    {"checkBox_GPS_Long_Lat",                  nullptr,                Kind::Switch,       5},
    {"checkBox_GPS_Speed_Alt",                 nullptr,                Kind::Switch,       8},
    {"checkBox_precision",                     nullptr,                Kind::Switch,      11},
    {"checkBox_GPS_UTC_Time",                  nullptr,                Kind::Switch,      14},
    {"checkBox_GPS_CURRENT_Time",              nullptr,                Kind::Switch,      17},
    {"checkBox_Time",                          nullptr,                Kind::Switch,      20},
    {"checkBox_Lon_Lat_RT",                    nullptr,                Kind::Switch,      23},
    {"checkBox_Time_RT",                       nullptr,                Kind::Switch,      24},
    {"lineEdit_periode_Lon_Lat",               nullptr,                Kind::Text,         6},
    {"lineEdit_ID_Lat_Lon",                    nullptr,                Kind::Text,         7},
    {"lineEdit_periode_Speed_Alt",             nullptr,                Kind::Text,         9},
    {"lineEdit_ID_Speed_Alt",                  nullptr,                Kind::Text,        10},
    {"lineEdit_periode_precision",             nullptr,                Kind::Text,        12},
    {"lineEdit_ID_precision",                  nullptr,                Kind::Text,        13},
    {"lineEdit_periode_UTC_time",              nullptr,                Kind::Text,        15},
    {"lineEdit_ID_UTC_Time",                   nullptr,                Kind::Text,        16},
    {"lineEdit_periode_Current_time",          nullptr,                Kind::Text,        18},
    {"lineEdit_ID_Current_Time",               nullptr,                Kind::Text,        19},
    {"lineEdit_periode_Time",                  nullptr,                Kind::Text,        21},
    {"lineEdit_ID_Time",                       nullptr,                Kind::Text,        22},
    {"lineEdit_periode_Lon_Lat_RT",            nullptr,                Kind::Text,        25},
    {"lineEdit_periode_Time_RT",               nullptr,                Kind::Text,        26},
    {"lineEdit_PremierID_RT",                  nullptr,                Kind::Text,        27},
    {"lineEdit_OffsetID_RT",                   nullptr,                Kind::Text,        28},
    {"checkBox_LEDs",                          nullptr,                Kind::Switch,      29},
    {"horizontalSlider_LumLED",                "label_LumLEDpercent",  Kind::Brightness,  30},
    {"radioButton_hEllipsoidal",               "radioButton_hMSL",     Kind::Altitude,    31},
    {"checkBox_ECUMASTER_GPS_INFOS",           nullptr,                Kind::Switch,      32},
    {"checkBox_ECUMASTER_TIME",                nullptr,                Kind::Switch,      33},
    {"lineEdit_periode_ECUMASTER_GPS_INFOS",   nullptr,                Kind::Text,        34},
    {"lineEdit_periode_ECUMASTER_TIME",        nullptr,                Kind::Text,        35},
    {"lineEdit_PremierID_ECUMASTER",           nullptr,                Kind::Text,        36},
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

} // namespace records

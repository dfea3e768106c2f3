#ifndef VELDRIX_FORMFIELDS_H
#define VELDRIX_FORMFIELDS_H

// Where the form shows each of the 36 settings of link/records.h.

#include "link/records.h"

#include <QString>

namespace formfields
{

struct Field {
    const char *key;     // the setting shown, as records::settings names it
    const char *widget;  // object name on the form
    const char *partner; // second widget: the MSL radio button, the % label
    bool integerOnly;    // a number field that takes digits and a sign only;
                         // the ECUmaster fields take any text
};

// Entry i shows records::settings[i].
// clang-format off
inline constexpr std::array<Field, records::settingCount> fields = {{
    // key                              widget                                   partner                  integerOnly
    {"can.bus_speed_kbps",                "comboBox_VCAN",                         nullptr,                 false},
    {"can.termination",                   "checkBox_ZT",                           nullptr,                 false},
    {"time.daylight_saving",              "checkBox_DayLightSaving",               nullptr,                 false},
    {"time.zone_offset_hours",            "lineEdit_TimeShift",                    nullptr,                 true},
    {"frames.position.enabled",           "checkBox_GPS_Long_Lat",                 nullptr,                 false},
    {"frames.speed_altitude.enabled",     "checkBox_GPS_Speed_Alt",                nullptr,                 false},
    {"frames.precision.enabled",          "checkBox_precision",                    nullptr,                 false},
    {"frames.utc_time.enabled",           "checkBox_GPS_UTC_Time",                 nullptr,                 false},
    {"frames.local_time.enabled",         "checkBox_GPS_CURRENT_Time",             nullptr,                 false},
    {"frames.hhmmss.enabled",             "checkBox_Time",                         nullptr,                 false},
    {"megasquirt3.position_enabled",      "checkBox_Lon_Lat_RT",                   nullptr,                 false},
    {"megasquirt3.time_enabled",          "checkBox_Time_RT",                      nullptr,                 false},
    {"frames.position.period_ms",         "lineEdit_periode_Lon_Lat",              nullptr,                 true},
    {"frames.position.id",                "lineEdit_ID_Lat_Lon",                   nullptr,                 true},
    {"frames.speed_altitude.period_ms",   "lineEdit_periode_Speed_Alt",            nullptr,                 true},
    {"frames.speed_altitude.id",          "lineEdit_ID_Speed_Alt",                 nullptr,                 true},
    {"frames.precision.period_ms",        "lineEdit_periode_precision",            nullptr,                 true},
    {"frames.precision.id",               "lineEdit_ID_precision",                 nullptr,                 true},
    {"frames.utc_time.period_ms",         "lineEdit_periode_UTC_time",             nullptr,                 true},
    {"frames.utc_time.id",                "lineEdit_ID_UTC_Time",                  nullptr,                 true},
    {"frames.local_time.period_ms",       "lineEdit_periode_Current_time",         nullptr,                 true},
    {"frames.local_time.id",              "lineEdit_ID_Current_Time",              nullptr,                 true},
    {"frames.hhmmss.period_ms",           "lineEdit_periode_Time",                 nullptr,                 true},
    {"frames.hhmmss.id",                  "lineEdit_ID_Time",                      nullptr,                 true},
    {"megasquirt3.position_period_ms",    "lineEdit_periode_Lon_Lat_RT",           nullptr,                 true},
    {"megasquirt3.time_period_ms",        "lineEdit_periode_Time_RT",              nullptr,                 true},
    {"megasquirt3.first_id",              "lineEdit_PremierID_RT",                 nullptr,                 true},
    {"megasquirt3.id_offset",             "lineEdit_OffsetID_RT",                  nullptr,                 true},
    {"led.enabled",                       "checkBox_LEDs",                         nullptr,                 false},
    {"led.brightness_percent",            "horizontalSlider_LumLED",               "label_LumLEDpercent",   false},
    {"altitude.reference",                "radioButton_hEllipsoidal",              "radioButton_hMSL",      false},
    {"ecumaster.position_enabled",        "checkBox_ECUMASTER_GPS_INFOS",          nullptr,                 false},
    {"ecumaster.time_enabled",            "checkBox_ECUMASTER_TIME",               nullptr,                 false},
    {"ecumaster.position_period_ms",      "lineEdit_periode_ECUMASTER_GPS_INFOS",  nullptr,                 false},
    {"ecumaster.time_period_ms",          "lineEdit_periode_ECUMASTER_TIME",       nullptr,                 false},
    {"ecumaster.first_id",                "lineEdit_PremierID_ECUMASTER",          nullptr,                 false},
}};
// clang-format on

constexpr bool fieldsFollowSettings()
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (!records::sameText(fields[i].key, records::settings[i].key))
            return false;
        if (fields[i].integerOnly && records::settings[i].kind != records::Kind::Number)
            return false;
    }
    return true;
}
static_assert(fieldsFollowSettings(), "one field per setting, in the table's order");

// The setting shown by the form's widget of that name, or null.
const records::Setting *settingOf(const QString &objectName);

} // namespace formfields

#endif

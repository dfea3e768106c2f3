#include "standin/moduletable.h"

namespace standin
{

const QStringList &widgets()
{
    static const QStringList names =
        QStringLiteral(
            "comboBox_VCAN checkBox_ZT checkBox_DayLightSaving lineEdit_TimeShift "
            "checkBox_GPS_Long_Lat checkBox_GPS_Speed_Alt checkBox_precision checkBox_GPS_UTC_Time "
            "checkBox_GPS_CURRENT_Time checkBox_Time checkBox_Lon_Lat_RT checkBox_Time_RT "
            "lineEdit_periode_Lon_Lat lineEdit_ID_Lat_Lon lineEdit_periode_Speed_Alt "
            "lineEdit_ID_Speed_Alt lineEdit_periode_precision lineEdit_ID_precision "
            "lineEdit_periode_UTC_time lineEdit_ID_UTC_Time lineEdit_periode_Current_time "
            "lineEdit_ID_Current_Time lineEdit_periode_Time lineEdit_ID_Time "
            "lineEdit_periode_Lon_Lat_RT lineEdit_periode_Time_RT lineEdit_PremierID_RT "
            "lineEdit_OffsetID_RT checkBox_LEDs horizontalSlider_LumLED radioButton_hEllipsoidal "
            "checkBox_ECUMASTER_GPS_INFOS checkBox_ECUMASTER_TIME "
            "lineEdit_periode_ECUMASTER_GPS_INFOS lineEdit_periode_ECUMASTER_TIME "
            "lineEdit_PremierID_ECUMASTER")
            .split(' ');
    return names;
}

const QStringList &profileKeys()
{
    static const QStringList keys =
        QStringLiteral(
            "can.bus_speed_kbps can.termination time.daylight_saving time.zone_offset_hours "
            "frames.position.enabled frames.speed_altitude.enabled frames.precision.enabled "
            "frames.utc_time.enabled frames.local_time.enabled frames.hhmmss.enabled "
            "megasquirt3.position_enabled megasquirt3.time_enabled "
            "frames.position.period_ms frames.position.id frames.speed_altitude.period_ms "
            "frames.speed_altitude.id frames.precision.period_ms frames.precision.id "
            "frames.utc_time.period_ms frames.utc_time.id frames.local_time.period_ms "
            "frames.local_time.id frames.hhmmss.period_ms frames.hhmmss.id "
            "megasquirt3.position_period_ms megasquirt3.time_period_ms megasquirt3.first_id "
            "megasquirt3.id_offset led.enabled led.brightness_percent altitude.reference "
            "ecumaster.position_enabled ecumaster.time_enabled ecumaster.position_period_ms "
            "ecumaster.time_period_ms ecumaster.first_id")
            .split(' ');
    return keys;
}

QStringList factorySettings()
{
    return QStringLiteral("500 1 1 1 1 1 0 0 1 0 0 0 100 1000 200 1001 500 1002 1000 1003 1000 "
                          "1004 1000 1005 50 100 1520 10 1 50 0 1 0 100 1000 1536")
        .split(' ');
}

// Positions 6 to 24 of the write order go to these places of the reply; the
// others keep theirs.
QStringList inReadOrder(const QStringList &writeOrder)
{
    const int read[] = {8, 11, 14, 17, 20, 23, 24, 6, 7, 9, 10, 12, 13, 15, 16, 18, 19, 21, 22};
    QStringList out = writeOrder;
    for (int w = 6; w <= 24; ++w)
        out[read[w - 6] - 1] = writeOrder.at(w - 1);
    return out;
}

char checkCharacter(const QByteArray &bytes)
{
    int sum = 0;
    for (const char byte : bytes)
        sum = (sum + static_cast<unsigned char>(byte)) % 64;
    return char(' ' + sum);
}

QByteArray framed(const QByteArray &payload)
{
    return payload + checkCharacter(payload) + "\r\n";
}

} // namespace standin

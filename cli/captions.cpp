#include "cli/captions.h"

#include "link/records.h"

#include <array>

namespace cli
{
namespace
{

struct Caption {
    const char *key; // the setting's key, to check the order against the library's table
    const char *french;
};

// clang-format off
constexpr std::array<Caption, records::settingCount> captions = {{
    {"can.bus_speed_kbps",              "Paramètres CAN › Vitesse du bus CAN"},
    {"can.termination",                 "Paramètres CAN › Résistance de terminaison"},
    {"time.daylight_saving",            "Paramètres Fuseau Horaire › Heure Eté/Hiver Automatique"},
    {"time.zone_offset_hours",          "Paramètres Fuseau Horaire › Fuseau Horaire"},
    {"frames.position.enabled",         "CAN Module VELDRIX › Trame Longitude/Latitude"},
    {"frames.speed_altitude.enabled",   "CAN Module VELDRIX › Trame Vitesse/Altitude"},
    {"frames.precision.enabled",        "CAN Module VELDRIX › Trame Precision GPS/infos Satellites"},
    {"frames.utc_time.enabled",         "CAN Module VELDRIX › Trame Date/Heure (UTC)"},
    {"frames.local_time.enabled",       "CAN Module VELDRIX › Trame Date/Heure (Fuseau Horaire)"},
    {"frames.hhmmss.enabled",           "CAN Module VELDRIX › TrameTemps (HHMMSS)"},
    {"megasquirt3.position_enabled",    "CAN MegaSquirt 3 (RT) › Trames position GPS / Vitesse / Altitude"},
    {"megasquirt3.time_enabled",        "CAN MegaSquirt 3 (RT) › Trames Date/Heure et Infos"},
    {"frames.position.period_ms",       "CAN Module VELDRIX › Trame Longitude/Latitude › Période (ms)"},
    {"frames.position.id",              "CAN Module VELDRIX › Trame Longitude/Latitude › Identifiant"},
    {"frames.speed_altitude.period_ms", "CAN Module VELDRIX › Trame Vitesse/Altitude › Période (ms)"},
    {"frames.speed_altitude.id",        "CAN Module VELDRIX › Trame Vitesse/Altitude › Identifiant"},
    {"frames.precision.period_ms",      "CAN Module VELDRIX › Trame Precision GPS/infos Satellites › Période (ms)"},
    {"frames.precision.id",             "CAN Module VELDRIX › Trame Precision GPS/infos Satellites › Identifiant"},
    {"frames.utc_time.period_ms",       "CAN Module VELDRIX › Trame Date/Heure (UTC) › Période (ms)"},
    {"frames.utc_time.id",              "CAN Module VELDRIX › Trame Date/Heure (UTC) › Identifiant"},
    {"frames.local_time.period_ms",     "CAN Module VELDRIX › Trame Date/Heure (Fuseau Horaire) › Période (ms)"},
    {"frames.local_time.id",            "CAN Module VELDRIX › Trame Date/Heure (Fuseau Horaire) › Identifiant"},
    {"frames.hhmmss.period_ms",         "CAN Module VELDRIX › TrameTemps (HHMMSS) › Période (ms)"},
    {"frames.hhmmss.id",                "CAN Module VELDRIX › TrameTemps (HHMMSS) › Identifiant"},
    {"megasquirt3.position_period_ms",  "CAN MegaSquirt 3 (RT) › Trames position GPS / Vitesse / Altitude › Période (ms)"},
    {"megasquirt3.time_period_ms",      "CAN MegaSquirt 3 (RT) › Trames Date/Heure et Infos › Période (ms)"},
    {"megasquirt3.first_id",            "CAN MegaSquirt 3 (RT) › Premier ID"},
    {"megasquirt3.id_offset",           "CAN MegaSquirt 3 (RT) › Offset ID"},
    {"led.enabled",                     "LED Module GPS › Activée"},
    {"led.brightness_percent",          "LED Module GPS › Luminosité"},
    {"altitude.reference",              "Altitude › Par rapport au niveau de la mer / Par rapport à l'ellipsoïde de la terre"},
    {"ecumaster.position_enabled",      "CAN ECUmaster › Trames position GPS / Altitude / Vitesse / Infos"},
    {"ecumaster.time_enabled",          "CAN ECUmaster › Trame Date/Heure"},
    {"ecumaster.position_period_ms",    "CAN ECUmaster › Trames position GPS / Altitude / Vitesse / Infos › Période (ms)"},
    {"ecumaster.time_period_ms",        "CAN ECUmaster › Trame Date/Heure › Période (ms)"},
    {"ecumaster.first_id",              "CAN ECUmaster › Premier ID"},
}};
// clang-format on

constexpr bool sameOrder()
{
    for (std::size_t i = 0; i < captions.size(); ++i)
        if (!records::sameText(captions[i].key, records::settings[i].key))
            return false;
    return true;
}
static_assert(sameOrder(), "one caption per setting, in the order of records::settings");

} // namespace

QStringList frenchCaptions()
{
    QStringList list;
    for (const Caption &caption : captions)
        list.append(QString::fromUtf8(caption.french));
    return list;
}

} // namespace cli

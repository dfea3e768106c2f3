#include "standin/modulestandin.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

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

bool ModuleStandin::start()
{
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return false;
    termios raw{};
    ::tcgetattr(master, &raw);
    ::cfmakeraw(&raw); // at 38400 baud until the program sets its speed
    ::tcsetattr(master, TCSANOW, &raw);
    path = QString::fromLocal8Bit(::ptsname(master));
    clock.start();
    thread = std::thread([this] { run(); });
    return true;
}

ModuleStandin::~ModuleStandin()
{
    unplug();
    if (master >= 0)
        ::close(master);
}

// The terminal is locked rather than closed: closing would free its number
// for the next terminal opened on the machine, which the program, still
// holding the module's old port name, would then reach.
void ModuleStandin::unplug()
{
    quit = true;
    if (thread.joinable())
        thread.join();
    int locked = 1;
    if (master >= 0)
        ::ioctl(master, TIOCSPTLCK, &locked);
}

// Waits `ms`; false when the port was closed meanwhile or the stand-in stops.
bool ModuleStandin::pause(int ms)
{
    const qint64 end = clock.elapsed() + ms;
    do {
        pollfd p{master, 0, 0};
        if (quit || ::poll(&p, 1, int(qBound<qint64>(0, end - clock.elapsed(), 20))) > 0)
            return false;
    } while (clock.elapsed() < end);
    return true;
}

void ModuleStandin::write(const QByteArray &bytes)
{
    for (int done = 0; done < bytes.size();) {
        const ssize_t n = ::write(master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += int(n);
        else if (errno != EAGAIN || !pause(5))
            return;
    }
}

void ModuleStandin::handle(const QByteArray &command)
{
    std::unique_lock<Mutex> lock(mutex);
    log.append(command + '\n');
    if (command == "zZ")
        behaviour.settings = factorySettings();
    // A configuration frame: "c", id, a blank, 36 values each followed by a blank, check.
    const QByteArray payload = command.left(command.size() - 1), head = 'c' + id + ' ';
    const QString values = QString::fromUtf8(payload.mid(head.size()));
    if (payload.startsWith(head) && values.endsWith(' ') && values.count(' ') == 36 &&
        checkCharacter(payload) == command.back())
        behaviour.settings = values.left(values.size() - 1).split(' ');
    if (command != "iI" && command != "sS")
        return;
    const Script own{{0, command == "iI" ? id + "\r\n" : reply()}};
    const Script script = behaviour.answers.value(command[0], own);
    lock.unlock();
    for (const Step &step : script)
        if (pause(step.pauseMs))
            write(step.bytes);
}

void ModuleStandin::run()
{
    QByteArray line;
    while (!quit) {
        pollfd p{master, POLLIN, 0};
        ::poll(&p, 1, 10);
        char buffer[512];
        const ssize_t n = p.revents ? ::read(master, buffer, sizeof buffer) : 0;
        if (n > 0) {
            line.append(buffer, int(n));
        } else if (n <= 0 && (p.revents & POLLHUP)) { // nobody holds the port: start afresh
            if (!line.isEmpty()) { // bytes after the last line feed were heard too
                const Lock lock(mutex);
                log.append(line);
            }
            line.clear();
            ::poll(nullptr, 0, 5);
            continue;
        }
        for (int end; (end = line.indexOf('\n')) >= 0; line.remove(0, end + 1))
            handle(line.left(end));
    }
}

QByteArray ModuleStandin::reply() const
{
    return framed(id + ' ' + inReadOrder(now().settings).join(' ').toUtf8());
}

} // namespace standin

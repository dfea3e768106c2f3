#include "harness.h"

#include "app/mainwindow.h"
#include "app/processstate.h"
#include "link/exchange.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QRegExp>
#include <QSlider>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace fuzzing
{

namespace
{

enum class Kind { Speed, Switch, Text, Brightness, Altitude };

// Every setting: its widget, its place in the module's reply (read order) and
// in the configuration string (write order), and how it is encoded.
struct Field {
    const char *widget;
    int read;
    int write;
    Kind kind;
};

const Field fields[36] = {
    {"comboBox_VCAN", 1, 1, Kind::Speed},
    {"checkBox_ZT", 2, 2, Kind::Switch},
    {"checkBox_DayLightSaving", 3, 3, Kind::Switch},
    {"lineEdit_TimeShift", 4, 4, Kind::Text},
    {"checkBox_GPS_Long_Lat", 5, 5, Kind::Switch},
    {"lineEdit_periode_Lon_Lat", 6, 13, Kind::Text},
    {"lineEdit_ID_Lat_Lon", 7, 14, Kind::Text},
    {"checkBox_GPS_Speed_Alt", 8, 6, Kind::Switch},
    {"lineEdit_periode_Speed_Alt", 9, 15, Kind::Text},
    {"lineEdit_ID_Speed_Alt", 10, 16, Kind::Text},
    {"checkBox_precision", 11, 7, Kind::Switch},
    {"lineEdit_periode_precision", 12, 17, Kind::Text},
    {"lineEdit_ID_precision", 13, 18, Kind::Text},
    {"checkBox_GPS_UTC_Time", 14, 8, Kind::Switch},
    {"lineEdit_periode_UTC_time", 15, 19, Kind::Text},
    {"lineEdit_ID_UTC_Time", 16, 20, Kind::Text},
    {"checkBox_GPS_CURRENT_Time", 17, 9, Kind::Switch},
    {"lineEdit_periode_Current_time", 18, 21, Kind::Text},
    {"lineEdit_ID_Current_Time", 19, 22, Kind::Text},
    {"checkBox_Time", 20, 10, Kind::Switch},
    {"lineEdit_periode_Time", 21, 23, Kind::Text},
    {"lineEdit_ID_Time", 22, 24, Kind::Text},
    {"checkBox_Lon_Lat_RT", 23, 11, Kind::Switch},
    {"checkBox_Time_RT", 24, 12, Kind::Switch},
    {"lineEdit_periode_Lon_Lat_RT", 25, 25, Kind::Text},
    {"lineEdit_periode_Time_RT", 26, 26, Kind::Text},
    {"lineEdit_PremierID_RT", 27, 27, Kind::Text},
    {"lineEdit_OffsetID_RT", 28, 28, Kind::Text},
    {"checkBox_LEDs", 29, 29, Kind::Switch},
    {"horizontalSlider_LumLED", 30, 30, Kind::Brightness},
    {"radioButton_hEllipsoidal", 31, 31, Kind::Altitude},
    {"checkBox_ECUMASTER_GPS_INFOS", 32, 32, Kind::Switch},
    {"checkBox_ECUMASTER_TIME", 33, 33, Kind::Switch},
    {"lineEdit_periode_ECUMASTER_GPS_INFOS", 34, 34, Kind::Text},
    {"lineEdit_periode_ECUMASTER_TIME", 35, 35, Kind::Text},
    {"lineEdit_PremierID_ECUMASTER", 36, 36, Kind::Text},
};

const QStringList speeds = {"125", "250", "500", "1000"};

MainWindow *window = nullptr;

template <typename T> T *widget(const char *name)
{
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    require(found != nullptr, name);
    return found;
}

// What the form shows, one text per setting (in the table's order), then the
// brightness label.
struct Form {
    QStringList values;
    QString percentLabel;
    bool hMSL = false;
    bool operator==(const Form &other) const
    {
        return values == other.values && percentLabel == other.percentLabel && hMSL == other.hMSL;
    }
};

QString valueOf(const Field &field)
{
    switch (field.kind) {
    case Kind::Speed: {
        auto *box = widget<QComboBox>(field.widget);
        return box->itemData(box->currentIndex(), Qt::UserRole).toString();
    }
    case Kind::Switch:
    case Kind::Altitude:
        return widget<QAbstractButton>(field.widget)->isChecked() ? "1" : "0";
    case Kind::Text:
        return widget<QLineEdit>(field.widget)->text();
    case Kind::Brightness:
        return QString::number(widget<QSlider>(field.widget)->value());
    }
    return QString();
}

Form snapshot()
{
    Form form;
    for (const Field &field : fields)
        form.values.append(valueOf(field));
    form.percentLabel = widget<QLabel>("label_LumLEDpercent")->text();
    form.hMSL = widget<QAbstractButton>("radioButton_hMSL")->isChecked();
    return form;
}

// The form after a reply's 36 parts (read order) have been loaded into `before`.
Form expectedAfterLoad(const Form &before, const QStringList &parts)
{
    Form after = before;
    for (int i = 0; i < 36; ++i) {
        const Field &field = fields[i];
        const QString &part = parts.at(field.read - 1);
        QString &value = after.values[i];
        switch (field.kind) {
        case Kind::Speed:
            if (speeds.contains(part))
                value = part;
            break;
        case Kind::Switch:
        case Kind::Altitude:
            value = part == "0" ? "0" : "1";
            break;
        case Kind::Text:
            value = part;
            break;
        case Kind::Brightness: {
            // Not a number counts as 0; the slider keeps 5..100 and its
            // handler rounds a change down to a multiple of 5.
            const int clamped = std::clamp(part.toInt(nullptr, 10), 5, 100);
            if (QString::number(clamped) != value)
                value = QString::number(clamped / 5 * 5);
            after.percentLabel = part + " %";
            break;
        }
        }
        if (field.kind == Kind::Altitude)
            after.hMSL = part == "0";
    }
    return after;
}

QString checkReply(const QString &text)
{
    QString result;
    require(QMetaObject::invokeMethod(window, "checked_String_with_CRC_Removed",
                                      Qt::DirectConnection, Q_RETURN_ARG(QString, result),
                                      Q_ARG(QString, text)),
            "checked_String_with_CRC_Removed is callable");
    return result;
}

bool parseReply(const QString &conf)
{
    bool ok = false;
    require(QMetaObject::invokeMethod(window, "parseConfToUI", Qt::DirectConnection,
                                      Q_RETURN_ARG(bool, ok), Q_ARG(QString, conf)),
            "parseConfToUI is callable");
    return ok;
}

bool isAscii(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

void require(bool condition, const char *what)
{
    if (condition)
        return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

void setUp()
{
    if (window)
        return;
    // Settings go to a folder of our own; the window is never shown.
    static QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "veldrix-fuzz";
    static char *argv[] = {name, nullptr};
    // Both live until the process ends: libFuzzer leaves by exit(), and an
    // application destroyed by the exit handlers would outlive its window.
    static QApplication *const app = new QApplication(argc, argv);
    Q_UNUSED(app);
    window = new MainWindow;
}

char checkCharacterOf(const QByteArray &bytes)
{
    unsigned sum = 0;
    for (char byte : bytes)
        sum += static_cast<unsigned char>(byte);
    return static_cast<char>(0x20 + sum % 64);
}

QByteArray framed(const QByteArray &payload)
{
    return payload + checkCharacterOf(payload) + "\r\n";
}

void setModuleName(const QString &name)
{
    moduleName = name;
}

bool loadReply(const QByteArray &reply)
{
    if (reply.size() <= 2)
        return false;
    const QString text = exchange::textBeforeNul(reply);
    require(!text.contains(QChar(0)), "the reply is cut at its first NUL");
    const QString checked = checkReply(text);

    if (isAscii(text)) {
        const int n = text.size();
        const bool good =
            n >= 3 && text.startsWith("VELDRIX_") &&
            checkCharacterOf(text.left(n - 3).toLatin1()) == text.at(n - 3).toLatin1();
        require((checked != "NAN") == good, "the check accepts exactly the well-framed replies");
        if (good)
            require(checked == text.left(n - 3), "the check strips exactly three characters");
    } else if (checked != "NAN") {
        require(checked.startsWith("VELDRIX_"), "an accepted reply keeps its prefix");
        require(text.startsWith(checked), "an accepted reply is what was received, shortened");
    }
    if (checked == "NAN")
        return false;

    const Form before = snapshot();
    const bool loaded = parseReply(checked);
    const int keep = checked.size() - moduleName.size() - 1;
    const QString values = keep < 0 ? checked : checked.right(keep);
    const QStringList parts = values.split(QRegExp("\\s+"), Qt::SkipEmptyParts);
    require(loaded == (parts.size() == 36), "a reply loads exactly when it holds 36 values");
    if (!loaded) {
        require(snapshot() == before, "a rejected reply leaves the form as it was");
        return false;
    }
    require(snapshot() == expectedAfterLoad(before, parts), "each value lands in its widget");
    configurationString();
    return true;
}

QString configurationString()
{
    QString made;
    require(QMetaObject::invokeMethod(window, "makeConfFromUI", Qt::DirectConnection,
                                      Q_RETURN_ARG(QString, made)),
            "makeConfFromUI is callable");
    QStringList byWrite;
    for (int position = 1; position <= 36; ++position)
        for (const Field &field : fields)
            if (field.write == position)
                byWrite.append(valueOf(field));
    require(made == "c" + moduleName + " " + byWrite.join(' ') + " ",
            "the configuration string carries the name and the 36 values verbatim");
    return made;
}

QString exampleReadOrder()
{
    return "500 1 1 1 1 100 1000 1 200 1001 0 500 1002 0 1000 1003 1 1000 1004 0 1000 1005 0 0 50 "
           "100 1520 10 1 50 0 1 0 100 1000 1536";
}

QString exampleWriteOrder()
{
    return "500 1 1 1 1 1 0 0 1 0 0 0 100 1000 200 1001 500 1002 1000 1003 1000 1004 1000 1005 50 "
           "100 1520 10 1 50 0 1 0 100 1000 1536";
}

} // namespace fuzzing

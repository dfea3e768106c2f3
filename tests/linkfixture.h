#ifndef VELDRIX_LINKFIXTURE_H
#define VELDRIX_LINKFIXTURE_H

// Shared by the tests that drive the window against module stand-ins on
// pseudo-terminals, at the other end of real serial ports.

#include "app/mainwindow.h"
#include "app/processstate.h"
#include "link/exchange.h"
#include "link/ports.h"
#include "standin/modulestandin.h"
#include "testsupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>

#include <functional>
#include <memory>

using standin::ModuleStandin;
// Something a test makes a stand-in do, as a column of a data table.
using Misbehaviour = std::function<void(ModuleStandin &)>;
Q_DECLARE_METATYPE(Misbehaviour)

namespace linkfixture
{

// The form's 36 settings in the order of the configuration frame, read and
// set through the widgets themselves, so that what the window shows is
// compared with what the module holds without the program's own table.
inline const QStringList formFields =
    QString("comboBox_VCAN checkBox_ZT checkBox_DayLightSaving lineEdit_TimeShift "
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

// Two configurations, in frame order, that differ wherever values can (and
// from the factory values), so that a reply loaded in part, or the wrong
// module's, shows.
inline const QStringList exampleSettings =
    QString("500 1 1 1 1 1 0 0 1 0 0 0 100 1000 200 1001 500 1002 1000 1003 1000 1004 1000 1005 "
            "50 100 1520 10 1 50 0 1 0 100 1000 1536")
        .split(' ');
inline const QStringList otherSettings =
    QString("250 0 0 -3 0 0 1 1 0 1 1 1 20 11 30 12 40 13 50 14 60 15 70 16 80 90 100 20 0 85 1 "
            "0 1 200 300 400")
        .split(' ');

inline const QString defaultId = QString::fromLatin1(ModuleStandin::defaultModuleId());
inline const QString notDetected = "Aucun Module VELDRIX détecté";

inline QString connected(const QString &name, const QString &port)
{
    return QString("%1 connecté sur port %2").arg(name, port);
}

inline QString readFailed(const QString &name, const QString &port)
{
    return QString("Impossible de lire la configuration du module %1 connecté sur port %2")
        .arg(name, port);
}

inline QString lost(const QString &name)
{
    return QString("Connexion au module %1 perdue").arg(name);
}

inline QString cannotWrite(const QString &port, QSerialPort::SerialPortError error)
{
    return QString("Impossible d'écrire sur le port %1. Erreur : %2")
        .arg(port, exchange::explainPortError(error));
}

// The link state outlives windows: every test starts from a fresh program
// that lists no port.
inline void resetLink()
{
    moduleName.clear();
    modulePortName.clear();
    moduleFound = false;
    moduleConnected = false;
    ports::install({});
}

// A started stand-in holding `settings`, or null. It is listed under a link
// in `dir` that keeps its name across unplug and replug; the default name
// holds percent signs, which every message must show as they are.
inline std::unique_ptr<ModuleStandin> plug(const QTemporaryDir &dir,
                                           const QString &name = "module%2%1",
                                           const QStringList &settings = exampleSettings)
{
    auto module = std::make_unique<ModuleStandin>();
    if (!module->start() || !module->setLinkPath(dir.filePath(name)) ||
        !module->setSettings(settings))
        return nullptr;
    return module;
}

// Each box the answerer closed, as "text | informative text", with
// " | dressed" added when it had a parent, a title, an icon or other than
// one button.
inline QStringList boxes(const testsupport::ModalAnswerer &answerer)
{
    QStringList seen;
    for (const testsupport::SeenBox &box : answerer.seen)
        seen.append(box.text + " | " + box.informativeText +
                    (box.hadParent || !box.title.isEmpty() || box.hadIcon || box.buttonCount != 1
                         ? " | dressed"
                         : ""));
    return seen;
}

// The window, with a record of every status message shown while it lives.
struct Window {
    MainWindow window;
    QStatusBar *const bar = window.findChild<QStatusBar *>("statusbar");
    QPushButton *const scan = window.findChild<QPushButton *>("pushButton_Scan");
    QSignalSpy messageSpy{bar, &QStatusBar::messageChanged};

    QString status() const { return bar->currentMessage(); }
    QPushButton *button(const QString &name) const { return window.findChild<QPushButton *>(name); }

    QStringList messages() const
    {
        QStringList shown;
        for (const QList<QVariant> &arguments : messageSpy)
            shown.append(arguments.at(0).toString());
        return shown;
    }

    // Caption of the connect button, then the enabled state of the three
    // command buttons: "Lire 1 1 1" or "Connecter 0 0 0".
    QString buttons() const
    {
        QString state = scan->text();
        for (const char *name : {"pushButton_Config", "pushButton_Reboot", "pushButton_RAZ"})
            state += button(name)->isEnabled() ? " 1" : " 0";
        return state;
    }

    QStringList form() const
    {
        QStringList values;
        for (const QString &name : formFields) {
            QWidget *widget = window.findChild<QWidget *>(name);
            if (auto *combo = qobject_cast<QComboBox *>(widget))
                values.append(combo->currentData().toString());
            else if (auto *box = qobject_cast<QAbstractButton *>(widget))
                values.append(box->isChecked() ? "1" : "0");
            else if (auto *field = qobject_cast<QLineEdit *>(widget))
                values.append(field->text());
            else
                values.append(QString::number(qobject_cast<QSlider *>(widget)->value()));
        }
        return values;
    }
};

} // namespace linkfixture

#endif

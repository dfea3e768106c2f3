#ifndef VELDRIX_MAINWINDOW_H
#define VELDRIX_MAINWINDOW_H

#include "app/clickstate.h"

#include <QMainWindow>
#include <QString>

#include <cstdint>
#include <functional>

class QAction;
class QCloseEvent;
class QLineEdit;
class QMenu;
class Ui_MainWindow;
namespace exchange
{
struct Request;
}

// The one window of the program. Its slots are declared here, in a fixed
// order, and all its members are defined in app/: each hands over to the
// protocol library (link/) or to a unit of the window (forms/, editor/,
// i18n/).
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    // A close asked for while a click talks to the module (the window's close
    // button still works then) is put off until the click is over.
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_pushButton_Scan_clicked();
    void on_pushButton_Config_clicked();
    void on_lineEdit_ID_Lat_Lon_editingFinished();
    void on_lineEdit_PremierID_RT_editingFinished();
    void on_lineEdit_OffsetID_RT_editingFinished();
    void on_lineEdit_ID_Speed_Alt_editingFinished();
    void on_lineEdit_ID_precision_editingFinished();
    void on_lineEdit_ID_UTC_Time_editingFinished();
    void on_lineEdit_ID_Current_Time_editingFinished();
    void on_lineEdit_ID_Time_editingFinished();
    void on_lineEdit_periode_Lon_Lat_RT_editingFinished();
    void on_lineEdit_TimeShift_editingFinished();
    void on_lineEdit_periode_Time_RT_editingFinished();
    void on_lineEdit_periode_Lon_Lat_editingFinished();
    void on_lineEdit_periode_Speed_Alt_editingFinished();
    void on_lineEdit_periode_precision_editingFinished();
    void on_lineEdit_periode_UTC_time_editingFinished();
    void on_lineEdit_periode_Current_time_editingFinished();
    void on_lineEdit_periode_Time_editingFinished();
    void on_pushButton_Reboot_clicked();
    void on_pushButton_RAZ_clicked();
    void FindModuleOverSerial();
    bool readConfFromSerial();
    QString checked_String_with_CRC_Removed(QString data);
    bool parseConfToUI(QString conf);
    bool sendConfToModule();
    bool checkIDRange(uint32_t valeur);
    bool checkPeriodeRange(uint32_t valeur);
    QString makeConfFromUI();
    bool rebootModule();
    bool resetModule();
    void msleep(int msec);
    void langFr();
    void langEn();
    void about();
    void on_horizontalSlider_LumLED_valueChanged(int value);
    void on_lineEdit_PremierID_ECUMASTER_editingFinished();
    void on_lineEdit_periode_ECUMASTER_GPS_INFOS_editingFinished();
    void on_lineEdit_periode_ECUMASTER_TIME_editingFinished();

private:
    void createActions();
    void createMenus();
    void loadLanguage(const QString &code);
    // Range check behind the editingFinished slots of the numeric fields.
    void checkFieldRange(QLineEdit *field);
    // Runs an exchange with the module. The window handles its events
    // meanwhile, but not the user's input, and no range check opens its box
    // in the middle of it.
    void awaitExchange(const std::function<void()> &exchange);
    // Hands over what the window system held back during an exchange.
    void takeUpHeldInput();
    // Writes a command to the module's port and lets it drain; no answer is read.
    bool sendToModule(const exchange::Request &command);
    // Tells how a command went and, when it went out, reads the module again.
    void concludeCommand(bool sent, const char *success, const char *failure);

    Ui_MainWindow *ui;
    ClickState clickState;
    QAction *quitAct = nullptr;
    QAction *langFrAct = nullptr;
    QAction *langEnAct = nullptr;
    QAction *aboutAct = nullptr;
    QMenu *langMenu = nullptr;
    QMenu *helpMenu = nullptr;
};

#endif

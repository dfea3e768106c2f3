#ifndef VELDRIX_UI_MAINWINDOW_H
#define VELDRIX_UI_MAINWINDOW_H

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QWidget>

// The main window's form, written by hand: every widget at a fixed place,
// no layouts. Members are in creation order; each carries the object name
// of its widget, by which the window's slots are connected.
class Ui_MainWindow
{
public:
    QWidget *centralwidget;
    QPushButton *pushButton_Config;
    QPushButton *pushButton_RAZ;
    QPushButton *pushButton_Reboot;
    QGroupBox *groupBox;
    QCheckBox *checkBox_Lon_Lat_RT;
    QCheckBox *checkBox_Time_RT;
    QLineEdit *lineEdit_PremierID_RT;
    QLineEdit *lineEdit_OffsetID_RT;
    QLabel *lbl_PremierID_RT;
    QLabel *lbl_Offset_RT;
    QLabel *lbl_Periode_RT;
    QLineEdit *lineEdit_periode_Lon_Lat_RT;
    QLineEdit *lineEdit_periode_Time_RT;
    QGroupBox *groupBox_2;
    QLineEdit *lineEdit_periode_Current_time;
    QLineEdit *lineEdit_periode_Lon_Lat;
    QCheckBox *checkBox_GPS_CURRENT_Time;
    QCheckBox *checkBox_GPS_UTC_Time;
    QLineEdit *lineEdit_ID_Current_Time;
    QLineEdit *lineEdit_ID_Speed_Alt;
    QLineEdit *lineEdit_periode_Speed_Alt;
    QLineEdit *lineEdit_ID_Lat_Lon;
    QLineEdit *lineEdit_periode_UTC_time;
    QCheckBox *checkBox_GPS_Speed_Alt;
    QCheckBox *checkBox_GPS_Long_Lat;
    QLineEdit *lineEdit_ID_UTC_Time;
    QLabel *lbl_ID;
    QLabel *lbl_Periode;
    QLineEdit *lineEdit_ID_Time;
    QCheckBox *checkBox_Time;
    QLineEdit *lineEdit_periode_Time;
    QLineEdit *lineEdit_ID_precision;
    QLineEdit *lineEdit_periode_precision;
    QCheckBox *checkBox_precision;
    QGroupBox *groupBox_General;
    QCheckBox *checkBox_ZT;
    QComboBox *comboBox_VCAN;
    QLabel *lbl_VCAN;
    QGroupBox *groupBox_3;
    QCheckBox *checkBox_DayLightSaving;
    QLabel *lbl_TimeZone;
    QLineEdit *lineEdit_TimeShift;
    QPushButton *pushButton_Scan;
    QGroupBox *groupBox_4;
    QSlider *horizontalSlider_LumLED;
    QCheckBox *checkBox_LEDs;
    QLabel *label_LumLED;
    QLabel *label_LumLEDpercent;
    QGroupBox *groupBox_5;
    QRadioButton *radioButton_hMSL;
    QRadioButton *radioButton_hEllipsoidal;
    QGroupBox *groupBox_6;
    QLineEdit *lineEdit_PremierID_ECUMASTER;
    QCheckBox *checkBox_ECUMASTER_TIME;
    QLabel *lbl_PremierID_ECUMASTER;
    QCheckBox *checkBox_ECUMASTER_GPS_INFOS;
    QLineEdit *lineEdit_periode_ECUMASTER_GPS_INFOS;
    QLineEdit *lineEdit_periode_ECUMASTER_TIME;
    QLabel *lbl_Periode_RT_2;
    QStatusBar *statusbar;
    QMenuBar *menuBar;

    void setupUi(QMainWindow *window);
    void retranslateUi(QMainWindow *window);
};

#endif

#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QFont>
#include <QMetaObject>
#include <QSizePolicy>

void Ui_MainWindow::setupUi(QMainWindow *window)
{
    if (window->objectName().isEmpty())
        window->setObjectName(QString::fromUtf8("MainWindow"));
    window->resize(830, 534);
    QSizePolicy policy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    policy.setHorizontalStretch(0);
    policy.setVerticalStretch(0);
    policy.setHeightForWidth(window->sizePolicy().hasHeightForWidth());
    window->setSizePolicy(policy);
    window->setMinimumSize(QSize(830, 534));
    window->setMaximumSize(QSize(830, 534));
    window->setSizeIncrement(QSize(830, 534));
    window->setBaseSize(QSize(830, 534));

    centralwidget = new QWidget(window);
    centralwidget->setObjectName(QString::fromUtf8("centralwidget"));
    pushButton_Config = new QPushButton(centralwidget);
    pushButton_Config->setObjectName(QString::fromUtf8("pushButton_Config"));
    pushButton_Config->setGeometry(QRect(470, 440, 121, 23));
    pushButton_RAZ = new QPushButton(centralwidget);
    pushButton_RAZ->setObjectName(QString::fromUtf8("pushButton_RAZ"));
    pushButton_RAZ->setGeometry(QRect(640, 440, 121, 23));
    pushButton_Reboot = new QPushButton(centralwidget);
    pushButton_Reboot->setObjectName(QString::fromUtf8("pushButton_Reboot"));
    pushButton_Reboot->setGeometry(QRect(640, 400, 121, 23));
    groupBox = new QGroupBox(centralwidget);
    groupBox->setObjectName(QString::fromUtf8("groupBox"));
    groupBox->setGeometry(QRect(10, 90, 401, 161));
    {
        QFont font;
        font.setBold(false);
        font.setWeight(50);
        groupBox->setFont(font);
    }
    checkBox_Lon_Lat_RT = new QCheckBox(groupBox);
    checkBox_Lon_Lat_RT->setObjectName(QString::fromUtf8("checkBox_Lon_Lat_RT"));
    checkBox_Lon_Lat_RT->setGeometry(QRect(30, 90, 261, 17));
    checkBox_Time_RT = new QCheckBox(groupBox);
    checkBox_Time_RT->setObjectName(QString::fromUtf8("checkBox_Time_RT"));
    checkBox_Time_RT->setGeometry(QRect(30, 120, 261, 17));
    lineEdit_PremierID_RT = new QLineEdit(groupBox);
    lineEdit_PremierID_RT->setObjectName(QString::fromUtf8("lineEdit_PremierID_RT"));
    lineEdit_PremierID_RT->setGeometry(QRect(110, 50, 61, 20));
    lineEdit_OffsetID_RT = new QLineEdit(groupBox);
    lineEdit_OffsetID_RT->setObjectName(QString::fromUtf8("lineEdit_OffsetID_RT"));
    lineEdit_OffsetID_RT->setGeometry(QRect(200, 50, 61, 20));
    lbl_PremierID_RT = new QLabel(groupBox);
    lbl_PremierID_RT->setObjectName(QString::fromUtf8("lbl_PremierID_RT"));
    lbl_PremierID_RT->setGeometry(QRect(100, 30, 81, 16));
    lbl_PremierID_RT->setAlignment(Qt::AlignCenter);
    lbl_Offset_RT = new QLabel(groupBox);
    lbl_Offset_RT->setObjectName(QString::fromUtf8("lbl_Offset_RT"));
    lbl_Offset_RT->setGeometry(QRect(206, 30, 51, 16));
    lbl_Offset_RT->setAlignment(Qt::AlignCenter);
    lbl_Periode_RT = new QLabel(groupBox);
    lbl_Periode_RT->setObjectName(QString::fromUtf8("lbl_Periode_RT"));
    lbl_Periode_RT->setGeometry(QRect(300, 60, 61, 16));
    lbl_Periode_RT->setAlignment(Qt::AlignCenter);
    lineEdit_periode_Lon_Lat_RT = new QLineEdit(groupBox);
    lineEdit_periode_Lon_Lat_RT->setObjectName(QString::fromUtf8("lineEdit_periode_Lon_Lat_RT"));
    lineEdit_periode_Lon_Lat_RT->setGeometry(QRect(300, 90, 61, 20));
    lineEdit_periode_Time_RT = new QLineEdit(groupBox);
    lineEdit_periode_Time_RT->setObjectName(QString::fromUtf8("lineEdit_periode_Time_RT"));
    lineEdit_periode_Time_RT->setGeometry(QRect(300, 120, 61, 20));
    groupBox_2 = new QGroupBox(centralwidget);
    groupBox_2->setObjectName(QString::fromUtf8("groupBox_2"));
    groupBox_2->setGeometry(QRect(10, 260, 401, 221));
    {
        QFont font;
        font.setBold(false);
        font.setWeight(50);
        font.setKerning(true);
        groupBox_2->setFont(font);
    }
    lineEdit_periode_Current_time = new QLineEdit(groupBox_2);
    lineEdit_periode_Current_time->setObjectName(
        QString::fromUtf8("lineEdit_periode_Current_time"));
    lineEdit_periode_Current_time->setGeometry(QRect(320, 160, 61, 20));
    lineEdit_periode_Lon_Lat = new QLineEdit(groupBox_2);
    lineEdit_periode_Lon_Lat->setObjectName(QString::fromUtf8("lineEdit_periode_Lon_Lat"));
    lineEdit_periode_Lon_Lat->setGeometry(QRect(320, 40, 61, 20));
    checkBox_GPS_CURRENT_Time = new QCheckBox(groupBox_2);
    checkBox_GPS_CURRENT_Time->setObjectName(QString::fromUtf8("checkBox_GPS_CURRENT_Time"));
    checkBox_GPS_CURRENT_Time->setGeometry(QRect(20, 160, 201, 17));
    checkBox_GPS_UTC_Time = new QCheckBox(groupBox_2);
    checkBox_GPS_UTC_Time->setObjectName(QString::fromUtf8("checkBox_GPS_UTC_Time"));
    checkBox_GPS_UTC_Time->setGeometry(QRect(20, 130, 201, 17));
    lineEdit_ID_Current_Time = new QLineEdit(groupBox_2);
    lineEdit_ID_Current_Time->setObjectName(QString::fromUtf8("lineEdit_ID_Current_Time"));
    lineEdit_ID_Current_Time->setGeometry(QRect(230, 160, 61, 20));
    lineEdit_ID_Speed_Alt = new QLineEdit(groupBox_2);
    lineEdit_ID_Speed_Alt->setObjectName(QString::fromUtf8("lineEdit_ID_Speed_Alt"));
    lineEdit_ID_Speed_Alt->setGeometry(QRect(230, 70, 61, 20));
    lineEdit_periode_Speed_Alt = new QLineEdit(groupBox_2);
    lineEdit_periode_Speed_Alt->setObjectName(QString::fromUtf8("lineEdit_periode_Speed_Alt"));
    lineEdit_periode_Speed_Alt->setGeometry(QRect(320, 70, 61, 20));
    lineEdit_ID_Lat_Lon = new QLineEdit(groupBox_2);
    lineEdit_ID_Lat_Lon->setObjectName(QString::fromUtf8("lineEdit_ID_Lat_Lon"));
    lineEdit_ID_Lat_Lon->setGeometry(QRect(230, 40, 61, 20));
    lineEdit_periode_UTC_time = new QLineEdit(groupBox_2);
    lineEdit_periode_UTC_time->setObjectName(QString::fromUtf8("lineEdit_periode_UTC_time"));
    lineEdit_periode_UTC_time->setGeometry(QRect(320, 130, 61, 20));
    checkBox_GPS_Speed_Alt = new QCheckBox(groupBox_2);
    checkBox_GPS_Speed_Alt->setObjectName(QString::fromUtf8("checkBox_GPS_Speed_Alt"));
    checkBox_GPS_Speed_Alt->setGeometry(QRect(20, 70, 201, 17));
    checkBox_GPS_Long_Lat = new QCheckBox(groupBox_2);
    checkBox_GPS_Long_Lat->setObjectName(QString::fromUtf8("checkBox_GPS_Long_Lat"));
    checkBox_GPS_Long_Lat->setGeometry(QRect(20, 40, 201, 17));
    lineEdit_ID_UTC_Time = new QLineEdit(groupBox_2);
    lineEdit_ID_UTC_Time->setObjectName(QString::fromUtf8("lineEdit_ID_UTC_Time"));
    lineEdit_ID_UTC_Time->setGeometry(QRect(230, 130, 61, 20));
    lbl_ID = new QLabel(groupBox_2);
    lbl_ID->setObjectName(QString::fromUtf8("lbl_ID"));
    lbl_ID->setGeometry(QRect(226, 20, 71, 20));
    lbl_ID->setAlignment(Qt::AlignCenter);
    lbl_Periode = new QLabel(groupBox_2);
    lbl_Periode->setObjectName(QString::fromUtf8("lbl_Periode"));
    lbl_Periode->setGeometry(QRect(320, 20, 61, 16));
    lbl_Periode->setAlignment(Qt::AlignCenter);
    lineEdit_ID_Time = new QLineEdit(groupBox_2);
    lineEdit_ID_Time->setObjectName(QString::fromUtf8("lineEdit_ID_Time"));
    lineEdit_ID_Time->setGeometry(QRect(230, 190, 61, 20));
    checkBox_Time = new QCheckBox(groupBox_2);
    checkBox_Time->setObjectName(QString::fromUtf8("checkBox_Time"));
    checkBox_Time->setGeometry(QRect(20, 190, 201, 17));
    lineEdit_periode_Time = new QLineEdit(groupBox_2);
    lineEdit_periode_Time->setObjectName(QString::fromUtf8("lineEdit_periode_Time"));
    lineEdit_periode_Time->setGeometry(QRect(320, 190, 61, 20));
    lineEdit_ID_precision = new QLineEdit(groupBox_2);
    lineEdit_ID_precision->setObjectName(QString::fromUtf8("lineEdit_ID_precision"));
    lineEdit_ID_precision->setGeometry(QRect(230, 100, 61, 20));
    lineEdit_periode_precision = new QLineEdit(groupBox_2);
    lineEdit_periode_precision->setObjectName(QString::fromUtf8("lineEdit_periode_precision"));
    lineEdit_periode_precision->setGeometry(QRect(320, 100, 61, 20));
    checkBox_precision = new QCheckBox(groupBox_2);
    checkBox_precision->setObjectName(QString::fromUtf8("checkBox_precision"));
    checkBox_precision->setGeometry(QRect(20, 100, 201, 17));
    groupBox_General = new QGroupBox(centralwidget);
    groupBox_General->setObjectName(QString::fromUtf8("groupBox_General"));
    groupBox_General->setGeometry(QRect(10, 20, 401, 61));
    checkBox_ZT = new QCheckBox(groupBox_General);
    checkBox_ZT->setObjectName(QString::fromUtf8("checkBox_ZT"));
    checkBox_ZT->setGeometry(QRect(240, 30, 151, 17));
    comboBox_VCAN = new QComboBox(groupBox_General);
    comboBox_VCAN->setObjectName(QString::fromUtf8("comboBox_VCAN"));
    comboBox_VCAN->setGeometry(QRect(120, 30, 101, 22));
    lbl_VCAN = new QLabel(groupBox_General);
    lbl_VCAN->setObjectName(QString::fromUtf8("lbl_VCAN"));
    lbl_VCAN->setGeometry(QRect(20, 30, 101, 20));
    groupBox_3 = new QGroupBox(centralwidget);
    groupBox_3->setObjectName(QString::fromUtf8("groupBox_3"));
    groupBox_3->setGeometry(QRect(420, 20, 401, 61));
    checkBox_DayLightSaving = new QCheckBox(groupBox_3);
    checkBox_DayLightSaving->setObjectName(QString::fromUtf8("checkBox_DayLightSaving"));
    checkBox_DayLightSaving->setGeometry(QRect(230, 30, 161, 17));
    lbl_TimeZone = new QLabel(groupBox_3);
    lbl_TimeZone->setObjectName(QString::fromUtf8("lbl_TimeZone"));
    lbl_TimeZone->setGeometry(QRect(20, 30, 111, 16));
    lineEdit_TimeShift = new QLineEdit(groupBox_3);
    lineEdit_TimeShift->setObjectName(QString::fromUtf8("lineEdit_TimeShift"));
    lineEdit_TimeShift->setGeometry(QRect(142, 30, 71, 20));
    pushButton_Scan = new QPushButton(centralwidget);
    pushButton_Scan->setObjectName(QString::fromUtf8("pushButton_Scan"));
    pushButton_Scan->setGeometry(QRect(470, 400, 121, 23));
    groupBox_4 = new QGroupBox(centralwidget);
    groupBox_4->setObjectName(QString::fromUtf8("groupBox_4"));
    groupBox_4->setGeometry(QRect(420, 330, 401, 61));
    horizontalSlider_LumLED = new QSlider(groupBox_4);
    horizontalSlider_LumLED->setObjectName(QString::fromUtf8("horizontalSlider_LumLED"));
    horizontalSlider_LumLED->setGeometry(QRect(130, 30, 201, 19));
    horizontalSlider_LumLED->setMinimum(5);
    horizontalSlider_LumLED->setMaximum(100);
    horizontalSlider_LumLED->setSingleStep(5);
    horizontalSlider_LumLED->setOrientation(Qt::Horizontal);
    horizontalSlider_LumLED->setTickPosition(QSlider::TicksBelow);
    horizontalSlider_LumLED->setTickInterval(5);
    checkBox_LEDs = new QCheckBox(groupBox_4);
    checkBox_LEDs->setObjectName(QString::fromUtf8("checkBox_LEDs"));
    checkBox_LEDs->setGeometry(QRect(20, 30, 101, 17));
    label_LumLED = new QLabel(groupBox_4);
    label_LumLED->setObjectName(QString::fromUtf8("label_LumLED"));
    label_LumLED->setGeometry(QRect(200, 10, 61, 16));
    label_LumLED->setAlignment(Qt::AlignCenter);
    label_LumLEDpercent = new QLabel(groupBox_4);
    label_LumLEDpercent->setObjectName(QString::fromUtf8("label_LumLEDpercent"));
    label_LumLEDpercent->setGeometry(QRect(340, 30, 31, 20));
    label_LumLEDpercent->setAlignment(Qt::AlignRight | Qt::AlignTrailing | Qt::AlignVCenter);
    groupBox_5 = new QGroupBox(centralwidget);
    groupBox_5->setObjectName(QString::fromUtf8("groupBox_5"));
    groupBox_5->setGeometry(QRect(420, 260, 401, 61));
    radioButton_hMSL = new QRadioButton(groupBox_5);
    radioButton_hMSL->setObjectName(QString::fromUtf8("radioButton_hMSL"));
    radioButton_hMSL->setGeometry(QRect(10, 30, 181, 17));
    radioButton_hEllipsoidal = new QRadioButton(groupBox_5);
    radioButton_hEllipsoidal->setObjectName(QString::fromUtf8("radioButton_hEllipsoidal"));
    radioButton_hEllipsoidal->setGeometry(QRect(200, 30, 191, 17));
    groupBox_6 = new QGroupBox(centralwidget);
    groupBox_6->setObjectName(QString::fromUtf8("groupBox_6"));
    groupBox_6->setGeometry(QRect(420, 90, 401, 161));
    lineEdit_PremierID_ECUMASTER = new QLineEdit(groupBox_6);
    lineEdit_PremierID_ECUMASTER->setObjectName(QString::fromUtf8("lineEdit_PremierID_ECUMASTER"));
    lineEdit_PremierID_ECUMASTER->setGeometry(QRect(140, 40, 71, 20));
    checkBox_ECUMASTER_TIME = new QCheckBox(groupBox_6);
    checkBox_ECUMASTER_TIME->setObjectName(QString::fromUtf8("checkBox_ECUMASTER_TIME"));
    checkBox_ECUMASTER_TIME->setGeometry(QRect(20, 120, 261, 17));
    lbl_PremierID_ECUMASTER = new QLabel(groupBox_6);
    lbl_PremierID_ECUMASTER->setObjectName(QString::fromUtf8("lbl_PremierID_ECUMASTER"));
    lbl_PremierID_ECUMASTER->setGeometry(QRect(20, 40, 81, 16));
    lbl_PremierID_ECUMASTER->setAlignment(Qt::AlignLeading | Qt::AlignLeft | Qt::AlignVCenter);
    checkBox_ECUMASTER_GPS_INFOS = new QCheckBox(groupBox_6);
    checkBox_ECUMASTER_GPS_INFOS->setObjectName(QString::fromUtf8("checkBox_ECUMASTER_GPS_INFOS"));
    checkBox_ECUMASTER_GPS_INFOS->setGeometry(QRect(20, 90, 261, 17));
    lineEdit_periode_ECUMASTER_GPS_INFOS = new QLineEdit(groupBox_6);
    lineEdit_periode_ECUMASTER_GPS_INFOS->setObjectName(
        QString::fromUtf8("lineEdit_periode_ECUMASTER_GPS_INFOS"));
    lineEdit_periode_ECUMASTER_GPS_INFOS->setGeometry(QRect(290, 90, 61, 20));
    lineEdit_periode_ECUMASTER_TIME = new QLineEdit(groupBox_6);
    lineEdit_periode_ECUMASTER_TIME->setObjectName(
        QString::fromUtf8("lineEdit_periode_ECUMASTER_TIME"));
    lineEdit_periode_ECUMASTER_TIME->setGeometry(QRect(290, 120, 61, 20));
    lbl_Periode_RT_2 = new QLabel(groupBox_6);
    lbl_Periode_RT_2->setObjectName(QString::fromUtf8("lbl_Periode_RT_2"));
    lbl_Periode_RT_2->setGeometry(QRect(290, 60, 61, 16));
    lbl_Periode_RT_2->setAlignment(Qt::AlignCenter);

    window->setCentralWidget(centralwidget);
    statusbar = new QStatusBar(window);
    statusbar->setObjectName(QString::fromUtf8("statusbar"));
    window->setStatusBar(statusbar);
    menuBar = new QMenuBar(window);
    menuBar->setObjectName(QString::fromUtf8("menuBar"));
    menuBar->setGeometry(QRect(0, 0, 830, 21));
    window->setMenuBar(menuBar);

    // Keyboard order through the left column, then the four buttons.
    QWidget *const chain[] = {comboBox_VCAN,
                              checkBox_ZT,
                              checkBox_DayLightSaving,
                              lineEdit_PremierID_RT,
                              lineEdit_OffsetID_RT,
                              checkBox_Lon_Lat_RT,
                              lineEdit_periode_Lon_Lat_RT,
                              checkBox_Time_RT,
                              lineEdit_periode_Time_RT,
                              checkBox_GPS_Long_Lat,
                              lineEdit_ID_Lat_Lon,
                              lineEdit_periode_Lon_Lat,
                              checkBox_GPS_Speed_Alt,
                              lineEdit_ID_Speed_Alt,
                              lineEdit_periode_Speed_Alt,
                              checkBox_precision,
                              lineEdit_ID_precision,
                              lineEdit_periode_precision,
                              checkBox_GPS_UTC_Time,
                              lineEdit_ID_UTC_Time,
                              lineEdit_periode_UTC_time,
                              checkBox_GPS_CURRENT_Time,
                              lineEdit_ID_Current_Time,
                              lineEdit_periode_Current_time,
                              checkBox_Time,
                              lineEdit_ID_Time,
                              lineEdit_periode_Time,
                              pushButton_Scan,
                              pushButton_Config,
                              pushButton_Reboot,
                              pushButton_RAZ};
    for (size_t i = 1; i < sizeof chain / sizeof chain[0]; ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);

    retranslateUi(window);

    QMetaObject::connectSlotsByName(window);
}

void Ui_MainWindow::retranslateUi(QMainWindow *window)
{
    window->setWindowTitle(QCoreApplication::translate("MainWindow", "VELDRIX v2.1", nullptr));
    pushButton_Config->setText(
        QCoreApplication::translate("MainWindow", "Configurer le GPS", nullptr));
    pushButton_RAZ->setText(QCoreApplication::translate("MainWindow", "RAZ le GPS", nullptr));
    pushButton_Reboot->setText(
        QCoreApplication::translate("MainWindow", "Redémarrer le GPS", nullptr));
    groupBox->setTitle(QCoreApplication::translate("MainWindow", "CAN MegaSquirt 3 (RT)", nullptr));
    checkBox_Lon_Lat_RT->setText(QCoreApplication::translate(
        "MainWindow", "Trames position GPS / Vitesse / Altitude", nullptr));
    checkBox_Time_RT->setText(
        QCoreApplication::translate("MainWindow", "Trames Date/Heure et Infos", nullptr));
    lbl_PremierID_RT->setText(QCoreApplication::translate("MainWindow", "Premier ID", nullptr));
    lbl_Offset_RT->setText(QCoreApplication::translate("MainWindow", "Offset ID", nullptr));
    lbl_Periode_RT->setText(QCoreApplication::translate("MainWindow", "Période (ms)", nullptr));
    groupBox_2->setTitle(QCoreApplication::translate("MainWindow", "CAN Module VELDRIX", nullptr));
    checkBox_GPS_CURRENT_Time->setText(
        QCoreApplication::translate("MainWindow", "Trame Date/Heure (Fuseau Horaire)", nullptr));
    checkBox_GPS_UTC_Time->setText(
        QCoreApplication::translate("MainWindow", "Trame Date/Heure (UTC)", nullptr));
    checkBox_GPS_Speed_Alt->setText(
        QCoreApplication::translate("MainWindow", "Trame Vitesse/Altitude", nullptr));
    checkBox_GPS_Long_Lat->setText(
        QCoreApplication::translate("MainWindow", "Trame Longitude/Latitude", nullptr));
    lbl_ID->setText(QCoreApplication::translate("MainWindow", "Identifiant", nullptr));
    lbl_Periode->setText(QCoreApplication::translate("MainWindow", "Période (ms)", nullptr));
    checkBox_Time->setText(
        QCoreApplication::translate("MainWindow", "TrameTemps (HHMMSS)", nullptr));
    checkBox_precision->setText(
        QCoreApplication::translate("MainWindow", "Trame Precision GPS/infos Satellites", nullptr));
    groupBox_General->setTitle(
        QCoreApplication::translate("MainWindow", "Paramètres CAN", nullptr));
    checkBox_ZT->setText(
        QCoreApplication::translate("MainWindow", "Résistance de terminaison", nullptr));
    lbl_VCAN->setText(QCoreApplication::translate("MainWindow", "Vitesse du bus CAN", nullptr));
    groupBox_3->setTitle(
        QCoreApplication::translate("MainWindow", "Paramètres Fuseau Horaire", nullptr));
    checkBox_DayLightSaving->setText(
        QCoreApplication::translate("MainWindow", "Heure Eté/Hiver Automatique", nullptr));
    lbl_TimeZone->setText(QCoreApplication::translate("MainWindow", "Fuseau Horaire", nullptr));
    pushButton_Scan->setText(QCoreApplication::translate("MainWindow", "Connecter", nullptr));
    groupBox_4->setTitle(QCoreApplication::translate("MainWindow", "LED Module GPS", nullptr));
    checkBox_LEDs->setText(QCoreApplication::translate("MainWindow", "Activée", nullptr));
    label_LumLED->setText(QCoreApplication::translate("MainWindow", "Luminosité", nullptr));
    label_LumLEDpercent->setText(QCoreApplication::translate("MainWindow", "%", nullptr));
    groupBox_5->setTitle(QCoreApplication::translate("MainWindow", "Altitude", nullptr));
    radioButton_hMSL->setText(
        QCoreApplication::translate("MainWindow", "Par rapport au niveau de la mer", nullptr));
    radioButton_hEllipsoidal->setText(QCoreApplication::translate(
        "MainWindow", "Par rapport à l'ellipsoïde de la terre", nullptr));
    groupBox_6->setTitle(QCoreApplication::translate("MainWindow", "CAN ECUmaster", nullptr));
    checkBox_ECUMASTER_TIME->setText(
        QCoreApplication::translate("MainWindow", "Trame Date/Heure", nullptr));
    lbl_PremierID_ECUMASTER->setText(
        QCoreApplication::translate("MainWindow", "Premier ID", nullptr));
    checkBox_ECUMASTER_GPS_INFOS->setText(QCoreApplication::translate(
        "MainWindow", "Trames position GPS / Altitude / Vitesse / Infos", nullptr));
    lbl_Periode_RT_2->setText(QCoreApplication::translate("MainWindow", "Période (ms)", nullptr));
}

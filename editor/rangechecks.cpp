// Placeholder until the range checks are written.
#include "app/mainwindow.h"

bool MainWindow::checkIDRange(uint32_t valeur)
{
    Q_UNUSED(valeur);
    return true;
}

bool MainWindow::checkPeriodeRange(uint32_t valeur)
{
    Q_UNUSED(valeur);
    return true;
}

void MainWindow::on_lineEdit_ID_Lat_Lon_editingFinished() {}
void MainWindow::on_lineEdit_PremierID_RT_editingFinished() {}
void MainWindow::on_lineEdit_OffsetID_RT_editingFinished() {}
void MainWindow::on_lineEdit_ID_Speed_Alt_editingFinished() {}
void MainWindow::on_lineEdit_ID_precision_editingFinished() {}
void MainWindow::on_lineEdit_ID_UTC_Time_editingFinished() {}
void MainWindow::on_lineEdit_ID_Current_Time_editingFinished() {}
void MainWindow::on_lineEdit_ID_Time_editingFinished() {}
void MainWindow::on_lineEdit_periode_Lon_Lat_RT_editingFinished() {}
void MainWindow::on_lineEdit_TimeShift_editingFinished() {}
void MainWindow::on_lineEdit_periode_Time_RT_editingFinished() {}
void MainWindow::on_lineEdit_periode_Lon_Lat_editingFinished() {}
void MainWindow::on_lineEdit_periode_Speed_Alt_editingFinished() {}
void MainWindow::on_lineEdit_periode_precision_editingFinished() {}
void MainWindow::on_lineEdit_periode_UTC_time_editingFinished() {}
void MainWindow::on_lineEdit_periode_Current_time_editingFinished() {}
void MainWindow::on_lineEdit_periode_Time_editingFinished() {}
void MainWindow::on_lineEdit_PremierID_ECUMASTER_editingFinished() {}
void MainWindow::on_lineEdit_periode_ECUMASTER_GPS_INFOS_editingFinished() {}
void MainWindow::on_lineEdit_periode_ECUMASTER_TIME_editingFinished() {}

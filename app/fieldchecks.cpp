// The range checks of the form's number fields: the window's side. Each
// field's slot hands its field over to the range check of editor/, with the
// range of the setting it shows; the frames' identifiers and periods are
// judged through checkIDRange and checkPeriodeRange.
#include "app/formfields.h"
#include "app/mainwindow.h"
#include "editor/rangecheck.h"
#include "forms/ui_mainwindow.h"
#include "link/records.h"

bool MainWindow::checkIDRange(uint32_t valeur)
{
    return editor::acceptOrReport(records::frameIdRange, valeur);
}

bool MainWindow::checkPeriodeRange(uint32_t valeur)
{
    return editor::acceptOrReport(records::periodRange, valeur);
}

void MainWindow::checkFieldRange(QLineEdit *field)
{
    // A field that loses the focus while an exchange runs (the window loses
    // its activation) is not checked for that focus change: a box in the
    // middle of an exchange would stop it. The field keeps its text, and is
    // checked the next time its editing finishes.
    const records::Setting *setting = formfields::settingOf(field->objectName());
    if (!setting || setting->kind != records::Kind::Number ||
        clickState.waiting() == ClickState::Wait::Exchange)
        return;
    const records::Range &range = *setting->range;
    if (&range == &records::frameIdRange)
        editor::checkField(*field, range, [this](qint64 v) { return checkIDRange(uint32_t(v)); });
    else if (&range == &records::periodRange)
        editor::checkField(*field, range,
                           [this](qint64 v) { return checkPeriodeRange(uint32_t(v)); });
    else
        editor::checkField(*field, range);
}

void MainWindow::on_lineEdit_ID_Lat_Lon_editingFinished()
{
    checkFieldRange(ui->lineEdit_ID_Lat_Lon);
}
void MainWindow::on_lineEdit_PremierID_RT_editingFinished()
{
    checkFieldRange(ui->lineEdit_PremierID_RT);
}
void MainWindow::on_lineEdit_OffsetID_RT_editingFinished()
{
    checkFieldRange(ui->lineEdit_OffsetID_RT);
}
void MainWindow::on_lineEdit_ID_Speed_Alt_editingFinished()
{
    checkFieldRange(ui->lineEdit_ID_Speed_Alt);
}
void MainWindow::on_lineEdit_ID_precision_editingFinished()
{
    checkFieldRange(ui->lineEdit_ID_precision);
}
void MainWindow::on_lineEdit_ID_UTC_Time_editingFinished()
{
    checkFieldRange(ui->lineEdit_ID_UTC_Time);
}
void MainWindow::on_lineEdit_ID_Current_Time_editingFinished()
{
    checkFieldRange(ui->lineEdit_ID_Current_Time);
}
void MainWindow::on_lineEdit_ID_Time_editingFinished()
{
    checkFieldRange(ui->lineEdit_ID_Time);
}
void MainWindow::on_lineEdit_periode_Lon_Lat_RT_editingFinished()
{
    checkFieldRange(ui->lineEdit_periode_Lon_Lat_RT);
}
void MainWindow::on_lineEdit_TimeShift_editingFinished()
{
    checkFieldRange(ui->lineEdit_TimeShift);
}
void MainWindow::on_lineEdit_periode_Time_RT_editingFinished()
{
    checkFieldRange(ui->lineEdit_periode_Time_RT);
}
void MainWindow::on_lineEdit_periode_Lon_Lat_editingFinished()
{
    checkFieldRange(ui->lineEdit_periode_Lon_Lat);
}
void MainWindow::on_lineEdit_periode_Speed_Alt_editingFinished()
{
    checkFieldRange(ui->lineEdit_periode_Speed_Alt);
}
void MainWindow::on_lineEdit_periode_precision_editingFinished()
{
    checkFieldRange(ui->lineEdit_periode_precision);
}
void MainWindow::on_lineEdit_periode_UTC_time_editingFinished()
{
    checkFieldRange(ui->lineEdit_periode_UTC_time);
}
void MainWindow::on_lineEdit_periode_Current_time_editingFinished()
{
    checkFieldRange(ui->lineEdit_periode_Current_time);
}
void MainWindow::on_lineEdit_periode_Time_editingFinished()
{
    checkFieldRange(ui->lineEdit_periode_Time);
}
void MainWindow::on_lineEdit_PremierID_ECUMASTER_editingFinished()
{
    checkFieldRange(ui->lineEdit_PremierID_ECUMASTER);
}
void MainWindow::on_lineEdit_periode_ECUMASTER_GPS_INFOS_editingFinished()
{
    checkFieldRange(ui->lineEdit_periode_ECUMASTER_GPS_INFOS);
}
void MainWindow::on_lineEdit_periode_ECUMASTER_TIME_editingFinished()
{
    checkFieldRange(ui->lineEdit_periode_ECUMASTER_TIME);
}

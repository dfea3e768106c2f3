// Range checks of the form's numeric fields, run when editing of a field
// finishes. A value out of range is reported in a message box; the field then
// takes the focus back with its text selected so that it can be typed over.
// The text itself is never touched and nothing is blocked: a value left out of
// range is sent to the module as it stands.
#include "app/formfields.h"
#include "app/mainwindow.h"
#include "forms/ui_mainwindow.h"
#include "link/records.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QString>

namespace
{

// The message of one kind of field. The texts are French whatever language
// the captions are in; the bounds are the setting's own.
struct RangeMessage {
    const records::Range &range;
    const char *text;
    const char *informativeText;
};

const RangeMessage rangeMessages[] = {
    {records::frameIdRange, "L'identifiant est en dehors des limites.",
     "La valeur doit être comprise entre 10 et 2045"},
    {records::periodRange, "La periode est en dehors des limites.",
     "La valeur doit être comprise entre 10 et 2500 (ms)"},
    {records::zoneOffsetRange, "Le décalage horaire est en dehors des limites.",
     "La valeur doit être comprise entre -12 et 12"},
    {records::firstIdRange, "L'identifiant est en dehors des limites.",
     "La valeur doit être comprise entre 10 et 2000"},
    {records::idOffsetRange, "L'offset est en dehors des limites.",
     "La valeur doit être comprise entre 10 et 30"},
};

const RangeMessage &messageOf(const records::Range &range)
{
    for (const RangeMessage &message : rangeMessages) {
        if (&message.range == &range)
            return message;
    }
    Q_UNREACHABLE();
}

// True when the number lies within the range; otherwise shows its message,
// waits until the user has closed it and returns false.
bool acceptOrReport(const records::Range &range, qint64 value)
{
    if (range.lowest <= value && value <= range.highest)
        return true;
    const RangeMessage &texts = messageOf(range);
    QMessageBox message;
    message.setText(QString::fromUtf8(texts.text));
    message.setInformativeText(QString::fromUtf8(texts.informativeText));
    message.exec();
    return false;
}

// Set while a range message is up and until its field has the focus back.
// Taking the focus from a line edit makes it report the end of editing once
// more, so the box itself, and the return of the focus, would start a second
// check inside the first and stack a second box over it. The box is
// application-modal, so no user action can end an edit while this is set.
bool rangeMessageUp = false;

} // namespace

bool MainWindow::checkIDRange(uint32_t valeur)
{
    return acceptOrReport(records::frameIdRange, valeur);
}

bool MainWindow::checkPeriodeRange(uint32_t valeur)
{
    return acceptOrReport(records::periodRange, valeur);
}

void MainWindow::checkFieldRange(QLineEdit *field)
{
    // A field that loses the focus while an exchange runs (the window loses
    // its activation) is not checked for that focus change: a box in the
    // middle of an exchange would stop it. The field keeps its text, and is
    // checked the next time its editing finishes.
    const records::Setting *setting = formfields::settingOf(field->objectName());
    if (!setting || setting->kind != records::Kind::Number || rangeMessageUp || exchanging)
        return;
    const QScopedValueRollback<bool> guard(rangeMessageUp, true);

    // Base 10, 0 for anything that does not convert (empty, letters, a minus
    // sign before an unsigned number, too large for 32 bits): only a range
    // that admits negative numbers reads a sign. The identifiers and periods
    // of the frames go through their check slots, the others are judged here.
    const records::Range &range = *setting->range;
    const QString text = field->text();
    const qint64 value =
        range.lowest < 0 ? qint64(text.toInt(nullptr, 10)) : qint64(text.toUInt(nullptr, 10));
    bool inRange = false;
    if (&range == &records::frameIdRange)
        inRange = checkIDRange(uint32_t(value));
    else if (&range == &records::periodRange)
        inRange = checkPeriodeRange(uint32_t(value));
    else
        inRange = acceptOrReport(range, value);
    if (inRange)
        return;
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
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

// Range checks of the form's numeric fields, run when editing of a field
// finishes. A value out of range is reported in a message box; the field then
// takes the focus back with its text selected so that it can be typed over.
// The text itself is never touched and nothing is blocked: a value left out of
// range is sent to the module as it stands.
#include "app/mainwindow.h"
#include "forms/ui_mainwindow.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QString>

namespace
{

// One kind of field: its inclusive bounds and the two texts of its message.
// The texts are French whatever language the captions are in.
struct RangeKind {
    qint64 lowest;
    qint64 highest;
    const char *text;
    const char *informativeText;
};

const RangeKind frameIdentifier{10, 2045, "L'identifiant est en dehors des limites.",
                                "La valeur doit être comprise entre 10 et 2045"};
const RangeKind framePeriod{10, 2500, "La periode est en dehors des limites.",
                            "La valeur doit être comprise entre 10 et 2500 (ms)"};
const RangeKind timeShift{-12, 12, "Le décalage horaire est en dehors des limites.",
                          "La valeur doit être comprise entre -12 et 12"};
const RangeKind firstIdentifier{10, 2000, "L'identifiant est en dehors des limites.",
                                "La valeur doit être comprise entre 10 et 2000"};
const RangeKind identifierOffset{10, 30, "L'offset est en dehors des limites.",
                                 "La valeur doit être comprise entre 10 et 30"};

// How a field's text becomes a number. Both conversions are base 10 and give
// 0 for anything they cannot read (empty, letters, a minus sign before an
// unsigned number, too large for 32 bits); 0 passes only as a time zone offset.
enum class Reading { Unsigned, Signed };

// Who judges the number: one of the two check slots, each of which shows its
// own message, or the field's own range. For the rows judged by a slot, the
// kind names the range that slot applies.
enum class Judge { IdentifierSlot, PeriodSlot, OwnRange };

struct FieldRule {
    const char *objectName;
    const RangeKind &kind;
    Reading reading;
    Judge judge;
};

const FieldRule fieldRules[] = {
    {"lineEdit_ID_Lat_Lon", frameIdentifier, Reading::Unsigned, Judge::IdentifierSlot},
    {"lineEdit_ID_Speed_Alt", frameIdentifier, Reading::Unsigned, Judge::IdentifierSlot},
    {"lineEdit_ID_precision", frameIdentifier, Reading::Unsigned, Judge::IdentifierSlot},
    {"lineEdit_ID_UTC_Time", frameIdentifier, Reading::Unsigned, Judge::IdentifierSlot},
    {"lineEdit_ID_Current_Time", frameIdentifier, Reading::Unsigned, Judge::IdentifierSlot},
    {"lineEdit_ID_Time", frameIdentifier, Reading::Unsigned, Judge::IdentifierSlot},
    {"lineEdit_periode_Lon_Lat", framePeriod, Reading::Unsigned, Judge::PeriodSlot},
    {"lineEdit_periode_Speed_Alt", framePeriod, Reading::Unsigned, Judge::PeriodSlot},
    {"lineEdit_periode_precision", framePeriod, Reading::Unsigned, Judge::PeriodSlot},
    {"lineEdit_periode_UTC_time", framePeriod, Reading::Unsigned, Judge::PeriodSlot},
    {"lineEdit_periode_Current_time", framePeriod, Reading::Unsigned, Judge::PeriodSlot},
    {"lineEdit_periode_Time", framePeriod, Reading::Unsigned, Judge::PeriodSlot},
    {"lineEdit_periode_Lon_Lat_RT", framePeriod, Reading::Unsigned, Judge::PeriodSlot},
    {"lineEdit_periode_Time_RT", framePeriod, Reading::Unsigned, Judge::PeriodSlot},
    {"lineEdit_periode_ECUMASTER_GPS_INFOS", framePeriod, Reading::Unsigned, Judge::PeriodSlot},
    {"lineEdit_periode_ECUMASTER_TIME", framePeriod, Reading::Unsigned, Judge::PeriodSlot},
    {"lineEdit_TimeShift", timeShift, Reading::Signed, Judge::OwnRange},
    {"lineEdit_PremierID_RT", firstIdentifier, Reading::Unsigned, Judge::OwnRange},
    {"lineEdit_OffsetID_RT", identifierOffset, Reading::Unsigned, Judge::OwnRange},
    {"lineEdit_PremierID_ECUMASTER", firstIdentifier, Reading::Unsigned, Judge::OwnRange},
};

const FieldRule *ruleFor(const QString &objectName)
{
    for (const FieldRule &rule : fieldRules) {
        if (objectName == QLatin1String(rule.objectName))
            return &rule;
    }
    return nullptr;
}

// True when the number lies within the kind's bounds; otherwise shows the
// kind's message, waits until the user has closed it and returns false.
bool acceptOrReport(const RangeKind &kind, qint64 value)
{
    if (kind.lowest <= value && value <= kind.highest)
        return true;
    QMessageBox message;
    message.setText(QString::fromUtf8(kind.text));
    message.setInformativeText(QString::fromUtf8(kind.informativeText));
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
    return acceptOrReport(frameIdentifier, valeur);
}

bool MainWindow::checkPeriodeRange(uint32_t valeur)
{
    return acceptOrReport(framePeriod, valeur);
}

void MainWindow::checkFieldRange(QLineEdit *field)
{
    // A field that loses the focus while an exchange runs (the window loses
    // its activation) is not checked for that focus change: a box in the
    // middle of an exchange would stop it. The field keeps its text, and is
    // checked the next time its editing finishes.
    const FieldRule *rule = ruleFor(field->objectName());
    if (!rule || rangeMessageUp || exchanging)
        return;
    const QScopedValueRollback<bool> guard(rangeMessageUp, true);

    const QString text = field->text();
    const qint64 value = rule->reading == Reading::Signed ? qint64(text.toInt(nullptr, 10))
                                                          : qint64(text.toUInt(nullptr, 10));
    bool inRange = false;
    switch (rule->judge) {
    case Judge::IdentifierSlot:
        inRange = checkIDRange(uint32_t(value));
        break;
    case Judge::PeriodSlot:
        inRange = checkPeriodeRange(uint32_t(value));
        break;
    case Judge::OwnRange:
        inRange = acceptOrReport(rule->kind, value);
        break;
    }
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

// The form's side of the two configuration records: the slots only move
// values between the widgets and the table of link/records.h.
#include "app/formfields.h"
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "forms/ui_mainwindow.h"
#include "link/records.h"

#include <QAbstractButton>

namespace formfields
{

const records::Setting *settingOf(const QString &objectName)
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (objectName == QLatin1String(fields[i].widget))
            return &records::settings[i];
    }
    return nullptr;
}

} // namespace formfields

namespace
{

template <typename W> W *formWidget(QWidget *form, const char *name)
{
    return form->findChild<W *>(QLatin1String(name));
}

const formfields::Field &fieldOf(const records::Setting &setting)
{
    return formfields::fields[std::size_t(&setting - records::settings.data())];
}

} // namespace

QString MainWindow::makeConfFromUI()
{
    QWidget *const form = ui->centralwidget;
    QStringList values;
    for (const records::Setting &setting : records::settings) {
        const char *const widget = fieldOf(setting).widget;
        QString value;
        switch (setting.kind) {
        case records::Kind::CanSpeed: {
            const auto *box = formWidget<QComboBox>(form, widget);
            value = QString::number(box->itemData(box->currentIndex(), Qt::UserRole).toInt());
            break;
        }
        case records::Kind::Switch:
        case records::Kind::Altitude:
            value = records::switchText(formWidget<QAbstractButton>(form, widget)->isChecked());
            break;
        case records::Kind::Number:
            value = formWidget<QLineEdit>(form, widget)->text();
            break;
        case records::Kind::Brightness:
            value = QString::number(formWidget<QSlider>(form, widget)->value());
            break;
        }
        values.append(value);
    }
    return records::configurationString(moduleName, values);
}

bool MainWindow::parseConfToUI(QString conf)
{
    const QStringList parts = records::replyValues(conf, moduleName.length());
    if (parts.size() != records::settingCount)
        return false;

    QWidget *const form = ui->centralwidget;
    for (const records::Setting *setting : records::settingsInReadOrder()) {
        const QString &part = parts.at(setting->readPosition - 1);
        const formfields::Field &field = fieldOf(*setting);
        switch (setting->kind) {
        case records::Kind::CanSpeed: {
            auto *box = formWidget<QComboBox>(form, field.widget);
            const int index =
                box->findData(part, Qt::UserRole, Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (index >= 0)
                box->setCurrentIndex(index);
            break;
        }
        case records::Kind::Switch:
            formWidget<QAbstractButton>(form, field.widget)->setChecked(records::switchIsOn(part));
            break;
        case records::Kind::Altitude:
            // The two buttons exclude each other: checking one clears the other.
            formWidget<QAbstractButton>(form,
                                        records::switchIsOn(part) ? field.widget : field.partner)
                ->setChecked(true);
            break;
        case records::Kind::Number:
            formWidget<QLineEdit>(form, field.widget)->setText(part);
            break;
        case records::Kind::Brightness:
            // The slider keeps to its range and its steps; the label then shows
            // the text as the module sent it.
            formWidget<QSlider>(form, field.widget)->setValue(part.toInt());
            formWidget<QLabel>(form, field.partner)->setText(QStringLiteral("%1 %").arg(part));
            break;
        }
    }
    return true;
}

void MainWindow::on_horizontalSlider_LumLED_valueChanged(int value)
{
    ui->label_LumLEDpercent->setText(QStringLiteral("%1 %").arg(value));
    // Rounding down to a step changes the value once more and brings us back
    // here with the rounded value, which leaves it as it is.
    ui->horizontalSlider_LumLED->setValue((value / 5) * 5);
}

QString MainWindow::checked_String_with_CRC_Removed(QString data)
{
    return records::checkedReply(data);
}

// Placeholder until the configuration records are written.
#include "app/mainwindow.h"

QString MainWindow::makeConfFromUI()
{
    return QString();
}

bool MainWindow::parseConfToUI(QString conf)
{
    Q_UNUSED(conf);
    return false;
}

void MainWindow::on_horizontalSlider_LumLED_valueChanged(int value)
{
    Q_UNUSED(value);
}

QString MainWindow::checked_String_with_CRC_Removed(QString data)
{
    Q_UNUSED(data);
    return "NAN";
}

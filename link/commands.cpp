// Placeholder until the module commands are written.
#include "app/mainwindow.h"

bool MainWindow::sendConfToModule()
{
    return false;
}

bool MainWindow::rebootModule()
{
    return false;
}

bool MainWindow::resetModule()
{
    return false;
}

void MainWindow::msleep(int msec)
{
    Q_UNUSED(msec);
}

void MainWindow::on_pushButton_Config_clicked() {}
void MainWindow::on_pushButton_Reboot_clicked() {}
void MainWindow::on_pushButton_RAZ_clicked() {}

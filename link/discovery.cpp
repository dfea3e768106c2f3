// Placeholder until discovery and the configuration read are written.
#include "app/mainwindow.h"

void MainWindow::FindModuleOverSerial() {}

bool MainWindow::readConfFromSerial()
{
    return false;
}

void MainWindow::on_pushButton_Scan_clicked() {}

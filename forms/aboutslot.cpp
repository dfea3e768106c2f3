// Placeholder until the about dialog is written.
#include "app/mainwindow.h"

void MainWindow::about() {}

#include "app/mainwindow.h"
#include "forms/formabout.h"

// The dialog lives only while it is shown; what it returns does not matter.
void MainWindow::about()
{
    FormAbout dialog(this);
    dialog.exec();
}

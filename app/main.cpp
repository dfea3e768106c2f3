#include "mainwindow.h"

#include "forms/formfont.h"
#include "forms/programicon.h"

#include <QApplication>
#include <QStatusBar>

int main(int argc, char *argv[])
{
    enableScreenScaling();
    QApplication app(argc, argv);
    useFormFont();
    // Every window of the program, message boxes included, shows its icon.
    QApplication::setWindowIcon(programIcon());
    MainWindow window;
    // The window has a fixed size: a resize grip would promise otherwise.
    window.statusBar()->setSizeGripEnabled(false);
    window.show();
    const int code = app.exec();
    return code;
}

#include "mainwindow.h"

#include "forms/formfont.h"
#include "forms/programicon.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    enableScreenScaling();
    QApplication app(argc, argv);
    useFormFont();
    // Every window of the program, message boxes included, shows its icon.
    QApplication::setWindowIcon(programIcon());
    MainWindow window;
    window.show();
    const int code = app.exec();
    return code;
}

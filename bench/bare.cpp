// The smallest Qt Widgets program with a main window, built with the same
// compiler and flags as the configurator: the yardstick of bench/run.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.show();
    const int code = app.exec();
    return code;
}

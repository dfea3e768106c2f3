// Renders the main window and the about dialog, in French and in English, to
// PNG files, without a display (run it with QT_QPA_PLATFORM=offscreen).
// Usage: veldrix-screenshots DIR
#include "app/mainwindow.h"
#include "forms/formabout.h"

#include <QApplication>
#include <QDir>
#include <QMetaObject>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace
{

bool save(QWidget &widget, const QDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// The about dialog as the help menu opens it, over the window, in the
// language installed at that moment.
bool saveAbout(QWidget &window, const QDir &dir, const QString &name)
{
    FormAbout about(&window);
    about.show();
    return save(about, dir, name);
}

} // namespace

int main(int argc, char *argv[])
{
    // The language choice is stored; keep it out of the user's own settings.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());

    QApplication app(argc, argv);
    // Catalogues are found by the program's name, veldrix_<code>.qm.
    QCoreApplication::setApplicationName("veldrix");
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
    QDir().mkpath(dir.path());

    bool ok = true;
    {
        MainWindow window;
        window.show();
        ok &= save(window, dir, "mainwindow_fr.png");
        ok &= saveAbout(window, dir, "about_fr.png");
        // Choosing English from the menu turns the captions at once...
        QMetaObject::invokeMethod(&window, "langEn");
        ok &= save(window, dir, "mainwindow_en_switched.png");
        ok &= saveAbout(window, dir, "about_en.png");
    }
    {
        // ...and the menus at the next start.
        MainWindow window;
        window.show();
        ok &= save(window, dir, "mainwindow_en.png");
        QMetaObject::invokeMethod(&window, "langFr");
    }
    return ok ? 0 : 1;
}

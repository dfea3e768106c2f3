// Renders the main window and the about dialog, in French and in English, to
// the PNG files that the README shows, without a display (run it with
// QT_QPA_PLATFORM=offscreen). The French window is also rendered at twice the
// size, as a 2x screen shows it.
// Usage: veldrix-screenshots DIR
// veldrix-screenshots DIR --scaled NAME renders only the French window, as the
// screen shows it at its scale, to DIR/NAME_PERCENT.png (windows_fr_125.png):
// the Windows build renders the Windows pictures so, under Wine.
#include "app/mainwindow.h"
#include "forms/formabout.h"
#include "forms/formfont.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMetaObject>
#include <QTemporaryDir>

#include <cstdio>

namespace
{

// Draws the widget into a picture `scale` times its size in each direction;
// text and lines are drawn at that resolution, not enlarged afterwards.
bool save(QWidget &widget, const QDir &dir, const QString &name, int scale = 1)
{
    QImage image(widget.size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    widget.render(&image);
    const QString path = dir.filePath(name);
    if (!image.save(path)) {
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

    enableScreenScaling();
    QApplication app(argc, argv);
    useFormFont();
    // Catalogues are found by the program's name, veldrix_<code>.qm.
    QCoreApplication::setApplicationName("veldrix");
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
    QDir().mkpath(dir.path());

    bool ok = true;
    if (argc > 3 && qstrcmp(argv[2], "--scaled") == 0) {
        MainWindow window;
        window.show();
        const QString name = QString("%1_%2.png")
                                 .arg(QString::fromLocal8Bit(argv[3]))
                                 .arg(qRound(window.devicePixelRatioF() * 100));
        // What the screen shows: the window drawn at its scale, text included.
        ok = window.grab().save(dir.filePath(name));
        std::printf("%s\n", qPrintable(dir.filePath(name)));
        return ok ? 0 : 1;
    }
    {
        MainWindow window;
        window.show();
        ok &= save(window, dir, "mainwindow_fr.png");
        ok &= save(window, dir, "mainwindow_fr@2x.png", 2);
        ok &= saveAbout(window, dir, "about_fr.png");
        // Choosing English turns the captions at once, the menus at the next
        // start; the about dialog is built anew and follows at once.
        QMetaObject::invokeMethod(&window, "langEn");
        ok &= saveAbout(window, dir, "about_en.png");
    }
    {
        MainWindow window;
        window.show();
        ok &= save(window, dir, "mainwindow_en.png");
    }
    return ok ? 0 : 1;
}

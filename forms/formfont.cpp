#include "formfont.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>

QFont formFont()
{
    // Liberation Sans Narrow (Debian: fonts-liberation) keeps every caption,
    // French or English, inside its widget with room to spare. Its size is in
    // pixels, like the rectangles: 11 pixels is 8 points at 100 %, and both
    // grow with the screen's scale.
    QFont font(QStringLiteral("Liberation Sans Narrow"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

void useFormFont()
{
#ifdef Q_OS_WIN
    // Windows has no such font: the installer and the zip bring its file.
    const QDir fonts(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"));
    for (const QString &file : fonts.entryList({QStringLiteral("*.ttf")}, QDir::Files))
        QFontDatabase::addApplicationFont(fonts.filePath(file));
#endif
    // By class, not for the whole application: that would take the system's
    // fonts from menus and message boxes too. The window's widgets take it
    // from the window.
    for (const char *form : {"MainWindow", "FormAbout"})
        QApplication::setFont(formFont(), form);
}

void enableScreenScaling()
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#ifdef Q_OS_WIN
    // Windows' own steps of 25 %, not rounded to a whole factor. Elsewhere Qt
    // rounds as it does by default: X11 desktops give any value (105.6 dpi
    // for a text scaled by 1.1), and headless platforms claim 100 dpi.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
#endif
}

#include "formfont.h"

#include <QApplication>

QFont formFont()
{
    // Liberation Sans Narrow (Debian: fonts-liberation) keeps every caption,
    // French or English, inside its widget with room to spare. Its size is in
    // pixels, like the rectangles: 11 pixels is 8 points on a 96 dpi screen,
    // and a screen whose dpi is set higher without scaling the windows does
    // not push the text out of them.
    QFont font(QStringLiteral("Liberation Sans Narrow"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

void useFormFont()
{
#ifndef Q_OS_WIN
    QApplication::setFont(formFont());
#endif
}

void enableScreenScaling()
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
}

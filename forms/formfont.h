#ifndef VELDRIX_FORMFONT_H
#define VELDRIX_FORMFONT_H

#include <QFont>

// The form's rectangles were drawn in pixels for the 8-point dialog font of
// Windows. Elsewhere the desktop's own font is larger and wider and cuts the
// captions off, so the program brings a narrow font of the same height.

// The font given to the whole application on platforms other than Windows.
QFont formFont();

// Gives the application the form font; on Windows it keeps the platform's.
// Call it after the application object is made and before any window.
void useFormFont();

// Lets windows, text and icons follow the screen's scale (twice the size on a
// 2x screen), on every platform: on a Windows screen at 150 % the form's pixel
// rectangles grow with the system font, so that no caption is cut off. Call
// it before the application object is made.
void enableScreenScaling();

#endif

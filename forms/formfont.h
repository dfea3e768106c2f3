#ifndef VELDRIX_FORMFONT_H
#define VELDRIX_FORMFONT_H

#include <QFont>

// The form's rectangles were drawn in pixels for the 8-point dialog font of
// Windows at 100 %. The system's fonts are wider (Tahoma, the Windows dialog
// font, by 2 to 11 pixels at some scale or other; desktop fonts elsewhere by
// more) and cut captions off, so the program brings a narrow font of the same
// height, on every platform.

// The font of the main window and the about dialog: Liberation Sans Narrow,
// 11 pixels.
QFont formFont();

// Gives the main window and the about dialog the form font; menus, message
// boxes and other dialogs, laid out by Qt, keep the system's. On Windows the
// font's files are loaded first from fonts/ beside the program. Call it after
// the application object is made and before any window.
void useFormFont();

// Lets windows, text and icons follow the screen's scale (twice the size on a
// 2x screen), on every platform; on Windows by the scale's own factor: 125 %
// makes the window 1038 x 668 pixels and its text 25 % larger (Qt would round
// 1.25 down to 1 and 1.75 up to 2). Call it before the application object is
// made.
void enableScreenScaling();

#endif

#ifndef VELDRIX_FUZZ_HARNESS_H
#define VELDRIX_FUZZ_HARNESS_H

// Shared by the fuzz targets: one hidden main window for the whole run, the
// steps the program takes with a reply once it has been received, and an
// independent account of what those steps must do, against which every input
// is checked. A disagreement aborts, so that libFuzzer keeps the input.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace fuzzing
{

// Aborts with `what` when `condition` is false.
void require(bool condition, const char *what);

// Builds the application (offscreen, private HOME) and the window on the
// first call.
void setUp();

// The check character: 0x20 plus the sum of the bytes modulo 64.
char checkCharacterOf(const QByteArray &bytes);

// `payload`, its check character and two closing bytes: a frame as the module
// sends it.
QByteArray framed(const QByteArray &payload);

// The module name the window works with (the process-wide link state).
void setModuleName(const QString &name);

// Takes a received configuration reply through the program the way the read
// does after the port has been closed: more than two bytes, decoded up to the
// first NUL, checked, then loaded into the form. Checks every step against
// the independent account. Returns whether the form was loaded.
bool loadReply(const QByteArray &reply);

// The configuration string the program would send now; checked against the
// form it was built from.
QString configurationString();

// The 36 values of the worked example, in the order the module reports them
// and in the order the configuration string carries them.
QString exampleReadOrder();
QString exampleWriteOrder();

} // namespace fuzzing

#endif

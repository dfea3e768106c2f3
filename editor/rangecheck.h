#ifndef VELDRIX_RANGECHECK_H
#define VELDRIX_RANGECHECK_H

// Range checks of the form's number fields, run when editing of a field
// finishes. A value out of range is reported in a message box in French,
// whatever language the captions are in; the field then takes the focus back
// with its text selected so that it can be typed over. The text itself is
// never touched and nothing is blocked: a value left out of range is sent to
// the module as it stands.

#include "link/records.h"

#include <QtGlobal>

#include <functional>

class QLineEdit;
class QString;

namespace editor
{

// The number a field's text stands for: base 10, and 0 for anything that does
// not convert (empty, letters, too large for 32 bits); only a range that
// admits negative numbers reads a sign.
qint64 valueOf(const QString &text, const records::Range &range);

// True when the number lies within the range; otherwise shows the range's
// message, waits until the user has closed it and returns false.
bool acceptOrReport(const records::Range &range, qint64 value);

// Checks the field's text against the range: `judge` (acceptOrReport by
// default) tells whether the value is in range, reporting it when not; the
// field then takes the focus back with its text selected. A check asked while
// another check's box is up is not run: taking the focus from a line edit
// makes it report the end of editing once more, so the box, and the return of
// the focus, would otherwise start a second check inside the first.
void checkField(QLineEdit &field, const records::Range &range,
                const std::function<bool(qint64)> &judge = {});

} // namespace editor

#endif

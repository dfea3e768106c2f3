#ifndef VELDRIX_LANGUAGE_H
#define VELDRIX_LANGUAGE_H

// The language of the captions: the catalogues installed for it and the
// choice kept between runs. The translators live as long as the program.

#include <QString>

namespace i18n
{

// The language kept from the last run, "fr" when none was kept.
QString storedLanguage();

// Installs the catalogues of the language and keeps the choice for the next
// run. Catalogues are looked for relative to the working directory: Qt's own
// as translations/qt_<code>.qm, the program's as <application name>_<code>.qm.
// The code is used as given, whatever it is. The caller then translates its
// windows again.
void useLanguage(const QString &code);

} // namespace i18n

#endif

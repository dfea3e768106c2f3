#ifndef VELDRIX_FORMFIELDS_H
#define VELDRIX_FORMFIELDS_H

// Where the form shows each of the 36 settings of link/records.h.

#include "link/records.h"

#include <QString>

namespace formfields
{

struct Field {
    const char *widget;  // object name on the form
    const char *partner; // second widget: the MSL radio button, the % label
};

// Entry i shows records::settings[i].
extern const std::array<Field, records::settingCount> fields;

// The setting shown by the form's widget of that name, or null.
const records::Setting *settingOf(const QString &objectName);

} // namespace formfields

#endif

#ifndef VELDRIX_PROCESSSTATE_H
#define VELDRIX_PROCESSSTATE_H

#include <QString>

class QTranslator;

// Objects that live for the whole run, outside any window. They are all
// defined in app/mainwindow.cpp so that their construction order is fixed:
// the two translators first, then the two texts of the link.

// Catalogue of Qt's own texts and catalogue of the program's texts; loaded
// again on every language switch, never re-created.
extern QTranslator qtTranslator;
extern QTranslator appTranslator;

// Link state: what the last discovery and connect found.
extern QString moduleName;     // identification text, begins with "VELDRIX_"
extern QString modulePortName; // port on which the module answered
extern bool moduleFound;       // the last discovery found a module
extern bool moduleConnected;   // the last connect read the configuration

#endif

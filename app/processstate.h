#ifndef VELDRIX_PROCESSSTATE_H
#define VELDRIX_PROCESSSTATE_H

#include <QString>

// Objects that live for the whole run, outside any window, defined in
// app/mainwindow.cpp.

// Link state: what the last discovery and connect found.
extern QString moduleName;     // identification text, begins with "VELDRIX_"
extern QString modulePortName; // port on which the module answered
extern bool moduleFound;       // the last discovery found a module
extern bool moduleConnected;   // the last connect read the configuration

#endif

#ifndef VELDRIX_CLI_TEXTS_H
#define VELDRIX_CLI_TEXTS_H

#include "link/exchange.h"

#include <QIODevice>
#include <QSerialPort>
#include <QString>

// How veldrix-cli writes its lines, and what it says about a port.
namespace cli
{

inline constexpr char program[] = "veldrix-cli";

// A port as the system names it, for the help.
#ifdef Q_OS_WIN
inline constexpr char examplePort[] = "COM3", examplePath[] = "\\\\.\\COM3";
#else
inline constexpr char examplePort[] = "ttyUSB0", examplePath[] = "/dev/ttyUSB0";
#endif

void print(QIODevice &device, const QString &line);

// Why a request did not leave the port whole; empty when it did. A port
// that would not open is told apart: refused to this user, or held by
// another program.
QString sendFailure(const exchange::Outcome &outcome, const QString &port = {});

// Why an answer that left whole brought nothing usable.
QString answerFailure(const exchange::Outcome &outcome);

// Why a port asked to identify itself is not a module.
QString notModule(const QString &port, const exchange::Outcome &identify);

// Whether the port would not open because this user may not open it.
bool refusedForPermission(const QString &port, const exchange::Outcome &outcome);

// What to do about ports refused for permission, on this system.
QString permissionAdvice();

} // namespace cli

#endif

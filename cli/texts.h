#ifndef VELDRIX_CLI_TEXTS_H
#define VELDRIX_CLI_TEXTS_H

#include "link/exchange.h"

#include <QIODevice>
#include <QSerialPort>
#include <QString>

// How veldrix-cli writes its lines, and what it says about a port that fails.
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

// What went wrong with a port, in a few words.
QString portReason(QSerialPort::SerialPortError error);

// Why a request did not leave the port whole; empty when it did.
QString sendFailure(const exchange::Outcome &outcome);

} // namespace cli

#endif

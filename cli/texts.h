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

void print(QIODevice &device, const QString &line);

// What went wrong with a port, in a few words.
QString portReason(QSerialPort::SerialPortError error);

// Why a request did not leave the port whole; empty when it did.
QString sendFailure(const exchange::Outcome &outcome);

} // namespace cli

#endif

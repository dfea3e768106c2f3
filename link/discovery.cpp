// Finding the module among the serial ports, reading its configuration, and
// the connect/read button.
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "exchange.h"
#include "forms/ui_mainwindow.h"
#include "ports.h"
#include "records.h"

#include <QSerialPort>

// Every listed port is asked to identify itself; the last one that answers as
// a module wins. A port that did not open cannot be written to, which is
// where it gets reported.
void MainWindow::FindModuleOverSerial()
{
    moduleFound = false;
    modulePortName = "";
    moduleName = "";

    const QStringList names = ports::listed();
    for (const QString &name : names) {
        QSerialPort port;
        exchange::prepare(port, name);
        port.open(QIODevice::ReadWrite);

        const exchange::Sent sent = exchange::send(port, "iI\n", exchange::commandDrainMs);
        if (sent == exchange::Sent::Refused)
            ui->statusbar->showMessage(QString("Impossible d'écrire sur le port %1. Erreur : %2")
                                           .arg(name, exchange::explainPortError(port.error())));
        if (sent != exchange::Sent::Done)
            continue;

        const std::optional<QString> found =
            exchange::moduleNameFromIdentification(exchange::receive(port));
        if (found) {
            moduleFound = true;
            moduleName = *found;
            modulePortName = name;
        }
    }
}

bool MainWindow::readConfFromSerial()
{
    QByteArray reply;
    {
        QSerialPort port;
        exchange::prepare(port, modulePortName);
        if (!port.open(QIODevice::ReadWrite))
            return false;
        if (exchange::send(port, "sS\n", exchange::commandDrainMs) != exchange::Sent::Done)
            return false;
        reply = exchange::receive(port);
        if (port.error() == QSerialPort::ReadError)
            return false;
        if (port.error() == QSerialPort::TimeoutError && reply.isEmpty())
            return false;
    }

    if (reply.size() <= 2)
        return false;
    const QString checked = checked_String_with_CRC_Removed(exchange::textBeforeNul(reply));
    if (checked == records::rejectedReply)
        return false;
    return parseConfToUI(checked);
}

void MainWindow::on_pushButton_Scan_clicked()
{
    const QString connectedName = moduleName;
    FindModuleOverSerial();

    QPushButton *const commands[] = {ui->pushButton_Config, ui->pushButton_Reboot,
                                     ui->pushButton_RAZ};
    if (!moduleFound) {
        if (moduleConnected) {
            moduleConnected = false;
            ui->statusbar->showMessage(QString("Connexion au module %1 perdue").arg(connectedName));
        } else {
            ui->statusbar->showMessage("Aucun Module VELDRIX détecté");
        }
        ui->pushButton_Scan->setText("Connecter");
        for (QPushButton *button : commands)
            button->setEnabled(false);
        return;
    }

    if (readConfFromSerial()) {
        ui->statusbar->showMessage(QString(moduleConnected ? "%1 connecté sur port %2 (relecture)"
                                                           : "%1 connecté sur port %2")
                                       .arg(moduleName, modulePortName));
        moduleConnected = true;
        ui->pushButton_Scan->setText("Lire");
        for (QPushButton *button : commands)
            button->setEnabled(true);
    } else {
        moduleConnected = false;
        ui->statusbar->showMessage(
            QString("Impossible de lire la configuration du module %1 connecté sur port %2")
                .arg(moduleName, modulePortName));
        ui->pushButton_Scan->setText("Connecter");
        for (QPushButton *button : commands)
            button->setEnabled(false);
    }
}

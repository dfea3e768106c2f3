// Finding the module among the serial ports, reading its configuration, and
// the connect/read button.
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "forms/ui_mainwindow.h"
#include "link/exchange.h"
#include "link/ports.h"
#include "link/probe.h"
#include "link/records.h"

namespace
{

// A French sentence that tells the user what went wrong with a port, for the
// status bar message of a port that could not be written to.
QString explainPortError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
        return QStringLiteral("le port n'a signalé aucune erreur.");
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("le port n'existe pas ou a été débranché.");
    case QSerialPort::PermissionError:
        return QStringLiteral("le port est utilisé par un autre programme, ou cet utilisateur "
                              "n'a pas le droit de l'ouvrir.");
    case QSerialPort::OpenError:
        return QStringLiteral("le port est déjà ouvert.");
    case QSerialPort::NotOpenError:
        return QStringLiteral("le port n'a pas pu être ouvert.");
    case QSerialPort::WriteError:
        return QStringLiteral("l'envoi des données sur le port a échoué.");
    case QSerialPort::ReadError:
        return QStringLiteral("la lecture des données du port a échoué.");
    case QSerialPort::ResourceError:
        return QStringLiteral("le port a disparu, le module a sans doute été débranché.");
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("le système ne permet pas d'utiliser ce port ainsi.");
    case QSerialPort::TimeoutError:
        return QStringLiteral("le port n'a pas répondu à temps.");
    default:
        return QStringLiteral("le port a signalé une erreur inconnue (code %1).")
            .arg(static_cast<int>(error));
    }
}

} // namespace

// Every listed port is asked to identify itself, all of them at once; the
// last one in the list that answers as a module wins, whichever answered
// first. A port that did not open cannot be written to, which is where it
// gets reported, in the order of the list.
void MainWindow::FindModuleOverSerial()
{
    moduleFound = false;
    modulePortName = "";
    moduleName = "";

    probe::Round round(ports::listed());
    for (const probe::Refusal &refusal : round.refusals())
        ui->statusbar->showMessage(QString("Impossible d'écrire sur le port %1. Erreur : %2")
                                       .arg(refusal.port, explainPortError(refusal.error)));
    awaitExchange([&round] { round.collect(); });

    if (const std::optional<probe::Module> module = round.lastModule()) {
        moduleFound = true;
        moduleName = module->name;
        modulePortName = module->port;
    }
}

bool MainWindow::readConfFromSerial()
{
    exchange::Round read({exchange::readRequest(modulePortName)});
    awaitExchange([&read] { read.run(); });
    const std::optional<QString> reply = exchange::replyText(read.outcome(0));
    if (!reply)
        return false;
    const QString checked = checked_String_with_CRC_Removed(*reply);
    if (checked == records::rejectedReply)
        return false;
    return parseConfToUI(checked);
}

void MainWindow::on_pushButton_Scan_clicked()
{
    // While the ports are listened to, the window keeps painting and its
    // close button still reaches it; closing waits for the click's end.
    const ClickState::Click click(clickState);

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

// The three commands given to a connected module: write the form's
// configuration, restart, return to the factory configuration.
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "link/exchange.h"
#include "link/records.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>

namespace
{

// Tells the user how a command went. The boxes have no parent, title or icon.
void report(const QString &text, const QString &advice = QString())
{
    QMessageBox box;
    box.setText(text);
    if (!advice.isEmpty())
        box.setInformativeText(advice);
    box.exec();
}

const char *const unplugAdvice = "Veuillez débrancher le module et re-essayer.";

// Tells the user whether a command went out, with the advice to replug after
// a failure, and passes the outcome on.
bool reported(bool sent, const char *success, const char *failure)
{
    if (sent)
        report(success);
    else
        report(failure, unplugAdvice);
    return sent;
}

} // namespace

// One exchange that only writes: open the module's port, send, let it drain.
// The port is closed when this returns.
bool MainWindow::sendToModule(const exchange::Request &command)
{
    exchange::Round round({command});
    awaitExchange([&round] { round.run(); });
    return round.outcome(0).sent == exchange::Sent::Done;
}

// The configuration string as UTF-8, its check character, one line feed.
bool MainWindow::sendConfToModule()
{
    return sendToModule(
        exchange::configureRequest(modulePortName, records::configurationFrame(makeConfFromUI())));
}

bool MainWindow::rebootModule()
{
    return sendToModule(exchange::restartRequest(modulePortName));
}

bool MainWindow::resetModule()
{
    return sendToModule(exchange::factoryResetRequest(modulePortName));
}

// Waits without blocking the window: events keep being handled meanwhile.
void MainWindow::msleep(int msec)
{
    QEventLoop loop;
    QTimer::singleShot(msec, &loop, &QEventLoop::quit);
    loop.exec();
}

// After a command went out, the module is given half a second and then read
// again: the form shows what it really holds, and the status bar whether it
// is back. A command that could not be written changes nothing.
void MainWindow::concludeCommand(bool sent, const char *success, const char *failure)
{
    bool wentOut = false;
    {
        const ClickState::During box(clickState, ClickState::Wait::Box);
        wentOut = reported(sent, success, failure);
    }
    if (wentOut) {
        {
            const ClickState::During settle(clickState, ClickState::Wait::Settle);
            msleep(exchange::settleMs);
        }
        on_pushButton_Scan_clicked();
    }
}

// A close asked for at any time during a command, its box, the wait and the
// re-read included, is carried out once the click is over.
void MainWindow::on_pushButton_Config_clicked()
{
    const ClickState::Click click(clickState);
    concludeCommand(sendConfToModule(), "Le module a été configuré.",
                    "Impossible de configurer le module.");
}

void MainWindow::on_pushButton_Reboot_clicked()
{
    const ClickState::Click click(clickState);
    concludeCommand(rebootModule(), "Le module a été redémarré.",
                    "Impossible de redémarrer le module.");
}

// A failed factory reset reads like a failed restart.
void MainWindow::on_pushButton_RAZ_clicked()
{
    const ClickState::Click click(clickState);
    concludeCommand(resetModule(), "Le module a été remis en configuration usine.",
                    "Impossible de redémarrer le module.");
}

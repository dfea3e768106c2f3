// The longest the window goes without handling its events during each click
// that talks to the module, and how long the click takes.
//   veldrix-bench-stalls [ROUNDS]   (default 3)
// The module stand-in answers at once, in three pieces 200 ms apart, or
// trickles its configuration reply (a byte every 20 ms, until the 5 s
// ceiling cuts it off). The commands' clicks include their message box,
// answered at once, the half-second wait and the re-read. The last case puts
// 12 ports whose command never leaves (their output is stopped) after the
// module: their drain times (250 ms) run side by side, beside the module's
// answer and its 350 ms of silence, so the click should take about as long
// as the plain one, and find the module.
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "link/ports.h"
#include "measure.h"
#include "standin/modulestandin.h"
#include "standin/stoppedport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QStatusBar>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace
{

using standin::Behaviour;
using standin::Script;

struct Case {
    const char *label;
    const char *button;
    void (*shape)(standin::ModuleStandin &module);
    int stoppedPorts;
};

Script inPieces(const QByteArray &answer)
{
    const int third = answer.size() / 3;
    return {{0, answer.left(third)}, {200, answer.mid(third, third)}, {200, answer.mid(2 * third)}};
}

void atOnce(standin::ModuleStandin &) {}

void pieces(standin::ModuleStandin &module)
{
    const Script identify = inPieces(module.id + "\r\n"), reply = inPieces(module.reply());
    module.change([&](Behaviour &m) {
        m.answers['i'] = identify;
        m.answers['s'] = reply;
    });
}

void trickle(standin::ModuleStandin &module)
{
    module.change([](Behaviour &m) { m.answers['s'] = Script(9999, {20, "x"}); });
}

// One click on a module, stopped ports and a window of its own, so that
// nothing a click left behind (a reply still trickling in) reaches the next.
// False when no pseudo-terminal was to be had.
bool clickOnce(const Case &c, double &stall, double &took, QString &status)
{
    standin::ModuleStandin module;
    std::vector<std::unique_ptr<standin::StoppedPort>> stopped;
    QStringList listed;
    if (module.start())
        listed << module.portPath();
    for (int i = 0; i < c.stoppedPorts; ++i) {
        stopped.push_back(std::make_unique<standin::StoppedPort>());
        if (stopped.back()->ok())
            listed << stopped.back()->path();
    }
    if (listed.size() != 1 + c.stoppedPorts)
        return false;
    c.shape(module);
    ports::install(listed);
    moduleConnected = false; // a "Connecter" of its own, not a re-read

    MainWindow window;
    window.show();
    auto *button = window.findChild<QAbstractButton *>(c.button);
    if (!button->isEnabled()) // a command needs the module connected
        window.findChild<QAbstractButton *>("pushButton_Scan")->click();
    QElapsedTimer clock;
    clock.start();
    stall = double(measure::longestStall([button] { button->click(); }));
    took = double(clock.elapsed());
    status = window.statusBar()->currentMessage().replace(module.portPath(), "M");
    ports::restoreSystemList();
    return true;
}

void run(const Case &c, int rounds)
{
    std::vector<double> stalls(static_cast<size_t>(rounds)), clicks = stalls;
    QString status;
    for (int r = 0; r < rounds; ++r) {
        if (!clickOnce(c, stalls[size_t(r)], clicks[size_t(r)], status)) {
            std::fprintf(stderr, "no pseudo-terminal to be had\n");
            return;
        }
    }
    std::printf("    %-60s %5.0f [%5.0f] ms %6.0f ms  %s\n", c.label, measure::median(stalls),
                *std::max_element(stalls.begin(), stalls.end()), measure::median(clicks),
                qPrintable(status));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName("veldrix");
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const Case cases[] = {
        {"\"Connecter\", the module answering at once", "pushButton_Scan", atOnce, 0},
        {"\"Connecter\", the module answering in 3 pieces 200 ms apart", "pushButton_Scan", pieces,
         0},
        {"\"Configurer le GPS\", the same module, with the re-read", "pushButton_Config", pieces,
         0},
        {"\"Redémarrer le GPS\", the same module, with the re-read", "pushButton_Reboot", pieces,
         0},
        {"\"RAZ le GPS\", the same module, with the re-read", "pushButton_RAZ", pieces, 0},
        {"\"Connecter\", a module trickling its reply", "pushButton_Scan", trickle, 0},
        {"\"Connecter\", the module followed by 12 stopped ports", "pushButton_Scan", atOnce, 12},
    };
    std::printf("    %-60s %-20s %9s  %s\n", "click", "stall: median [max]", "click",
                "last status");
    for (const Case &c : cases)
        run(c, rounds);
    return 0;
}

// Discovery and the configuration read through Qt's Windows serial code, as
// the program runs them: bench/windows runs it under Wine against the module
// stand-in on a pseudo-terminal that the Wine prefix knows as COM5. Prints
// the ports Windows lists, then what each step found and how long it took;
// ends with 0 only when the module was found and its 36 values read. The
// read goes to COM5 even when discovery missed the module there, the name's
// length then taken from the reply.
#include "link/exchange.h"
#include "link/probe.h"
#include "link/records.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSerialPortInfo>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        std::printf("    listed: %s\n", qPrintable(info.portName()));

    QElapsedTimer clock;
    clock.start();
    probe::Round round({"COM5"});
    round.collect();
    const std::optional<probe::Module> module = round.lastModule();
    std::printf("    discovery over COM5: %s after %lld ms\n",
                module ? qPrintable(module->name) : "no module", clock.restart());

    exchange::Round read({exchange::readRequest("COM5")});
    read.run();
    const exchange::Outcome &outcome = read.outcome(0);
    const QString conf = exchange::checkedConfiguration(outcome).value_or(records::rejectedReply);
    const int count =
        records::replyValues(conf, module ? module->name.size() : conf.indexOf(' ')).size();
    std::printf("    configuration read: %d bytes%s, %s, %d values, after %lld ms\n",
                outcome.answer.size(), outcome.cutOff ? " cut off" : "",
                conf == records::rejectedReply ? "rejected" : "checked", count, clock.elapsed());
    return module && conf != records::rejectedReply && count == records::settingCount ? 0 : 1;
}

#include "cli/interrupt.h"

#include <csignal>

namespace cli
{
namespace
{

volatile std::sig_atomic_t caught = 0;

extern "C" void note(int signal)
{
    caught = signal;
    // The next one ends the program: a user who presses Ctrl+C twice wants out.
    std::signal(signal, SIG_DFL);
}

} // namespace

void watchInterrupts()
{
    caught = 0;
    std::signal(SIGINT, note);
    std::signal(SIGTERM, note);
}

int interruptSignal()
{
    return caught;
}

} // namespace cli

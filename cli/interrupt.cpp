#include "cli/interrupt.h"

#include <csignal>

namespace cli
{
namespace
{

volatile std::sig_atomic_t noted = 0;

extern "C" void note(int signal)
{
    noted = signal;
    // The next one is not held back: a user who presses Ctrl+C twice wants out.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

} // namespace

void watchInterrupts()
{
    noted = 0;
    std::signal(SIGINT, note);
    std::signal(SIGTERM, note);
}

int interruptSignal()
{
    return noted;
}

int unlessInterrupted(int status)
{
    return noted ? 128 + noted : status;
}

} // namespace cli

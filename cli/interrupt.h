#ifndef VELDRIX_CLI_INTERRUPT_H
#define VELDRIX_CLI_INTERRUPT_H

// Ctrl+C and SIGTERM: noted, not fatal, so that a command stops at a point
// where it can tell each module's state, and ends with 128 + the signal.
namespace cli
{

// From now on SIGINT and SIGTERM (on Windows, Ctrl+C and Ctrl+Break through
// the C runtime's signals) are noted instead of ending the program; a second
// one ends it at once. Calling it again forgets an earlier signal.
void watchInterrupts();

// The signal noted since watchInterrupts(), 0 when none. The steps ask it
// between exchanges, and the half-second wait asks it while it waits.
int interruptSignal();

// The exit status of a command that ends here: 128 + the signal when one was
// noted, else `status`.
int unlessInterrupted(int status);

} // namespace cli

#endif

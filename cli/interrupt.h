#ifndef VELDRIX_CLI_INTERRUPT_H
#define VELDRIX_CLI_INTERRUPT_H

// Ctrl+C and SIGTERM, caught so that a command can say where things stand
// before it ends, rather than die half-way.
namespace cli
{

// From now on, SIGINT and SIGTERM are noted rather than ending the program;
// a second one ends it as usual. Forgets any signal noted before, so that a
// command run again in the same process starts afresh.
void watchInterrupts();

// The signal noted since watchInterrupts(), or 0.
int interruptSignal();

} // namespace cli

#endif

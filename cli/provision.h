#ifndef VELDRIX_CLI_PROVISION_H
#define VELDRIX_CLI_PROVISION_H

#include "cli/commands.h"

// provision: one profile written to each module as it is plugged in, with a
// line for each and, with --log, a row in a CSV record.
namespace cli
{

extern const QCommandLineOption watchPortOption, logOption, countOption;

int provision(const Invocation &call);

} // namespace cli

#endif

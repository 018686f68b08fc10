#pragma once
#include <ostream>

#include "tools/cli_options.h"

namespace tamboro::cli {

// Each command reads the catalogue files of --dir and never writes them.
// Returns the exit status; errors go to err.
int runCheck(const CommandLine& cl, std::ostream& out, std::ostream& err);
int runList(const CommandLine& cl, std::ostream& out, std::ostream& err);
int runExport(const CommandLine& cl, std::ostream& out, std::ostream& err);
int runResave(const CommandLine& cl, std::ostream& out, std::ostream& err);
#ifdef TAMBORO_CLI_REPORT
// Writes the title list report; the one command that needs Qt.
int runReport(const CommandLine& cl, std::ostream& out, std::ostream& err);
#endif

}  // namespace tamboro::cli

#pragma once
// numbers4marvo-cli: bulk import of a draw history and export of any window's
// grid for scripts, spreadsheets and printing.
#include <iosfwd>
#include <string>
#include <vector>

namespace n4 {

enum CliExit { CliDone = 0, CliBadInput = 1, CliUsage = 2 };

// args excludes the program name; programFolder holds the default database.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::string& programFolder);

} // namespace n4

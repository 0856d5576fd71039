#pragma once
// numbers4marvo-cli: bulk import of a draw history and export of any window's
// grid for scripts, spreadsheets and printing.
#include <iosfwd>
#include <string>
#include <vector>

#include "core/cli/ExportNames.h"
#include "core/grid/PictureRequest.h"
#include "core/store/DataLocation.h"

namespace n4 {

enum CliExit { CliDone = 0, CliBadInput = 1, CliUsage = 2 };

// args excludes the program name. location gives the default database and
// settings file (those of the program). Pictures (png, svg, pdf) need the
// toolkit, which this library does not link: the tool passes the writer that
// draws them; without one they are refused. outIsTerminal: out is a terminal,
// where a PNG or PDF is refused (its bytes would only garble the screen).
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const DataLocation& location, const PictureWriter& pictures = {},
           bool outIsTerminal = false);
// The same, with the default found as the program finds it from its folder.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::string& programFolder, const PictureWriter& pictures = {},
           bool outIsTerminal = false);

// The commands and the options (with --help and --version), as --help lists them;
// the manual page and the shell completion name the same.
std::vector<std::string> commandNames();
std::vector<std::string> optionNames();

} // namespace n4

#pragma once
// Reading the draws of an older Jet 4.0 (Access 2000) draw database.
#include <string>

#include "core/import/HistoryImport.h"

namespace n4 {

// Reads the draws in a child process: a damaged file can crash or hang the
// reader, never the program.
ImportResult readJetHistory(const std::string& path);

// The two halves, for tests and fuzzing. The child's work, in this process:
// "OK" and one line "no<TAB>d1<TAB>d2<TAB>d3<TAB>d4" per row, or "ERR<TAB>why".
std::string readJetSerialized(const std::string& path);
// The parent's reading of that text.
ImportResult parseJetSerialized(const std::string& text);

} // namespace n4

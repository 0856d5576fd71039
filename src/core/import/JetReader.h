#pragma once
// Reading the draws of an older Jet 4.0 (Access 2000) draw database.
#include <string>

#include "core/import/HistoryImport.h"

namespace n4 {

// Reads the draws in a process of its own: the running program started
// anew (exec'd, so that nothing of this process's threads goes along) with the
// reader's command. A damaged file can crash or hang the reader, never the
// program.
ImportResult readJetHistory(const std::string& path);

// The reader's command, which main() of every program that reads Jet files
// passes here first: started with it ("PROGRAM --n4-jet-reader FILE"), the
// process reads the file, writes what readJetSerialized says to its standard
// output and ends; otherwise this returns and the program starts as usual.
inline constexpr const char* kJetReaderCommand = "--n4-jet-reader";
void becomeJetReaderIfAsked(int argc, char** argv);

// The reader's work: the file's rows as readJetSerialized says them, written
// whole to fd. False when the writing fails.
bool handOverJetRows(const std::string& path, int fd);

// The two halves, for tests and fuzzing. The child's work, in this process:
// "OK" and one line "no<TAB>d1<TAB>d2<TAB>d3<TAB>d4" per row, or "ERR<TAB>why".
std::string readJetSerialized(const std::string& path);
// The parent's reading of that text.
ImportResult parseJetSerialized(const std::string& text);

} // namespace n4

#pragma once
#include <functional>
#include <string>
#include <vector>

#include "core/store/DrawTable.h"

namespace n4test {

// A fresh empty folder under the system temp folder, removed at exit.
std::string tempFolder();
// The shared real-history folder, or "" when it is absent.
std::string sharedDataFolder();
// The real history CSV read into a table; empty when absent.
n4::DrawTable realHistory();
// The real history with each draw's date and prizes, where the checkout has it.
n4::DrawTable realPricedHistory();
// Draws 1..count of pseudo-random digits, the same for the same seed.
n4::DrawTable pseudoRandomDraws(int count, unsigned seed);
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
// The draws of the database in a program folder, as the program reads them.
n4::DrawTable storedDraws(const std::string& folder);
// Runs f with descriptor 0 free, as in a program started with its standard
// input closed (some launchers do): the next file opened gets descriptor 0.
void withStandardInputClosed(const std::function<void()>& f);
// What each of this process's open descriptors is open on (a file's path,
// "pipe:[…]" and the like), as the system names it.
std::vector<std::string> openDescriptorTargets();

// The command-line tool run in-process over a program folder: its exit code
// and what it printed.
struct CliRun {
    int code;
    std::string out, err;
};
CliRun cli(std::vector<std::string> args, const std::string& folder);

} // namespace n4test

#include "core/analysis/AnalysisCatalog.h"

namespace n4test {
// Runs an analysis as the window does: start-up figures, then the compute step.
n4::Grid analyse(n4::ComputeFn compute, const n4::DrawTable& table);
// One grid row's texts from column 1, joined by "|".
std::string rowTexts(const n4::Grid& grid, int row);
n4::DrawRecord incomplete(int drawNo);
// Forty draws whose prediction uses every part of the methods (see the .cpp).
n4::DrawTable richPredictionHistory();
// Draws 1..count whose digits follow a pattern: long windows to scroll, save
// and print.
n4::DrawTable patternedHistory(int count);
} // namespace n4test

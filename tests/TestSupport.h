#pragma once
#include <string>

#include "data/DrawTable.h"

namespace n4test {

// A fresh empty folder under the system temp folder, removed at exit.
std::string tempFolder();
// The shared real-history folder, or "" when it is absent.
std::string sharedDataFolder();
// The real history CSV read into a table; empty when absent.
n4::DrawTable realHistory();
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

} // namespace n4test

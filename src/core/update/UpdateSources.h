#pragma once
// Where `update` looks for new draws: a list of addresses tried in order.
// An address ending in "/" is the base of the results API (version.json,
// latest.json and numbers4_all_full.json under it); any other is a history
// file in a shape the import reads.
#include <string>
#include <vector>

namespace n4 {

// The results API first, then the same history as one CSV file.
std::vector<std::string> builtInUpdateSources();

bool isApiBase(const std::string& source);

// The list file beside the settings file: 更新元.txt in its folder.
std::string updateSourcesPath(const std::string& settingsPath);

// One address a line; blank lines and lines starting with # are skipped.
// Without the file, the built-in list. false with a Japanese message naming
// the line when a line is no http:// or https:// address, or when the file
// cannot be read or lists no address.
bool readUpdateSources(const std::string& path, std::vector<std::string>& sources,
                       std::string& message);

} // namespace n4

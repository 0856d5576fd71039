#pragma once
// Reading a whole draw history from a file the user brings: a CSV export or an
// older Jet 4.0 (Access) draw database, recognised by content, not by name.
#include <string>
#include <vector>

#include "data/DrawTable.h"

namespace n4 {

struct ImportResult {
    bool ok = false;
    std::vector<DrawRecord> rows;
    int unreadableDigits = 0; // digits that were not 0..9, taken as absent
    int skippedRows = 0;      // rows without a usable draw number
    std::string message;      // Japanese, when !ok
};

bool isJetDatabaseFile(const std::string& path);
ImportResult readHistoryFile(const std::string& path);

} // namespace n4

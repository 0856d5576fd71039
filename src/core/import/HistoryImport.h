#pragma once
// Reading a whole draw history from a file the user brings, recognised by
// content, not by name: CSV/TSV/semicolon text with or without a header,
// a JSON array of draw objects, or an older Jet 4.0 (Access) draw database.
// The command-line tool, the data-entry window and drag and drop all read
// through here. What cannot be read confidently is refused with the line
// and the reason; nothing is half read.
#include <cstddef>
#include <string>
#include <vector>

#include "core/store/DrawTable.h"

namespace n4 {

struct ImportResult {
    bool ok = false;
    std::vector<DrawRecord> rows; // ascending draw numbers, each once
    int unreadableDigits = 0;     // (Jet) digits that were not 0..9, taken as absent
    std::string format;           // Japanese, what the file was read as
    std::string message;          // Japanese, when !ok
};

// Files above this size are refused before they are read.
inline constexpr std::size_t kMaxImportBytes = 64u << 20;

bool isJetDatabaseFile(const std::string& path);
// Only a regular file is read (a folder, a device or a pipe is refused
// without waiting on it), at most kMaxImportBytes.
ImportResult readHistoryFile(const std::string& path);
// The bytes of a file the user names, under the same rules (a regular file,
// at most kMaxImportBytes); false with the reason in Japanese otherwise.
bool readUserFile(const std::string& path, std::string& bytes, std::string& message);
// The text formats, from bytes in any of the accepted encodings. Takes the
// bytes by value so a caller can hand its buffer over instead of copying.
ImportResult readHistoryBytes(std::string bytes);

} // namespace n4

#pragma once
// Files that appear whole or not at all: a new file is written under a
// temporary name beside its final place, flushed to disk and then renamed into
// place, so the final name never names a half-written file.
#include <string>

#include "core/os/System.h"

namespace n4 {

// A path naming an ordinary file: not empty, no ":memory:", no "file:" URI
// (SQLite would quietly open a private temporary or in-memory database for
// those and every write would be lost).
bool isPlainFilePath(const std::string& path);

// A new, empty file beside path, created exclusively (never through a link
// planted there) and readable by the user only. Returns its name, or "" when
// it cannot be created.
std::string createTemporaryBeside(const std::string& path);

// Leftovers of createTemporaryBeside from processes that no longer run (a
// crash or a kill), with their SQLite journals.
void removeStaleTemporaries(const std::string& path);

enum class Publish { Exclusive, Replace };
enum class PublishOutcome { Done, AlreadyThere, Failed };
// Flushes temp and renames it to path, then flushes the folder. Exclusive
// never replaces an existing path (AlreadyThere, temp left for the caller).
PublishOutcome publishFile(const std::string& temp, const std::string& path, Publish how);

// Replaces path's contents with bytes, whole or not at all, through a
// temporary beside it (see createTemporaryBeside). False when any step fails;
// the old file is then untouched and no temporary is left, and error (when
// given) holds the failing step's errno.
bool replaceFile(const std::string& path, const std::string& bytes, int* error = nullptr);

// Swaps the two names in one step where the file system can. Fails (false)
// where it cannot; nothing has moved then.
bool exchangeFiles(const std::string& a, const std::string& b);

// Flushes a file's contents, or a folder's entries, to disk.
bool syncPath(const std::string& path);
bool syncFolderOf(const std::string& path);

// readUpTo and writeAll, the loops every reader and writer of a descriptor
// uses, live with the system calls.
using os::readUpTo;
using os::writeAll;

} // namespace n4

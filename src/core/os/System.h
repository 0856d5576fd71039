#pragma once
// What the program needs of the operating system beyond standard C++ and
// POSIX files: the calls below are Linux's own (System.cpp). A build for
// another desktop system gives this file's functions another body and leaves
// every caller as it is.
#include <cstddef>
#include <functional>
#include <string>

namespace n4::os {

enum class MoveOutcome {
    Done,
    AlreadyThere, // the target name was taken: nothing moved
    Unsupported,  // the file system cannot move without replacing
    Failed,
};

// Renames from to to in one step unless to exists.
MoveOutcome renameWithoutReplacing(const std::string& from, const std::string& to);

// Swaps the two names in one step; false where the file system cannot.
bool exchangeNames(const std::string& a, const std::string& b);

// Flushes a folder's entries (new, renamed or removed names) to the disk.
bool flushFolder(const std::string& folder);

// The user's home folder from the system's user database, or "".
std::string homeFolderOfUser();

// The running program's own file, links resolved, or "" when unknown.
std::string runningProgramPath();

long currentProcessId();

// Reads into buffer until it holds count bytes, the file ends or a read
// fails; an interrupted read is tried again. The number of bytes read.
std::size_t readUpTo(int fd, char* buffer, std::size_t count);
// Writes all count bytes, as many calls as it takes; an interrupted write is
// tried again. false when a write fails or makes no progress.
bool writeAll(int fd, const char* bytes, std::size_t count);

// False only when no process with this id exists any more.
bool processMayBeRunning(long pid);

// Runs work in a separate process, so that a crash or a hang in it cannot take
// the program along, and hands back what it returned. finished is false when
// the child died, failed or stayed silent for silenceLimitMs (it is killed).
struct ChildOutcome {
    bool finished = false;
    std::string output;
};
ChildOutcome runContained(const std::function<std::string()>& work, int silenceLimitMs);

} // namespace n4::os

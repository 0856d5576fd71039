#pragma once
// What the program needs of the operating system beyond standard C++ and
// POSIX files: the calls below are Linux's own (System.cpp). A build for
// another desktop system gives this file's functions another body and leaves
// every caller as it is.
#include <cstddef>
#include <locale.h>
#include <memory>
#include <string>
#include <vector>

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

// Whether this process's standard output is a terminal (not a file or a pipe).
bool standardOutputIsTerminal();

// A system call's reason for failing (an errno value), in words for the user.
std::string reasonInWords(int error);

// Reads into buffer until it holds count bytes, the file ends or a read
// fails; an interrupted read is tried again. The number of bytes read.
std::size_t readUpTo(int fd, char* buffer, std::size_t count);
// Writes all count bytes, as many calls as it takes; an interrupted write is
// tried again. false when a write fails or makes no progress.
bool writeAll(int fd, const char* bytes, std::size_t count);

// False only when no process with this id exists any more.
bool processMayBeRunning(long pid);

// Starts a program (arguments[0] its file, exec'd as a new process image:
// nothing of this process's threads or memory goes along) with its standard
// input empty and its standard output to a pipe, and hands back what it
// wrote. finished is false when it could not start, died, ended with an error
// code or stayed silent for silenceLimitMs (it is killed).
struct ChildOutcome {
    bool finished = false;
    std::string output;
};
ChildOutcome runProgram(const std::vector<std::string>& arguments, int silenceLimitMs);

// Ends this process at once with code: no exit handlers, no destructors.
[[noreturn]] void endProcessNow(int code);

// While it lives, what is printed through the C library's stdout and stderr
// streams (what a C library says as it works) is kept here instead of
// reaching the terminal; both streams are given back when it ends. For a
// process that prints from one thread. Writes straight to file descriptors 1
// and 2 are not caught.
class CaughtPrinting {
  public:
    CaughtPrinting();
    ~CaughtPrinting();
    CaughtPrinting(const CaughtPrinting&) = delete;
    CaughtPrinting& operator=(const CaughtPrinting&) = delete;

    // False when the streams could not be swapped (nothing is caught).
    bool catching() const;
    // What was printed so far, its first kKeptBytes.
    std::string text();
    static constexpr std::size_t kKeptBytes = 4096;

  private:
    struct Sink;
    std::unique_ptr<Sink> sink_;
};

// While it lives, the calling thread writes numbers through the C library's
// printf family in the C locale, with a full stop as the decimal point,
// whatever locale the process took: the toolkit takes the user's at start-up,
// and a German or French one writes 1.009 as 1,009 (and a chart's
// coordinates "64.0,96.0" as "64,0,96,0").
class CNumbers {
  public:
    CNumbers();
    ~CNumbers();
    CNumbers(const CNumbers&) = delete;
    CNumbers& operator=(const CNumbers&) = delete;

  private:
    locale_t previous_;
};

} // namespace n4::os

#pragma once
// The core test program is linked so that a few system calls of the program's
// code pass through here first (the linker's --wrap). By default they go
// straight on; a test can make chosen calls fail the way a full disk, a file
// system without some operation, an interrupted call or another process would.
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace n4test {

// UserEntry is getpwuid: result 0 is no entry, 1 an entry without a home folder.
// ShortRead is a read that goes on but delivers at most `result` bytes, as a
// pipe or a network file system may; ShortWrite a write that takes at most
// `result` bytes, as a pipe may when a signal comes.
enum class Call {
    Rename,
    RenameNoReplace,
    Link,
    Read,
    Write,
    Fsync,
    UserEntry,
    ShortRead,
    ShortWrite
};

struct Fault {
    Fault(Call c, int e, std::string end = "", int r = -1, int s = 0, int t = 1,
          std::function<void()> b = {})
        : call(c), error(e), pathEnd(std::move(end)), result(r), skip(s), times(t),
          before(std::move(b)) {}
    Call call;
    int error;           // errno of the failure
    std::string pathEnd; // matches calls where a path ends so; "" matches every call
    int result;          // what the call returns instead of running
    int skip;            // matching calls let through first
    int times;           // then this many are failed
    // When set, the call is not failed: this runs just before it goes on.
    std::function<void()> before;
};

// The faults hold while the object lives.
class InjectedFaults {
  public:
    InjectedFaults(std::initializer_list<Fault> faults);
    ~InjectedFaults();
    InjectedFaults(const InjectedFaults&) = delete;
    InjectedFaults& operator=(const InjectedFaults&) = delete;
    // How many calls the fault at index i has failed (or run `before` for).
    int fired(size_t i) const;
};

} // namespace n4test

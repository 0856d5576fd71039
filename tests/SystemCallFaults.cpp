#include "SystemCallFaults.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <pwd.h>
#include <sys/types.h>
#include <unistd.h>

namespace n4test {
namespace {

struct Armed {
    Fault fault;
    int seen = 0;
    int fired = 0;
};

std::mutex& lock() {
    static std::mutex m;
    return m;
}

std::vector<Armed>& armed() {
    static std::vector<Armed> a;
    return a;
}

bool endsWith(const char* path, const std::string& end) {
    if (!path) return false;
    const std::string p(path);
    return p.size() >= end.size() && p.compare(p.size() - end.size(), end.size(), end) == 0;
}

// The fault this call meets, if any: false lets it go on (after `before`).
bool meets(Call call, const char* a, const char* b, int& result) {
    std::function<void()> before;
    {
        std::lock_guard<std::mutex> guard(lock());
        for (Armed& x : armed()) {
            const Fault& f = x.fault;
            if (f.call != call) continue;
            if (!f.pathEnd.empty() && !endsWith(a, f.pathEnd) && !endsWith(b, f.pathEnd)) continue;
            if (x.seen++ < f.skip || x.fired >= f.times) continue;
            ++x.fired;
            if (f.before) {
                before = f.before;
                break;
            }
            errno = f.error;
            result = f.result;
            return true;
        }
    }
    if (before) before();
    return false;
}

} // namespace

InjectedFaults::InjectedFaults(std::initializer_list<Fault> faults) {
    std::lock_guard<std::mutex> guard(lock());
    armed().clear();
    for (const Fault& f : faults)
        armed().push_back({f});
}

InjectedFaults::~InjectedFaults() {
    std::lock_guard<std::mutex> guard(lock());
    armed().clear();
}

int InjectedFaults::fired(size_t i) const {
    std::lock_guard<std::mutex> guard(lock());
    return i < armed().size() ? armed()[i].fired : 0;
}

// The bytes a short read or write (`kind`) lets through; errno stays as it was.
size_t shortened(Call kind, size_t count) {
    const int before = errno;
    int r;
    if (meets(kind, nullptr, nullptr, r) && r >= 0) count = std::min(count, static_cast<size_t>(r));
    errno = before;
    return count;
}

} // namespace n4test

using n4test::Call;

extern "C" {
int __real_rename(const char* from, const char* to);
int __real_renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags);
int __real_link(const char* from, const char* to);
ssize_t __real_read(int fd, void* buf, size_t count);
ssize_t __real_write(int fd, const void* buf, size_t count);
int __real_fsync(int fd);

int __wrap_rename(const char* from, const char* to) {
    int r;
    return n4test::meets(Call::Rename, from, to, r) ? r : __real_rename(from, to);
}

int __wrap_renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
    int r;
    return n4test::meets(Call::RenameNoReplace, from, to, r)
               ? r
               : __real_renameat2(fromDir, from, toDir, to, flags);
}

int __wrap_link(const char* from, const char* to) {
    int r;
    return n4test::meets(Call::Link, from, to, r) ? r : __real_link(from, to);
}

ssize_t __wrap_read(int fd, void* buf, size_t count) {
    int r;
    if (n4test::meets(Call::Read, nullptr, nullptr, r)) return r;
    return __real_read(fd, buf, n4test::shortened(Call::ShortRead, count));
}

ssize_t __wrap_write(int fd, const void* buf, size_t count) {
    int r;
    if (n4test::meets(Call::Write, nullptr, nullptr, r)) return r;
    return __real_write(fd, buf, n4test::shortened(Call::ShortWrite, count));
}

int __wrap_fsync(int fd) {
    int r;
    return n4test::meets(Call::Fsync, nullptr, nullptr, r) ? r : __real_fsync(fd);
}

struct passwd* __real_getpwuid(uid_t uid);
struct passwd* __wrap_getpwuid(uid_t uid) {
    static struct passwd homeless = [] {
        struct passwd p {};
        p.pw_name = const_cast<char*>("nobody");
        return p;
    }();
    int r = 0;
    if (!n4test::meets(Call::UserEntry, nullptr, nullptr, r)) return __real_getpwuid(uid);
    return r == 1 ? &homeless : nullptr;
}
}

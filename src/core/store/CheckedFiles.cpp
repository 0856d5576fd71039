#include "core/store/CheckedFiles.h"

#include <map>
#include <mutex>
#include <sys/stat.h>
#include <utility>

namespace n4 {

namespace {

struct Known {
    FileStamp stamp;        // after the last check or write of our own
    bool elsewhere = false; // changed by another program since the check
    unsigned long ownWrites = 0;
};

using FileKey = std::pair<unsigned long long, unsigned long long>;

// A run meets one database, or a few (a Jet take-over's new file, a test's
// folders): the map stays small.
struct Ledger {
    std::mutex lock;
    std::map<FileKey, Known> files;
};

Ledger& ledger() {
    static Ledger l;
    return l;
}

FileKey keyOf(const FileStamp& s) {
    return {s.device, s.inode};
}

} // namespace

FileStamp FileStamp::of(const std::string& path) {
    FileStamp s;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return s;
    s.exists = true;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.modifiedNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    return s;
}

void noteFileChecked(const std::string& path) {
    const FileStamp now = FileStamp::of(path);
    if (!now.exists) return;
    Ledger& l = ledger();
    const std::lock_guard<std::mutex> guard(l.lock);
    Known& known = l.files[keyOf(now)];
    known.stamp = now;
    known.elsewhere = false;
}

void noteOwnWriteStarting(const std::string& path) {
    const FileStamp now = FileStamp::of(path);
    if (!now.exists) return;
    Ledger& l = ledger();
    const std::lock_guard<std::mutex> guard(l.lock);
    auto it = l.files.find(keyOf(now));
    if (it != l.files.end() && it->second.stamp != now) it->second.elsewhere = true;
}

void noteOwnWriteEnded(const std::string& path) {
    const FileStamp now = FileStamp::of(path);
    if (!now.exists) return;
    Ledger& l = ledger();
    const std::lock_guard<std::mutex> guard(l.lock);
    Known& known = l.files[keyOf(now)];
    if (known.stamp.exists) known.stamp = now; // (a file never checked stays so)
    ++known.ownWrites;
}

unsigned long ownWritesTo(const std::string& path) {
    const FileStamp now = FileStamp::of(path);
    Ledger& l = ledger();
    const std::lock_guard<std::mutex> guard(l.lock);
    auto it = l.files.find(keyOf(now));
    return now.exists && it != l.files.end() ? it->second.ownWrites : 0;
}

bool changedElsewhereSinceCheck(const std::string& path) {
    const FileStamp now = FileStamp::of(path);
    Ledger& l = ledger();
    const std::lock_guard<std::mutex> guard(l.lock);
    auto it = l.files.find(keyOf(now));
    if (!now.exists || it == l.files.end()) return true;
    if (it->second.stamp != now) it->second.elsewhere = true;
    return it->second.elsewhere;
}

} // namespace n4

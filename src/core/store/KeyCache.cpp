#include "core/store/KeyCache.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "core/os/System.h"
#include "core/store/AtomicFile.h"
#include "core/store/DataLocation.h"

namespace n4 {

namespace {

// The file: this header, then up to kRememberedKeys entries of salt, key and
// a checksum of the two, the most recently used first.
constexpr char kHeader[] = {'N', '4', 'K', 'E', 'Y', 'S', '\x01', '\n'};
constexpr std::size_t kSaltBytes = std::tuple_size<DatabaseSalt>::value;
constexpr std::size_t kKeyBytes = std::tuple_size<DatabaseKey>::value;
constexpr std::size_t kCheckBytes = 8;
constexpr std::size_t kEntryBytes = kSaltBytes + kKeyBytes + kCheckBytes;
constexpr std::size_t kLargestFile = sizeof kHeader + kRememberedKeys * kEntryBytes;

struct Entry {
    DatabaseSalt salt;
    DatabaseKey key;
};

// FNV-1a over salt and key: catches a damaged entry, nothing more is asked
// of it (a wrong key only fails to open the file).
std::uint64_t checksum(const DatabaseSalt& salt, const DatabaseKey& key) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    auto add = [&h](const std::uint8_t* p, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i)
            h = (h ^ p[i]) * 0x100000001b3ull;
    };
    add(salt.data(), salt.size());
    add(key.data(), key.size());
    return h;
}

void putChecksum(std::uint8_t* out, std::uint64_t value) {
    for (std::size_t i = 0; i < kCheckBytes; ++i)
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t getChecksum(const std::uint8_t* in) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < kCheckBytes; ++i)
        value |= static_cast<std::uint64_t>(in[i]) << (8 * i);
    return value;
}

// The entries of the file that pass their check, in the file's order; none
// for a missing file, a foreign one or one that cannot be read.
std::vector<Entry> readEntries(const std::string& path) {
    std::vector<Entry> entries;
    if (path.empty()) return entries;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return entries;
    std::uint8_t bytes[kLargestFile + 1];
    const std::size_t size = readUpTo(fd, reinterpret_cast<char*>(bytes), sizeof bytes);
    ::close(fd);
    if (size > kLargestFile || size < sizeof kHeader ||
        std::memcmp(bytes, kHeader, sizeof kHeader) != 0 ||
        (size - sizeof kHeader) % kEntryBytes != 0)
        return entries;
    for (std::size_t at = sizeof kHeader; at < size; at += kEntryBytes) {
        Entry e;
        std::memcpy(e.salt.data(), bytes + at, kSaltBytes);
        std::memcpy(e.key.data(), bytes + at + kSaltBytes, kKeyBytes);
        if (getChecksum(bytes + at + kSaltBytes + kKeyBytes) == checksum(e.salt, e.key))
            entries.push_back(e);
    }
    return entries;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The cache's folder and any missing parent, private to the user.
bool makeFolderOf(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) return true;
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) return true;
    if (!makeFolderOf(folder.string())) return false;
    return ::mkdir(folder.c_str(), S_IRWXU) == 0 || errno == EEXIST;
}

} // namespace

std::string defaultKeyCachePath() {
    std::string base = environment("XDG_CACHE_HOME");
    if (base.empty() || base.front() != '/') {
        std::string home = environment("HOME");
        if (home.empty()) home = os::homeFolderOfUser();
        if (home.empty() || home.front() != '/') return {};
        base = home + "/.cache";
    }
    return base + "/" + kDataFolderName + "/database-keys";
}

std::optional<DatabaseKey> recallDatabaseKey(const std::string& cachePath,
                                             const DatabaseSalt& salt) {
    for (const Entry& e : readEntries(cachePath))
        if (e.salt == salt) return e.key;
    return std::nullopt;
}

bool rememberDatabaseKey(const std::string& cachePath, const DatabaseSalt& salt,
                         const DatabaseKey& key) {
    if (cachePath.empty() || !makeFolderOf(cachePath)) return false;
    std::vector<Entry> entries = readEntries(cachePath);
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&salt](const Entry& e) { return e.salt == salt; }),
                  entries.end());
    entries.insert(entries.begin(), Entry{salt, key});
    if (entries.size() > static_cast<std::size_t>(kRememberedKeys)) entries.resize(kRememberedKeys);
    std::string bytes(kHeader, sizeof kHeader);
    for (const Entry& e : entries) {
        std::uint8_t check[kCheckBytes];
        putChecksum(check, checksum(e.salt, e.key));
        bytes.append(reinterpret_cast<const char*>(e.salt.data()), kSaltBytes);
        bytes.append(reinterpret_cast<const char*>(e.key.data()), kKeyBytes);
        bytes.append(reinterpret_cast<const char*>(check), kCheckBytes);
    }
    return replaceFile(cachePath, bytes);
}

} // namespace n4

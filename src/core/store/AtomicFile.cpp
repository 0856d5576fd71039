#include "core/store/AtomicFile.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace n4 {

namespace fs = std::filesystem;

namespace {

constexpr const char* kTemporaryMark = ".new-";
constexpr const char* kJournalSuffix = "-journal";

std::string folderOf(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? "." : parent.string();
}

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// The process id in "NAME.new-PID" or "NAME.new-PID-journal", or 0.
long temporaryOwner(const std::string& name, const std::string& base) {
    const std::string prefix = base + kTemporaryMark;
    if (!startsWith(name, prefix)) return 0;
    std::string rest = name.substr(prefix.size());
    const std::string journal = kJournalSuffix;
    if (rest.size() > journal.size() &&
        rest.compare(rest.size() - journal.size(), journal.size(), journal) == 0)
        rest.resize(rest.size() - journal.size());
    if (rest.empty() || rest.size() > 9 || rest.find_first_not_of("0123456789") != rest.npos)
        return 0;
    return std::stol(rest);
}

bool syncDescriptorOf(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

// Moves temp to path unless path exists. Where the file system cannot do it in
// one step, a hard link does the same; where it has no hard links either, a
// check and a rename are the best there is.
PublishOutcome moveIntoFreePlace(const std::string& temp, const std::string& path) {
    switch (os::renameWithoutReplacing(temp, path)) {
    case os::MoveOutcome::Done:
        return PublishOutcome::Done;
    case os::MoveOutcome::AlreadyThere:
        return PublishOutcome::AlreadyThere;
    case os::MoveOutcome::Failed:
        return PublishOutcome::Failed;
    case os::MoveOutcome::Unsupported:
        break;
    }
    if (::link(temp.c_str(), path.c_str()) == 0) {
        ::unlink(temp.c_str());
        return PublishOutcome::Done;
    }
    if (errno == EEXIST) return PublishOutcome::AlreadyThere;
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0) return PublishOutcome::AlreadyThere;
    return std::rename(temp.c_str(), path.c_str()) == 0 ? PublishOutcome::Done
                                                        : PublishOutcome::Failed;
}

} // namespace

bool isPlainFilePath(const std::string& path) {
    if (path.empty() || path == ":memory:" || path.back() == '/') return false;
    if (path.find('\0') != std::string::npos) return false;
    std::string head = path.substr(0, 5);
    for (char& c : head)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return head != "file:";
}

std::string createTemporaryBeside(const std::string& path) {
    const std::string temp = path + kTemporaryMark + std::to_string(os::currentProcessId());
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                              S_IRUSR | S_IWUSR);
        if (fd >= 0) {
            ::close(fd);
            return temp;
        }
        // Only a process with our id can have made this name: a dead one.
        if (errno != EEXIST || ::unlink(temp.c_str()) != 0) return "";
        ::unlink((temp + kJournalSuffix).c_str());
    }
    return "";
}

void removeStaleTemporaries(const std::string& path) {
    const std::string base = fs::path(path).filename().string();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folderOf(path), ec)) {
        const long owner = temporaryOwner(entry.path().filename().string(), base);
        if (owner <= 0 || owner == os::currentProcessId()) continue;
        if (os::processMayBeRunning(owner)) continue;
        fs::remove(entry.path(), ec);
    }
}

PublishOutcome publishFile(const std::string& temp, const std::string& path, Publish how) {
    if (!syncPath(temp)) return PublishOutcome::Failed;
    PublishOutcome outcome = PublishOutcome::Failed;
    if (how == Publish::Exclusive)
        outcome = moveIntoFreePlace(temp, path);
    else if (std::rename(temp.c_str(), path.c_str()) == 0)
        outcome = PublishOutcome::Done;
    // Some file systems cannot flush a folder; the rename stands all the same.
    if (outcome == PublishOutcome::Done) syncFolderOf(path);
    return outcome;
}

bool replaceFile(const std::string& path, const std::string& bytes, int* error) {
    int failure = 0; // errno of the first step that failed
    auto step = [&failure](bool done) {
        if (!done && failure == 0) failure = errno ? errno : EIO;
        return done;
    };
    const std::string temp = createTemporaryBeside(path);
    if (!step(!temp.empty())) {
        if (error) *error = failure;
        return false;
    }
    // Reopened without following a link: the name is ours, made just now.
    const int fd = ::open(temp.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    errno = 0;
    bool ok = step(fd >= 0) && step(writeAll(fd, bytes.data(), bytes.size()));
    ok = ok && step(::fsync(fd) == 0);
    if (fd >= 0) ok = step(::close(fd) == 0) && ok;
    ok = ok && step(std::rename(temp.c_str(), path.c_str()) == 0);
    if (!ok) {
        ::unlink(temp.c_str());
        if (error) *error = failure;
        return false;
    }
    syncFolderOf(path);
    return true;
}

bool exchangeFiles(const std::string& a, const std::string& b) {
    return os::exchangeNames(a, b);
}

bool syncPath(const std::string& path) {
    return syncDescriptorOf(path, O_RDONLY);
}

bool syncFolderOf(const std::string& path) {
    return os::flushFolder(folderOf(path));
}

} // namespace n4

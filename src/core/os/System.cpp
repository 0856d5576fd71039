#include "core/os/System.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace n4::os {

MoveOutcome renameWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return MoveOutcome::Done;
    if (errno == EEXIST) return MoveOutcome::AlreadyThere;
    if (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP) return MoveOutcome::Unsupported;
    return MoveOutcome::Failed;
}

bool exchangeNames(const std::string& a, const std::string& b) {
    return ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0;
}

bool flushFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

std::string homeFolderOfUser() {
    const passwd* pw = ::getpwuid(::getuid());
    return pw && pw->pw_dir ? std::string(pw->pw_dir) : std::string();
}

std::string runningProgramPath() {
    std::error_code ec;
    const auto exe = std::filesystem::canonical("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::string reasonInWords(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return "書き込む権限がありません";
    case EROFS:
        return "読み取り専用の場所です";
    case ENOSPC:
        return "ディスクに空きがありません";
    case EDQUOT:
        return "使える容量の上限に達しています";
    case ENOENT:
    case ENOTDIR:
        return "フォルダーがありません";
    case EISDIR:
        return "同じ名前のフォルダーがあります";
    case EIO:
        return "ディスクの読み書きに失敗しました";
    case EEXIST:
        return "同じ名前のファイルがあります";
    default:
        return "システムのエラー " + std::to_string(error);
    }
}

long currentProcessId() {
    return static_cast<long>(::getpid());
}

bool standardOutputIsTerminal() {
    return ::isatty(STDOUT_FILENO) == 1;
}

bool processMayBeRunning(long pid) {
    if (pid <= 0 || pid > INT_MAX) return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

std::size_t readUpTo(int fd, char* buffer, std::size_t count) {
    std::size_t got = 0;
    while (got < count) { // a read may deliver less than asked
        const ssize_t n = ::read(fd, buffer + got, count - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

bool writeAll(int fd, const char* bytes, std::size_t count) {
    for (std::size_t done = 0; done < count;) { // a write may take less than given
        const ssize_t n = ::write(fd, bytes + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

namespace {

// Reads until end of file; false when nothing arrives for too long.
bool readAllWithin(int fd, std::string& text, int silenceLimitMs) {
    char buf[65536];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, silenceLimitMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        text.append(buf, static_cast<size_t>(n));
    }
}

} // namespace

ChildOutcome runProgram(const std::vector<std::string>& arguments, int silenceLimitMs) {
    ChildOutcome outcome;
    if (arguments.empty()) return outcome;
    std::vector<char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return outcome;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    pid_t child = -1;
    const int started = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (started != 0) {
        ::close(fds[0]);
        return outcome;
    }
    const bool complete = readAllWithin(fds[0], outcome.output, silenceLimitMs);
    ::close(fds[0]);
    if (!complete) ::kill(child, SIGKILL); // a child that hangs must not freeze the program
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    outcome.finished = complete && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return outcome;
}

void endProcessNow(int code) {
    ::_exit(code);
}

struct CaughtPrinting::Sink {
    std::string kept;
    FILE* stream = nullptr;
    FILE* out = nullptr; // the streams given back at the end
    FILE* err = nullptr;

    static ssize_t write(void* cookie, const char* bytes, size_t count) {
        auto* sink = static_cast<Sink*>(cookie);
        const size_t room = kKeptBytes - std::min(kKeptBytes, sink->kept.size());
        sink->kept.append(bytes, std::min(room, count));
        return static_cast<ssize_t>(count); // the rest is taken and dropped
    }
};

CaughtPrinting::CaughtPrinting() : sink_(std::make_unique<Sink>()) {
    cookie_io_functions_t io{};
    io.write = &Sink::write;
    sink_->stream = ::fopencookie(sink_.get(), "w", io);
    if (!sink_->stream) return;
    std::fflush(stdout);
    std::fflush(stderr);
    // glibc's stdout and stderr are variables a program may set.
    sink_->out = stdout;
    sink_->err = stderr;
    stdout = sink_->stream;
    stderr = sink_->stream;
}

CaughtPrinting::~CaughtPrinting() {
    if (!sink_->stream) return;
    stdout = sink_->out;
    stderr = sink_->err;
    std::fclose(sink_->stream);
}

bool CaughtPrinting::catching() const {
    return sink_->stream != nullptr;
}

std::string CaughtPrinting::text() {
    if (sink_->stream) std::fflush(sink_->stream);
    return sink_->kept;
}

CNumbers::CNumbers() {
    // The C locale's numbers, made once; uselocale changes this thread alone.
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
    previous_ = c ? uselocale(c) : locale_t(nullptr);
}

CNumbers::~CNumbers() {
    if (previous_) uselocale(previous_);
}

} // namespace n4::os

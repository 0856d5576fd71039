#include "core/import/HistoryImport.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "core/import/HistoryCsv.h"
#include "core/import/HistoryJson.h"
#include "core/import/JetReader.h"
#include "core/import/TextEncoding.h"
#include "core/store/AtomicFile.h"

namespace n4 {

namespace {

// A Jet 3/4 file starts with a fixed page header naming its engine.
constexpr char kJetSignature[] = "Standard Jet DB";
constexpr char kAceSignature[] = "Standard ACE DB";

bool hasJetSignature(const std::string& head) {
    if (head.size() < 19) return false;
    const std::string sig = head.substr(4, 15);
    return sig == kJetSignature || sig == kAceSignature;
}

ImportResult refused(std::string message) {
    ImportResult r;
    r.message = std::move(message);
    return r;
}

std::string openError(int error) {
    switch (error) {
    case ENOENT:
        return "ファイルがありません。";
    case EACCES:
    case EPERM:
        return "ファイルを読む権限がありません。";
    case EISDIR:
        return "フォルダです。取り込むファイルを指定してください。";
    default:
        return "ファイルを開けません。";
    }
}

// Never blocks: opened without waiting (a pipe with no writer), and only a
// regular file is read.
class InputFile {
  public:
    explicit InputFile(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)) {}
    ~InputFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // false with message when the file cannot or must not be read.
    bool readAll(std::string& bytes, size_t limit, std::string& message);
    // The first bytes of a regular file, or "".
    std::string head(size_t count);

  private:
    int fd_;
};

bool InputFile::readAll(std::string& bytes, size_t limit, std::string& message) {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
        message = openError(fd_ < 0 ? errno : EIO);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        message = openError(EISDIR);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        message = "通常のファイルではありません（装置や名前付きパイプは読めません）。";
        return false;
    }
    const auto size = static_cast<size_t>(st.st_size);
    if (size > limit) {
        message = "ファイルが大きすぎます（" + std::to_string((size + (1u << 20) - 1) >> 20) +
                  " MiB）。取り込めるのは " + std::to_string(limit >> 20) + " MiB までです。";
        return false;
    }
    // One byte more than stat said: a file that grows while it is read is
    // still held to the limit.
    bytes.resize(size + 1);
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd_, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            message = "ファイルを読めません。";
            return false;
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
        if (got == bytes.size() && bytes.size() <= limit)
            bytes.resize(std::min(limit + 1, got * 2));
    }
    if (got > limit) {
        message = "ファイルが大きすぎます。取り込めるのは " + std::to_string(limit >> 20) +
                  " MiB までです。";
        return false;
    }
    bytes.resize(got);
    return true;
}

std::string InputFile::head(size_t count) {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return {};
    std::string bytes(count, '\0');
    bytes.resize(readUpTo(fd_, bytes.data(), count));
    return bytes;
}

bool looksLikeJson(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && (text[first] == '[' || text[first] == '{');
}

ImportResult readText(std::string bytes) {
    if (bytes.empty()) return refused("ファイルが空です。");
    DecodedText decoded = decodeHistoryText(std::move(bytes));
    if (!decoded.ok) return refused(decoded.message);
    if (looksLikeJson(decoded.text)) return readJsonHistory(decoded.text, decoded.encoding);
    return readDelimitedHistory(decoded.text, decoded.encoding);
}

} // namespace

bool isJetDatabaseFile(const std::string& path) {
    return hasJetSignature(InputFile(path).head(20));
}

ImportResult readHistoryFile(const std::string& path) {
    try {
        std::string bytes, message;
        InputFile in(path);
        if (!in.readAll(bytes, kMaxImportBytes, message)) return refused(message);
        if (hasJetSignature(bytes.substr(0, 20))) {
            std::string().swap(bytes);
            ImportResult jet = readJetHistory(path);
            if (jet.ok) jet.format = "Jet 4.0 データベース";
            return jet;
        }
        return readText(std::move(bytes));
    } catch (const std::bad_alloc&) {
        return refused("ファイルを読むためのメモリが足りません。");
    }
}

bool readUserFile(const std::string& path, std::string& bytes, std::string& message) {
    try {
        InputFile in(path);
        return in.readAll(bytes, kMaxImportBytes, message);
    } catch (const std::bad_alloc&) {
        message = "ファイルを読むためのメモリが足りません。";
        return false;
    }
}

ImportResult readHistoryBytes(std::string bytes) {
    try {
        return readText(std::move(bytes));
    } catch (const std::bad_alloc&) {
        return refused("ファイルを読むためのメモリが足りません。");
    }
}

} // namespace n4

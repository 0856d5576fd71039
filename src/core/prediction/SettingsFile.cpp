#include "core/prediction/SettingsFile.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "core/import/TextEncoding.h"
#include "core/os/System.h"
#include "core/store/AtomicFile.h"

namespace n4 {

namespace {

void applyLine(const std::string& line, AnalysisOptions& options) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) return;
    std::string key = line.substr(0, eq);
    std::string rest = line.substr(eq + 1);
    std::string value = rest.substr(0, rest.find('='));
    for (int k = 0; k < kOptionCount; ++k) {
        if (key != optionKey(k)) continue;
        if (value == "True")
            options.flags[k] = true;
        else if (value == "False")
            options.flags[k] = false;
        return;
    }
}

} // namespace

namespace {

// At most the first maxBytes of a regular file; nothing from a folder, a
// device or a pipe (opening without waiting, so a pipe cannot hold the
// start-up up).
std::optional<std::string> readSmallRegularFile(const std::string& path, std::size_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st;
    std::optional<std::string> bytes;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        bytes.emplace(maxBytes, '\0');
        bytes->resize(readUpTo(fd, bytes->data(), maxBytes));
    }
    ::close(fd);
    return bytes;
}

} // namespace

void readInitFile(const std::string& path, AnalysisOptions& options) {
    // Ten short lines; a stray huge file is read no further than this.
    constexpr std::size_t kMaxSettingsBytes = 64 * 1024;
    const std::optional<std::string> read = readSmallRegularFile(path, kMaxSettingsBytes);
    if (!read) return;
    const std::string& bytes = *read;
    // Each line is decoded by itself, so that a damaged byte costs only its own
    // line's option and the good lines still count.
    std::istringstream lines(bytes);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        applyLine(decodeUtf8OrShiftJis(line).value_or(line), options);
    }
}

WriteResult writeInitFile(const std::string& path, const AnalysisOptions& options) {
    std::string text;
    for (int k = 0; k < kOptionCount; ++k)
        text += std::string(optionKey(k)) + "=" + (options.flags[k] ? "True" : "False") + "\r\n";
    auto bytes = utf8ToShiftJis(text);
    const std::string failed = "設定ファイル「" + path + "」を保存できませんでした";
    if (!bytes) return {false, failed + "。"};
    int error = 0;
    if (!replaceFile(path, *bytes, &error))
        return {false, failed + "（" + os::reasonInWords(error) + "）。"};
    return {};
}

} // namespace n4

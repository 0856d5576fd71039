#include "prediction/SettingsFile.h"

#include <fstream>
#include <sstream>

#include "data/AtomicFile.h"
#include "data/TextEncoding.h"

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

void readInitFile(const std::string& path, AnalysisOptions& options) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return;
    // Ten short lines; a stray huge file is read no further than this.
    constexpr std::streamsize kMaxSettingsBytes = 64 * 1024;
    std::string bytes(kMaxSettingsBytes, '\0');
    in.read(bytes.data(), kMaxSettingsBytes);
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    // A damaged file is read line by line as it is: its good lines still count.
    std::istringstream lines(decodeUtf8OrShiftJis(bytes).value_or(bytes));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        applyLine(line, options);
    }
}

WriteResult writeInitFile(const std::string& path, const AnalysisOptions& options) {
    std::string text;
    for (int k = 0; k < kOptionCount; ++k)
        text += std::string(optionKey(k)) + "=" + (options.flags[k] ? "True" : "False") + "\r\n";
    auto bytes = utf8ToShiftJis(text);
    const std::string failed = "設定ファイル「" + path + "」を保存できませんでした。";
    if (!bytes) return {false, failed};
    if (!replaceFile(path, *bytes)) return {false, failed};
    return {};
}

} // namespace n4

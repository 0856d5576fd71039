#include "core/update/UpdateSources.h"

#include <filesystem>
#include <fstream>

#include "core/import/HistoryValues.h"

namespace n4 {

namespace {

bool startsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

std::string trimmed(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

} // namespace

std::vector<std::string> builtInUpdateSources() {
    return {"https://numbers4-1d961.web.app/api/v1/",
            "https://raw.githubusercontent.com/hazimekom/numbers4-api/main/data/"
            "numbers4_results_v2.csv"};
}

bool isApiBase(const std::string& source) {
    return !source.empty() && source.back() == '/';
}

std::string updateSourcesPath(const std::string& settingsPath) {
    const size_t slash = settingsPath.rfind('/');
    return (slash == std::string::npos ? std::string() : settingsPath.substr(0, slash + 1)) +
           "更新元.txt";
}

bool readUpdateSources(const std::string& path, std::vector<std::string>& sources,
                       std::string& message) {
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error) {
        sources = builtInUpdateSources();
        return true;
    }
    std::ifstream in(path, std::ios::binary);
    if (error || !std::filesystem::is_regular_file(path, error) || !in) {
        message = "更新元の一覧「" + path + "」を読めません。";
        return false;
    }
    std::vector<std::string> listed;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (number == 1 && startsWith(line, "\xEF\xBB\xBF")) line.erase(0, 3);
        const std::string address = trimmed(line);
        if (address.empty() || address[0] == '#') continue;
        if (!startsWith(address, "http://") && !startsWith(address, "https://")) {
            message = "更新元の一覧「" + path + "」の" +
                      atLine(number, n4::quoted(address) +
                                         "は http:// か https:// で始まるアドレスではありません。");
            return false;
        }
        listed.push_back(address);
    }
    if (in.bad()) {
        message = "更新元の一覧「" + path + "」を読めません。";
        return false;
    }
    if (listed.empty()) {
        message =
            "更新元の一覧「" + path + "」にアドレスがありません（# で始まる行は読みません）。";
        return false;
    }
    sources = std::move(listed);
    return true;
}

} // namespace n4

#include "core/store/DataLocation.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "core/os/System.h"
#include "core/store/DrawStore.h"

#ifndef N4_INSTALL_BINDIR
#define N4_INSTALL_BINDIR "/usr/local/bin"
#endif

namespace n4 {

namespace {

std::string joined(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string userDataHome(const DataLocationFacts& facts) {
    // Only an absolute $XDG_DATA_HOME counts; otherwise the documented default.
    if (!facts.xdgDataHome.empty() && facts.xdgDataHome.front() == '/')
        return withoutTrailingSlash(facts.xdgDataHome);
    if (!facts.home.empty()) return joined(withoutTrailingSlash(facts.home), ".local/share");
    return {};
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

DataLocation resolveDataLocation(const DataLocationFacts& facts) {
    DataLocation at;
    const std::string dataHome = userDataHome(facts);
    at.portable = facts.databaseBesideProgram ||
                  (facts.programFolderWritable && !facts.systemProgramFolder) || dataHome.empty();
    if (at.portable) {
        at.databaseFolder = facts.programFolder;
        at.settingsPath = kSettingsFileName; // the current folder
    } else {
        at.databaseFolder = joined(dataHome, kDataFolderName);
        at.settingsPath = joined(at.databaseFolder, kSettingsFileName);
    }
    at.databasePath = joined(at.databaseFolder, kDatabaseFileName);
    return at;
}

DataLocationFacts gatherDataLocationFacts(const std::string& programFolder) {
    DataLocationFacts facts;
    facts.programFolder = programFolder;
    facts.programFolderWritable = ::access(programFolder.c_str(), W_OK) == 0;
    struct stat st {};
    facts.databaseBesideProgram =
        ::stat(joined(programFolder, kDatabaseFileName).c_str(), &st) == 0;
    const std::string folder = withoutTrailingSlash(programFolder);
    facts.systemProgramFolder =
        folder == "/usr/bin" || folder == "/usr/local/bin" || folder == N4_INSTALL_BINDIR;
    facts.xdgDataHome = environment("XDG_DATA_HOME");
    facts.home = environment("HOME");
    if (facts.home.empty()) facts.home = os::homeFolderOfUser();
    return facts;
}

bool prepareDataFolder(const DataLocation& location, std::string& message) {
    if (location.portable) return true;
    // Each missing folder on the way is made private to the user.
    const std::string& target = location.databaseFolder;
    for (size_t slash = target.find('/', 1);; slash = target.find('/', slash + 1)) {
        const std::string part = slash == std::string::npos ? target : target.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            message = "データのフォルダ「" + part + "」を作成できません: " + std::strerror(errno);
            return false;
        }
        if (slash == std::string::npos) break;
    }
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        message = "データのフォルダ「" + target + "」がフォルダではありません。";
        return false;
    }
    return true;
}

bool removeLeftoverKeyFile() {
    std::string cache = environment("XDG_CACHE_HOME");
    if (cache.empty() || cache.front() != '/') {
        std::string home = environment("HOME");
        if (home.empty()) home = os::homeFolderOfUser();
        if (home.empty() || home.front() != '/') return false;
        cache = home + "/.cache";
    }
    const std::string folder = joined(cache, kDataFolderName);
    std::error_code ec;
    const bool removed = std::filesystem::remove(joined(folder, "database-keys"), ec);
    if (std::filesystem::is_empty(folder, ec) && !ec) std::filesystem::remove(folder, ec);
    return removed;
}

} // namespace n4

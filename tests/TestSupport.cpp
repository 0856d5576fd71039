#include "TestSupport.h"

#include "core/cli/Cli.h"
#include "core/store/DrawStore.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <unistd.h>

#include "core/import/HistoryCsv.h"
#include "core/import/HistoryImport.h"

namespace fs = std::filesystem;

namespace n4test {

namespace {
struct TempRoot {
    fs::path path;
    TempRoot() {
        std::random_device rd;
        path = fs::temp_directory_path() / ("n4test-" + std::to_string(rd()));
        fs::create_directories(path);
    }
    ~TempRoot() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};
} // namespace

std::string tempFolder() {
    static TempRoot root;
    static int counter = 0;
    fs::path p = root.path / std::to_string(++counter);
    fs::create_directories(p);
    return p.string();
}

std::string sharedDataFolder() {
    const char* env = std::getenv("N4_SHARED_DATA");
    std::string folder = env ? env : N4_SHARED_DATA;
    return fs::exists(fs::path(folder) / "numbers4_history.csv") ? folder : "";
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

void withStandardInputClosed(const std::function<void()>& f) {
    const int saved = ::dup(0);
    ::close(0);
    f();
    if (saved >= 0) {
        ::dup2(saved, 0);
        ::close(saved);
    }
}

std::vector<std::string> openDescriptorTargets() {
    std::vector<std::string> targets;
    std::error_code ec;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd", ec)) {
        const std::filesystem::path target = std::filesystem::read_symlink(fd.path(), ec);
        if (!ec) targets.push_back(target.string());
    }
    return targets;
}

n4::DrawTable realHistory() {
    std::string folder = sharedDataFolder();
    if (folder.empty()) return {};
    auto parsed = n4::parseHistoryCsv(readFile(folder + "/numbers4_history.csv"));
    return parsed.ok ? parsed.rows : n4::DrawTable{};
}

n4::DrawTable pseudoRandomDraws(int count, unsigned seed) {
    n4::DrawTable t;
    unsigned x = seed;
    for (int no = 1; no <= count; ++no) {
        n4::DrawRecord r{no, {}};
        for (int& d : r.digits) {
            x = x * 1103515245u + 12345u;
            d = static_cast<int>((x >> 16) % 10);
        }
        t.push_back(r);
    }
    return t;
}

n4::DrawTable realPricedHistory() {
    std::string folder = sharedDataFolder();
    if (folder.empty()) return {};
    auto read =
        n4::readHistoryFile(folder + "/raw/hazimekom__numbers4-api__data__numbers4_results_v2.csv");
    return read.ok ? read.rows : n4::DrawTable{};
}

} // namespace n4test

namespace n4test {

n4::Grid analyse(n4::ComputeFn compute, const n4::DrawTable& table) {
    n4::StartupFigures figures = n4::computeStartupFigures(table);
    return compute(n4::AnalysisInput{table, figures});
}

std::string rowTexts(const n4::Grid& grid, int row) {
    std::string out;
    for (int col = 1; col <= grid.maxCols(); ++col)
        out += (col > 1 ? "|" : "") + grid.text(col, row);
    return out;
}

// Forty draws whose prediction uses every part of the methods: cycle digits
// for three of the four methods, one of them with an empty first position;
// repeated elimination values; more 連発 digits than one row holds; four
// １発 digits.
n4::DrawTable richPredictionHistory() {
    return n4::draws({
        {5, 7, 1, 9}, {8, 3, 6, 4}, {7, 0, 5, 8}, {9, 3, 3, 9}, {5, 8, 8, 4}, {6, 0, 3, 4},
        {0, 0, 4, 9}, {3, 5, 1, 5}, {9, 1, 4, 0}, {2, 2, 9, 5}, {4, 1, 5, 9}, {9, 1, 2, 8},
        {2, 8, 2, 0}, {2, 7, 7, 4}, {8, 3, 3, 2}, {9, 7, 7, 2}, {0, 1, 0, 7}, {5, 4, 1, 8},
        {9, 4, 8, 0}, {1, 3, 7, 3}, {9, 7, 1, 4}, {4, 8, 5, 7}, {0, 4, 4, 7}, {5, 8, 5, 4},
        {4, 6, 9, 2}, {7, 6, 5, 4}, {1, 8, 5, 0}, {1, 0, 4, 3}, {0, 0, 8, 5}, {7, 9, 7, 9},
        {7, 9, 7, 9}, {8, 3, 7, 5}, {5, 0, 4, 4}, {8, 3, 8, 2}, {8, 6, 6, 2}, {7, 5, 6, 4},
        {1, 7, 0, 6}, {1, 4, 9, 4}, {6, 4, 3, 5}, {0, 2, 8, 1},
    });
}

n4::DrawTable patternedHistory(int count) {
    n4::DrawTable t;
    for (int n = 1; n <= count; ++n)
        t.push_back(n4::DrawRecord{n, {n % 10, n * 7 % 10, n * 3 % 10, n / 10 % 10}});
    return t;
}

n4::DrawRecord incomplete(int drawNo) {
    return n4::DrawRecord{drawNo, {1, 2, n4::kAbsentDigit, 4}};
}

n4::DrawTable storedDraws(const std::string& folder) {
    n4::StoreResult r;
    n4::DrawTable t;
    if (auto s = n4::DrawStore::open(n4::DbConnectionString::forProgramFolder(folder), r))
        s->readAll(t);
    return t;
}

CliRun cli(std::vector<std::string> args, const std::string& folder) {
    std::ostringstream out, err;
    const int code = n4::runCli(args, out, err, folder);
    return {code, out.str(), err.str()};
}

} // namespace n4test

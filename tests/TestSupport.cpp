#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "data/HistoryCsv.h"

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

n4::DrawTable realHistory() {
    std::string folder = sharedDataFolder();
    if (folder.empty()) return {};
    auto parsed = n4::parseHistoryCsv(readFile(folder + "/numbers4_history.csv"));
    return parsed.ok ? parsed.rows : n4::DrawTable{};
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

n4::DrawRecord incomplete(int drawNo) {
    return n4::DrawRecord{drawNo, {1, 2, n4::kAbsentDigit, 4}};
}

} // namespace n4test

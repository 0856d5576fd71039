#include "data/HistoryImport.h"

#include <fstream>
#include <iterator>

#include "data/HistoryCsv.h"
#include "data/JetReader.h"

namespace n4 {

namespace {
// A Jet 3/4 file starts with a fixed page header naming its engine.
constexpr char kJetSignature[] = "Standard Jet DB";
constexpr char kAceSignature[] = "Standard ACE DB";
} // namespace

bool isJetDatabaseFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[20] = {};
    if (!in.read(head, sizeof head)) return false;
    std::string sig(head + 4, 15);
    return sig == kJetSignature || sig == kAceSignature;
}

ImportResult readHistoryFile(const std::string& path) {
    if (isJetDatabaseFile(path)) return readJetHistory(path);
    ImportResult result;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.message = "ファイルを開けません。";
        return result;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.find('\0') != std::string::npos) {
        result.message = "当選データの CSV でも Jet 形式のデータベースでもありません。";
        return result;
    }
    CsvParseResult csv = parseHistoryCsv(bytes);
    result.ok = csv.ok;
    result.rows = std::move(csv.rows);
    result.message = csv.message;
    return result;
}

} // namespace n4

#include "core/import/JetReader.h"

// mdbtools' header wraps glib in its own extern "C" unless glib comes first.
#include <glib.h>
#include <mdbtools.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <vector>

#include "core/import/HistoryValues.h"
#include "core/os/System.h"
#include "core/store/AtomicFile.h"

namespace n4 {

namespace {

const char* const kQueryName = "全データ選択クエリ";
const char* const kTableName = "当選番号";
const char* const kFields[] = {"回数", "第1数字", "第2数字", "第3数字", "第4数字"};
constexpr int kQueryInputTable = 5; // MSysQueries.Attribute of a FROM table
const char* const kDamaged = "Jet 形式のデータベースが壊れていて読めません";

using Row = std::map<std::string, std::string>; // empty text: NULL or empty

struct Table {
    std::vector<std::string> columns;
    std::vector<Row> rows;
};

std::optional<Table> readTable(MdbHandle* mdb, const std::string& name) {
    MdbCatalogEntry* entry = mdb_get_catalogentry_by_name(mdb, name.c_str());
    if (!entry || entry->object_type != MDB_TABLE) return std::nullopt;
    MdbTableDef* def = mdb_read_table(entry);
    if (!def) return std::nullopt;
    // A damaged column list gives no columns at all, and a damaged page map no
    // map, not an error: mdbtools would go on and read through null pointers.
    if (!def->usage_map || !mdb_read_columns(def) || !def->columns ||
        def->columns->len < def->num_cols) {
        mdb_free_tabledef(def);
        return std::nullopt;
    }
    Table t;
    std::vector<std::vector<char>> buffers(def->num_cols, std::vector<char>(MDB_BIND_SIZE));
    std::vector<int> lengths(def->num_cols, 0);
    for (unsigned i = 0; i < def->num_cols; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, i));
        t.columns.emplace_back(col->name);
        mdb_bind_column(def, static_cast<int>(i) + 1, buffers[i].data(), &lengths[i]);
    }
    mdb_rewind_table(def);
    while (mdb_fetch_row(def)) {
        Row row;
        for (unsigned i = 0; i < def->num_cols; ++i)
            row[t.columns[i]] = lengths[i] > 0 ? std::string(buffers[i].data(),
                                                             strnlen(buffers[i].data(), lengths[i]))
                                               : "";
        t.rows.push_back(std::move(row));
    }
    mdb_free_tabledef(def);
    return t;
}

bool hasDrawFields(const Table& t) {
    for (const char* f : kFields)
        if (std::find(t.columns.begin(), t.columns.end(), f) == t.columns.end()) return false;
    return true;
}

// The table the saved select query reads from, as Jet records it.
std::string queryInputTable(MdbHandle* mdb) {
    auto objects = readTable(mdb, "MSysObjects");
    auto queries = readTable(mdb, "MSysQueries");
    if (!objects || !queries) return {};
    std::string id;
    for (const Row& r : objects->rows)
        if (r.count("Name") && r.at("Name") == kQueryName) id = r.count("Id") ? r.at("Id") : "";
    if (id.empty()) return {};
    for (const Row& r : queries->rows)
        if (r.count("ObjectId") && r.at("ObjectId") == id && r.count("Attribute") &&
            r.at("Attribute") == std::to_string(kQueryInputTable) && r.count("Name1"))
            return r.at("Name1");
    return {};
}

std::optional<Table> findDrawTable(MdbHandle* mdb, std::string& error) {
    std::string source = queryInputTable(mdb);
    if (!source.empty())
        if (auto t = readTable(mdb, source); t && hasDrawFields(*t)) return t;
    if (auto t = readTable(mdb, kTableName); t && hasDrawFields(*t)) return t;
    std::optional<Table> found;
    int matches = 0;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (e->object_type != MDB_TABLE || std::strncmp(e->object_name, "MSys", 4) == 0) continue;
        if (auto t = readTable(mdb, e->object_name); t && hasDrawFields(*t)) {
            found = std::move(t);
            ++matches;
        }
    }
    if (matches == 1) return found;
    error = matches == 0 ? "当選データの表（回数・第1数字～第4数字）が見つかりません。"
                         : "当選データの表が複数あり、どれを読むか決められません。";
    return std::nullopt;
}

std::string clean(std::string s) {
    for (char& c : s)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return s;
}

// The catalog is a table too, defined on page 2. mdbtools reads its rows
// without checking its page map, and a damaged one is a null pointer there.
bool catalogPageMapReadable(MdbHandle* mdb) {
    MdbCatalogEntry objects{};
    objects.mdb = mdb;
    objects.object_type = MDB_TABLE;
    objects.table_pg = 2;
    std::snprintf(objects.object_name, sizeof objects.object_name, "%s", "MSysObjects");
    MdbTableDef* def = mdb_read_table(&objects);
    if (!def) return false;
    const bool readable = def->usage_map != nullptr;
    mdb_free_tabledef(def);
    return readable;
}

// Jet files are whole pages. mdbtools reads the part of a page the file
// still holds and fills the rest with zeros, without a word.
bool wholePages(MdbHandle* mdb) {
    struct stat st {};
    return ::fstat(fileno(mdb->f->stream), &st) == 0 && mdb->fmt->pg_size > 0 &&
           st.st_size % mdb->fmt->pg_size == 0;
}

std::string readRows(const std::string& path) {
    MdbHandle* mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
    if (!mdb) return "ERR\tファイルを Jet 形式のデータベースとして開けません。\n";
    std::string error;
    std::string out;
    if (!wholePages(mdb)) {
        out = "ERR\t" + std::string(kDamaged) + "（途中で切れています）。\n";
    } else if (!catalogPageMapReadable(mdb) || !mdb_read_catalog(mdb, MDB_ANY)) {
        out = "ERR\tデータベースの目録を読めません（ファイルが壊れています）。\n";
    } else if (auto t = findDrawTable(mdb, error)) {
        out = "OK\n";
        for (const Row& r : t->rows) {
            out += clean(r.at(kFields[0]));
            for (int p = 1; p <= 4; ++p)
                out += "\t" + clean(r.at(kFields[p]));
            out += "\n";
        }
    } else {
        out = "ERR\t" + error + "\n";
    }
    mdb_close(mdb);
    return out;
}

// What the library printed, on one line: each line it said once, joined by
// " / ", cut short between characters.
std::string libraryWords(const std::string& printed) {
    std::vector<std::string> said;
    std::istringstream lines(printed);
    for (std::string line; std::getline(lines, line);) {
        line = clean(line);
        const size_t b = line.find_first_not_of(' '), e = line.find_last_not_of(' ');
        if (b == std::string::npos) continue;
        line = line.substr(b, e - b + 1);
        if (std::find(said.begin(), said.end(), line) == said.end()) said.push_back(line);
    }
    std::string words;
    for (const std::string& line : said)
        words += (words.empty() ? "" : " / ") + line;
    constexpr size_t kLongest = 300;
    if (words.size() <= kLongest) return words;
    size_t cut = kLongest;
    while (cut > 0 && (static_cast<unsigned char>(words[cut]) & 0xC0) == 0x80)
        --cut;
    return words.substr(0, cut) + "…";
}

} // namespace

std::string readJetSerialized(const std::string& path) {
    // Whatever mdbtools prints while it reads is a sign of damage: it goes on
    // past a page it could not read, and what it gives then (no table, or
    // rows from a page of zeros) is not the file's. Its English words never
    // reach the terminal; they follow the reason.
    os::CaughtPrinting library;
    if (!library.catching()) return "ERR\tJet 形式のデータベースを読む準備ができません。\n";
    const std::string out = readRows(path);
    const std::string said = libraryWords(library.text());
    return said.empty() ? out : "ERR\t" + std::string(kDamaged) + "。\t" + said + "\n";
}

namespace {

bool parseDrawNo(const std::string& s, int& out) {
    if (s.empty() || s.size() > 9) return false;
    out = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        out = out * 10 + (c - '0');
    }
    return out >= 1 && out <= kMaxDrawNo;
}

} // namespace

ImportResult parseJetSerialized(const std::string& text) {
    ImportResult result;
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || (line != "OK" && line.rfind("ERR\t", 0) != 0)) {
        result.message = "ファイルが壊れていて読めません。";
        return result;
    }
    if (line != "OK") {
        // The reason, and on a line of its own what the library said, if anything.
        const size_t words = line.find('\t', 4);
        result.message = line.substr(4, words == std::string::npos ? words : words - 4);
        if (words != std::string::npos)
            result.message += "\n（読み取りライブラリの報告: " + line.substr(words + 1) + "）";
        return result;
    }
    std::vector<LineRecord> rows;
    for (int row = 1; std::getline(in, line); ++row) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        std::string v;
        while (std::getline(fields, v, '\t'))
            f.push_back(v);
        f.resize(5);
        if (std::all_of(f.begin(), f.end(), [](const std::string& c) { return c.empty(); }))
            continue; // a row with nothing in it, as a blank line in a text file
        LineRecord r;
        r.line = row;
        if (!parseDrawNo(f[0], r.record.drawNo)) {
            result.message =
                atLine(row, "回数" + quoted(f[0]) + "を 1～99999 の数として読めません。");
            return result;
        }
        for (int p = 0; p < 4; ++p) {
            const std::string& d = f[p + 1];
            if (d.empty()) continue;
            if (d.size() == 1 && d[0] >= '0' && d[0] <= '9')
                r.record.digits[p] = d[0] - '0';
            else
                ++result.unreadableDigits;
        }
        rows.push_back(r);
    }
    // An empty table is an empty history (a database never filled in).
    result.ok = rows.empty() || collectDraws(rows, result);
    return result;
}

namespace {

constexpr int kReaderSilenceLimitMs = 30000;

} // namespace

ImportResult readJetHistory(const std::string& path) {
    ImportResult failed;
    const std::string program = os::runningProgramPath();
    if (program.empty()) {
        failed.message =
            "Jet 形式のデータベースを読めません（読み取り用のプロセスを起動できません）。";
        return failed;
    }
    const os::ChildOutcome child =
        os::runProgram({program, kJetReaderCommand, path}, kReaderSilenceLimitMs);
    if (!child.finished) {
        failed.message = "Jet 形式のデータベースが壊れていて読めません。";
        return failed;
    }
    return parseJetSerialized(child.output);
}

bool handOverJetRows(const std::string& path, int fd) {
    const std::string out = readJetSerialized(path);
    return writeAll(fd, out.data(), out.size());
}

void becomeJetReaderIfAsked(int argc, char** argv) {
    if (argc != 3 || std::strcmp(argv[1], kJetReaderCommand) != 0) return;
    // Ended at once: what the library leaves allocated is the system's to take back.
    os::endProcessNow(handOverJetRows(argv[2], 1) ? 0 : 1);
}

} // namespace n4

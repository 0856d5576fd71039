#include "cli/Cli.h"

#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "analysis/AnalysisCatalog.h"
#include "data/DrawStore.h"
#include "data/HistoryCsv.h"
#include "data/HistoryImport.h"
#include "grid/GridExport.h"
#include "prediction/PredictionExport.h"

namespace n4 {

namespace {

const char* kUsage =
    "使い方:\n"
    "  numbers4marvo-cli import FILE.csv|FILE.mdb [--db FILE]\n"
    "  numbers4marvo-cli export NAME [--db FILE] [--format tsv|json|html] [--reflect N]\n";

struct Args {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    bool ok = true;
};

Args parseArgs(const std::vector<std::string>& args) {
    Args a;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        if (s.rfind("--", 0) == 0) {
            if (i + 1 >= args.size() || (s != "--db" && s != "--format" && s != "--reflect")) {
                a.ok = false;
                return a;
            }
            a.options[s] = args[++i];
        } else {
            a.positional.push_back(s);
        }
    }
    return a;
}

DbConnectionString connectionFor(const Args& a, const std::string& programFolder) {
    DbConnectionString conn = DbConnectionString::forProgramFolder(programFolder);
    if (auto it = a.options.find("--db"); it != a.options.end()) conn.dataSource = it->second;
    return conn;
}

int runImport(const Args& a, std::ostream& out, std::ostream& err, const std::string& folder) {
    if (a.positional.size() != 2) {
        err << kUsage;
        return CliUsage;
    }
    ImportResult imported = readHistoryFile(a.positional[1]);
    if (!imported.ok) {
        err << a.positional[1] << ": " << imported.message << "\n";
        return CliBadInput;
    }
    StoreResult r;
    auto store = DrawStore::open(connectionFor(a, folder), r);
    if (!store) {
        err << r.message << "\n";
        return CliBadInput;
    }
    if (r = store->upsert(imported.rows); !r) {
        err << r.message << "\n";
        return CliBadInput;
    }
    out << imported.rows.size() << " 件の当選データを取り込みました。\n";
    if (imported.unreadableDigits > 0)
        out << "読めない数字 " << imported.unreadableDigits << " 個は空欄として取り込みました。\n";
    if (imported.skippedRows > 0)
        out << "回数が 1～99999 でない " << imported.skippedRows << " 行は取り込みませんでした。\n";
    return CliDone;
}

bool loadTable(const Args& a, const std::string& folder, DrawTable& table, std::ostream& err) {
    StoreResult r;
    auto store = DrawStore::open(connectionFor(a, folder), r);
    if (store) r = store->readAll(table);
    if (!r) err << r.message << "\n";
    return r.ok;
}

std::string render(const Grid& grid, const std::string& name, const std::string& format) {
    if (format == "json") return gridToJson(grid, name) + "\n";
    if (format == "html") return gridToHtml(grid, name);
    return gridToTsv(grid);
}

int runExport(const Args& a, std::ostream& out, std::ostream& err, const std::string& folder) {
    if (a.positional.size() != 2) {
        err << kUsage;
        return CliUsage;
    }
    const std::string& name = a.positional[1];
    std::string format = a.options.count("--format") ? a.options.at("--format") : "tsv";
    if (format != "tsv" && format != "json" && format != "html") {
        err << kUsage;
        return CliUsage;
    }
    const AnalysisEntry* entry = findAnalysis(name);
    bool prediction = isPredictionName(name);
    if (!entry && !prediction) {
        err << "不明なウィンドウ名です: " << name << "\n" << kUsage;
        return CliUsage;
    }
    int reflect = -1;
    if (auto it = a.options.find("--reflect"); it != a.options.end()) {
        std::istringstream in(it->second);
        if (!(in >> reflect) || !in.eof() || reflect < 0 || reflect > 10) {
            err << "--reflect は 0～10 で指定してください。\n";
            return CliUsage;
        }
    }
    DrawTable table;
    if (!loadTable(a, folder, table, err)) return CliBadInput;
    StartupFigures figures = computeStartupFigures(table);
    if (prediction) {
        out << exportPrediction(table, figures, reflect, format);
        return CliDone;
    }
    Grid grid = entry->compute(AnalysisInput{table, figures});
    out << render(grid, entry->windowName, format);
    return CliDone;
}

} // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::string& programFolder) {
    Args a = parseArgs(args);
    if (!a.ok || a.positional.empty()) {
        err << kUsage;
        return CliUsage;
    }
    if (a.positional[0] == "import") return runImport(a, out, err, programFolder);
    if (a.positional[0] == "export") return runExport(a, out, err, programFolder);
    err << kUsage;
    return CliUsage;
}

} // namespace n4

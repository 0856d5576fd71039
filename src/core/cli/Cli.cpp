#include "core/cli/Cli.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>

#include "core/analysis/AnalysisCatalog.h"
#include "core/grid/GridExport.h"
#include "core/grid/GridHtml.h"
#include "core/import/HistoryImport.h"
#include "core/import/ImportPlan.h"
#include "core/import/JetConversion.h"
#include "core/numbers/FilterOptions.h"
#include "core/numbers/IfBought.h"
#include "core/numbers/NumberLookup.h"
#include "core/prediction/Backtest.h"
#include "core/prediction/BacktestExport.h"
#include "core/prediction/PredictionExport.h"
#include "core/prediction/SettingsFile.h"
#include "core/store/AtomicFile.h"
#include "core/store/DrawStore.h"
#include "core/tickets/TicketCsv.h"
#include "core/tickets/TicketReport.h"
#include "core/tickets/TicketStore.h"
#include "core/update/DrawUpdate.h"
#include "core/update/UpdateSources.h"

#ifndef N4_VERSION
#define N4_VERSION "0"
#endif

namespace n4 {

namespace {

const char* kProgram = "numbers4marvo-cli";

// ---------------------------------------------------------------------------
// The command line: every option and every command is one row of a table; the
// parser, the checks and --help all read these tables.

struct OptionSpec {
    const char* name;  // "--db"
    const char* value; // what follows it, as --help names it; "" for a switch, which takes none
    const char* help;
    bool repeatable = false; // may be given more than once, each value kept
    bool isSwitch() const { return *value == '\0'; }
};

const std::vector<OptionSpec>& optionTable() {
    static const std::vector<OptionSpec> options = {
        {"--db", "FILE", "使うデータベースファイル（既定は下に示す場所）"},
        {"--format", "FORMAT",
         "書き出す形式: tsv（既定）、json、html。export はほかに画像の png、svg、pdf"
         "（png と pdf は端末ではなくファイルかパイプへ）"},
        {"--reflect", "N",
         "予想に反映する分析の数 0～10（export prediction と "
         "backtest。既定は設定ファイルのとおり）"},
        {"--from", "N",
         "検証する最初の回（backtest。既定は消去法が全行を読める最初の回）、"
         "numbers --bought で買い始める回（既定は第1回）、tickets で数える最初の回"},
        {"--to", "M",
         "検証する、または買う最後の回（backtest、numbers --bought。既定は最新の回）、"
         "tickets で数える最後の回"},
        {"--rows", "FIRST:LAST",
         "画像にする行: 見出しの行の下から数えて FIRST～LAST（回ごとの表では回数）"},
        {"--last", "N", "画像にする行: 最後の N 行（既定は最新の 100 行。短い表は全体）"},
        {"--source", "URL",
         "update の更新元。何度でも指定でき、書いた順に試す（/ で終わるアドレスは結果の API）",
         true},
        {"--replace", "",
         "import でデータベースと違う回もファイルのとおりに書き換える（ないときは違う回を"
         "そのまま残して示し、終了コード 1）"},
        {"--dry-run", "", "import で何も書き込まず、取り込むとどうなるかを示す"},
        {"--import", "FILE",
         "tickets: 先に CSV ファイル（回,最終回,番号,種類,口数）の購入記録を加える"},
        {"--bought", "KIND",
         "numbers: 条件に合う番号を毎回 1 口ずつ買っていたらの収支（straight、box、set）"},
    };
    static const std::vector<OptionSpec> withFilters = [] {
        std::vector<OptionSpec> all = options;
        for (const FilterOptionSpec& f : filterOptionSpecs())
            all.push_back({f.name, f.value, f.help});
        return all;
    }();
    return withFilters;
}

const OptionSpec* findOption(const std::string& name) {
    for (const OptionSpec& o : optionTable())
        if (name == o.name) return &o;
    return nullptr;
}

struct Invocation {
    std::vector<std::string> operands;                        // the words after the command
    std::map<std::string, std::string> options;               // the first value of each
    std::map<std::string, std::vector<std::string>> repeated; // every value, in order
    const DataLocation& location;
    std::ostream& out;
    std::ostream& err;
    const PictureWriter& pictures;
    bool outIsTerminal;

    bool has(const char* option) const { return options.count(option) > 0; }
    std::string value(const char* option, const std::string& otherwise) const {
        auto it = options.find(option);
        return it == options.end() ? otherwise : it->second;
    }
    std::vector<std::string> values(const char* option) const {
        auto it = repeated.find(option);
        return it == repeated.end() ? std::vector<std::string>() : it->second;
    }
};

struct CommandSpec {
    const char* name;
    std::vector<const char*> operands; // the words it needs, as --help names them
    std::vector<const char*> options;  // the options it accepts
    const char* help;
    int (*run)(const Invocation&);
};

int runImport(const Invocation& in);
int runExport(const Invocation& in);
int runList(const Invocation& in);
int runBacktest(const Invocation& in);
int runUpdate(const Invocation& in);
int runLookup(const Invocation& in);
int runNumbers(const Invocation& in);
int runTickets(const Invocation& in);

std::vector<const char*> numbersOptions() {
    std::vector<const char*> names = {"--db", "--format", "--bought", "--from", "--to"};
    for (const FilterOptionSpec& f : filterOptionSpecs())
        names.push_back(f.name);
    return names;
}

const std::vector<CommandSpec>& commandTable() {
    static const std::vector<CommandSpec> commands = {
        {"import",
         {"FILE"},
         {"--db", "--replace", "--dry-run"},
         "当選データの履歴（CSV・TSV・JSON・Jet 4.0 の .mdb）をデータベースに取り込む"
         "（データベースにある回は --replace のときだけ書き換える）",
         runImport},
        {"export",
         {"NAME"},
         {"--db", "--format", "--reflect", "--rows", "--last"},
         "ウィンドウ NAME の表をプログラムが表示するとおりに書き出す",
         runExport},
        {"list", {}, {}, "export で使える名前を、ウィンドウごとに一行で一覧にする", runList},
        {"backtest",
         {},
         {"--db", "--from", "--to", "--reflect", "--format"},
         "予想が過去の各回でどれだけ当たったかを、偶然と比べて書き出す",
         runBacktest},
        {"update",
         {},
         {"--db", "--source"},
         "最新の当選データを更新元（ネットワーク）から受け取り、新しい回をデータベースに加える",
         runUpdate},
        {"lookup",
         {"NUMBER"},
         {"--db", "--format"},
         "番号 NUMBER がそのままの並びで、また並びを問わず出た回を、その回の賞金とともに書き出す",
         runLookup},
        {"numbers",
         {},
         numbersOptions(),
         "条件に合う番号を一覧にする。--bought では、毎回それを買っていたらの収支を全番号と比べる",
         runNumbers},
        {"tickets",
         {},
         {"--db", "--import", "--from", "--to", "--format"},
         "購入記録の各券をその回の当選番号と賞金で確かめ、収支の合計とともに書き出す",
         runTickets},
    };
    return commands;
}

const CommandSpec* findCommand(const std::string& name) {
    for (const CommandSpec& c : commandTable())
        if (name == c.name) return &c;
    return nullptr;
}

const std::vector<const char*> kFormats = {"tsv", "json", "html"};
// export also draws the grid as the window paints it.
const std::vector<const char*> kExportFormats = {"tsv", "json", "html", "png", "svg", "pdf"};

bool isPictureFormat(const std::string& format) {
    return format == "png" || format == "svg" || format == "pdf";
}

// ---------------------------------------------------------------------------
// Messages.

int usageError(std::ostream& err, const std::string& message) {
    err << kProgram << ": " << message << "\n"
        << "使い方は「" << kProgram << " --help」で表示されます。\n";
    return CliUsage;
}

std::string padded(std::string text, size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text + "  ";
}

std::string optionWithValue(const OptionSpec& o) {
    return o.isSwitch() ? std::string(o.name) : std::string(o.name) + " " + o.value;
}

std::string joinedFormats(const std::vector<const char*>& formats = kFormats) {
    std::string s;
    for (const char* f : formats)
        s += (s.empty() ? "" : "、") + std::string(f);
    return s;
}

void printHelp(std::ostream& out, const DataLocation& location) {
    out << "使い方: " << kProgram << " コマンド [引数] [オプション]\n"
        << "ナンバーズ4マーヴォの当選データを取り込み、分析の表を書き出します。\n\n"
        << "コマンド:\n";
    for (const CommandSpec& c : commandTable()) {
        std::string synopsis = c.name;
        for (const char* operand : c.operands)
            synopsis += std::string(" ") + operand;
        // A command with a row of conditions names them below, in the options.
        constexpr size_t kNamed = 5;
        for (size_t i = 0; i < c.options.size() && (c.options.size() <= 8 || i < kNamed); ++i)
            synopsis += std::string(" [") + optionWithValue(*findOption(c.options[i])) + "]" +
                        (findOption(c.options[i])->repeatable ? "..." : "");
        if (c.options.size() > 8) synopsis += " [条件...]";
        out << "  " << synopsis << "\n      " << c.help << "\n";
    }
    out << "\nオプション:\n";
    // One column for the explanations, just right of the longest option.
    std::size_t width = std::string("-h, --help").size();
    for (const OptionSpec& o : optionTable())
        width = std::max(width, optionWithValue(o).size());
    for (const OptionSpec& o : optionTable())
        out << "  " << padded(optionWithValue(o), width) << o.help << "\n";
    out << "  " << padded("-h, --help", width) << "この説明を表示して終わる\n"
        << "  " << padded("--version", width) << "版を表示して終わる\n"
        << "\n名前（export NAME。ウィンドウの題名とメニューの項目名もそのまま使えます）:\n";
    for (const ExportName& e : exportNames()) {
        out << "  " << padded(e.name, 12) << e.caption;
        for (const std::string& other : e.others)
            out << "、" << other;
        out << "\n";
    }
    out << "\nデータベース: " << location.databasePath << "\n"
        << "設定ファイル: " << location.settingsPath << "\n"
        << "更新元の一覧: " << updateSourcesPath(location.settingsPath)
        << "（一行に一つのアドレス。# で始まる行は読まない。ないときは既定の "
        << builtInUpdateSources().front() << " ほか）\n"
        << "\n終了コード: 0 完了、1 入力の誤り（理由は標準エラーに）、2 使い方の誤り\n";
}

// ---------------------------------------------------------------------------
// The commands.

DbConnectionString connectionFor(const Invocation& in) {
    DbConnectionString conn = DbConnectionString::forProgramFolder(in.location.databaseFolder);
    if (in.has("--db")) conn.dataSource = in.options.at("--db");
    return conn;
}

// Finishes a Jet take-over an interrupted run of the program left half-done,
// as the program's start-up would; false (after saying why) when it cannot.
bool finishInterruptedTakeOver(const Invocation& in) {
    const JetConversion resumed = resumeInterruptedTakeOver(connectionFor(in));
    if (!resumed.message.empty()) (resumed.ok ? in.out : in.err) << resumed.message << "\n";
    return resumed.ok;
}

bool readDraws(const Invocation& in, DrawTable& table) {
    StoreResult r;
    // Reading never writes: no database is created, none completed.
    auto store = DrawStore::open(connectionFor(in), r, nullptr, IfMissing::ReadOnly);
    if (store) r = store->readAll(table);
    if (!r) in.err << r.message << "\n";
    return r.ok;
}

bool loadTable(const Invocation& in, DrawTable& table) {
    return finishInterruptedTakeOver(in) && readDraws(in, table);
}

// The draws stored now, read without writing anything (as export reads them);
// none when there is no database yet, which the import would create.
bool readStoredDraws(const Invocation& in, DrawTable& current) {
    if (!finishInterruptedTakeOver(in)) return false;
    const std::string path = connectionFor(in).dataSource;
    std::error_code ec;
    if (isPlainFilePath(path) && !std::filesystem::exists(path, ec) && !ec) return true;
    return readDraws(in, current);
}

// Plans the import under the write lock, from the draws as they are when it
// writes: another import at the same time comes before or after it, and the
// report says what this one did. Without --replace the draws the file gives
// otherwise than stored are kept, and the rest is written.
StoreResult storeImport(const Invocation& in, const ImportResult& imported, ImportPlan& plan) {
    std::string message;
    if (!in.has("--db") && !prepareDataFolder(in.location, message))
        return StoreResult::failure(message);
    if (!finishInterruptedTakeOver(in)) return StoreResult::failure("");
    StoreResult r;
    auto store = DrawStore::open(connectionFor(in), r);
    if (!store) return r;
    return store->inTransaction([&]() -> StoreResult {
        DrawTable current;
        if (StoreResult read = store->readAll(current); !read) return read;
        plan = planImport(current, imported.rows);
        if (!in.has("--replace")) plan.keepStoredValues();
        if (plan.nothingToDo()) return StoreResult::success();
        return writeChange(*store, plan.change("取り込み"), true);
    });
}

// Reads the whole file first; then, in one transaction, writes only the
// draws that are new or (with --replace) changed, and says what was stored.
// --dry-run writes nothing and says what would be.
int importFile(const Invocation& in) {
    const std::string& file = in.operands[0];
    const bool dryRun = in.has("--dry-run");
    ImportResult imported = readHistoryFile(file);
    if (!imported.ok) {
        in.err << file << ": " << imported.message << "\n";
        return CliBadInput;
    }
    ImportPlan plan;
    if (dryRun) {
        DrawTable current;
        if (!readStoredDraws(in, current)) return CliBadInput;
        plan = planImport(current, imported.rows);
        if (!in.has("--replace")) plan.keepStoredValues();
        in.out << "試しに読んだだけで、データベースには何も書き込んでいません。\n"
               << describeImport(plan, file, imported.format) << "\n";
    } else if (StoreResult r = storeImport(in, imported, plan); !r) {
        if (!r.message.empty()) in.err << r.message << "\n";
        return CliBadInput;
    } else {
        in.out << file << ": " << imported.format << "\n" << reportImport(plan) << "\n";
    }
    if (imported.unreadableDigits > 0)
        in.out << "読めない数字 " << imported.unreadableDigits << " 個は空欄として"
               << (dryRun ? "取り込みます" : "取り込みました") << "。\n";
    if (plan.kept.empty()) return CliDone;
    in.err << "データベースと違う回が " << plan.kept.size() << " 件あります。データベースのまま"
           << (dryRun ? "残します" : "残しました")
           << "（ファイルのとおりに書き換えるには --replace を付けてください）:" << keptList(plan)
           << "\n";
    return CliBadInput;
}

int runImport(const Invocation& in) {
    // Whatever goes wrong ends in a message and exit code 1, never an abort.
    try {
        return importFile(in);
    } catch (const std::exception& e) {
        in.err << in.operands[0] << ": 取り込めませんでした（" << e.what() << "）。\n";
    } catch (...) {
        in.err << in.operands[0] << ": 取り込めませんでした。\n";
    }
    return CliBadInput;
}

// The sources to try: every --source, else the list file beside the
// settings file, else the built-in list.
bool updateSources(const Invocation& in, std::vector<std::string>& sources) {
    sources = in.values("--source");
    if (!sources.empty()) return true;
    std::string message;
    if (readUpdateSources(updateSourcesPath(in.location.settingsPath), sources, message))
        return true;
    in.err << message << "\n";
    return false;
}

int updateFromSources(const Invocation& in) {
    for (const std::string& source : in.values("--source"))
        if (source.rfind("http://", 0) != 0 && source.rfind("https://", 0) != 0)
            return usageError(in.err,
                              "--source の値「" + source +
                                  "」は使えません（http:// か https:// で始まるアドレス）。");
    UpdateRequest request;
    if (!updateSources(in, request.sources)) return CliBadInput;
    if (!finishInterruptedTakeOver(in)) return CliBadInput;
    request.database = connectionFor(in);
    request.log = [&in](const std::string& line) { in.err << line << "\n"; };
    request.beforeWriting = [&in](std::string& message) {
        return in.has("--db") || prepareDataFolder(in.location, message);
    };
    const UpdateResult r = updateDraws(request);
    if (r.status == UpdateStatus::Failed) {
        in.err << r.message << "\n";
        return CliBadInput;
    }
    const std::string stored =
        r.storedLatest > 0 ? "第" + std::to_string(r.storedLatest) + "回まで" : "空";
    if (r.status == UpdateStatus::NothingNew)
        in.out << "新しい当選データはありません（データベースは" << stored
               << "）。更新元: " << r.source << "\n";
    else
        in.out << "更新元: " << r.source << "（" << r.format << "）\n"
               << reportImport(r.plan) << "\n";
    return CliDone;
}

int runUpdate(const Invocation& in) {
    // Whatever goes wrong ends in a message and exit code 1, never an abort.
    try {
        return updateFromSources(in);
    } catch (const std::exception& e) {
        in.err << "更新できませんでした（" << e.what() << "）。\n";
    } catch (...) {
        in.err << "更新できませんでした。\n";
    }
    return CliBadInput;
}

void render(std::ostream& out, const Grid& grid, const AnalysisEntry& entry,
            const std::string& format) {
    if (format == "json") {
        writeJson(out, grid, entry.windowName); // streamed, as TSV
        out << "\n";
    } else if (format == "html")
        writeHtmlPage(out,
                      HtmlPage{entry.caption, entry.label, {{&grid, entry.titleRows, ""}}, ""});
    else
        writeTsv(out, grid);
}

// The number of reflected analyses: --reflect, or as the settings file says.
// false (after the message) when --reflect is not 0..10.
bool reflectCount(const Invocation& in, int& reflect) {
    if (!in.has("--reflect")) {
        AnalysisOptions options;
        readInitFile(in.location.settingsPath, options);
        reflect = options.reflectedCount();
        return true;
    }
    const std::string& text = in.options.at("--reflect");
    std::istringstream parse(text);
    if (parse >> reflect && parse.eof() && reflect >= 0 && reflect <= kOptionCount) return true;
    usageError(in.err, "--reflect の値「" + text + "」は使えません（0～10 の整数）。");
    return false;
}

// Which rows a picture shows: --rows FIRST:LAST, --last N, or as by default.
struct RowChoice {
    bool range = false, last = false;
    int first = 0, second = 0;
};

// false (after the message) when the options are not usable.
bool rowChoice(const Invocation& in, bool picture, bool prediction, RowChoice& c) {
    const bool rows = in.has("--rows"), last = in.has("--last");
    if (!rows && !last) return true;
    const std::string given = rows ? "--rows" : "--last";
    auto refuse = [&in](const std::string& message) {
        usageError(in.err, message);
        return false;
    };
    if (rows && last) return refuse("--rows と --last はどちらか一つだけ指定できます。");
    if (!picture) return refuse(given + " は画像（png、svg、pdf）の書き出しでだけ使えます。");
    if (prediction)
        return refuse(given + " は予想（prediction）には使えません: 予想の表は全体が一枚の画像に"
                              "なります。");
    const std::string& text = in.options.at(given);
    std::istringstream parse(text);
    char colon = 0;
    if (rows && parse >> c.first >> colon >> c.second && parse.eof() && colon == ':' &&
        c.first >= 1 && c.second >= c.first) {
        c.range = true;
        return true;
    }
    if (last && parse >> c.first && parse.eof() && c.first >= 1) {
        c.last = true;
        return true;
    }
    return refuse(given + " の値「" + text + "」は使えません（" +
                  (rows ? "FIRST:LAST、1 ≦ FIRST ≦ LAST の行" : "1 以上の行数") + "）。");
}

int writePicture(const Invocation& in, const PictureRequest& request) {
    std::string error = "この版の " + std::string(kProgram) + " は画像を書き出せません。";
    if (in.pictures && in.pictures(request, in.out, error)) return CliDone;
    in.err << error << "\n";
    return CliBadInput;
}

int exportAnalysisPicture(const Invocation& in, const Grid& grid, const AnalysisEntry& entry,
                          const std::string& format, const RowChoice& choice) {
    PictureBlock block = defaultPicture(grid, entry.titleRows);
    std::string error;
    if (choice.last) block = lastBodyRows(grid, entry.titleRows, choice.first);
    if (choice.range &&
        !bodyRows(grid, entry.titleRows, choice.first, choice.second, block, error)) {
        in.err << error << "\n";
        return CliBadInput;
    }
    return writePicture(in,
                        PictureRequest{format, entry.caption, {{"", &grid, block}}, entry.label});
}

// A name export does not know; the back-test window is printed by its own command.
int unknownName(const Invocation& in, const std::string& name) {
    if (name == kBacktestCaption)
        return usageError(in.err, "「" + name +
                                      "」の表は export ではなく backtest で書き出します（「" +
                                      kProgram + " backtest」）。");
    return usageError(in.err, "不明な名前です: " + name + "（一覧は「" + kProgram + " list」）");
}

int runExport(const Invocation& in) {
    const std::string& given = in.operands[0];
    const std::string format = in.value("--format", "tsv");
    if (std::find(kExportFormats.begin(), kExportFormats.end(), format) == kExportFormats.end())
        return usageError(in.err, "不明な形式です: " + format + "（" +
                                      joinedFormats(kExportFormats) + " のいずれか）");
    const std::string name = exportNameFor(given);
    const AnalysisEntry* entry = findAnalysis(name);
    const bool prediction = isPredictionName(name);
    if (!entry && !prediction) return unknownName(in, given);
    // As programs that write compressed or picture bytes do: not onto a screen.
    if ((format == "png" || format == "pdf") && in.outIsTerminal)
        return usageError(in.err, "--format " + format +
                                      " の画像は端末には書き出しません。ファイルに送ってください"
                                      "（例: " +
                                      kProgram + " export " + given + " --format " + format +
                                      " > " + name + "." + format + "）。");
    if (!prediction && in.has("--reflect"))
        return usageError(in.err, "--reflect は予想（prediction）の書き出しでだけ使えます: " +
                                      given + " の表は反映する分析の数によりません。");
    RowChoice rows;
    if (!rowChoice(in, isPictureFormat(format), prediction, rows)) return CliUsage;
    int reflect = 0;
    if (prediction && !reflectCount(in, reflect)) return CliUsage;
    DrawTable table;
    if (!loadTable(in, table)) return CliBadInput;
    StartupFigures figures = computeStartupFigures(table);
    if (prediction && isPictureFormat(format))
        return writePicture(in,
                            predictionPicture(computePrediction(table, figures, reflect), format));
    if (prediction) {
        in.out << exportPrediction(table, figures, reflect, format);
        return CliDone;
    }
    Grid grid = entry->compute(AnalysisInput{table, figures});
    if (isPictureFormat(format)) return exportAnalysisPicture(in, grid, *entry, format, rows);
    render(in.out, grid, *entry, format);
    return CliDone;
}

// --from / --to: a draw number 1..99999, or `otherwise` when not given.
bool drawNumberOption(const Invocation& in, const char* option, int otherwise, int& value) {
    value = otherwise;
    if (!in.has(option)) return true;
    const std::string& text = in.options.at(option);
    std::istringstream parse(text);
    if (parse >> value && parse.eof() && value >= 1 && value <= kMaxDrawNo) return true;
    usageError(in.err,
               std::string(option) + " の値「" + text + "」は使えません（1～99999 の回）。");
    return false;
}

int runBacktest(const Invocation& in) {
    const std::string format = in.value("--format", "tsv");
    if (std::find(kFormats.begin(), kFormats.end(), format) == kFormats.end())
        return usageError(in.err,
                          "不明な形式です: " + format + "（" + joinedFormats() + " のいずれか）");
    int reflect = 0;
    if (!reflectCount(in, reflect)) return CliUsage;
    DrawTable table;
    if (!loadTable(in, table)) return CliBadInput;
    const BacktestRange fallback = defaultBacktestRange(table, reflect);
    BacktestRange range;
    if (!drawNumberOption(in, "--from", fallback.from, range.from) ||
        !drawNumberOption(in, "--to", fallback.to, range.to))
        return CliUsage;
    if (in.has("--from") && in.has("--to") && range.from > range.to)
        return usageError(in.err, "--from は --to 以下の回にしてください。");
    BacktestResult result = runBacktest(table, range, reflect);
    if (result.draws.empty()) {
        in.err << "第" << range.from << "回～第" << range.to
               << "回に検証できる当選がありません（消去法には 10 + 反映する分析の数 回の"
                  "当選が要ります）。\n";
        return CliBadInput;
    }
    if (format == "json")
        in.out << backtestToJson(result);
    else if (format == "html")
        in.out << backtestToHtml(result);
    else
        in.out << backtestToTsv(result);
    return CliDone;
}

// tsv or json, else a usage error.
bool textFormat(const Invocation& in, std::string& format) {
    format = in.value("--format", "tsv");
    if (format == "tsv" || format == "json") return true;
    usageError(in.err, "不明な形式です: " + format + "（tsv、json のいずれか）");
    return false;
}

int runLookup(const Invocation& in) {
    std::string format, hint;
    if (!textFormat(in, format)) return CliUsage;
    const int number = parseNumber(in.operands.at(0), hint);
    if (number < 0) return usageError(in.err, hint + ": " + in.operands.at(0));
    DrawTable table;
    if (!loadTable(in, table)) return CliBadInput;
    const NumberLookup found = lookUpNumber(table, number);
    in.out << (format == "json" ? lookupJson(found) : lookupTsv(found));
    if (format == "tsv") in.err << lookupSummary(found) << "\n";
    return CliDone;
}

int runNumbers(const Invocation& in) {
    std::string format, error;
    if (!textFormat(in, format)) return CliUsage;
    NumberFilter filter;
    for (const FilterOptionSpec& f : filterOptionSpecs())
        if (in.has(f.name) && !applyFilterOption(f.name, in.value(f.name, ""), filter, error))
            return usageError(in.err, error);
    BuyKind kind = BuyKind::Straight;
    const bool bought = in.has("--bought");
    if (bought && !parseBuyKind(in.value("--bought", ""), kind, error))
        return usageError(in.err, error);
    if (!bought && (in.has("--from") || in.has("--to")))
        return usageError(in.err, "--from と --to は --bought といっしょに使います。");
    // The history is read only where the answer depends on it.
    DrawTable table;
    if ((bought || filter.looksBack()) && !loadTable(in, table)) return CliBadInput;
    if (!bought) {
        const std::vector<int> numbers = passingNumbers(filter, table);
        if (format == "json") {
            in.out << "{\"count\":" << numbers.size() << ",\"numbers\":[";
            for (size_t i = 0; i < numbers.size(); ++i)
                in.out << (i ? "," : "") << '"' << fourDigits(numbers[i]) << '"';
            in.out << "]}\n";
        } else {
            in.out << "番号\t型\n";
            for (int n : numbers)
                in.out << fourDigits(n) << "\t" << typeName(typeOf(n)) << "\n";
        }
        return CliDone;
    }
    int from = 0, to = 0;
    if (!drawNumberOption(in, "--from", 0, from) || !drawNumberOption(in, "--to", 0, to))
        return CliUsage;
    if (from > 0 && to > 0 && from > to)
        return usageError(in.err, "--from は --to 以下の回にしてください。");
    const IfBoughtResult result = ifBought(filter, table, kind, from, to);
    if (result.filtered.draws == 0) {
        in.err << "買える回がありません（範囲に数字のそろった回がありません）。\n";
        return CliBadInput;
    }
    in.out << (format == "json" ? ifBoughtJson(result) : ifBoughtTsv(result));
    if (result.filtered.unknownPrizes + result.all.unknownPrizes > 0)
        in.err << "賞金の分からない当せん（条件に合う番号 " << result.filtered.unknownPrizes
               << " 件、全番号 " << result.all.unknownPrizes
               << " 件）は当せん金に含めていません。\n";
    return CliDone;
}

// Adds the tickets of a CSV file to the ledger, all or none.
bool importTickets(const Invocation& in) {
    const std::string file = in.value("--import", "");
    std::string bytes, message;
    TicketCsvResult read;
    if (readUserFile(file, bytes, message))
        read = readTicketsCsv(bytes);
    else
        read.message = message;
    if (!read.ok) {
        in.err << file << ": " << read.message << "\n";
        return false;
    }
    if (!in.has("--db") && !prepareDataFolder(in.location, message)) {
        in.err << message << "\n";
        return false;
    }
    if (!finishInterruptedTakeOver(in)) return false;
    StoreResult r;
    auto store = DrawStore::open(connectionFor(in), r);
    if (store) r = changeTickets(*store, read.tickets);
    if (!r) {
        in.err << r.message << "\n";
        return false;
    }
    in.err << file << ": 購入記録に " << read.tickets.size() << " 件を加えました。\n";
    return true;
}

// Each ticket checked against the draws stored, only its draws in the range.
int runTickets(const Invocation& in) {
    std::string format;
    if (!textFormat(in, format)) return CliUsage;
    TicketPeriod period;
    period.kind = TicketPeriod::Draws;
    if (!drawNumberOption(in, "--from", 0, period.from) ||
        !drawNumberOption(in, "--to", 0, period.to))
        return CliUsage;
    if (period.from > 0 && period.to > 0 && period.from > period.to)
        return usageError(in.err, "--from は --to 以下の回にしてください。");
    if (in.has("--import") && !importTickets(in)) return CliBadInput;
    if (!finishInterruptedTakeOver(in)) return CliBadInput;
    DrawTable table;
    std::vector<Ticket> tickets;
    StoreResult r;
    auto store = DrawStore::open(connectionFor(in), r, nullptr, IfMissing::ReadOnly);
    if (store) r = store->readAll(table);
    if (r && store) r = readTickets(*store, tickets);
    if (!r) {
        in.err << r.message << "\n";
        return CliBadInput;
    }
    std::vector<CheckedTicket> checked;
    for (CheckedTicket& c : checkTickets(tickets, table)) {
        auto out = std::remove_if(c.results.begin(), c.results.end(),
                                  [&](const TicketDrawResult& d) { return !period.contains(d); });
        c.results.erase(out, c.results.end());
        if (!c.results.empty()) checked.push_back(std::move(c));
    }
    const TicketTotals totals = totalTickets(checked, period);
    in.out << (format == "json" ? ticketsJson(checked, totals) : ticketsTsv(checked, totals));
    if (totals.unknownPrizes > 0)
        in.err << "賞金の分からない当せん " << totals.unknownPrizes
               << " 件は当せん金に含めていません。\n";
    return CliDone;
}

// One line a window: its short name, its title, then its other names.
int runList(const Invocation& in) {
    for (const ExportName& e : exportNames()) {
        in.out << e.name << "\t" << e.caption;
        for (const std::string& other : e.others)
            in.out << "\t" << other;
        in.out << "\n";
    }
    return CliDone;
}

// ---------------------------------------------------------------------------
// Parsing.

struct Parsed {
    std::vector<std::string> words; // command and operands
    std::map<std::string, std::string> options;
    std::map<std::string, std::vector<std::string>> repeated;
    bool help = false;
    bool version = false;
    std::string error; // the first usage error, naming the word
};

Parsed parse(const std::vector<std::string>& args) {
    Parsed p;
    auto fail = [&p](const std::string& message) {
        if (p.error.empty()) p.error = message;
    };
    bool operandsOnly = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (operandsOnly || arg.size() < 2 || arg[0] != '-') { // "-" and "" are operands too
            p.words.push_back(arg);
        } else if (arg == "--") {
            operandsOnly = true;
        } else if (arg == "-h" || arg == "--help") {
            p.help = true;
        } else if (arg == "--version") {
            p.version = true;
        } else {
            const size_t eq = arg.find('=');
            const std::string name = arg.substr(0, eq);
            const OptionSpec* option = name.rfind("--", 0) == 0 ? findOption(name) : nullptr;
            if (!option) {
                fail("不明なオプションです: " + name);
                continue;
            }
            if (p.options.count(name) && !option->repeatable) {
                fail(name + " が二度指定されています。");
                continue;
            }
            std::string value;
            if (option->isSwitch()) {
                if (eq != std::string::npos) {
                    fail(name + " には値を付けられません。");
                    continue;
                }
            } else if (eq != std::string::npos) {
                value = arg.substr(eq + 1);
            } else if (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) {
                value = args[++i];
            } else {
                fail(name + " の後に " + option->value + " がありません。");
                continue;
            }
            p.options.emplace(name, value);
            p.repeated[name].push_back(value);
        }
    }
    return p;
}

} // namespace

std::vector<std::string> commandNames() {
    std::vector<std::string> names;
    for (const CommandSpec& c : commandTable())
        names.emplace_back(c.name);
    return names;
}

std::vector<std::string> optionNames() {
    std::vector<std::string> names;
    for (const OptionSpec& o : optionTable())
        names.emplace_back(o.name);
    names.emplace_back("--help");
    names.emplace_back("--version");
    return names;
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const DataLocation& location, const PictureWriter& pictures, bool outIsTerminal) {
    Parsed p = parse(args);
    if (p.help) {
        printHelp(out, location);
        return CliDone;
    }
    if (p.version) {
        out << kProgram << " " << N4_VERSION << "\n";
        return CliDone;
    }
    if (!p.error.empty()) return usageError(err, p.error);
    if (p.words.empty()) return usageError(err, "コマンドがありません。");
    const CommandSpec* command = findCommand(p.words[0]);
    if (!command) return usageError(err, "不明なコマンドです: " + p.words[0]);
    for (const auto& given : p.options) {
        // (a structured binding cannot be captured before C++20; clang refuses it)
        const std::string& option = given.first;
        if (std::find_if(command->options.begin(), command->options.end(),
                         [&](const char* o) { return option == o; }) == command->options.end())
            return usageError(err, option + " は " + command->name + " では使えません。");
    }
    const size_t wanted = command->operands.size();
    if (p.words.size() - 1 < wanted)
        return usageError(err, std::string(command->name) + " の後に " +
                                   command->operands[p.words.size() - 1] + " がありません。");
    if (p.words.size() - 1 > wanted)
        return usageError(err, "余分な引数です: " + p.words[wanted + 1]);
    Invocation in{{p.words.begin() + 1, p.words.end()},
                  p.options,
                  p.repeated,
                  location,
                  out,
                  err,
                  pictures,
                  outIsTerminal};
    const int code = command->run(in);
    // A full disk or a closed pipe: what was written did not all arrive.
    if (code == CliDone && !out.flush()) {
        err << "書き出せませんでした（出力先に書き込めません）。\n";
        return CliBadInput;
    }
    return code;
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::string& programFolder, const PictureWriter& pictures, bool outIsTerminal) {
    return runCli(args, out, err, findDataLocation(programFolder), pictures, outIsTerminal);
}

} // namespace n4

#include "core/cli/Cli.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <sstream>

#include "core/analysis/AnalysisCatalog.h"
#include "core/grid/GridExport.h"
#include "core/grid/GridHtml.h"
#include "core/import/HistoryImport.h"
#include "core/import/ImportPlan.h"
#include "core/import/JetConversion.h"
#include "core/prediction/Backtest.h"
#include "core/prediction/BacktestExport.h"
#include "core/prediction/PredictionExport.h"
#include "core/prediction/SettingsFile.h"
#include "core/store/DrawStore.h"
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
    const char* value; // what follows it, as --help names it
    const char* help;
    bool repeatable = false; // may be given more than once, each value kept
};

const std::vector<OptionSpec>& optionTable() {
    static const std::vector<OptionSpec> options = {
        {"--db", "FILE", "使うデータベースファイル（既定は下に示す場所）"},
        {"--format", "FORMAT",
         "書き出す形式: tsv（既定）、json、html。export はほかに画像の png、svg、pdf"},
        {"--reflect", "N",
         "予想に反映する分析の数 0～10（export prediction と "
         "backtest。既定は設定ファイルのとおり）"},
        {"--from", "N", "検証する最初の回（backtest。既定は消去法が全行を読める最初の回）"},
        {"--to", "M", "検証する最後の回（backtest。既定は最新の回）"},
        {"--rows", "FIRST:LAST",
         "画像にする行: 見出しの行の下から数えて FIRST～LAST（回ごとの表では回数）"},
        {"--last", "N", "画像にする行: 最後の N 行（既定は最新の 100 行。短い表は全体）"},
        {"--source", "URL",
         "update の更新元。何度でも指定でき、書いた順に試す（/ で終わるアドレスは結果の API）",
         true},
    };
    return options;
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

const std::vector<CommandSpec>& commandTable() {
    static const std::vector<CommandSpec> commands = {
        {"import",
         {"FILE"},
         {"--db"},
         "当選データの履歴（CSV・TSV・JSON・Jet 4.0 の .mdb）をデータベースに取り込む",
         runImport},
        {"export",
         {"NAME"},
         {"--db", "--format", "--reflect", "--rows", "--last"},
         "ウィンドウ NAME の表をプログラムが表示するとおりに書き出す",
         runExport},
        {"list", {}, {}, "export で使える名前とそのウィンドウ名を一覧にする", runList},
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
        for (const char* option : c.options)
            synopsis += std::string(" [") + option + " " + findOption(option)->value + "]" +
                        (findOption(option)->repeatable ? "..." : "");
        out << "  " << synopsis << "\n      " << c.help << "\n";
    }
    out << "\nオプション:\n";
    // One column for the explanations, just right of the longest option.
    std::size_t width = std::string("-h, --help").size();
    for (const OptionSpec& o : optionTable())
        width = std::max(width, std::string(o.name).size() + 1 + std::string(o.value).size());
    for (const OptionSpec& o : optionTable())
        out << "  " << padded(std::string(o.name) + " " + o.value, width) << o.help << "\n";
    out << "  " << padded("-h, --help", width) << "この説明を表示して終わる\n"
        << "  " << padded("--version", width) << "版を表示して終わる\n"
        << "\n名前（export NAME。ウィンドウ名もそのまま使えます）:\n";
    for (const auto& [name, window] : exportNames())
        out << "  " << padded(name, 12) << window << "\n";
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

// Reads the whole file first; then, in one transaction, writes only the
// draws that are new or changed, and says what was stored.
int importFile(const Invocation& in) {
    const std::string& file = in.operands[0];
    ImportResult imported = readHistoryFile(file);
    if (!imported.ok) {
        in.err << file << ": " << imported.message << "\n";
        return CliBadInput;
    }
    std::string message;
    if (!in.has("--db") && !prepareDataFolder(in.location, message)) {
        in.err << message << "\n";
        return CliBadInput;
    }
    if (!finishInterruptedTakeOver(in)) return CliBadInput;
    StoreResult r;
    auto store = DrawStore::open(connectionFor(in), r);
    ImportPlan plan;
    // The plan is made under the write lock, from the draws as they are when
    // this import writes: another import at the same time comes before or
    // after it, and the report says what this one did.
    if (store)
        r = store->inTransaction([&]() -> StoreResult {
            DrawTable current;
            if (StoreResult read = store->readAll(current); !read) return read;
            plan = planImport(current, imported.rows);
            if (plan.nothingToDo()) return StoreResult::success();
            return writeChange(*store, plan.change("取り込み"), true);
        });
    if (!r) {
        in.err << r.message << "\n";
        return CliBadInput;
    }
    in.out << file << ": " << imported.format << "\n" << reportImport(plan) << "\n";
    if (imported.unreadableDigits > 0)
        in.out << "読めない数字 " << imported.unreadableDigits
               << " 個は空欄として取り込みました。\n";
    return CliDone;
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

bool loadTable(const Invocation& in, DrawTable& table) {
    if (!finishInterruptedTakeOver(in)) return false;
    StoreResult r;
    // Reading never writes: no database is created, none completed.
    auto store = DrawStore::open(connectionFor(in), r, nullptr, IfMissing::ReadOnly);
    if (store) r = store->readAll(table);
    if (!r) in.err << r.message << "\n";
    return r.ok;
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

int runExport(const Invocation& in) {
    const std::string& name = in.operands[0];
    const std::string format = in.value("--format", "tsv");
    if (std::find(kExportFormats.begin(), kExportFormats.end(), format) == kExportFormats.end())
        return usageError(in.err, "不明な形式です: " + format + "（" +
                                      joinedFormats(kExportFormats) + " のいずれか）");
    const AnalysisEntry* entry = findAnalysis(name);
    const bool prediction = isPredictionName(name);
    if (!entry && !prediction)
        return usageError(in.err,
                          "不明な名前です: " + name + "（一覧は「" + kProgram + " list」）");
    if (!prediction && in.has("--reflect"))
        return usageError(in.err, "--reflect は予想（prediction）の書き出しでだけ使えます: " +
                                      name + " の表は反映する分析の数によりません。");
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

int runList(const Invocation& in) {
    for (const auto& [name, window] : exportNames())
        in.out << name << "\t" << window << "\n";
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
            if (eq != std::string::npos) {
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

std::vector<std::pair<std::string, std::string>> exportNames() {
    std::vector<std::pair<std::string, std::string>> names;
    for (const AnalysisEntry& e : analysisCatalog())
        names.emplace_back(e.cliName, e.windowName);
    names.emplace_back("prediction", "一発マーヴォ");
    return names;
}

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
           const DataLocation& location, const PictureWriter& pictures) {
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
    Invocation in{
        {p.words.begin() + 1, p.words.end()}, p.options, p.repeated, location, out, err, pictures};
    const int code = command->run(in);
    // A full disk or a closed pipe: what was written did not all arrive.
    if (code == CliDone && !out.flush()) {
        err << "書き出せませんでした（出力先に書き込めません）。\n";
        return CliBadInput;
    }
    return code;
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::string& programFolder, const PictureWriter& pictures) {
    return runCli(args, out, err, findDataLocation(programFolder), pictures);
}

} // namespace n4

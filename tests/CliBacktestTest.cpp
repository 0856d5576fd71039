// The backtest command: its options, its three formats and its refusals.
#include <gtest/gtest.h>

#include <sstream>

#include "TestSupport.h"
#include "core/cli/Cli.h"
#include "core/prediction/SettingsFile.h"
#include "core/store/DataLocation.h"

using namespace n4;

namespace {

struct CliRun {
    int code;
    std::string out, err;
};

// A folder with a database of `draws` draws 1-1-1-1 and a settings file.
struct Folder {
    std::string path = n4test::tempFolder();
    DataLocation location{path, path + "/Numbers4Marvo.mdb", path + "/settings.ini", true};

    explicit Folder(int draws) {
        std::string csv = "draw,d1,d2,d3,d4\n";
        for (int no = 1; no <= draws; ++no)
            csv += std::to_string(no) + ",1,1,1,1\n";
        n4test::writeFile(path + "/h.csv", csv);
        EXPECT_EQ(run({"import", path + "/h.csv"}).code, CliDone);
    }
    CliRun run(const std::vector<std::string>& args) const {
        std::ostringstream out, err;
        const int code = runCli(args, out, err, location);
        return {code, out.str(), err.str()};
    }
};

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(CliBacktest, JsonCarriesEveryMethodWithExactChanceFigures) {
    Folder f(20);
    CliRun r = f.run({"backtest", "--format", "json", "--reflect", "0"});
    ASSERT_EQ(r.code, CliDone) << r.err;
    EXPECT_EQ(r.out.rfind("{\"from\":11,\"to\":20,\"reflect\":0,\"methods\":[", 0), 0u) << r.out;
    // Every draw 1-1-1-1: the elimination shows eight digits, 1 among them.
    EXPECT_TRUE(has(r.out, "{\"name\":\"消去法\",\"kind\":\"set\",\"draws\":10,\"hits\":40,"
                           "\"expected\":32.0,\"ratio\":1.2500,\"p_value\":0.000218099,"))
        << r.out;
    EXPECT_TRUE(has(r.out, "\"all_four\":10,\"all_four_expected\":4.0960}"));
    // Cycle methods are "position" methods, without the all-four figures.
    EXPECT_TRUE(has(r.out, "{\"name\":\" 7回周期法\",\"kind\":\"position\",\"draws\":0,\"hits\":0,"
                           "\"expected\":0.0,\"ratio\":null,\"p_value\":1,"
                           "\"verdict\":\"予想なし\"}"))
        << r.out;
    for (const char* name : {" 9回周期法", "11回周期法", "12回周期法", "連発予想", "１発予想"})
        EXPECT_TRUE(has(r.out, std::string("\"name\":\"") + name + "\"")) << name;
}

TEST(CliBacktest, RangeAndReflectChooseTheDraws) {
    Folder f(30);
    CliRun r = f.run({"backtest", "--format", "json", "--from", "15", "--to", "24"});
    ASSERT_EQ(r.code, CliDone) << r.err;
    EXPECT_EQ(r.out.rfind("{\"from\":15,\"to\":24,\"reflect\":0,", 0), 0u);
    EXPECT_TRUE(has(r.out, "\"name\":\"消去法\",\"kind\":\"set\",\"draws\":10,"));
    // --reflect defaults to the settings file's count, as export prediction.
    AnalysisOptions options;
    options.flags[2] = options.flags[7] = options.flags[9] = true;
    ASSERT_TRUE(writeInitFile(f.location.settingsPath, options).ok);
    r = f.run({"backtest", "--format", "json"});
    EXPECT_EQ(r.out.rfind("{\"from\":14,\"to\":30,\"reflect\":3,", 0), 0u) << r.out;
    EXPECT_EQ(f.run({"backtest", "--format", "json", "--reflect", "1"})
                  .out.rfind("{\"from\":12,\"to\":30,\"reflect\":1,", 0),
              0u);
    // All ten analyses reflected is the most there is, and allowed.
    EXPECT_EQ(f.run({"backtest", "--format", "json", "--reflect", "10"})
                  .out.rfind("{\"from\":21,\"to\":30,\"reflect\":10,", 0),
              0u);
}

TEST(CliBacktest, TsvIsTheTableAndHtmlAddsCharts) {
    Folder f(20);
    CliRun tsv = f.run({"backtest", "--reflect", "0"});
    ASSERT_EQ(tsv.code, CliDone) << tsv.err;
    std::istringstream lines(tsv.out);
    std::string header, line;
    std::getline(lines, header);
    EXPECT_EQ(header, "予想手法\t予想した回数\t的中数\t偶然の期待値\t比率\tp値\t判定\t"
                      "4数字とも的中\t偶然の期待値");
    std::vector<std::string> rowsAfterHeader;
    while (std::getline(lines, line))
        rowsAfterHeader.push_back(line);
    ASSERT_EQ(rowsAfterHeader.size(), 7u);
    EXPECT_EQ(rowsAfterHeader[4], "消去法\t10\t40\t32.0\t1.250\t0.0002\t偶然より良い\t10\t4.10");
    CliRun html = f.run({"backtest", "--format", "html", "--reflect", "0"});
    ASSERT_EQ(html.code, CliDone);
    EXPECT_TRUE(has(html.out, "<table"));
    EXPECT_TRUE(has(html.out, "第11回～第20回の当選 10 回で検証"));
    size_t charts = 0;
    for (size_t at = html.out.find("<svg"); at != std::string::npos;
         at = html.out.find("<svg", at + 1))
        ++charts;
    EXPECT_EQ(charts, 7u);
    EXPECT_TRUE(has(html.out, "<polygon")); // chance's band
    EXPECT_TRUE(has(html.out, "<polyline"));
    EXPECT_TRUE(has(html.out, "この範囲では予想がありませんでした")); // the cycle methods here
    // The page says in plain words what was counted and what the p-value
    // means; the TSV above keeps its field names for the scripts that read it.
    EXPECT_TRUE(has(html.out, ">当たった桁<"));
    EXPECT_FALSE(has(html.out, ">的中数<"));
    EXPECT_TRUE(has(html.out,
                    "<p>消去法：10 回の当選数字 40 桁のうち、予想した数字に入っていた（当た"
                    "った）のは 40 桁（偶然なら平均 32.0 桁）、4 桁とも当たった回は 10 回（偶"
                    "然なら平均 4.10 回）。偶然でも平均からこれ以上離れる確率は 0.021 %。1 % "
                    "を下回るので、偶然より良いといえます。</p>"))
        << html.out;
    EXPECT_TRUE(has(html.out, "<p>7回周期法：この範囲では予想がありませんでした。</p>"));
    EXPECT_TRUE(has(html.out, "<p>p値：予想に力がなく"));
}

TEST(CliBacktest, BadRangesAreRefusedWithAMessage) {
    Folder f(20);
    for (std::vector<std::string> args : {std::vector<std::string>{"backtest", "--from", "0"},
                                          {"backtest", "--to", "x"},
                                          {"backtest", "--from", "100000"},
                                          {"backtest", "--from", "15", "--to", "12"},
                                          {"backtest", "--reflect", "11"},
                                          {"backtest", "--format", "xml"},
                                          {"backtest", "extra"}}) {
        CliRun r = f.run(args);
        EXPECT_EQ(r.code, CliUsage) << args[1];
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_TRUE(has(f.run({"backtest", "--from", "15", "--to", "12"}).err, "--from は --to 以下"));
    // A range without a draw to compare, or a history too short, is bad input.
    CliRun none = f.run({"backtest", "--from", "25", "--reflect", "0"});
    EXPECT_EQ(none.code, CliBadInput);
    EXPECT_TRUE(has(none.err, "検証できる当選がありません")) << none.err;
    Folder shortHistory(10);
    EXPECT_EQ(shortHistory.run({"backtest", "--reflect", "0"}).code, CliBadInput);
    // A database that is not there is not created.
    EXPECT_EQ(f.run({"backtest", "--db", f.path + "/none.mdb"}).code, CliBadInput);
}

TEST(CliBacktest, TheFirstAndLastDrawNumbersAreAcceptedAsTheRange) {
    Folder f(20);
    CliRun r =
        f.run({"backtest", "--from", "1", "--to", "99999", "--reflect", "0", "--format", "json"});
    ASSERT_EQ(r.code, CliDone) << r.err;
    EXPECT_TRUE(has(r.out, "{\"from\":1,\"to\":99999,\"reflect\":0,")) << r.out;
    // One draw only: from and to the same.
    CliRun one =
        f.run({"backtest", "--from", "20", "--to", "20", "--reflect", "0", "--format", "json"});
    ASSERT_EQ(one.code, CliDone) << one.err;
    EXPECT_TRUE(has(one.out, "{\"from\":20,\"to\":20,")) << one.out;
    EXPECT_TRUE(has(one.out, "\"name\":\"消去法\",\"kind\":\"set\",\"draws\":1,")) << one.out;
}

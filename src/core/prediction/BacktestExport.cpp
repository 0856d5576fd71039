#include "core/prediction/BacktestExport.h"

#include <iterator>
#include <sstream>

#include "core/grid/GridExport.h"
#include "core/grid/GridHtml.h"
#include "core/grid/PrintfText.h"
#include "core/prediction/BacktestSvg.h"
#include "core/prediction/BacktestTable.h"
#include "core/prediction/BacktestWording.h"

namespace n4 {

namespace {

// The TSV's first line names the fields as the tool always has, so that
// scripts and spreadsheets that read them by name go on working; the
// window's header says the same in plainer words.
const char* const kTsvFields[] = {"予想手法",     "予想した回数",  "的中数",
                                  "偶然の期待値", "比率",          "p値",
                                  "判定",         "4数字とも的中", "偶然の期待値"};

std::string paragraph(const std::string& text) {
    return "<p>" + htmlEscape(text) + "</p>\n";
}

// Chance's figures are exact decimals: tenths, and ten-thousandths.
std::string tenThousandths(long long v) {
    return printfText("%lld.%04lld", v / 10000, v % 10000);
}

std::string methodJson(const MethodTally& m) {
    const bool set = m.kind == MethodKind::Set;
    std::string out = "{\"name\":\"" + jsonEscape(m.name) + "\",\"kind\":\"" +
                      (set ? "set" : "position") + "\",\"draws\":" + std::to_string(m.draws) +
                      ",\"hits\":" + std::to_string(m.hits) +
                      ",\"expected\":" + formatTenths(m.expectedTenths) +
                      ",\"ratio\":" + (m.expectedTenths ? printfText("%.4f", m.ratio()) : "null") +
                      ",\"p_value\":" + printfText("%.6g", m.pValue) + ",\"verdict\":\"" +
                      jsonEscape(backtestVerdict(m)) + "\"";
    if (set)
        out += ",\"all_four\":" + std::to_string(m.allFour) +
               ",\"all_four_expected\":" + tenThousandths(m.allFourExpectedTenThousandths);
    return out + "}";
}

} // namespace

std::string backtestToTsv(const BacktestResult& r) {
    Grid grid = backtestGrid(r);
    for (int c = 1; c <= static_cast<int>(std::size(kTsvFields)); ++c)
        grid.setText(c, 1, kTsvFields[c - 1]);
    return gridToTsv(grid);
}

std::string backtestToJson(const BacktestResult& r) {
    std::string out = "{\"from\":" + std::to_string(r.range.from) +
                      ",\"to\":" + std::to_string(r.range.to) +
                      ",\"reflect\":" + std::to_string(r.reflect) + ",\"methods\":[";
    for (int m = 0; m < kBacktestMethods; ++m)
        out += (m ? "," : "") + methodJson(r.methods[m]);
    return out + "]}\n";
}

std::string backtestSummary(const BacktestResult& r) {
    return "第" + std::to_string(r.range.from) + "回～第" + std::to_string(r.range.to) +
           "回の当選 " + std::to_string(r.draws.size()) + " 回で検証（反映するオプション " +
           std::to_string(r.reflect) + " 個）";
}

HtmlPage backtestPage(const BacktestResult& r, const Grid& table) {
    std::string trailer;
    for (const MethodTally& m : r.methods)
        trailer += paragraph(backtestSentence(m));
    for (const std::string& note : backtestNotes())
        trailer += paragraph(note);
    trailer += paragraph("予想手法ごとのグラフ：" + backtestChartNote());
    for (int m = 0; m < kBacktestMethods; ++m)
        trailer += excessChartSvg(r, m) + "\n";
    return HtmlPage{kBacktestCaption, backtestSummary(r), {{&table, 1, ""}}, trailer};
}

std::string backtestToHtml(const BacktestResult& r) {
    const Grid grid = backtestGrid(r);
    std::ostringstream out;
    writeHtmlPage(out, backtestPage(r, grid));
    return out.str();
}

} // namespace n4

#include "core/prediction/BacktestExport.h"

#include <sstream>

#include "core/grid/GridExport.h"
#include "core/grid/GridHtml.h"
#include "core/grid/PrintfText.h"
#include "core/prediction/BacktestSvg.h"
#include "core/prediction/BacktestTable.h"

namespace n4 {

namespace {

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
    return gridToTsv(backtestGrid(r));
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

std::string backtestToHtml(const BacktestResult& r) {
    const Grid grid = backtestGrid(r);
    std::string charts = "<p>累積の的中数 − 偶然の期待値（帯は偶然の ±2σ）</p>\n";
    for (int m = 0; m < kBacktestMethods; ++m)
        charts += excessChartSvg(r, m) + "\n";
    std::ostringstream out;
    writeHtmlPage(out, HtmlPage{kBacktestCaption, backtestSummary(r), {{&grid, 1, ""}}, charts});
    return out.str();
}

} // namespace n4

// Whole HTML pages pinned in golden files, one tag a line: a window's grid as
// the command line and the window's menu write it (spanned titles, CSS
// classes, lines, sizes), and the prediction's page of four headed tables.
#include <gtest/gtest.h>

#include <sstream>

#include "GoldenGrid.h"
#include "TestSupport.h"
#include "core/analysis/AnalysisCatalog.h"
#include "core/grid/GridHtml.h"
#include "core/prediction/PredictionExport.h"
#include "core/store/StartupFigures.h"

using namespace n4;

namespace {

std::string oneTagALine(const std::string& html) {
    std::string out;
    for (std::size_t i = 0; i < html.size(); ++i) {
        if (html[i] == '<' && i > 0 && html[i - 1] != '\n') out += '\n';
        out += html[i];
    }
    return out;
}

std::string analysisPage(const char* name, const DrawTable& table) {
    const AnalysisEntry* entry = findAnalysis(name);
    EXPECT_NE(entry, nullptr) << name;
    if (!entry) return "";
    const Grid grid = n4test::analyse(entry->compute, table);
    std::ostringstream out;
    writeHtmlPage(out, HtmlPage{entry->caption, entry->label, {{&grid, entry->titleRows, ""}}, ""});
    return out.str();
}

} // namespace

TEST(HtmlPage, TheConsecutiveWindowsPage) {
    n4test::expectGolden("consecutive-page",
                         oneTagALine(analysisPage("consecutive", n4test::richPredictionHistory())));
}

TEST(HtmlPage, TheDispersionWindowsPage) {
    n4test::expectGolden("dispersion-page",
                         oneTagALine(analysisPage("dispersion", n4test::richPredictionHistory())));
}

TEST(HtmlPage, ThePredictionsPage) {
    const DrawTable t = n4test::richPredictionHistory();
    n4test::expectGolden("prediction-page",
                         oneTagALine(exportPrediction(t, computeStartupFigures(t), 2, "html")));
}

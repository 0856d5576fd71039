#include "prediction/PredictionExport.h"

#include "grid/GridExport.h"
#include "prediction/PredictionEngine.h"
#include "prediction/SettingsFile.h"

namespace n4 {

bool isPredictionName(const std::string& name) {
    return name == "prediction" || name == "一発マーヴォ";
}

std::string exportPrediction(const DrawTable& table, const StartupFigures& figures, int reflect,
                             const std::string& format) {
    if (reflect < 0) {
        AnalysisOptions options;
        readInitFile(kSettingsFileName, options);
        reflect = options.reflectedCount();
    }
    PredictionEngine engine;
    engine.ScanDraws(table, figures.latestDrawNo, reflect);
    const auto& grids = engine.grids();
    std::string out;
    if (format == "json") {
        out = "{\"grids\": [";
        for (int g = 0; g < 4; ++g)
            out += (g ? ", " : "") + gridToJson(grids[g], "一発マーヴォ");
        return out + "]}\n";
    }
    if (format == "html") {
        for (int g = 0; g < 4; ++g)
            out += gridToHtmlTable(grids[g]);
        return htmlPage("一発マーヴォ予想", out);
    }
    for (int g = 0; g < 4; ++g)
        out += (g ? "\n" : "") + gridToTsv(grids[g]);
    return out;
}

} // namespace n4

#include "core/prediction/PredictionExport.h"

#include <algorithm>
#include <sstream>

#include "core/grid/GridExport.h"
#include "core/grid/GridHtml.h"
#include "core/prediction/PredictionEngine.h"
#include "core/prediction/PredictionGrids.h"
#include "core/prediction/SettingsFile.h"

namespace n4 {

const std::vector<std::string>& predictionNames() {
    static const std::vector<std::string> names = {"prediction", kPredictionCaption,
                                                   kPredictionWindowName};
    return names;
}

bool isPredictionName(const std::string& name) {
    const std::vector<std::string>& names = predictionNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::array<Grid, 4> computePrediction(const DrawTable& table, const StartupFigures& figures,
                                      int reflect) {
    if (reflect < 0) {
        AnalysisOptions options;
        readInitFile(kSettingsFileName, options);
        reflect = options.reflectedCount();
    }
    PredictionEngine engine;
    engine.ScanDraws(table, figures.latestDrawNo, reflect);
    return engine.grids();
}

PictureRequest predictionPicture(const std::array<Grid, 4>& grids, const std::string& format) {
    PictureRequest request{format, kPredictionCaption, {}, kPredictionDescription};
    for (int g = 0; g < 4; ++g)
        request.parts.push_back({predictionGridLabel(g), &grids[g], wholeGrid(grids[g])});
    return request;
}

std::string exportPrediction(const DrawTable& table, const StartupFigures& figures, int reflect,
                             const std::string& format) {
    const std::array<Grid, 4> grids = computePrediction(table, figures, reflect);
    std::string out;
    if (format == "json") {
        out = "{\"grids\": [";
        for (int g = 0; g < 4; ++g)
            out += (g ? ", " : "") + gridToJson(grids[g], kPredictionWindowName);
        return out + "]}\n";
    }
    if (format == "html") {
        // As the window says which draw it predicts, above its grids.
        HtmlPage page{kPredictionCaption,
                      "第" + std::to_string(figures.latestDrawNo + 1) + "回の予想　" +
                          kPredictionDescription,
                      {},
                      ""};
        for (int g = 0; g < 4; ++g)
            page.tables.push_back({&grids[g], 1, predictionGridLabel(g)});
        std::ostringstream html;
        writeHtmlPage(html, page);
        return html.str();
    }
    for (int g = 0; g < 4; ++g)
        out += (g ? "\n" : "") + gridToTsv(grids[g]);
    return out;
}

} // namespace n4

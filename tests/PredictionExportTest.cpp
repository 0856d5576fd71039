// The prediction as the command-line tool writes it: the four grids as TSV,
// JSON and an HTML page with their labels, and as a picture request, pinned
// in tests/golden/prediction-exports.txt (N4_UPDATE_GOLDEN=1 rewrites it).
#include <gtest/gtest.h>

#include "GoldenGrid.h"
#include "TestSupport.h"
#include "core/prediction/PredictionExport.h"
#include "core/prediction/PredictionGrids.h"
#include "core/prediction/SettingsFile.h"
#include "core/store/StartupFigures.h"

#include <filesystem>

using namespace n4;

TEST(PredictionExport, EveryFormatOfTheFourGridsWithTheirLabels) {
    const DrawTable history = n4test::richPredictionHistory();
    const StartupFigures figures = computeStartupFigures(history);
    std::string text = n4test::describeHistory(history);
    for (const char* format : {"tsv", "json", "html"})
        text +=
            std::string("\n## ") + format + "\n" + exportPrediction(history, figures, 2, format);
    n4test::expectGolden("prediction-exports", text);

    const std::array<Grid, 4> grids = computePrediction(history, figures, 2);
    const PictureRequest picture = predictionPicture(grids, "svg");
    EXPECT_EQ(picture.format, "svg");
    EXPECT_EQ(picture.title, "一発マーヴォ予想");
    ASSERT_EQ(picture.parts.size(), 4u);
    for (int g = 0; g < 4; ++g) {
        const PicturePart& part = picture.parts[static_cast<size_t>(g)];
        EXPECT_EQ(part.heading, predictionGridLabel(g));
        EXPECT_EQ(part.grid, &grids[static_cast<size_t>(g)]);
        EXPECT_EQ(part.block.first, 1);
        EXPECT_EQ(part.block.last, grids[static_cast<size_t>(g)].maxRows());
        EXPECT_EQ(part.block.col2, 5);
    }
    EXPECT_EQ(predictionGridLabel(-1), std::string());
    EXPECT_EQ(predictionGridLabel(4), std::string());
    EXPECT_TRUE(isPredictionName("prediction"));
    EXPECT_TRUE(isPredictionName("一発マーヴォ"));
    EXPECT_TRUE(isPredictionName("一発マーヴォ予想")); // the window's title
    EXPECT_FALSE(isPredictionName("一発マーヴォ予想(&D)"));
    EXPECT_FALSE(isPredictionName("Prediction"));
}

TEST(PredictionExport, WithoutACountTheSettingsFileInTheWorkingFolderDecides) {
    const DrawTable history = n4test::richPredictionHistory();
    const StartupFigures figures = computeStartupFigures(history);
    const std::string folder = n4test::tempFolder();
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    // No settings file: nothing reflected.
    const std::string none = exportPrediction(history, figures, -1, "tsv");
    EXPECT_EQ(none, exportPrediction(history, figures, 0, "tsv"));
    // Two options on.
    std::string settings;
    for (int k = 0; k < kOptionCount; ++k)
        settings += std::string(optionKey(k)) + (k < 2 ? "=True\r\n" : "=False\r\n");
    n4test::writeFile(folder + "/" + kSettingsFileName, settings);
    const std::string two = exportPrediction(history, figures, -1, "tsv");
    const std::string zeroGiven = exportPrediction(history, figures, 0, "tsv"); // the file aside
    std::filesystem::current_path(before);
    EXPECT_EQ(zeroGiven, none);
    EXPECT_EQ(two, exportPrediction(history, figures, 2, "tsv"));
    EXPECT_NE(two, none);
}

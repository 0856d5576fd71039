// What the tool asks a picture of: which rows, which grids, which format.
// The drawing itself is the window painter's (GridPictureTest).
#include <gtest/gtest.h>

#include <sstream>

#include "TestSupport.h"
#include "core/cli/Cli.h"
#include "core/grid/PictureRequest.h"

using namespace n4;

namespace {

struct Asked {
    std::string format, title;
    std::vector<std::string> headings;
    std::vector<PictureBlock> blocks;
    int calls = 0;
};

struct Outcome {
    int code;
    std::string out, err;
};

// The tool with a writer that notes what it is asked and writes a marker.
Outcome run(const std::vector<std::string>& args, const std::string& folder, Asked& asked) {
    PictureWriter writer = [&asked](const PictureRequest& r, std::ostream& out, std::string&) {
        ++asked.calls;
        asked.format = r.format;
        asked.title = r.title;
        for (const PicturePart& p : r.parts) {
            asked.headings.push_back(p.heading);
            asked.blocks.push_back(p.block);
        }
        out << "PICTURE";
        return true;
    };
    std::ostringstream out, err;
    const int code = runCli(args, out, err, folder, writer);
    return {code, out.str(), err.str()};
}

// A history of the given number of draws.
std::string folderWith(int draws) {
    const std::string folder = n4test::tempFolder();
    std::string csv = "draw,d1,d2,d3,d4\n";
    for (int n = 1; n <= draws; ++n)
        csv += std::to_string(n) + "," + std::to_string(n % 10) + ",1,2,3\n";
    n4test::writeFile(folder + "/h.csv", csv);
    std::ostringstream out, err;
    EXPECT_EQ(runCli({"import", folder + "/h.csv"}, out, err, folder), CliDone) << err.str();
    return folder;
}

bool operator==(const PictureBlock& a, const PictureBlock& b) {
    return a.headRows == b.headRows && a.first == b.first && a.last == b.last && a.col1 == b.col1 &&
           a.col2 == b.col2;
}

} // namespace

TEST(CliPicture, ALongHistoryShowsItsTitleRowsAndLatestHundredDraws) {
    const std::string folder = folderWith(150);
    Asked asked;
    Outcome r = run({"export", "division10", "--format", "png"}, folder, asked);
    ASSERT_EQ(r.code, CliDone) << r.err;
    EXPECT_EQ(r.out, "PICTURE");
    EXPECT_EQ(asked.format, "png");
    EXPECT_EQ(asked.title, "10分割データ分析");
    // 3 title rows, draws 1..150 in rows 4..153: the last hundred are 51..150.
    ASSERT_EQ(asked.blocks.size(), 1u);
    EXPECT_TRUE((asked.blocks[0] == PictureBlock{3, 54, 153, 1, 42}));
}

TEST(CliPicture, RowsAreCountedUnderTheTitleRowsAndCutToTheGrid) {
    const std::string folder = folderWith(150);
    Asked asked;
    ASSERT_EQ(run({"export", "division10", "--format", "pdf", "--rows", "7:9"}, folder, asked).code,
              CliDone);
    EXPECT_TRUE((asked.blocks.back() == PictureBlock{3, 10, 12, 1, 42})); // draws 7..9
    ASSERT_EQ(
        run({"export", "division10", "--format", "svg", "--rows", "140:999"}, folder, asked).code,
        CliDone);
    EXPECT_TRUE((asked.blocks.back() == PictureBlock{3, 143, 153, 1, 42}));
    ASSERT_EQ(run({"export", "division10", "--format", "svg", "--last", "5"}, folder, asked).code,
              CliDone);
    EXPECT_TRUE((asked.blocks.back() == PictureBlock{3, 149, 153, 1, 42}));
    // Beyond the grid: said, and nothing drawn.
    const int calls = asked.calls;
    Outcome beyond =
        run({"export", "division10", "--format", "png", "--rows", "151:160"}, folder, asked);
    EXPECT_EQ(beyond.code, CliBadInput);
    EXPECT_NE(beyond.err.find("151"), std::string::npos) << beyond.err;
    EXPECT_EQ(asked.calls, calls);
}

TEST(CliPicture, AShortHistoryIsDrawnWholeAndThePredictionAsItsFourGrids) {
    const std::string folder = folderWith(20);
    Asked asked;
    ASSERT_EQ(run({"export", "interval", "--format", "png"}, folder, asked).code, CliDone);
    // 2 title rows (kept apart, for a PDF's pages), 20 draws, 2 closing rows
    EXPECT_TRUE((asked.blocks.back() == PictureBlock{2, 3, 24, 1, 9}));
    Asked prediction;
    ASSERT_EQ(
        run({"export", "prediction", "--format", "svg", "--reflect", "0"}, folder, prediction).code,
        CliDone);
    ASSERT_EQ(prediction.headings.size(), 4u);
    EXPECT_EQ(prediction.headings[3], "●一発マーヴォ予想");
    EXPECT_EQ(prediction.blocks[0].last, 5); // the cycle grid's five rows
}

TEST(CliPicture, RowOptionsAreUsageErrorsOutsidePictures) {
    const std::string folder = folderWith(5);
    Asked asked;
    for (std::vector<std::string> args : {
             std::vector<std::string>{"export", "sum", "--rows", "1:2"},           // not a picture
             {"export", "sum", "--format", "png", "--rows", "1:2", "--last", "3"}, // both
             {"export", "sum", "--format", "png", "--rows", "3:2"},
             {"export", "sum", "--format", "png", "--rows", "0:2"},
             {"export", "sum", "--format", "png", "--rows", "1-2"},
             {"export", "sum", "--format", "png", "--last", "0"},
             {"export", "sum", "--format", "png", "--last", "x"},
             {"export", "prediction", "--format", "png", "--last", "3"},
             {"export", "sum", "--format", "gif"},
             {"backtest", "--format", "png"},
         }) {
        Outcome r = run(args, folder, asked);
        EXPECT_EQ(r.code, CliUsage) << args.back();
        EXPECT_NE(r.err.find("--help"), std::string::npos) << r.err;
    }
    EXPECT_EQ(asked.calls, 0);
}

TEST(CliPicture, WithoutADrawerAPictureIsRefusedInWords) {
    const std::string folder = folderWith(5);
    std::ostringstream out, err;
    EXPECT_EQ(runCli({"export", "sum", "--format", "png"}, out, err, folder), CliBadInput);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("画像を書き出せません"), std::string::npos) << err.str();
}

TEST(PictureRows, TheLatestRowsTheWholeGridAndARange) {
    Grid g(3, 2 + 250);
    EXPECT_TRUE((defaultPicture(g, 2) == PictureBlock{2, 153, 252, 1, 3}));
    EXPECT_TRUE((lastBodyRows(g, 2, 1000) == PictureBlock{2, 3, 252, 1, 3}));
    Grid small(3, 2 + 100);
    EXPECT_TRUE((defaultPicture(small, 2) == PictureBlock{2, 3, 102, 1, 3}));
    PictureBlock b;
    std::string error;
    EXPECT_TRUE(bodyRows(g, 2, 250, 250, b, error));
    EXPECT_TRUE((b == PictureBlock{2, 252, 252, 1, 3}));
    EXPECT_FALSE(bodyRows(g, 2, 251, 300, b, error));
    EXPECT_FALSE(bodyRows(g, 2, 5, 4, b, error));
}

TEST(CliPicture, ASingleRowAndTheFirstAndLastRowsCanBeAskedFor) {
    const std::string folder = folderWith(150);
    Asked asked;
    ASSERT_EQ(run({"export", "division10", "--format", "png", "--rows", "1:1"}, folder, asked).code,
              CliDone);
    EXPECT_TRUE((asked.blocks.back() == PictureBlock{3, 4, 4, 1, 42}));
    ASSERT_EQ(
        run({"export", "division10", "--format", "png", "--rows", "150:150"}, folder, asked).code,
        CliDone);
    EXPECT_TRUE((asked.blocks.back() == PictureBlock{3, 153, 153, 1, 42}));
    ASSERT_EQ(run({"export", "division10", "--format", "png", "--last", "1"}, folder, asked).code,
              CliDone);
    EXPECT_TRUE((asked.blocks.back() == PictureBlock{3, 153, 153, 1, 42}));
    ASSERT_EQ(run({"export", "division10", "--format=png", "--last=150"}, folder, asked).code,
              CliDone);
    EXPECT_TRUE((asked.blocks.back() == PictureBlock{3, 4, 153, 1, 42}));
    EXPECT_EQ(asked.calls, 4);
}

// The program's own start opens the draw database on a thread while the
// toolkit starts. Whatever the database holds, the start must end exactly as
// the plain load (the main window reading everything itself) ends: the same
// draws and figures, the same settings, the same messages in the same order.
#include <gtest/gtest.h>

#include <QLabel>
#include <QRegularExpression>
#include <filesystem>

#include "UiSupport.h"
#include "core/prediction/SettingsFile.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/StartupLoad.h"

using namespace n4;
using n4test::RecordingSink;
using n4test::Workspace;

namespace {

struct Outcome {
    bool loaded = false;
    QStringList messages; // kind: text
    size_t draws = 0;
    int latest = -1;
    std::array<int, 10> tally{};
    AnalysisOptions options;
    QString status;
};

// Builds the workspace with prepare(), then starts the main window the plain
// way or through the early load.
Outcome start(bool early, const std::function<void(Workspace&)>& prepare) {
    Workspace ws{DrawTable{}};
    prepare(ws);
    RecordingSink sink;
    MainFrm main(ws.config, &sink);
    Outcome o;
    if (early) {
        EarlyStartupLoad load(ws.config.settingsPath,
                              DbConnectionString::forProgramFolder(ws.config.programFolder));
        o.loaded = main.load([&load] { return load.take(); });
    } else {
        o.loaded = main.load();
    }
    for (const auto& m : sink.messages)
        o.messages << m.kind + ": " + m.text;
    o.draws = main.drawTable().size();
    o.latest = main.figures().latestDrawNo;
    o.tally = main.figures().digitTally;
    o.options = main.analysisOptions();
    if (main.statusLabel()) o.status = main.statusLabel()->text();
    return o;
}

Outcome expectSameStart(const std::function<void(Workspace&)>& prepare) {
    const Outcome plain = start(false, prepare), early = start(true, prepare);
    EXPECT_EQ(early.loaded, plain.loaded);
    // The database's path differs between the two workspaces; the rest not.
    auto withoutFolders = [](QStringList texts) {
        for (QString& t : texts)
            t.replace(QRegularExpression("/[^「」 ]*/Numbers4Marvo"), "…/Numbers4Marvo");
        return texts;
    };
    EXPECT_EQ(withoutFolders(early.messages), withoutFolders(plain.messages));
    EXPECT_EQ(early.draws, plain.draws);
    EXPECT_EQ(early.latest, plain.latest);
    EXPECT_EQ(early.tally, plain.tally);
    EXPECT_EQ(early.options.flags, plain.options.flags);
    EXPECT_EQ(withoutFolders({early.status}), withoutFolders({plain.status}));
    return early;
}

std::string databaseOf(const Workspace& ws) {
    return ws.folder + "/Numbers4Marvo.mdb";
}

} // namespace

TEST(EarlyStartupLoad, EndsAsThePlainLoadWhateverTheDatabaseHolds) {
    {
        SCOPED_TRACE("draws and a settings file");
        const Outcome o = expectSameStart([](Workspace& ws) {
            StoreResult r;
            DrawStore::open(DbConnectionString::forProgramFolder(ws.folder), r)
                ->upsert(draws({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 9, 0, 1}}));
            AnalysisOptions options;
            options.flags[1] = options.flags[4] = true;
            writeInitFile(ws.config.settingsPath, options);
        });
        EXPECT_TRUE(o.loaded);
        EXPECT_EQ(o.draws, 3u);
        EXPECT_EQ(o.latest, 3);
        EXPECT_EQ(o.tally[9], 2);
        EXPECT_EQ(o.options.reflectedCount(), 2);
        EXPECT_TRUE(o.status.contains("3 件")) << o.status.toStdString();
        EXPECT_TRUE(o.messages.isEmpty());
    }
    {
        SCOPED_TRACE("no database yet");
        const Outcome o =
            expectSameStart([](Workspace& ws) { std::filesystem::remove(databaseOf(ws)); });
        EXPECT_TRUE(o.loaded);
        EXPECT_TRUE(o.status.contains("新しく作成しました")) << o.status.toStdString();
    }
    {
        SCOPED_TRACE("an empty file left by an interrupted creation");
        const Outcome o =
            expectSameStart([](Workspace& ws) { n4test::writeFile(databaseOf(ws), ""); });
        ASSERT_EQ(o.messages.size(), 1);
        EXPECT_TRUE(o.messages[0].startsWith("information")) << o.messages[0].toStdString();
    }
    {
        SCOPED_TRACE("not a database");
        const Outcome o = expectSameStart(
            [](Workspace& ws) { n4test::writeFile(databaseOf(ws), "not a database at all"); });
        EXPECT_FALSE(o.loaded);
        ASSERT_EQ(o.messages.size(), 1);
        EXPECT_TRUE(o.messages[0].startsWith("critical")) << o.messages[0].toStdString();
    }
    {
        SCOPED_TRACE("an old Jet file taken over");
        const Outcome o = expectSameStart([](Workspace& ws) {
            std::filesystem::remove(databaseOf(ws));
            std::filesystem::copy_file(N4_SOURCE_DIR "/tests/fuzz/corpus/jet/history_int_nopw.mdb",
                                       databaseOf(ws));
        });
        EXPECT_TRUE(o.loaded);
        EXPECT_GT(o.draws, 0u);
        ASSERT_EQ(o.messages.size(), 1);
        EXPECT_TRUE(o.messages[0].contains("Numbers4Marvo.mdb.jet4"))
            << o.messages[0].toStdString();
    }
}

TEST(EarlyStartupLoad, TheProgramsStartShowsThePredictionOverTheEarlyLoad) {
    Workspace ws{draws({{1, 2, 3, 4}, {5, 6, 7, 8}})};
    RecordingSink sink;
    EarlyStartupLoad early(ws.config.settingsPath,
                           DbConnectionString::forProgramFolder(ws.config.programFolder));
    std::unique_ptr<MainFrm> main = startShell(ws.config, &sink, &early);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->drawTable().size(), 2u);
    EXPECT_NE(main->openWindow("一発マーヴォ"), nullptr);
    EXPECT_TRUE(sink.messages.isEmpty());
}

TEST(EarlyStartupLoad, ALoadNeverTakenIsWaitedForAndLeftBehindCleanly) {
    // The start stops before the main window takes the load (the data folder
    // could not be made): the thread must still be over when the load goes.
    Workspace ws{draws({{1, 2, 3, 4}})};
    {
        EarlyStartupLoad early(ws.config.settingsPath,
                               DbConnectionString::forProgramFolder(ws.config.programFolder));
    }
    EXPECT_EQ(n4test::storedDraws(ws.folder).size(), 1u);
}

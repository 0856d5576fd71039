// Where the draw database and the settings file live, for the program and the
// command-line tool alike.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <sys/stat.h>

#include "TestSupport.h"
#include "core/cli/Cli.h"
#include "core/prediction/SettingsFile.h"
#include "core/store/DataLocation.h"
#include "core/store/DrawStore.h"

using namespace n4;

namespace {
DataLocationFacts installedIn(const std::string& folder) {
    DataLocationFacts f;
    f.programFolder = folder;
    f.programFolderWritable = false;
    f.home = "/home/hanako";
    return f;
}
} // namespace

TEST(DataLocation, PortableCopyKeepsTheDatabaseBesideTheProgram) {
    DataLocationFacts f = installedIn("/opt/n4");
    f.programFolderWritable = true;
    DataLocation at = resolveDataLocation(f);
    EXPECT_TRUE(at.portable);
    EXPECT_EQ(at.databasePath, "/opt/n4/Numbers4Marvo.mdb");
    EXPECT_EQ(at.databaseFolder, "/opt/n4");
    EXPECT_EQ(at.settingsPath, kSettingsFileName); // the current folder, as always

    // A folder it cannot write but that already holds the database stays portable.
    f.programFolderWritable = false;
    f.databaseBesideProgram = true;
    EXPECT_EQ(resolveDataLocation(f).databasePath, "/opt/n4/Numbers4Marvo.mdb");
}

TEST(DataLocation, InstalledProgramUsesTheUserDataFolder) {
    DataLocationFacts f = installedIn("/usr/bin");
    DataLocation at = resolveDataLocation(f);
    EXPECT_FALSE(at.portable);
    EXPECT_EQ(at.databaseFolder, "/home/hanako/.local/share/Numbers4Marvo");
    EXPECT_EQ(at.databasePath, "/home/hanako/.local/share/Numbers4Marvo/Numbers4Marvo.mdb");
    EXPECT_EQ(at.settingsPath,
              "/home/hanako/.local/share/Numbers4Marvo/" + std::string(kSettingsFileName));

    f.xdgDataHome = "/srv/data/";
    EXPECT_EQ(resolveDataLocation(f).databasePath, "/srv/data/Numbers4Marvo/Numbers4Marvo.mdb");
    // A relative $XDG_DATA_HOME is not valid and is ignored.
    f.xdgDataHome = "data";
    EXPECT_EQ(resolveDataLocation(f).databaseFolder, "/home/hanako/.local/share/Numbers4Marvo");
    f.home = "/";
    f.xdgDataHome = "";
    EXPECT_EQ(resolveDataLocation(f).databaseFolder, "/.local/share/Numbers4Marvo");
}

TEST(DataLocation, SystemProgramFolderCountsAsInstalledEvenWhenWritable) {
    // root can write /usr/bin, yet its database does not belong there.
    DataLocationFacts f = installedIn("/usr/bin");
    f.programFolderWritable = true;
    f.systemProgramFolder = true;
    EXPECT_FALSE(resolveDataLocation(f).portable);
    // ...unless a database was put there on purpose.
    f.databaseBesideProgram = true;
    EXPECT_TRUE(resolveDataLocation(f).portable);
}

TEST(DataLocation, WithoutAnyHomeTheProgramFolderIsTheOnlyPlace) {
    DataLocationFacts f = installedIn("/usr/bin");
    f.home.clear();
    EXPECT_EQ(resolveDataLocation(f).databasePath, "/usr/bin/Numbers4Marvo.mdb");
    f.xdgDataHome = "/x";
    EXPECT_EQ(resolveDataLocation(f).databasePath, "/x/Numbers4Marvo/Numbers4Marvo.mdb");
}

TEST(DataLocation, FactsComeFromTheDiskAndTheEnvironment) {
    std::string folder = n4test::tempFolder();
    DataLocationFacts f = gatherDataLocationFacts(folder);
    EXPECT_TRUE(f.programFolderWritable);
    EXPECT_FALSE(f.databaseBesideProgram);
    EXPECT_FALSE(f.systemProgramFolder);
    n4test::writeFile(folder + "/Numbers4Marvo.mdb", "");
    EXPECT_TRUE(gatherDataLocationFacts(folder).databaseBesideProgram);
    EXPECT_TRUE(gatherDataLocationFacts("/usr/bin").systemProgramFolder);
    EXPECT_TRUE(gatherDataLocationFacts("/usr/local/bin/").systemProgramFolder);
    EXPECT_FALSE(gatherDataLocationFacts(folder + "/missing").programFolderWritable);
    EXPECT_FALSE(gatherDataLocationFacts(folder).home.empty());
}

TEST(DataLocation, PrepareMakesPrivateFoldersAndNamesWhatBlocksIt) {
    std::string root = n4test::tempFolder();
    DataLocationFacts f = installedIn("/usr/bin");
    f.xdgDataHome = root + "/deep/share";
    DataLocation at = resolveDataLocation(f);
    std::string message;
    ASSERT_TRUE(prepareDataFolder(at, message)) << message;
    struct stat st {};
    ASSERT_EQ(::stat(at.databaseFolder.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(prepareDataFolder(at, message)) << "a second time is fine";

    f.xdgDataHome = root + "/file";
    n4test::writeFile(root + "/file", "x");
    EXPECT_FALSE(prepareDataFolder(resolveDataLocation(f), message));
    EXPECT_NE(message.find(root + "/file"), std::string::npos) << message;
    // The folder's own name taken by a file.
    f.xdgDataHome = root + "/taken";
    std::filesystem::create_directory(f.xdgDataHome);
    n4test::writeFile(f.xdgDataHome + "/Numbers4Marvo", "x");
    EXPECT_FALSE(prepareDataFolder(resolveDataLocation(f), message));
    EXPECT_EQ(message,
              "データのフォルダ「" + root + "/taken/Numbers4Marvo」がフォルダではありません。");

    // A portable copy prepares nothing.
    f.programFolder = root + "/nowhere";
    f.programFolderWritable = true;
    EXPECT_TRUE(prepareDataFolder(resolveDataLocation(f), message));
    EXPECT_FALSE(std::filesystem::exists(root + "/nowhere"));
}

namespace {
std::string run(const std::vector<std::string>& args, const DataLocation& at, int& code) {
    std::ostringstream out, err;
    code = runCli(args, out, err, at);
    return out.str() + err.str();
}
// Sixty draws that are not a pattern, so the options change the prediction.
std::string mixedHistory() {
    std::string csv = "draw,d1,d2,d3,d4\n";
    unsigned x = 12345;
    for (int draw = 1; draw <= 60; ++draw) {
        csv += std::to_string(draw);
        for (int k = 0; k < 4; ++k) {
            x = x * 1103515245u + 12345u;
            csv += "," + std::to_string((x >> 16) % 10);
        }
        csv += "\n";
    }
    return csv;
}
} // namespace

TEST(DataLocation, InstalledToolFillsTheUserDatabaseAndReadsSettingsBesideIt) {
    std::string root = n4test::tempFolder();
    DataLocationFacts f = installedIn("/usr/bin");
    f.xdgDataHome = root + "/share";
    DataLocation at = resolveDataLocation(f);
    n4test::writeFile(root + "/h.csv", mixedHistory());
    int code = 0;
    std::string said = run({"import", root + "/h.csv"}, at, code);
    ASSERT_EQ(code, CliDone) << said;
    ASSERT_TRUE(std::filesystem::exists(root + "/share/Numbers4Marvo/Numbers4Marvo.mdb"));
    StoreResult r;
    DrawTable t;
    DrawStore::open(DbConnectionString::forProgramFolder(at.databaseFolder), r)->readAll(t);
    EXPECT_EQ(t.size(), 60u);
    EXPECT_NE(run({"--help"}, at, code).find(at.databasePath), std::string::npos);

    // The prediction's default follows the settings file beside the database.
    const std::string none = run({"export", "prediction", "--reflect", "0"}, at, code);
    const std::string two = run({"export", "prediction", "--reflect", "2"}, at, code);
    ASSERT_NE(none, two) << "the history must let the options matter";
    AnalysisOptions options;
    options.flags[0] = options.flags[3] = true;
    ASSERT_TRUE(writeInitFile(at.settingsPath, options).ok);
    EXPECT_EQ(run({"export", "prediction"}, at, code), two);
}

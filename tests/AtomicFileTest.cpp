// Files that appear whole or not at all: names SQLite would not treat as a
// file, temporaries beside the final name and their clean-up after a crash,
// moving into place without replacing, and replacing whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "SystemCallFaults.h"
#include "TestSupport.h"
#include "core/store/AtomicFile.h"

using namespace n4;
namespace fs = std::filesystem;
using n4test::readFile;
using n4test::writeFile;

namespace {

// The id of a process that has ended and been collected.
pid_t deadProcess() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

fs::perms modeOf(const std::string& path) {
    return fs::status(path).permissions() & fs::perms::all;
}

} // namespace

TEST(AtomicFile, OnlyNamesOfOrdinaryFilesArePlainPaths) {
    for (const char* plain : {"a.mdb", "/tmp/x/Numbers4Marvo.mdb", "./file", "fil", "file",
                              "files:x", "/file:x", "memory", "::memory:"})
        EXPECT_TRUE(isPlainFilePath(plain)) << plain;
    for (const char* special :
         {"", ":memory:", "folder/", "/", "file:x.mdb", "FILE:x", "File:", "fILe:/tmp/a"})
        EXPECT_FALSE(isPlainFilePath(special)) << special;
    EXPECT_FALSE(isPlainFilePath(std::string("a\0b", 3)));
}

TEST(AtomicFile, ATemporaryIsMadeNewBesideItsNameForTheUserOnly) {
    const std::string folder = n4test::tempFolder();
    const std::string path = folder + "/data.mdb";
    const std::string temp = createTemporaryBeside(path);
    EXPECT_EQ(temp, path + ".new-" + std::to_string(getpid()));
    EXPECT_TRUE(fs::is_regular_file(temp));
    EXPECT_EQ(fs::file_size(temp), 0u);
    EXPECT_EQ(modeOf(temp), fs::perms::owner_read | fs::perms::owner_write);
    // The name already there can only be a leftover of an earlier process
    // with our id: it and its journal go, and the temporary is made afresh.
    writeFile(temp, "old");
    writeFile(temp + "-journal", "old journal");
    EXPECT_EQ(createTemporaryBeside(path), temp);
    EXPECT_EQ(fs::file_size(temp), 0u);
    EXPECT_FALSE(fs::exists(temp + "-journal"));
    // A link planted at the name is removed, never written through.
    fs::remove(temp);
    writeFile(folder + "/target", "keep me");
    fs::create_symlink(folder + "/target", temp);
    EXPECT_EQ(createTemporaryBeside(path), temp);
    EXPECT_FALSE(fs::is_symlink(temp));
    EXPECT_EQ(readFile(folder + "/target"), "keep me");
    // Nowhere to make it.
    EXPECT_EQ(createTemporaryBeside(folder + "/missing/data.mdb"), "");
    // A name in the working folder.
    const auto before = fs::current_path();
    fs::current_path(folder);
    EXPECT_EQ(createTemporaryBeside("here.mdb"), "here.mdb.new-" + std::to_string(getpid()));
    removeStaleTemporaries("here.mdb"); // our own: kept
    EXPECT_TRUE(fs::exists("here.mdb.new-" + std::to_string(getpid())));
    fs::current_path(before);
}

TEST(AtomicFile, OnlyLeftoversOfEndedProcessesAreRemoved) {
    const std::string folder = n4test::tempFolder();
    const std::string path = folder + "/data.mdb";
    const std::string dead = std::to_string(deadProcess());
    const std::string self = std::to_string(getpid());
    const std::vector<std::string> removed = {"data.mdb.new-" + dead,
                                              "data.mdb.new-" + dead + "-journal"};
    const std::vector<std::string> kept = {
        "data.mdb",                   // the file itself
        "data.mdb.new-" + self,       // ours
        "data.mdb.new-1",             // a process still running
        "data.mdb.new-" + dead + "x", // not a process id
        "data.mdb.new-",
        "data.mdb.new--journal",
        "data.mdb.new-0",          // no process
        "data.mdb.new-1234567890", // longer than any process id
        "other.mdb.new-" + dead,   // another file's
        "xdata.mdb.new-" + dead,
        "data.mdb.old-" + dead,
    };
    for (const auto& name : removed)
        writeFile(folder + "/" + name, "x");
    for (const auto& name : kept)
        writeFile(folder + "/" + name, "x");
    removeStaleTemporaries(path);
    for (const auto& name : removed)
        EXPECT_FALSE(fs::exists(folder + "/" + name)) << name;
    for (const auto& name : kept)
        EXPECT_TRUE(fs::exists(folder + "/" + name)) << name;
    removeStaleTemporaries(folder + "/missing/data.mdb"); // no folder: nothing to do
}

TEST(AtomicFile, APublishedFileIsFlushedAndThenTheFolderThatNamesIt) {
    using n4test::Call;
    const std::string folder = n4test::tempFolder();
    const std::string path = folder + "/data.mdb";
    auto flushesOf = [&](Publish how) {
        const std::string temp = createTemporaryBeside(path);
        writeFile(temp, "draws");
        n4test::InjectedFaults count{{Call::Fsync, 0, "", -1, 0, 1000, [] {}}};
        const PublishOutcome outcome = publishFile(temp, path, how);
        fs::remove(temp);
        return std::make_pair(outcome, count.fired(0));
    };
    // The file's bytes, then the folder: after a power cut the new name holds them.
    EXPECT_EQ(flushesOf(Publish::Exclusive), std::make_pair(PublishOutcome::Done, 2));
    EXPECT_EQ(flushesOf(Publish::Replace), std::make_pair(PublishOutcome::Done, 2));
    // Nothing moved: the folder is as it was.
    EXPECT_EQ(flushesOf(Publish::Exclusive), std::make_pair(PublishOutcome::AlreadyThere, 1));
    // A file replaced whole, the same.
    n4test::InjectedFaults count{{Call::Fsync, 0, "", -1, 0, 1000, [] {}}};
    ASSERT_TRUE(replaceFile(folder + "/settings.ini", "a=1\n"));
    EXPECT_EQ(count.fired(0), 2);
}

TEST(AtomicFile, PublishingMovesIntoAFreePlaceOrReplacesAsAsked) {
    const std::string folder = n4test::tempFolder();
    const std::string path = folder + "/data.mdb";
    std::string temp = createTemporaryBeside(path);
    writeFile(temp, "first");
    EXPECT_EQ(publishFile(temp, path, Publish::Exclusive), PublishOutcome::Done);
    EXPECT_EQ(readFile(path), "first");
    EXPECT_FALSE(fs::exists(temp));
    // The place is taken: nothing moves, the temporary stays for the caller.
    temp = createTemporaryBeside(path);
    writeFile(temp, "second");
    EXPECT_EQ(publishFile(temp, path, Publish::Exclusive), PublishOutcome::AlreadyThere);
    EXPECT_EQ(readFile(path), "first");
    EXPECT_EQ(readFile(temp), "second");
    EXPECT_EQ(publishFile(temp, path, Publish::Replace), PublishOutcome::Done);
    EXPECT_EQ(readFile(path), "second");
    EXPECT_FALSE(fs::exists(temp));
    // A temporary that is not there, or a place that cannot be reached.
    EXPECT_EQ(publishFile(temp, path, Publish::Replace), PublishOutcome::Failed);
    EXPECT_EQ(publishFile(temp, folder + "/x.mdb", Publish::Exclusive), PublishOutcome::Failed);
    temp = createTemporaryBeside(path);
    EXPECT_EQ(publishFile(temp, folder + "/missing/x.mdb", Publish::Exclusive),
              PublishOutcome::Failed);
    EXPECT_EQ(publishFile(temp, folder + "/missing/x.mdb", Publish::Replace),
              PublishOutcome::Failed);
    EXPECT_TRUE(fs::exists(temp));
    EXPECT_EQ(readFile(path), "second");
}

TEST(AtomicFile, ReplacingWritesEveryByteOrLeavesTheOldFile) {
    const std::string folder = n4test::tempFolder();
    const std::string path = folder + "/settings.ini";
    std::string big(3 << 20, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7 % 251);
    EXPECT_TRUE(replaceFile(path, big));
    EXPECT_EQ(readFile(path), big);
    EXPECT_TRUE(replaceFile(path, ""));
    EXPECT_EQ(readFile(path), "");
    EXPECT_TRUE(fs::exists(path));
    EXPECT_TRUE(replaceFile(path, "a=1\n"));
    EXPECT_EQ(modeOf(path), fs::perms::owner_read | fs::perms::owner_write);
    // A place that is a folder cannot take it: the temporary goes again.
    fs::create_directory(folder + "/sub");
    EXPECT_FALSE(replaceFile(folder + "/sub", "x"));
    EXPECT_FALSE(replaceFile(folder + "/missing/settings.ini", "x"));
    size_t entries = 0;
    for (const auto& e : fs::directory_iterator(folder)) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 2u); // settings.ini and sub, no temporary
    EXPECT_EQ(readFile(path), "a=1\n");
}

TEST(AtomicFile, TwoNamesSwapInOneStepOrNotAtAll) {
    const std::string folder = n4test::tempFolder();
    writeFile(folder + "/a", "A");
    writeFile(folder + "/b", "B");
    EXPECT_TRUE(exchangeFiles(folder + "/a", folder + "/b"));
    EXPECT_EQ(readFile(folder + "/a"), "B");
    EXPECT_EQ(readFile(folder + "/b"), "A");
    EXPECT_FALSE(exchangeFiles(folder + "/a", folder + "/none"));
    EXPECT_EQ(readFile(folder + "/a"), "B");
    EXPECT_FALSE(fs::exists(folder + "/none"));
    EXPECT_TRUE(syncPath(folder + "/a"));
    EXPECT_FALSE(syncPath(folder + "/none"));
    EXPECT_TRUE(syncFolderOf(folder + "/none"));
    EXPECT_FALSE(syncFolderOf(folder + "/missing/none"));
}

TEST(AtomicFile, WithoutAMoveThatRefusesToReplaceALinkOrACheckDoesTheSame) {
    using n4test::Call;
    const std::string folder = n4test::tempFolder();
    const std::string path = folder + "/data.mdb";
    auto publishNew = [&](const std::string& bytes) {
        const std::string temp = createTemporaryBeside(path);
        writeFile(temp, bytes);
        return publishFile(temp, path, Publish::Exclusive);
    };
    // The errors of a file system that has no such move: a hard link takes
    // the free place, and a taken place is left alone.
    for (int unsupported : {EINVAL, ENOSYS, ENOTSUP}) {
        fs::remove(path);
        n4test::InjectedFaults faults{{Call::RenameNoReplace, unsupported, "", -1, 0, 2}};
        EXPECT_EQ(publishNew("linked"), PublishOutcome::Done) << unsupported;
        EXPECT_EQ(readFile(path), "linked");
        EXPECT_EQ(fs::hard_link_count(path), 1u); // the temporary name is gone
        EXPECT_EQ(publishNew("second"), PublishOutcome::AlreadyThere) << unsupported;
        EXPECT_EQ(readFile(path), "linked");
        EXPECT_EQ(faults.fired(0), 2);
    }
    // Neither moves nor links: a check, then a plain rename.
    fs::remove_all(folder);
    fs::create_directory(folder);
    {
        n4test::InjectedFaults faults{{Call::RenameNoReplace, EINVAL, "", -1, 0, 2},
                                      {Call::Link, EPERM, "", -1, 0, 2}};
        EXPECT_EQ(publishNew("renamed"), PublishOutcome::Done);
        EXPECT_EQ(publishNew("second"), PublishOutcome::AlreadyThere);
        EXPECT_EQ(faults.fired(1), 2);
    }
    EXPECT_EQ(readFile(path), "renamed");
    // Any other refusal of the move is a failure: nothing else is tried.
    fs::remove(path);
    n4test::InjectedFaults faults{{Call::RenameNoReplace, EACCES}, {Call::Link, EPERM}};
    const std::string temp = createTemporaryBeside(path);
    EXPECT_EQ(publishFile(temp, path, Publish::Exclusive), PublishOutcome::Failed);
    EXPECT_EQ(faults.fired(1), 0);
    EXPECT_TRUE(fs::exists(temp));
    EXPECT_FALSE(fs::exists(path));
}

TEST(AtomicFile, AWriteThatIsInterruptedGoesOnAndOneThatFailsLeavesTheOldFile) {
    using n4test::Call;
    const std::string folder = n4test::tempFolder();
    const std::string path = folder + "/settings.ini";
    ASSERT_TRUE(replaceFile(path, "old"));
    {
        n4test::InjectedFaults faults{{Call::Write, EINTR, "", -1, 0, 3}};
        EXPECT_TRUE(replaceFile(path, "interrupted three times"));
        EXPECT_EQ(faults.fired(0), 3);
    }
    EXPECT_EQ(readFile(path), "interrupted three times");
    {
        n4test::InjectedFaults faults{{Call::ShortWrite, 0, "", 1, 0, 1 << 30}};
        EXPECT_TRUE(replaceFile(path, "taken a byte at a time"));
        EXPECT_EQ(faults.fired(0), 22);
    }
    EXPECT_EQ(readFile(path), "taken a byte at a time");
    ASSERT_TRUE(replaceFile(path, "old"));
    // A full disk, a write that makes no progress (errno then is whatever an
    // earlier call left), a flush or a rename that fails: the old file stays
    // whole and no temporary is left beside it.
    const std::vector<n4test::Fault> failures = {{Call::Write, ENOSPC},
                                                 {Call::Write, EINTR, "", 0},
                                                 {Call::Fsync, EIO},
                                                 {Call::Rename, EACCES, "/settings.ini"}};
    for (const n4test::Fault& failure : failures) {
        n4test::InjectedFaults faults{failure};
        EXPECT_FALSE(replaceFile(path, "new bytes")) << static_cast<int>(failure.call);
        EXPECT_EQ(faults.fired(0), 1);
        EXPECT_EQ(readFile(path), "old");
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    }
    n4test::InjectedFaults faults{{Call::Fsync, EIO}};
    EXPECT_FALSE(syncPath(path));
}

TEST(AtomicFile, WithStandardInputClosedFilesAreStillWrittenWhole) {
    // The first file opened then gets descriptor 0, a descriptor like any other.
    const std::string folder = n4test::tempFolder();
    const std::string path = folder + "/settings.ini";
    std::string temp;
    bool replaced = false, synced = false;
    n4test::withStandardInputClosed([&] {
        temp = createTemporaryBeside(folder + "/data.mdb");
        replaced = replaceFile(path, "a=1\n");
    });
    n4test::withStandardInputClosed([&] { synced = syncPath(path); });
    EXPECT_EQ(temp, folder + "/data.mdb.new-" + std::to_string(getpid()));
    EXPECT_TRUE(replaced);
    EXPECT_TRUE(synced);
    EXPECT_EQ(readFile(path), "a=1\n");
}

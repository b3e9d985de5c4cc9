#include "operation/SubfolderPurge.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"
#include "platform/Platform.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

// Fails every write to the files given by inode, and the removal of given folders.
class FailingStandIn : public platform::Platform {
  public:
    std::set<ino_t> failingFiles;
    std::set<ino_t> stuckFolders;

    std::error_code WriteAt(int fd, std::int64_t offset, const void* data,
                            std::size_t size) const override {
        platform::FileStatus status;
        if (!StatOpen(fd, status) && failingFiles.count(status.inode) != 0) {
            return platform::SystemError(ENOSPC);
        }
        return Platform::WriteAt(fd, offset, data, size);
    }
    std::error_code RemoveFolderAt(int folder, const std::string& name,
                                   const platform::FileStatus& expected) const override {
        return stuckFolders.count(expected.inode) != 0
                   ? platform::SystemError(EBUSY)
                   : Platform::RemoveFolderAt(folder, name, expected);
    }
};

class SubfolderPurgeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.WriteTree({"own.txt=top's own file", "a/deep/empty", "a/a1.txt=first",
                        "a/a2=second, no extension", "a/deep/a3.doc=third",
                        "ab/keep.txt=prefix of the name only", "b/keep.txt=not selected"});
        outside.WriteTree({"sentinel.txt=sentinel bytes", "inner/deep.txt=inner sentinel"});
        state.topFolder = tree.Path() + "/";
        state.selectedSubfolders = {tree.File("a")};
        state.numberOfPasses = 1;
    }

    void Count() {
        platform::ScopedPlatform standIn(platform);
        state.ResetCounters();
        VorlPurgeRecursive2(state, state.topFolder, "Purge selected subfolders", control, ui);
    }
    void CountThenPurge() {
        platform::ScopedPlatform standIn(platform);
        testing::CountThenPurge(state, control, ui);
    }
    bool Exists(const std::string& name) const { return fs::exists(tree.File(name)); }
    void ExpectUntouched(const std::string& name, const std::string& bytes) const {
        EXPECT_EQ(TempFolder::Read(tree.File(name)), bytes) << name;
    }

    TempFolder tree;
    TempFolder outside;
    SubfolderPurgeState state;
    OperationControl control;
    ScriptedInterface ui;
    FailingStandIn platform;
};

TEST_F(SubfolderPurgeTest, CountingModeCountsWithoutTouchingAnything) {
    for (int i = 0; i < 9; ++i) {
        tree.Write("a/deep/n" + std::to_string(i), "x");
    }
    Count();
    EXPECT_EQ(state.filesCounted, 12);
    EXPECT_EQ(state.filesPurged, 0);
    EXPECT_EQ(ui.progress, std::vector<std::string>{"Now counting number of files to purge: 10"});
    EXPECT_TRUE(ui.asked.empty());
    ExpectUntouched("a/a1.txt", "first");
    ExpectUntouched("a/deep/a3.doc", "third");
    EXPECT_TRUE(Exists("a/deep/empty"));

    state.includeTopFolderFiles = true;
    Count();
    EXPECT_EQ(state.filesCounted, 13);
    ExpectUntouched("own.txt", "top's own file");
}

TEST_F(SubfolderPurgeTest, PurgesOnlySelectedFoldersAndRemovesThemWhenEmptied) {
    CountThenPurge();
    EXPECT_EQ(state.filesCounted, 3);
    EXPECT_EQ(state.filesPurged, 3);
    EXPECT_EQ(state.filesNotDeleted, 0);
    EXPECT_EQ(state.foldersRemoved, 3);  // a/deep/empty, a/deep and a
    EXPECT_FALSE(Exists("a"));
    ExpectUntouched("ab/keep.txt", "prefix of the name only");
    ExpectUntouched("b/keep.txt", "not selected");
    ExpectUntouched("own.txt", "top's own file");
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_FALSE(control.InterruptRequested());
    ASSERT_FALSE(ui.progress.empty());
    EXPECT_EQ(ui.progress.back(),
              "2 files purged (67% of 3). Now purging:\n" + tree.File("a/deep/a3.doc"));
}

TEST_F(SubfolderPurgeTest, TopFolderStaysWhenEverythingIsPurged) {
    state.selectedSubfolders = {tree.File("a"), tree.File("ab") + "/", tree.File("b")};
    state.includeTopFolderFiles = true;
    state.numberOfPasses = 3;
    CountThenPurge();
    EXPECT_EQ(state.filesPurged, 6);
    EXPECT_TRUE(fs::is_directory(tree.Path()));
    EXPECT_TRUE(fs::is_empty(tree.Path()));
}

TEST_F(SubfolderPurgeTest, CancelBetweenPassesLeavesTheFileOverwrittenButThere) {
    state.numberOfPasses = 2;
    ui.onProgress = [&](const std::string& text) {
        if (text.ends_with("/a2")) {
            control.RequestInterrupt();
        }
    };
    ui.answers = {MessageAnswer::Cancel};
    CountThenPurge();
    EXPECT_EQ(state.filesPurged, 1);
    EXPECT_EQ(state.filesNotDeleted, 0);  // the person stopped it; nothing failed
    ASSERT_TRUE(Exists("a/a2"));
    EXPECT_NE(TempFolder::Read(tree.File("a/a2")), "second, no extension");
    ExpectUntouched("a/deep/a3.doc", "third");
}

TEST_F(SubfolderPurgeTest, FailedWriteIsCountedAndTheWalkGoesOn) {
    platform.failingFiles.insert(platform::Sys().StatNoFollow(tree.File("a/a1.txt")).inode);
    platform.stuckFolders.insert(platform::Sys().StatNoFollow(tree.File("a/deep/empty")).inode);
    ui.answers = {MessageAnswer::Ok};
    CountThenPurge();

    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_NE(ui.asked[0].text.find(tree.File("a/a1.txt")), std::string::npos);
    // The person reads what went wrong, never an internal number.
    EXPECT_NE(ui.asked[0].text.find("not purged: write error (No space left on device)."),
              std::string::npos)
        << ui.asked[0].text;
    EXPECT_EQ(state.filesNotDeleted, 1);
    EXPECT_EQ(state.filesPurged, 2);
    EXPECT_EQ(state.foldersNotRemoved, 1);
    EXPECT_FALSE(control.InterruptRequested());
    ExpectUntouched("a/a1.txt", "first");
    EXPECT_FALSE(Exists("a/a2"));
    EXPECT_FALSE(Exists("a/deep/a3.doc"));
    EXPECT_TRUE(Exists("a/deep/empty"));
}

TEST_F(SubfolderPurgeTest, ProgramFolderAndSwapFilesAreLeftAlone) {
    tree.Write("a/deep/swapfile", "swap");
    state.protectedPlaces.swapFiles = {tree.File("a/deep/swapfile")};
    // An editor's swap file holds the edited text: it goes like any other file.
    tree.Write("a/deep/.notes.swp", "edited text");
    state.protectedPlaces.programFolder = tree.File("a");
    CountThenPurge();
    EXPECT_EQ(state.filesCounted, 2);  // a/deep/a3.doc and a/deep/.notes.swp
    ExpectUntouched("a/a1.txt", "first");
    ExpectUntouched("a/deep/swapfile", "swap");
    EXPECT_FALSE(Exists("a/deep/a3.doc"));
    EXPECT_FALSE(Exists("a/deep/.notes.swp"));
}

TEST(SubfolderSelectionTest, WholeNamesBelowASelectedFolder) {
    SubfolderPurgeState state;
    state.selectedSubfolders = {"/top/a", "/top/c/", "/"};
    for (const char* path : {"/top/a", "/top/a/", "/top/a/x/y", "/top//c"}) {
        EXPECT_TRUE(IsSelectedSubfolder(state, path)) << path;
    }
    for (const char* path : {"/top/ab", "/top/A", "/top", "/elsewhere"}) {
        EXPECT_FALSE(IsSelectedSubfolder(state, path)) << path;
    }
}

}  // namespace
}  // namespace vorlane::testing

// What both purge walks (the folder purge and the purge of selected subfolders) count and
// where they end: a file whose name stayed is not purged, and a stop between subfolders
// ends the walk before the next one.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "operation/PurgeCommands.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"
#include "platform/Platform.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

// Deletes of files fail as on a volume gone read-only; the removal of an emptied folder
// stops the operation.
class WalkStandIn : public platform::Platform {
  public:
    bool removeFails = false;
    OperationControl* stopAtFolderRemoval = nullptr;

    std::error_code RemoveAt(int folder, const std::string& name,
                             const platform::FileStatus& expected) const override {
        return removeFails ? platform::SystemError(EROFS)
                           : Platform::RemoveAt(folder, name, expected);
    }
    std::error_code RemoveFolderAt(int folder, const std::string& name,
                                   const platform::FileStatus& expected) const override {
        if (stopAtFolderRemoval != nullptr) {
            stopAtFolderRemoval->RequestStop();
        }
        return Platform::RemoveFolderAt(folder, name, expected);
    }
    void SleepMilliseconds(int) const override {}
};

class WalkEndTest : public ::testing::Test {
  protected:
    OperationResult FolderPurge(bool batched) {
        OperationChoices choices = ChoicesFor(tree.Path(), "*.*");
        choices.subdirectories = true;
        choices.batchSmallFiles = batched;
        OperationControl control;
        stand.stopAtFolderRemoval = stopAtFolderRemoval ? &control : nullptr;
        platform::ScopedPlatform scoped(stand);
        return RunPurge(choices, ui, control);
    }
    void SubfolderPurge(const std::vector<std::string>& selected) {
        OperationControl control;
        stand.stopAtFolderRemoval = stopAtFolderRemoval ? &control : nullptr;
        SubfolderPurgeState state;
        state.topFolder = tree.Path() + "/";
        state.numberOfPasses = 1;
        for (const std::string& name : selected) {
            state.selectedSubfolders.push_back(tree.File(name));
        }
        platform::ScopedPlatform scoped(stand);
        CountThenPurge(state, control, ui);
        purged = state.filesPurged;
        notDeleted = state.filesNotDeleted;
    }

    TempFolder tree;
    WalkStandIn stand;
    bool stopAtFolderRemoval = false;
    ScriptedInterface ui;
    int purged = 0, notDeleted = 0;
};

TEST_F(WalkEndTest, AFileOverwrittenButNotDeletedIsNotCountedAsPurged) {
    for (const bool batched : {false, true}) {
        SCOPED_TRACE(batched ? "batched" : "one at a time");
        tree.WriteTree({"a/stays.txt=secret"});
        stand.removeFails = true;
        const OperationResult result = FolderPurge(batched);
        EXPECT_EQ(result.state.purgedFileCount, 0) << result.report;
        EXPECT_TRUE(fs::exists(tree.File("a/stays.txt")));
    }
    ui.answers = {MessageAnswer::Ok};
    SubfolderPurge({"a"});
    EXPECT_EQ(purged, 0);
    EXPECT_EQ(notDeleted, 1);
    EXPECT_TRUE(fs::exists(tree.File("a/stays.txt")));
}

// The stop comes while the first subfolder's emptied subfolder is removed: the walk must
// not go on into the second one and remove what it finds emptied there.
TEST_F(WalkEndTest, AStopBetweenSubfoldersEndsTheWalkBeforeTheNext) {
    tree.WriteTree({"own.txt=top", "a/x", "b/y"});
    stopAtFolderRemoval = true;
    FolderPurge(false);
    EXPECT_FALSE(fs::exists(tree.File("a/x")));
    EXPECT_TRUE(fs::exists(tree.File("b/y")));

    tree.WriteTree({"a/x"});
    SubfolderPurge({"a", "b"});
    EXPECT_FALSE(fs::exists(tree.File("a/x")));
    EXPECT_TRUE(fs::exists(tree.File("b/y")));
}

}  // namespace
}  // namespace vorlane::testing

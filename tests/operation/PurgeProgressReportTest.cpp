// The progress a purge tells the windows: against the totals the confirmation counted,
// moving inside one large file, and reaching its totals at the end; the same for the
// purge of selected subfolders.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "operation/PurgeCommands.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"
#include "operation/SubfolderPurge.h"

namespace vorlane::testing {
namespace {

class ProgressRecorder : public ScriptedInterface {
  public:
    std::vector<PurgeProgress> told;
    void ShowPurgeProgress(const PurgeProgress& progress) override { told.push_back(progress); }
};

TEST(PurgeProgressReportTest, AFolderPurgeReachesTheCountedTotals) {
    TempFolder folder;
    folder.WriteTree({"one.txt=first", "two.txt=second", "skip.doc=other"});
    // A link is counted and reported, never purged: it is done all the same.
    ASSERT_EQ(::symlink("one.txt", (folder.Path() + "/link.txt").c_str()), 0);
    ProgressRecorder ui;
    OperationControl control;
    OperationChoices choices = ChoicesFor(folder.Path(), "*.txt");
    choices.numberOfPasses = 2;
    ASSERT_TRUE(RunPurge(choices, ui, control).ran);
    ASSERT_FALSE(ui.told.empty());
    const PurgeProgress& last = ui.told.back();
    EXPECT_EQ(last.filesDone, 3);
    EXPECT_EQ(last.filesTotal, 3);
    EXPECT_EQ(last.bytesTotal, 11);
    EXPECT_EQ(last.bytesDone, 11);
    EXPECT_EQ(last.passes, 2);
}

// 20 MiB in one file: the bytes move, pass by pass, long before the file ends.
TEST(PurgeProgressReportTest, OneLargeFileMovesWhileItIsWritten) {
    TempFolder folder;
    constexpr std::int64_t kSize = 20 << 20;
    folder.Write("large.txt", std::string(kSize, 'x'));
    ProgressRecorder ui;
    OperationControl control;
    OperationChoices choices = ChoicesFor(folder.Path(), "large.txt");
    choices.numberOfPasses = 2;
    ASSERT_TRUE(RunPurge(choices, ui, control).ran);
    std::vector<std::int64_t> beforeTheEnd;
    for (const PurgeProgress& progress : ui.told) {
        if (progress.filesDone == 0) {
            beforeTheEnd.push_back(progress.bytesDone);
            EXPECT_EQ(progress.bytesTotal, kSize);
        }
    }
    ASSERT_GE(beforeTheEnd.size(), 4u);
    EXPECT_TRUE(std::is_sorted(beforeTheEnd.begin(), beforeTheEnd.end()));
    EXPECT_LT(beforeTheEnd.front(), kSize / 2);
    EXPECT_EQ(ui.told.back().bytesDone, kSize);
    EXPECT_EQ(ui.told.back().filesDone, 1);
}

TEST(PurgeProgressReportTest, ASubfolderPurgeReachesTheCountedTotals) {
    TempFolder tree;
    tree.WriteTree({"a/one.txt=first", "a/deep/two=second", "b/kept.txt=not selected"});
    SubfolderPurgeState state;
    state.topFolder = tree.Path() + "/";
    state.selectedSubfolders = {tree.File("a")};
    state.numberOfPasses = 1;
    ProgressRecorder ui;
    OperationControl control;
    state.ResetCounters();
    state.countingMode = true;
    VorlPurgeRecursive2(state, state.topFolder, "Purge folders", control, ui);
    EXPECT_TRUE(ui.told.empty());  // counting writes nothing
    state.countingMode = false;
    VorlPurgeRecursive2(state, state.topFolder, "Purge folders", control, ui);
    ASSERT_FALSE(ui.told.empty());
    const PurgeProgress& last = ui.told.back();
    EXPECT_EQ(last.filesDone, 2);
    EXPECT_EQ(last.filesTotal, 2);
    EXPECT_EQ(last.bytesTotal, 11);
    EXPECT_EQ(last.bytesDone, 11);
}

}  // namespace
}  // namespace vorlane::testing

// What the purges tell a progress display: every byte written, with its pass, and each
// file's end exactly once, alone or in a batch, purged or refused.

#include <fcntl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "engine/DriveInfo.h"
#include "engine/FilePurge.h"
#include "engine/FilePurger.h"
#include "engine/PurgeRuns.h"
#include "engine/PurgeTypes.h"
#include "platform/Platform.h"

namespace vorlane {
namespace {

using testing::TempFolder;

constexpr int kCluster = 4096;

class PurgeProgressTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetDriveClusterSize(DriveOfPath(folder.File("x")), kCluster);
        purger.ObserveProgress({.wrote =
                                    [this](int pass, std::int64_t bytes) {
                                        passes.push_back(pass);
                                        written += bytes;
                                    },
                                .filesEnded = [this](int files) { ended += files; }});
    }

    ScopedClusterSizes sizes;
    TempFolder folder;
    FilePurger purger;
    std::vector<int> passes;
    std::int64_t written = 0;
    int ended = 0;
};

// Three clusters' worth, two passes: every overwrite's whole clusters are told, in
// pass order, and the file ends once.
TEST_F(PurgeProgressTest, AFileAloneTellsEveryOverwriteAndEndsOnce) {
    folder.Write("big", std::string(2 * kCluster + 10, 'x'));
    const FileResult result = PurgeFileAtPath(purger, folder.File("big"), {.passes = 2}, {});
    ASSERT_EQ(result.outcome, FileOutcome::Ok);
    const int overwrites = 2 * GetNumOverwritesPerPass(0);
    EXPECT_EQ(written, std::int64_t{3} * kCluster * overwrites);
    ASSERT_FALSE(passes.empty());
    EXPECT_EQ(passes.front(), 1);
    EXPECT_EQ(passes.back(), 2);
    EXPECT_TRUE(std::is_sorted(passes.begin(), passes.end()));
    EXPECT_EQ(ended, 1);
}

// A refused file writes nothing and still ends, alone or in a batch: the files done
// reach the total.
TEST_F(PurgeProgressTest, ARefusedFileEndsWithoutBytesAloneOrInABatch) {
    EXPECT_NE(PurgeFileAtPath(purger, folder.File("missing"), {}, {}).outcome, FileOutcome::Ok);
    EXPECT_EQ(written, 0);
    EXPECT_EQ(ended, 1);
    ended = 0;
    folder.Write("a", "alpha");
    folder.Write("b", "beta");
    testing::PurgeInBatch(purger, folder, {"a", "gone", "b"}, {});
    EXPECT_EQ(written, std::int64_t{2} * kCluster * GetNumOverwritesPerPass(0));
    EXPECT_EQ(ended, 3);
}

}  // namespace
}  // namespace vorlane

#include <gtest/gtest.h>

#include "selection/ReportButtons.h"

namespace vorlane::testing {
namespace {

TEST(ClusterSizeListTest, OnlyASizeOfTheListSelectsAnEntry) {
    struct Case {
        int bytes;
        int entry;
    };
    for (const Case& c : {Case{512, 0}, Case{4096, 3}, Case{65536, 7}, Case{256, -1},
                          Case{3000, -1}, Case{131072, -1}}) {
        EXPECT_EQ(ClusterSizeEntry(c.bytes), c.entry) << c.bytes;
    }
}

TEST(ReportButtonsTest, StopIsReachableOnlyWhilePaused) {
    for (ReportPhase phase : {ReportPhase::PurgeRunning, ReportPhase::ListingRunning,
                              ReportPhase::Stopped, ReportPhase::Ended}) {
        EXPECT_FALSE(ButtonsFor(phase).stopVisible);
    }
    EXPECT_TRUE(ButtonsFor(ReportPhase::Paused).stopVisible);
    // Copy waits for the end, even after Stop.
    EXPECT_FALSE(ButtonsFor(ReportPhase::Stopped).copyVisible);
    EXPECT_EQ(ButtonsFor(ReportPhase::Ended, "Done").pausedDone, "Done");
}

}  // namespace
}  // namespace vorlane::testing

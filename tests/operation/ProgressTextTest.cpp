// The progress display's share, time left and line: which total counts, when an
// estimate is too early to give, and the wording at the unit boundaries.

#include <gtest/gtest.h>

#include "operation/ProgressText.h"
#include "support/UserLocale.h"

namespace vorlane {
namespace {

PurgeProgress Progress(std::int64_t filesDone, std::int64_t filesTotal, std::int64_t bytesDone,
                       std::int64_t bytesTotal, int pass = 0, int passes = 1) {
    return {filesDone, filesTotal, bytesDone, bytesTotal, pass, passes};
}

TEST(ProgressTextTest, TheShareFollowsTheBytesThenTheFilesAndStaysWithinBounds) {
    // One large file of two: the bytes tell more than the files.
    EXPECT_EQ(ProgressPercent(Progress(0, 2, 750, 1000)), 75);
    EXPECT_EQ(ProgressPercent(Progress(1, 4, 0, 0)), 25);
    EXPECT_EQ(ProgressPercent(Progress(5, 0, 0, 0)), std::nullopt);
    EXPECT_EQ(ProgressPercent(Progress(3, 2, 2000, 1000)), 100);
    EXPECT_EQ(ProgressPercent(Progress(0, 2, 0, 1000)), 0);
}

TEST(ProgressTextTest, TheTimeLeftWaitsForARateAndATotal) {
    EXPECT_EQ(SecondsLeft(Progress(0, 1, 100, 1000), 0.5), std::nullopt);  // too early
    EXPECT_EQ(SecondsLeft(Progress(0, 1, 0, 1000), 10), std::nullopt);     // nothing yet
    EXPECT_EQ(SecondsLeft(Progress(0, 1, 100, 0), 10), std::nullopt);      // no total
    EXPECT_DOUBLE_EQ(*SecondsLeft(Progress(0, 1, 250, 1000), 5), 15.0);
    EXPECT_DOUBLE_EQ(*SecondsLeft(Progress(0, 1, 1500, 1000), 5), 0.0);
}

TEST(ProgressTextTest, TheTimeLeftRoundsUpAtEachUnit) {
    EXPECT_EQ(TimeLeftText(0.2), "about 1 s left");
    EXPECT_EQ(TimeLeftText(59), "about 59 s left");
    EXPECT_EQ(TimeLeftText(60), "about 1 min left");
    EXPECT_EQ(TimeLeftText(61), "about 2 min left");
    EXPECT_EQ(TimeLeftText(3540), "about 59 min left");
    EXPECT_EQ(TimeLeftText(3541), "about 1 h 0 min left");
    EXPECT_EQ(TimeLeftText(7500), "about 2 h 5 min left");
}

TEST(ProgressTextTest, TheLineNamesWhatIsKnown) {
    EXPECT_EQ(ProgressLine(Progress(1, 1, 0, 0), 0), "1 of 1 file, 0 bytes");
    EXPECT_EQ(ProgressLine(Progress(1200, 0, 10, 0, 1, 1), 0),
              GroupedNumberText(1200, 0) + " files, 10 bytes");
    EXPECT_EQ(ProgressLine(Progress(0, 3, 512, 1000, 2, 3), 2),
              "0 of 3 files, 512 bytes of 1000 bytes, pass 2 of 3, about 2 s left");
}

}  // namespace
}  // namespace vorlane

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "engine/DriveInfo.h"
#include "engine/FileOperations.h"
#include "operation/PurgeCommands.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"
#include "support/Dates.h"
#include "support/UserLocale.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

class ListingTest : public ::testing::Test {
  protected:
    TempFolder folder;
    ScriptedInterface ui;
    OperationControl control;
};

TEST_F(ListingTest, WholeListingWithEstimateAndTable) {
    folder.WriteTree({"a.bin=" + std::string(41000, 'a'), "b.bin=" + std::string(39100, 'b')});
    const auto day = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(folder.File("a.bin"), day);
    fs::last_write_time(folder.File("b.bin"), day);
    const std::string date = FileDateTimeText(folder.File("a.bin"), false);
    OperationChoices choices = ChoicesFor(folder.Path(), "*.*");
    choices.numberOfPasses = 6;
    choices.drivePurgeSpeeds[DriveOfPath(folder.Path())] = 0.01f;

    const OperationResult result = RunList(choices, ui, control, true);

    const std::string expected = Crlf("$T/\na.bin (" + date + ", 40.04 KB)   \nb.bin (" + date +
                                          R"(, 38.18 KB)

Number of files *.*: 2
Sum of file sizes: 78.22 KB

Purge type: Random bytes plus zeros, 6 times (= 12 overwrites)
Estimated purge time: 2 minutes and 42 seconds.

Estimated purge times for various numbers of overwrites
using a purge speed (as measured) of 0.01 MB/sec.
and an adjustment factor of 1.76:
2 overwrites: 26 seconds
4 overwrites: 55 seconds
6 overwrites: 1 minute and 21 seconds
8 overwrites: 1 minute and 47 seconds
10 overwrites: 2 minutes and 14 seconds
12 overwrites: 2 minutes and 42 seconds
14 overwrites: 3 minutes and 9 seconds
16 overwrites: 3 minutes and 35 seconds
18 overwrites: 4 minutes and 3 seconds
20 overwrites: 4 minutes and 30 seconds
22 overwrites: 4 minutes and 56 seconds
24 overwrites: 5 minutes
)",
                                      folder.Path());
    ASSERT_TRUE(result.ran);
    EXPECT_EQ(result.report, expected);
    EXPECT_EQ(result.state.estimatedTime, "2 minutes and 42 seconds");
}

}  // namespace

TEST_F(ListingTest, DetailLinesGiveSizesUpToMegabytes) {
    folder.Write("small.txt", std::string(1536, 's'));
    std::filesystem::resize_file(folder.Write("big.bin", ""), 5LL << 30);  // sparse
    const std::string big = FileDateTimeText(folder.File("big.bin"), false);
    const std::string small = FileDateTimeText(folder.File("small.txt"), false);

    const OperationResult result = RunList(ChoicesFor(folder.Path(), "*.*"), ui, control, true);

    EXPECT_EQ(result.report, folder.Path() + "/\n" + "big.bin (" + big + ", " +
                                 GroupedNumberText(5120, 2) + " MB)   \n" + "small.txt (" + small +
                                 ", 1.50 KB)\n"
                                 "\n"
                                 "Number of files *.*: 2\n"
                                 "Sum of file sizes: 5.00 GB\n"
                                 "\n"
                                 "For an estimate of the purge time test the purge speed for "
                                 "Drive " +
                                 DriveOfPath(folder.Path()) + " then relist.");
}

TEST_F(ListingTest, DetailLinesDoNotFillTheBuffer) {
    // About 90 characters a line: 1,000 files write far beyond the 61,440 of the buffer.
    for (int i = 0; i < 1000; ++i) {
        folder.Write(std::string(60, 'f') + std::to_string(1000 + i) + ".txt", "x");
    }
    OperationChoices choices = ChoicesFor(folder.Path(), "*.txt");
    choices.drivePurgeSpeeds[DriveOfPath(folder.Path())] = 100.0f;
    const OperationResult result = RunList(choices, ui, control, true);
    EXPECT_FALSE(result.stopped);
    EXPECT_GT(result.report.size(), 80000u);
    EXPECT_EQ(result.report.find("buffer"), std::string::npos);
    EXPECT_NE(result.report.find("Number of files: " + GroupedNumberText(1000, 0) + "\n"),
              std::string::npos);
    EXPECT_NE(result.report.find("Estimated purge time: less than a minute.\n"), std::string::npos);
}

}  // namespace vorlane::testing

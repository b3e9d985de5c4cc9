#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "engine/DriveInfo.h"
#include "engine/FileOperations.h"
#include "operation/EstimatedTimes.h"
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
    void WriteFiles(const std::string& sub, int count) {
        MakeFolder(folder.Path() + "/" + sub);
        for (int i = 0; i < count; ++i) {
            folder.Write(sub + "/f" + std::to_string(i) + ".txt", "x");
        }
    }

    TempFolder folder;
    ScriptedInterface ui;
    OperationControl control;
};

TEST_F(ListingTest, CountOnlyStopsAtItsLimit) {
    WriteFiles("a", 150);
    WriteFiles("a/b", 100);
    WriteFiles("c", 99);
    OperationChoices choices = ChoicesFor(folder.Path() + "/a", "*.txt");
    choices.subdirectories = true;
    EXPECT_EQ(CountFilesViaReport(choices, ui, control, 100), std::nullopt);
    choices.targetFolder = folder.Path() + "/c";
    EXPECT_EQ(CountFilesViaReport(choices, ui, control, 100), 99);
    choices.targetFilespec = "*.none";
    EXPECT_EQ(CountFilesViaReport(choices, ui, control, 100), 0);
    EXPECT_TRUE(ui.lastReport.empty());  // a count writes no report
}

TEST_F(ListingTest, WholeListingWithEstimateAndTable) {
    folder.Write("a.bin", std::string(41000, 'a'));
    folder.Write("b.bin", std::string(39100, 'b'));
    const auto day = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(folder.File("a.bin"), day);
    fs::last_write_time(folder.File("b.bin"), day);
    const std::string date = FileDateTimeText(folder.File("a.bin"), false);
    OperationChoices choices = ChoicesFor(folder.Path(), "*.*");
    choices.numberOfPasses = 6;
    choices.drivePurgeSpeeds[DriveOfPath(folder.Path())] = 0.01f;

    const OperationResult result = RunList(choices, ui, control, true);

    const std::string expected =
        folder.Path() +
        "/\r\n"
        "a.bin (" +
        date +
        ", 40.04 KB)   \r\n"
        "b.bin (" +
        date +
        ", 38.18 KB)\r\n"
        "\r\n"
        "Number of files *.*: 2\r\n"
        "Sum of file sizes: 78.22 KB\r\n"
        "\r\n"
        "Purge type: Random bytes plus zeros, 6 times (= 12 overwrites)\r\n"
        "Estimated purge time: 2 minutes and 42 seconds.\r\n"
        "\r\n"
        "Estimated purge times for various numbers of overwrites\r\n"
        "using a purge speed (as measured) of 0.01 MB/sec.\r\n"
        "and an adjustment factor of 1.76:\r\n"
        "2 overwrites: 26 seconds\r\n"
        "4 overwrites: 55 seconds\r\n"
        "6 overwrites: 1 minute and 21 seconds\r\n"
        "8 overwrites: 1 minute and 47 seconds\r\n"
        "10 overwrites: 2 minutes and 14 seconds\r\n"
        "12 overwrites: 2 minutes and 42 seconds\r\n"
        "14 overwrites: 3 minutes and 9 seconds\r\n"
        "16 overwrites: 3 minutes and 35 seconds\r\n"
        "18 overwrites: 4 minutes and 3 seconds\r\n"
        "20 overwrites: 4 minutes and 30 seconds\r\n"
        "22 overwrites: 4 minutes and 56 seconds\r\n"
        "24 overwrites: 5 minutes\r\n";
    ASSERT_TRUE(result.ran);
    EXPECT_EQ(result.report, expected);
    EXPECT_EQ(result.state.estimatedTime, "2 minutes and 42 seconds");
}

TEST_F(ListingTest, DetailLinesGiveSizesUpToMegabytes) {
    folder.Write("small.txt", std::string(1536, 's'));
    std::filesystem::resize_file(folder.Write("big.bin", ""), 5LL << 30);  // sparse
    const std::string big = FileDateTimeText(folder.File("big.bin"), false);
    const std::string small = FileDateTimeText(folder.File("small.txt"), false);

    const OperationResult result = RunList(ChoicesFor(folder.Path(), "*.*"), ui, control, true);

    EXPECT_EQ(result.report, folder.Path() + "/\r\n" + "big.bin (" + big + ", " +
                                 GroupedNumberText(5120, 2) + " MB)   \r\n" + "small.txt (" +
                                 small +
                                 ", 1.50 KB)\r\n"
                                 "\r\n"
                                 "Number of files *.*: 2\r\n"
                                 "Sum of file sizes: 5.00 GB\r\n"
                                 "\r\n"
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
    EXPECT_NE(result.report.find("Number of files: " + GroupedNumberText(1000, 0) + "\r\n"),
              std::string::npos);
    EXPECT_NE(result.report.find("Estimated purge time: less than a minute.\r\n"),
              std::string::npos);
}

TEST(EstimatedTimesGoldenTest, WholeMinutesRoundHalvesToEven) {
    // 1 MB at 2/510 MB/s: 510 s for 2 overwrites (8.5 minutes), 1,530 s for 6 (25.5).
    EXPECT_EQ(EstimatedTimes(2.0f / 510.0f, 1024.0 * 1024.0, 1.0),
              "Estimated purge times for various numbers of overwrites\r\n"
              "using a purge speed (as measured) of 0.00 MB/sec.\r\n"
              "and an adjustment factor of 1.00:\r\n"
              "2 overwrites: 8 minutes\r\n"
              "4 overwrites: 17 minutes\r\n"
              "6 overwrites: 26 minutes\r\n"
              "8 overwrites: 34 minutes\r\n"
              "10 overwrites: 42 minutes\r\n"
              "12 overwrites: 51 minutes\r\n"
              "14 overwrites: 1 hour\r\n"  // 59.5 minutes
              "16 overwrites: 1 hour and 8 minutes\r\n"
              "18 overwrites: 1 hour and 16 minutes\r\n"
              "20 overwrites: 1 hour and 25 minutes\r\n"
              "22 overwrites: 1 hour and 34 minutes\r\n"
              "24 overwrites: 1 hour and 42 minutes\r\n");
}

TEST_F(ListingTest, ProgressMarksGiveWayToTheSummary) {
    WriteFiles("t/x", 2);
    WriteFiles("t/y", 1);
    OperationChoices choices = ChoicesFor(folder.Path() + "/t", "*.txt");
    choices.subdirectories = true;
    const OperationResult result = RunList(choices, ui, control, false);
    EXPECT_EQ(result.report.rfind("Number of files: 3\r\n", 0), 0u);
    EXPECT_NE(result.report.find("test the purge speed for Drive "), std::string::npos);
    EXPECT_EQ(result.report.find(" ."), std::string::npos);
}

TEST_F(ListingTest, ReportWindowCaptionSaysWhatIsListed) {
    EXPECT_EQ(ListCaption("*.*", true, true), "List all files");
    EXPECT_EQ(ListCaption("*.t?t", true, true), "List files *.t?t");
    EXPECT_EQ(ListCaption("a.txt", true, true), "List files");
    EXPECT_EQ(ListCaption("*.*", false, true), "List folders");
    EXPECT_EQ(ListCaption("*.*", false, false), "Estimate purge time");

    WriteFiles("t/x", 1);
    OperationChoices choices = ChoicesFor(folder.Path() + "/t/x", "*.txt");
    EXPECT_EQ(RunList(choices, ui, control, true).caption, "List files *.txt");
    // A tree: the caption set for the run gives way to a general one at its end.
    ui.captions.clear();
    choices.targetFolder = folder.Path() + "/t";
    choices.subdirectories = true;
    const OperationResult tree = RunList(choices, ui, control, false);
    EXPECT_EQ(ui.captions,
              (std::vector<std::string>{"Estimate purge time", "List files and/or folders"}));
    EXPECT_EQ(tree.caption, "List files and/or folders");
}

TEST_F(ListingTest, NothingToListSaysSo) {
    MakeFolder(folder.Path() + "/e/sub");
    OperationChoices choices = ChoicesFor(folder.Path() + "/e", "*.*");
    choices.subdirectories = true;
    choices.dateRestriction = {true, DateToJdn(1990, 1, 1)};
    const OperationResult result = RunList(choices, ui, control, true);
    EXPECT_EQ(result.report, "No files to list (possibly due to the date restriction).\r\n\r\n");
}

}  // namespace
}  // namespace vorlane::testing

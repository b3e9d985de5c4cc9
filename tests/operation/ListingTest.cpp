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
}  // namespace vorlane::testing

#include <gtest/gtest.h>

#include "operation/ConfirmationMessage.h"
#include "operation/EstimatedTimes.h"

namespace vorlane::testing {
namespace {

ConfirmationInput Input(const std::string& spec, std::optional<std::int32_t> count,
                        bool subfolders) {
    ConfirmationInput in;
    in.targetFolder = "/data/box";
    in.targetFilespec = spec;
    in.multipleFiles = spec.find_first_of("*?") != std::string::npos;
    in.subdirectories = subfolders;
    in.countedFiles = count;
    return in;
}

TEST(ConfirmationMessageTest, NamesWhatWillBeDestroyed) {
    EXPECT_EQ(BuildConfirmationMessage(Input("a.txt", 1, false)).text,
              "Are you sure that you want to purge the file\n/data/box/a.txt ?\n"
              "This will permanently destroy all data in this file.");
    EXPECT_EQ(BuildConfirmationMessage(Input("*.*", std::nullopt, true)).text,
              "Are you sure that you want to purge all files in \n/data/box\n"
              "and all files in all subfolders?\n"
              "This will permanently destroy all data in these (more than 1000) files.");
    ConfirmationInput dated = Input("*.log", 42, true);
    dated.dateRestriction = true;
    EXPECT_EQ(BuildConfirmationMessage(dated).text,
              "Are you sure that you want to purge the 42 files\n/data/box/*.log\n"
              "and all files of the form \"*.log\" in all subfolders?\n"
              "which satisfy the date restriction.\n"
              "This will permanently destroy all data in these forty two files.");
}

TEST(ConfirmationMessageTest, SingleFileOutsideTheDateRestrictionIsNotOffered) {
    ConfirmationInput in = Input("missing.txt", 1, false);
    in.dateRestriction = true;
    in.onlyBeforeJdn = 9000000;
    EXPECT_FALSE(BuildConfirmationMessage(in).goOn);  // its date cannot be read
}

TEST(EstimatedTimesTest, TimesBeyondThirtyTwoBitsKeepTheirRows) {
    EXPECT_EQ(RoundToInt(1e12), INT32_MAX);
    EXPECT_EQ(RoundToInt(-1e12), INT32_MIN);
    // Ten terabytes at a crawl: no row may vanish.
    const std::string table = EstimatedTimes(0.001f, 1e13, 1.0);
    EXPECT_EQ(table.find("All less than"), std::string::npos);
    EXPECT_NE(table.find("\n24 overwrites: "), std::string::npos);
}

}  // namespace
}  // namespace vorlane::testing

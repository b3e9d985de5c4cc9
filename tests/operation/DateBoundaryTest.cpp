// "Only files before a day": a file of that very day is not before it, whether the target
// is a folder or names one file.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/FileOperations.h"
#include "operation/PurgeCommands.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

class DateBoundaryTest : public ::testing::Test {
  protected:
    // The target restricted to files before the day the test's files were written, or
    // the day after.
    OperationChoices Restricted(const std::string& spec, int daysAfterTheFiles) {
        const std::optional<std::int32_t> day = FileDateJdn(tree.File("a.txt"));
        EXPECT_TRUE(day.has_value());
        OperationChoices choices = ChoicesFor(tree.Path(), spec);
        choices.dateRestriction = {true, day.value_or(0) + daysAfterTheFiles};
        return choices;
    }
    OperationResult Purge(const std::string& spec, int daysAfterTheFiles) {
        OperationControl control;
        return RunPurge(Restricted(spec, daysAfterTheFiles), ui, control);
    }

    TempFolder tree;
    ScriptedInterface ui;
};

TEST_F(DateBoundaryTest, AFolderPurgeLeavesTheFilesOfTheDayItself) {
    tree.Write("a.txt", "today");
    tree.Write("b.txt", "today");
    Purge("*.*", 0);
    EXPECT_TRUE(fs::exists(tree.File("a.txt")));
    EXPECT_TRUE(fs::exists(tree.File("b.txt")));

    const OperationResult next = Purge("*.*", 1);
    EXPECT_EQ(next.state.purgedFileCount, 2);
    EXPECT_TRUE(fs::is_empty(tree.Path()));
}

TEST_F(DateBoundaryTest, ASingleFileOfTheDayItselfIsRefusedWithItsReason) {
    tree.Write("a.txt", "today");
    EXPECT_FALSE(CheckTarget(Restricted("a.txt", 0), ui, true));
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text.rfind("The date of the specified file is not before ", 0), 0u)
        << ui.asked[0].text;
    EXPECT_TRUE(CheckTarget(Restricted("a.txt", 1), ui, true));
    EXPECT_EQ(ui.asked.size(), 1u);
}

}  // namespace
}  // namespace vorlane::testing

// The confirmation names as many files as the report then counts: both come from the
// same walk of the held target, under the same rules.

#include <gtest/gtest.h>

#include <filesystem>

#include "operation/PurgeCommands.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

class ConfirmationCountTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 11; ++i) {
            folder.Write("f" + std::to_string(i) + ".txt", "data");
        }
    }
    OperationResult Purge(const OperationChoices& choices) {
        return RunPurge(choices, ui, control);
    }

    TempFolder folder;
    TempFolder outside;
    ScriptedInterface ui;
    OperationControl control;
};

// A link is a line of the report and one of its files, though its target stays.
TEST_F(ConfirmationCountTest, LinkCountedAsTheReportCountsIt) {
    const std::string target = outside.Write("target.txt", "outside");
    fs::create_symlink(target, folder.File("link.txt"));
    MakeFolder(folder.File("sub"));
    fs::create_symlink(target, folder.File("sub/deep-link"));

    OperationResult result = Purge(ChoicesFor(folder.Path(), "*.*"));
    EXPECT_TRUE(Contains(ui.confirmation, "all 12 files in")) << ui.confirmation;
    EXPECT_EQ(result.state.fileCount, 12);

    // What the first purge left: the two links, one of them in a subfolder.
    OperationChoices tree = ChoicesFor(folder.Path(), "*.*");
    tree.subdirectories = true;
    result = Purge(tree);
    EXPECT_TRUE(Contains(ui.confirmation, "both files in")) << ui.confirmation;  // the links
    EXPECT_EQ(result.state.fileCount, 2);
    EXPECT_EQ(TempFolder::Read(target), "outside");
}

// A leftover of a killed purge is purged and counted apart, never as a matching file.
TEST_F(ConfirmationCountTest, LeftoverNotCountedAsAMatchingFile) {
    folder.Write(std::string(1, '\x7f') + "abcdef", "left over");
    const OperationResult result = Purge(ChoicesFor(folder.Path(), "*.*"));
    EXPECT_TRUE(Contains(ui.confirmation, "all 11 files in")) << ui.confirmation;
    EXPECT_EQ(result.state.fileCount, 11);
    EXPECT_EQ(result.state.leftoverCount, 1);
}

}  // namespace
}  // namespace vorlane::testing

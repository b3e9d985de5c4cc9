// The walk merges what befell each file into one result, which the command line's exit
// status is made of: one file not purged, for whatever reason, outweighs every purged one.

#include <gtest/gtest.h>

#include <filesystem>

#include "operation/PurgeCommands.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

class WalkResultTest : public ::testing::Test {
  protected:
    void SetUp() override { folder.WriteTree({"a.txt=alpha", "b.txt=beta"}); }
    std::optional<Seriousness> Heaviest(const OperationChoices& choices) {
        return RunPurge(choices, ui, control).state.heaviest;
    }

    TempFolder folder;
    TempFolder outside;
    ScriptedInterface ui;
    OperationControl control;
};

TEST_F(WalkResultTest, HeaviestOfTheFilesMet) {
    OperationChoices declining = ChoicesFor(folder.Path(), "*.*");
    declining.options.confirmFiles = true;
    ui.confirmations = {FileConfirmation::Yes, FileConfirmation::No};
    EXPECT_EQ(Heaviest(declining), Seriousness::LeftAlone);  // b.txt declined
    EXPECT_TRUE(fs::exists(folder.File("b.txt")));

    EXPECT_EQ(Heaviest(ChoicesFor(folder.Path(), "*.*")), Seriousness::Purged);

    folder.Write("c.txt", "gamma");
    fs::create_symlink(outside.Write("target", "kept"), folder.File("link"));
    EXPECT_EQ(Heaviest(ChoicesFor(folder.Path(), "*.*")), Seriousness::Failed);
    EXPECT_FALSE(fs::exists(folder.File("c.txt")));
    EXPECT_EQ(TempFolder::Read(outside.File("target")), "kept");
}

}  // namespace
}  // namespace vorlane::testing

#include "selection/TargetCommands.h"

#include <gtest/gtest.h>

#include "common/StandIns.h"
#include "operation/TargetMatch.h"
#include "selection/ScriptedDialogs.h"
#include "selection/SelectionTestSupport.h"
#include "selection/TargetDisplay.h"
#include "support/Folders.h"

namespace vorlane {
namespace {

using testing::DeniedFolders;
using testing::ScriptedDialogs;
using testing::ScriptedWindows;
using testing::SelectionTest;

class TargetCommandsTest : public SelectionTest {
  protected:
    void SetUp() override {
        SelectionTest::SetUp();
        ResetState(state);
        state.startupCompleted = true;
        ShowTarget(state);
        ShowDateRestriction(state);
    }

    MainState state;
    ScriptedDialogs dialogs;
    ScriptedWindows windows;
    TargetCommands commands{state, dialogs, windows};
};

TEST_F(TargetCommandsTest, ClearAnsweredNoChangesNothingYesKeepsSwitches) {
    state.choices.targetFolder = temp.Path();
    state.choices.targetFilespec = "*.*";
    state.choices.subdirectories = true;
    state.choices.dateRestriction = {true, 2444240};
    dialogs.answers = {MessageAnswer::No};
    commands.Clear("Clear");
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(state.choices.targetFolder, temp.Path());
    dialogs.answers = {MessageAnswer::Yes};
    commands.Clear("Clear");
    EXPECT_EQ(state.choices.targetFolder, "");
    EXPECT_EQ(state.choices.targetFilespec, "");
    EXPECT_TRUE(state.choices.subdirectories);
    EXPECT_TRUE(state.choices.dateRestriction.active);
}

// The target is cleared either way; only a started program says why.
TEST_F(TargetCommandsTest, UnreadableFolderClearsTheTarget) {
    ASSERT_TRUE(CreateFolderPath(temp.File("locked")));
    DeniedFolders stand(temp.File("locked"));
    platform::ScopedPlatform scoped(stand);
    for (const bool started : {true, false}) {
        state.startupCompleted = started;
        state.choices.targetFolder = temp.File("locked");
        state.choices.targetFilespec = "*.*";
        dialogs.asked.clear();
        commands.Subdirectories();
        EXPECT_EQ(dialogs.asked.size(), started ? 1u : 0u);
        EXPECT_EQ(state.choices.targetFolder, "");
        EXPECT_EQ(state.choices.targetFilespec, "");
    }
}

TEST_F(TargetCommandsTest, SpecifyFolderOffersAllFilesAndTellsOfSubfolders) {
    temp.Write("a.txt", "a");
    ASSERT_TRUE(CreateFolderPath(temp.File("sub")));
    dialogs.folders = {temp.Path()};
    dialogs.answers = {MessageAnswer::Yes};
    commands.SpecifyFolder("Specify folder");
    EXPECT_EQ(dialogs.asked.size(), 2u);  // all files?, then the subfolders hint
    EXPECT_EQ(state.choices.targetFolder, temp.Path());
    EXPECT_EQ(state.choices.targetFilespec, "*.*");
    EXPECT_FALSE(state.choices.subdirectories);
}

TEST_F(TargetCommandsTest, PseudoFileSystemsAndTrashAreRefused) {
    dialogs.folders = {"/proc"};
    commands.SpecifyFolder("Specify folder");
    EXPECT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(state.choices.targetFolder, "");

    ASSERT_TRUE(CreateFolderPath(home.File("data/Trash/files")));
    dialogs.folders = {home.File("data/Trash/files")};
    commands.SpecifyFolder("Specify folder");
    EXPECT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(state.choices.targetFolder, "");
}

TEST_F(TargetCommandsTest, TrashFolders) {
    EXPECT_TRUE(IsTrashFolder(home.File("data/Trash")));
    EXPECT_TRUE(IsTrashFolder(home.File("data/Trash/info")));
    EXPECT_TRUE(IsTrashFolder("/media/usb/.Trash-1000/files"));
    EXPECT_TRUE(IsTrashFolder("/media/usb/.Trash/1000"));
    EXPECT_FALSE(IsTrashFolder("/media/usb/.Trash-x"));
    EXPECT_FALSE(IsTrashFolder(home.File("data/Trashcan")));
    EXPECT_FALSE(IsTrashFolder("/home/someone/Trash"));
    EXPECT_FALSE(IsOnPseudoFileSystem(temp.Path()));
    EXPECT_TRUE(IsOnPseudoFileSystem("/proc/self"));
}

TEST_F(TargetCommandsTest, SpecifyFilesTakesTheChoice) {
    temp.WriteTree({"a.txt=a", "b.doc=b"});
    state.choices.targetFolder = temp.Path();
    windows.files = {true, "*.txt", {}};
    commands.SpecifyFiles("Specify files");
    EXPECT_EQ(windows.fileCountShown, 2);
    EXPECT_EQ(state.choices.targetFilespec, "*.txt");
    EXPECT_TRUE(dialogs.asked.empty());

    windows.files = {true, "*.pdf", {}};
    commands.SpecifyFiles("Specify files");
    EXPECT_EQ(dialogs.asked.size(), 1u);  // no matching files
    // Cancelled: the file pattern stays.
    windows.files = {};
    commands.SpecifyFiles("Specify files");
    EXPECT_EQ(state.choices.targetFilespec, "*.pdf");
}

TEST_F(TargetCommandsTest, SingleFileOutsideTheDateRestrictionKeepsTheTarget) {
    const std::string file = temp.Write("new.txt", "x");
    state.choices.targetFolder = "/earlier/";
    state.choices.targetFilespec = "old.txt";
    state.choices.dateRestriction = {true, 2444240};
    dialogs.files = {file};
    int closed = 0;
    commands.fileDialogClosed = [&] { ++closed; };
    commands.SingleFile("Single file");
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(state.choices.targetFolder, "/earlier/");
    EXPECT_EQ(state.choices.targetFilespec, "old.txt");

    state.choices.dateRestriction = {};
    dialogs.files = {file};
    commands.SingleFile("Single file");
    EXPECT_EQ(state.choices.targetFolder, temp.Path() + "/");
    EXPECT_EQ(state.choices.targetFilespec, "new.txt");
    // Cancelled dialog: nothing changes, the guard still starts.
    commands.SingleFile("Single file");
    EXPECT_EQ(closed, 3);
    EXPECT_EQ(state.choices.targetFilespec, "new.txt");
}

// "report?.txt" chosen as a single file must not become a pattern that also covers
// report1.txt and report2.txt: not by the choice, nor by a setup saved and loaded.
TEST_F(TargetCommandsTest, SingleFileWithWildcardsInItsNameStaysOneFile) {
    temp.WriteTree({"report1.txt=1", "report2.txt=2"});
    dialogs.files = {temp.Write("report?.txt", "chosen")};
    commands.SingleFile("Single file");
    EXPECT_EQ(CountNamedTargets(ChoicesOf(state)).count, 1);

    MainState loaded;
    ApplySetup(loaded, SetupOf(state));
    EXPECT_EQ(CountNamedTargets(ChoicesOf(loaded)).count, 1);

    // A folder chosen afterwards brings patterns back.
    dialogs.answers = {MessageAnswer::Yes};
    commands.OpenPath(temp.Path());
    state.choices.targetFilespec = "report?.txt";
    EXPECT_EQ(CountNamedTargets(ChoicesOf(state)).count, 3);
}

TEST_F(TargetCommandsTest, CommandLinePathBecomesTheTarget) {
    const std::string file = temp.Write("x.bin", "x");
    commands.OpenPath(file);
    EXPECT_EQ(state.choices.targetFolder, temp.Path() + "/");
    EXPECT_EQ(state.choices.targetFilespec, "x.bin");
    dialogs.answers = {MessageAnswer::Yes};
    commands.OpenPath(temp.Path());
    EXPECT_EQ(state.choices.targetFolder, temp.Path());
    EXPECT_EQ(state.choices.targetFilespec, "*.*");
    commands.OpenPath(temp.File("missing"));
    EXPECT_NE(dialogs.LastText().find("neither a file nor a folder"), std::string::npos);
    EXPECT_EQ(state.choices.targetFolder, temp.Path());
}

TEST_F(TargetCommandsTest, AFaultySetupForTheNextRunChangesNothing) {
    MainState fresh;
    ResetState(fresh);
    home.Write("data/Vorlane Software/vorlane.usr", "not a setup\r\n");
    EXPECT_FALSE(LoadSetupForNextRun(fresh));
    EXPECT_EQ(fresh.choices.targetFolder, "");
    EXPECT_EQ(fresh.purgeType.GetPurgeType(), 0);
}

}  // namespace
}  // namespace vorlane

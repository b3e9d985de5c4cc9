#include "selection/SetupCommands.h"

#include <filesystem>

#include "ScriptedDialogs.h"
#include "SelectionTestSupport.h"
#include "selection/TargetDisplay.h"
#include "support/Dates.h"

namespace vorlane {
namespace {

using testing::ScriptedDialogs;

class SetupCommandsTest : public testing::SelectionTest {
  protected:
    void SetUp() override {
        SelectionTest::SetUp();
        std::filesystem::create_directory(temp.File("sub"));  // the subfolders switch holds
        ResetState(state);
        state.choices.targetFolder = temp.Path();
        state.choices.targetFilespec = "*.txt";
        state.choices.subdirectories = true;
        state.purgeType.SelectType(2);
    }
    std::string SaveAndRead() {
        const std::string path = temp.File("saved.vns");
        EXPECT_TRUE(SaveSetupToFile(path, SetupOf(state)));
        return testing::TempFolder::Read(path);
    }

    MainState state;
    ScriptedDialogs dialogs;
    SetupCommands commands{state, dialogs};
};

TEST_F(SetupCommandsTest, SavedFileLoadsBackByteForByte) {
    const std::string file = temp.File("mine.vns");
    dialogs.files = {file};
    commands.SaveSetupAsOperationFile();
    EXPECT_EQ(state.labels.setupFilename, file);
    EXPECT_EQ(dialogs.savedNotOpened, std::vector<bool>{true});
    const std::string bytes = testing::TempFolder::Read(file);

    ResetState(state);
    dialogs.files = {file};
    ASSERT_TRUE(commands.LoadSetup());
    EXPECT_EQ(state.choices.targetFolder, temp.Path());
    EXPECT_EQ(state.choices.targetFilespec, "*.txt");
    EXPECT_TRUE(state.choices.subdirectories);
    EXPECT_EQ(state.purgeType.GetPurgeType(), 2);
    EXPECT_EQ(state.remembered.targetFolder, temp.Path());
    dialogs.files = {temp.File("again.vns")};
    commands.SaveSetupAsOperationFile();
    EXPECT_EQ(testing::TempFolder::Read(temp.File("again.vns")), bytes);
}

TEST_F(SetupCommandsTest, NoOrCancelToOverwriteKeepsTheFile) {
    const std::string file = temp.Write("old.vns", "untouched");
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Cancel}) {
        state.labels.setupFilename = "before";
        dialogs.files = {file};
        dialogs.answers = {answer};
        commands.SaveSetupAsOperationFile();
        EXPECT_EQ(dialogs.asked.back().buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(testing::TempFolder::Read(file), "untouched");
        EXPECT_EQ(state.labels.setupFilename, "before");
    }
}

std::size_t LineStart(const std::string& bytes, int index) {
    std::size_t at = 0;
    for (int i = 0; i < index; ++i) {
        at = bytes.find("\r\n", at) + 2;
    }
    return at;
}

TEST_F(SetupCommandsTest, BadLineChangesNothing) {
    const std::string good = temp.File("good.vns");
    ASSERT_TRUE(SaveSetupToFile(good, SetupOf(state)));
    std::string bytes = testing::TempFolder::Read(good);
    // Line 16 (the date) is read before line 2, which holds a 2 here: a reader that
    // applied as it went would have changed the date already.
    bytes.replace(bytes.rfind(" 9000000 "), 9, " 2444240 ");
    const std::size_t second = bytes.find("\r\n") + 2;
    bytes.replace(second, bytes.find("\r\n", second) - second, " 2 ");
    const std::string bad = temp.Write("bad.vns", bytes);

    state.labels.setupFilename = "kept";
    const MainState before = state;
    dialogs.files = {bad};
    EXPECT_FALSE(commands.LoadSetup());
    EXPECT_EQ(state.choices.dateRestriction.onlyBeforeJdn,
              before.choices.dateRestriction.onlyBeforeJdn);
    EXPECT_EQ(state.choices.targetFilespec, before.choices.targetFilespec);
    EXPECT_EQ(state.labels.setupFilename, "kept");

    dialogs.files = {temp.File("missing.vns")};
    EXPECT_FALSE(commands.LoadSetup());
    EXPECT_EQ(dialogs.asked.size(), 2u);
}

// The windows write full paths; a "." typed into a file must not become the folder the
// program happens to run in.
TEST_F(SetupCommandsTest, RelativeFolderIsRefusedNamingItsLine) {
    std::string bytes = SaveAndRead();
    const std::size_t line4 = LineStart(bytes, 3);
    bytes.replace(line4, bytes.find("\r\n", line4) - line4, ".");
    dialogs.files = {temp.Write("dot.vns", bytes)};
    const MainState before = state;
    EXPECT_FALSE(commands.LoadSetup());
    EXPECT_NE(dialogs.LastText().find("line 4"), std::string::npos) << dialogs.LastText();
    EXPECT_EQ(state.choices.targetFolder, before.choices.targetFolder);
}

TEST_F(SetupCommandsTest, RestoreBringsBackTargetAndDateLabel) {
    state.remembered = {temp.Path(), "*.doc", DateToJdn(1980, 1, 1)};
    commands.ClearSetup();
    EXPECT_EQ(state.choices.targetFolder, "");
    commands.RestoreSetup();
    EXPECT_EQ(state.choices.targetFolder, temp.Path());
    EXPECT_EQ(state.choices.targetFilespec, "*.doc");
    EXPECT_TRUE(state.choices.dateRestriction.active);
    EXPECT_EQ(state.choices.dateRestriction.onlyBeforeJdn, 2444240);
    const std::string restricted = state.labels.dateRestriction;
    EXPECT_FALSE(restricted.empty());

    state.remembered.dateRestrictionJdn = kNoDateRestrictionJdn;
    commands.RestoreSetup();
    EXPECT_FALSE(state.choices.dateRestriction.active);
    EXPECT_NE(state.labels.dateRestriction, restricted);
}

TEST_F(SetupCommandsTest, SavedForNextRunIsLoadedAtStartUp) {
    commands.SaveSetupForNextRun();
    MainState fresh;
    ResetState(fresh);
    ASSERT_TRUE(LoadSetupForNextRun(fresh));
    EXPECT_EQ(fresh.choices.targetFilespec, "*.txt");
    EXPECT_EQ(fresh.purgeType.GetPurgeType(), 2);

    state.userSetupFilePath = temp.File("no/such/folder/setup.usr");
    const std::size_t told = dialogs.asked.size();
    commands.SaveSetupForNextRun();
    EXPECT_EQ(dialogs.asked.size(), told + 1);  // cannot save
}

}  // namespace
}  // namespace vorlane

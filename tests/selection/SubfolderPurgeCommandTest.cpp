#include "selection/SubfolderPurgeCommand.h"

#include <filesystem>

#include "ScriptedDialogs.h"
#include "SelectionTestSupport.h"
#include "common/StandIns.h"
#include "support/UserLocale.h"

namespace vorlane {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedDialogs;

// The walk's person: goes on after a failed file; or presses F10 when the purge shows
// its first file and then answers Cancel.
class WorkerPerson : public OperationInterface {
  public:
    explicit WorkerPerson(OperationControl& control) : control_(control) {}
    MessageAnswer Ask(const Question& question) override {
        asked.push_back(question.text);
        return pressF10 ? MessageAnswer::Cancel : MessageAnswer::Ok;
    }
    bool ConfirmPurge(const std::string&, const std::string&, PurgeOptions&) override {
        return false;
    }
    FileConfirmation ConfirmFile(const std::string&) override { return FileConfirmation::No; }
    void AppendReport(std::string_view) override {}
    void ReplaceReportTail(std::size_t, std::string_view) override {}
    void ShowPhase(ReportPhase, std::string_view) override {}
    void ReportFinished(std::string_view) override {}
    void ShowProgress(std::string_view text) override {
        if (pressF10 && text.find("Now purging") != std::string_view::npos) {
            control_.RequestInterrupt();
        }
    }
    bool pressF10 = false;
    std::vector<std::string> asked;

  private:
    OperationControl& control_;
};

class SubfolderPurgeCommandTest : public testing::SelectionTest {
  protected:
    void SetUp() override {
        SelectionTest::SetUp();
        SetUserLocale(std::locale::classic());
        top = temp.Path();
        ResetState(state);
        state.choices.targetFolder = top;
        state.purgeType.SelectType(0);
        state.purgeType.SetPassesOf(0, 1);
    }
    SubfolderPurgeCommand Command() {
        SubfolderPurgeHooks hooks;
        hooks.chooseSubfolders = [this](const std::string&, const std::string& caption,
                                        const std::vector<std::string>& previous) {
            shownCaption = caption;
            previousShown = previous;
            return choice;
        };
        hooks.runOnWorker = [](const std::function<void()>& work,
                               const std::function<void()>& then) {
            work();
            then();
        };
        hooks.showCommandArea = [this](bool shown) { areaShown.push_back(shown); };
        hooks.refresh = [] {};
        return SubfolderPurgeCommand(state, dialogs, control, person, hooks);
    }
    void Choose(const std::vector<std::string>& names) {
        choice.accepted = true;
        choice.paths.clear();
        for (const auto& name : names) {
            choice.paths.push_back(top + "/" + name);
        }
    }
    void MakeTree(const std::vector<std::string>& names) {
        for (const auto& name : names) {
            temp.WriteTree({name + "/file=data", name + "/deeper/file=more"});
        }
    }

    std::string top;
    MainState state;
    ScriptedDialogs dialogs;
    OperationControl control;
    WorkerPerson person{control};
    SubfolderChoice choice;
    std::string shownCaption;
    std::vector<std::string> previousShown;
    std::vector<bool> areaShown;
};

TEST_F(SubfolderPurgeCommandTest, SevenSelectedListSixAndOnlyTheirTreesGo) {
    const std::vector<std::string> names = {"s1", "s2", "s3", "s4", "s5", "s6", "s7", "kept"};
    MakeTree(names);
    Choose({"s1", "s2", "s3", "s4", "s5", "s6", "s7"});
    dialogs.answers = {MessageAnswer::Ok, MessageAnswer::Ok};
    SubfolderPurgeCommand command = Command();
    command.PurgeSelectedSubfolders(top, "Purge folders");
    ASSERT_GE(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[0].text.find(top + "/s7"), std::string::npos);
    for (int i = 1; i <= 7; ++i) {
        EXPECT_FALSE(fs::exists(temp.File("s" + std::to_string(i))));
    }
    EXPECT_TRUE(fs::exists(temp.File("kept/deeper/file")));
    EXPECT_EQ(areaShown, (std::vector<bool>{false, true}));
    EXPECT_EQ(command.SelectedSubfolders().size(), 7u);  // kept for the next time
    command.PurgeSelectedSubfolders(top, "Purge folders");
    EXPECT_EQ(previousShown.size(), 7u);
}

TEST_F(SubfolderPurgeCommandTest, F10ThenCancelStops) {
    MakeTree({"a", "b"});
    Choose({"a", "b"});
    dialogs.answers = {MessageAnswer::Ok, MessageAnswer::Ok};
    person.pressF10 = true;
    Command().PurgeSelectedSubfolders(top, "Purge folders");
    ASSERT_EQ(person.asked.size(), 1u);
    EXPECT_FALSE(control.InterruptRequested());
    EXPECT_TRUE(fs::exists(temp.File("b/file")));  // the walk ended with the first file
}

TEST_F(SubfolderPurgeCommandTest, SystemFolderWarningAnsweredNoTouchesNothing) {
    testing::LockedFiles system("locked");
    system.systemFolders = {temp.File("usr")};
    platform::ScopedPlatform scoped(system);
    MakeTree({"usr", "home"});
    Choose({"usr", "home"});
    dialogs.answers = {MessageAnswer::No};
    Command().PurgeSelectedSubfolders(top, "Purge folders");
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_TRUE(fs::exists(temp.File("usr/file")));
    EXPECT_TRUE(fs::exists(temp.File("home/file")));

    // A top folder inside one is warned about before anything is shown.
    dialogs.asked.clear();
    shownCaption.clear();
    dialogs.answers = {MessageAnswer::No};
    Command().PurgeSelectedSubfolders(temp.File("usr"), "Purge folders");
    EXPECT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(shownCaption, "");
}

TEST_F(SubfolderPurgeCommandTest, FinalMessageCountsOnlyPurgedFiles) {
    testing::LockedFiles system("locked");
    platform::ScopedPlatform scoped(system);
    MakeTree({"a"});
    temp.Write("a/locked", "cannot be opened");
    Choose({"a"});
    dialogs.answers = {MessageAnswer::Ok, MessageAnswer::Ok};
    Command().PurgeSelectedSubfolders(top, "Purge folders");
    EXPECT_NE(dialogs.asked[1].text.find("Three files"), std::string::npos);
    EXPECT_EQ(dialogs.asked.back().text, " 1 file could not be deleted.");
    EXPECT_NE(state.labels.largePurgeMessage.find("Two files in one subfolder have been purged."),
              std::string::npos)
        << state.labels.largePurgeMessage;
}

TEST_F(SubfolderPurgeCommandTest, NothingSelectedOrNothingToPurge) {
    MakeTree({"a"});
    choice.accepted = false;
    Command().PurgeSelectedSubfolders(top, "Purge folders");
    EXPECT_EQ(dialogs.asked.size(), 2u);

    fs::create_directories(temp.File("hollow/inner"));
    Choose({"hollow"});
    dialogs.asked.clear();
    dialogs.answers = {MessageAnswer::Ok};
    Command().PurgeSelectedSubfolders(top, "Purge folders");
    EXPECT_TRUE(fs::exists(temp.File("hollow/inner")));
}

TEST(SubfolderWarnings, ProgramFoldersByWholePath) {
    EXPECT_EQ(ProgramFolderWarnings({"/opt"}).size(), 1u);
    EXPECT_EQ(ProgramFolderWarnings({"/opt", "/usr/local"}).size(), 2u);
    EXPECT_TRUE(ProgramFolderWarnings({"/opt/tools", "/usr/local2"}).empty());
}

}  // namespace
}  // namespace vorlane

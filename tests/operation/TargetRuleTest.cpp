// Which files a target covers: a file chosen as one file is that file alone, and the
// command line's patterns mean what a shell means by them.

#include <gtest/gtest.h>

#include <filesystem>

#include "common/TempFolder.h"
#include "operation/PurgeCommands.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"
#include "operation/SetupChoices.h"
#include "operation/TargetMatch.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

class TargetRuleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.WriteTree({"report?.txt=chosen", "report1.txt=one", "report2.txt=two", ".bashrc=dot",
                          ".config.bak=dot two", "notes.txt=notes", "README=r"});
    }

    OperationResult Purge(const OperationChoices& choices) {
        OperationControl control;
        return RunPurge(choices, ui, control);
    }

    bool Exists(const std::string& name) const { return fs::exists(folder.File(name)); }

    TempFolder folder;
    ScriptedInterface ui;
};

TEST_F(TargetRuleTest, ChosenFileWithWildcardsIsThatFileAloneEvenWhenGone) {
    OperationChoices choices = ChoicesFor(folder.Path() + "/", "report?.txt");
    choices.specRule = FileSpecRule::OneFile;

    const OperationResult result = Purge(choices);

    EXPECT_EQ(result.state.fileCount, 1);
    EXPECT_FALSE(Exists("report?.txt"));
    EXPECT_TRUE(Exists("report1.txt"));
    EXPECT_TRUE(Exists("report2.txt"));
    EXPECT_EQ(ui.confirmation.find("files"), std::string::npos) << ui.confirmation;

    // Gone, it is not replaced by its look-alikes.
    EXPECT_FALSE(Purge(choices).ran);
    EXPECT_TRUE(Exists("report1.txt"));
    EXPECT_TRUE(Exists("report2.txt"));
}

// A setup keeps a single file's folder with its trailing separator, which is how a
// loaded setup knows that the name is no pattern; a folder target has none.
TEST_F(TargetRuleTest, SetupKeepsASingleFileSingle) {
    OperationChoices chosen = ChoicesFor(folder.Path(), "report?.txt");
    chosen.specRule = FileSpecRule::OneFile;
    const OperationChoices loaded = ChoicesFromSetup(SetupFromChoices(chosen));
    EXPECT_EQ(loaded.specRule, FileSpecRule::OneFile);

    const OperationChoices pattern = ChoicesFromSetup(SetupFromChoices(ChoicesFor("/x", "r?.t")));
    EXPECT_EQ(pattern.specRule, FileSpecRule::NameAndExtension);
    EXPECT_EQ(ChoicesFromSetup(SetupFromChoices(ChoicesFor("/", "*.*"))).specRule,
              FileSpecRule::NameAndExtension);
}

TEST_F(TargetRuleTest, WholeNamePatternsCountAndPurgeWhatAShellMeans) {
    OperationChoices choices = ChoicesFor(folder.Path(), ".*");
    choices.specRule = FileSpecRule::WholeName;
    EXPECT_EQ(CountNamedTargets(choices).count, 2);  // .bashrc, .config.bak

    choices.targetFilespec = "*.txt";
    EXPECT_TRUE(NameIsTarget(choices, "a.b.txt", choices.targetFilespec));
    EXPECT_FALSE(NameIsTarget(choices, "a.txt.bak", choices.targetFilespec));
    choices.targetFilespec = "*.*";  // stays every file, as its help says
    EXPECT_TRUE(NameIsTarget(choices, "README", choices.targetFilespec));
    choices.targetFilespec = "*na";  // a star that has to give back what it took
    EXPECT_TRUE(NameIsTarget(choices, "banana", choices.targetFilespec));

    choices.targetFilespec = ".*";
    const OperationResult result = Purge(choices);
    EXPECT_EQ(result.state.purgedFileCount, 2);
    EXPECT_FALSE(Exists(".bashrc"));
    EXPECT_TRUE(Exists("notes.txt"));
    EXPECT_TRUE(Exists("README"));
}

TEST_F(TargetRuleTest, TypedNameKeepsItsCaseAndBlanks) {
    folder.Write(" padded ", "p");
    const OperationChoices choices = ChoicesFor(folder.Path(), " padded ");
    EXPECT_TRUE(NameIsTarget(choices, " padded ", choices.targetFilespec));
    EXPECT_FALSE(NameIsTarget(choices, "padded", choices.targetFilespec));
    EXPECT_EQ(CountNamedTargets(choices).count, 1);
}

}  // namespace
}  // namespace vorlane::testing

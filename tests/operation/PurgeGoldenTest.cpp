#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "common/StandIns.h"
#include "engine/DriveInfo.h"
#include "operation/ProcessFiles.h"
#include "operation/PurgeCommands.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"
#include "platform/Platform.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

class PurgeGoldenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.WriteTree({"s1.txt=hello", "second.dll=dll-one", "setup.exe=exe-bytes",
                        "slocked.txt=locked", "sro.txt=readonly", "sys.dll=dll-two",
                        "other.txt=other", "keep/other.txt=stays", "sempty", "sub/s2.txt=abc"});
        ::chmod(tree.File("sro.txt").c_str(), 0444);
        outside.WriteTree({"sentinel.txt=sentinel bytes", "inner/s3.txt=inner sentinel"});
        fs::create_symlink(outside.File("sentinel.txt"), tree.File("slink.txt"));
        fs::create_directory_symlink(outside.Path(), tree.File("slinkdir"));
    }

    OperationResult Purge(const OperationChoices& choices) {
        platform::ScopedPlatform standIn(locked);
        OperationControl control;
        return RunPurge(choices, ui, control);
    }

    TempFolder tree;
    TempFolder outside;
    LockedFiles locked{"slocked.txt"};
    ScriptedInterface ui;
};

TEST_F(PurgeGoldenTest, WholeReportOfAMixedTree) {
    OperationChoices choices = ChoicesFor(tree.Path(), "s*.*");
    choices.subdirectories = true;
    choices.options.okToPurgeReadOnlyFiles = false;
    ui.answers = {MessageAnswer::No, MessageAnswer::Yes};  // dll refused, exe allowed

    const OperationResult result = Purge(choices);

    // The blank line before s2.txt is held back from the walk of keep/, which had no files;
    // the header's lines end in a space.
    const std::string expected = Crlf(R"(<STAMP>
Purging files $T/s*.* 
(including s*.* files in subfolders) 
using random bytes plus zeros twice.

$T/
s1.txt (5 bytes) purged
second.dll: "dll" files are not purged.
setup.exe (9 bytes) purged
slink.txt: symbolic link, not followed, not purged.
slinkdir: symbolic link, not followed, not purged.
slocked.txt (6 bytes): unable to open file for writing.
sro.txt (8 bytes): file is a read-only file, not purged.
(Perhaps file is in use by another program.)
sys.dll: "dll" files are not purged.

Folder $T/sempty removed.

$T/sub/

s2.txt (3 bytes) purged

Folder $T/sub removed.

Number of files s*.*: 9
Number of files purged: 3
Sum of sizes of files purged: 17 bytes

Number of folders removed: 2
<STAMP>
)",
                                      tree.Path());
    ASSERT_TRUE(result.ran);
    EXPECT_EQ(result.caption, "Purge files");
    EXPECT_EQ(MaskStamps(result.report), expected);
    EXPECT_EQ(ui.finishedReport, result.report);
    ASSERT_EQ(ui.asked.size(), 2u);  // sys.dll was not asked again
    EXPECT_EQ(ui.asked[0].title, "Purge query");
    EXPECT_EQ(ui.asked[0].defaultButton, 2);
    EXPECT_NE(ui.asked[0].text.find("a \"dll\" extension."), std::string::npos);
    EXPECT_NE(ui.asked[1].text.find("an \"exe\" extension."), std::string::npos);

    EXPECT_FALSE(fs::exists(tree.File("s1.txt")));
    EXPECT_TRUE(fs::exists(tree.File("sro.txt")));
    EXPECT_TRUE(fs::exists(tree.File("keep/other.txt")));
    EXPECT_TRUE(fs::exists(tree.File("other.txt")));
    EXPECT_TRUE(fs::is_symlink(tree.File("slink.txt")));
    EXPECT_TRUE(fs::is_symlink(tree.File("slinkdir")));
    EXPECT_EQ(TempFolder::Read(outside.File("sentinel.txt")), "sentinel bytes");
    EXPECT_EQ(TempFolder::Read(outside.File("inner/s3.txt")), "inner sentinel");
}

TEST_F(PurgeGoldenTest, CancelInAQueryStopsThePurge) {
    ui.answers = {MessageAnswer::Cancel};
    const OperationResult result = Purge(ChoicesFor(tree.Path(), "s*.*"));
    EXPECT_TRUE(result.stopped);
    EXPECT_NE(result.report.find("Purge operation was stopped."), std::string::npos);
    EXPECT_TRUE(fs::exists(tree.File("setup.exe")));
}

TEST_F(PurgeGoldenTest, PerFileConfirmationAnswers) {
    OperationChoices choices = ChoicesFor(tree.Path(), "s*.txt");
    choices.options.confirmFiles = true;
    ui.confirmations = {FileConfirmation::No, FileConfirmation::YesToAll};
    const OperationResult result = Purge(choices);
    // Asked for s1.txt (No) and slocked.txt (Yes to all); links are never offered.
    ASSERT_EQ(ui.confirmedFiles.size(), 2u);
    EXPECT_EQ(ui.confirmedFiles[0].rfind(tree.File("s1.txt") + "     5 bytes     ", 0), 0u);
    EXPECT_NE(result.report.find("\ns1.txt not purged.\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(tree.File("s1.txt")));

    tree.Write("s4.txt", "x");
    ui.confirmations = {FileConfirmation::StopPurge};
    const OperationResult stopped = Purge(choices);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_TRUE(fs::exists(tree.File("s1.txt")));
}

TEST_F(PurgeGoldenTest, NoAnswerToTheConfirmationPurgesNothing) {
    ui.confirmPurge = false;
    const OperationResult result = Purge(ChoicesFor(tree.Path(), "*.*"));
    EXPECT_FALSE(result.ran);
    ASSERT_FALSE(ui.asked.empty());
    EXPECT_EQ(ui.asked.back().text, "No files purged.");
    EXPECT_TRUE(fs::exists(tree.File("s1.txt")));
}

class PauseTest : public ::testing::Test {
  protected:
    TempFolder folder;
    ScriptedInterface ui;
    OperationControl control;
};

TEST_F(PauseTest, StopWhilePausedBetweenPassesLeavesTheFileUncounted) {
    folder.Write("big.dat", std::string(8192, 'x'));
    OperationChoices choices = ChoicesFor(folder.Path(), "*.*");
    choices.numberOfPasses = 3;
    // Slow enough that even this file shows its pass indicator.
    choices.drivePurgeSpeeds[DriveOfPath(folder.Path())] = 0.001f;
    Operation op(choices, ui, control);
    op.State().purging = true;
    std::vector<std::string> indicators;
    ui.onReport = [&](const std::string& text) {
        if (text.ends_with("___") || text.ends_with("1__")) {
            indicators.push_back(text.substr(text.size() - 4));
        }
        if (text.ends_with("1__") && !control.Paused()) {
            control.PauseContinue();  // after pass 1; takes effect before pass 2
        }
    };
    ui.onPhase = [&](ReportPhase phase) {
        if (phase == ReportPhase::Paused) {
            control.Stop();
        }
    };
    ProcessFiles(op);
    EXPECT_EQ(indicators, (std::vector<std::string>{" ___", " 1__"}));
    EXPECT_NE(op.ReportText().find("big.dat (8192 bytes): partly overwritten, not deleted.\n"),
              std::string::npos);
    EXPECT_NE(op.ReportText().find("Number of files purged: 0\n"), std::string::npos);
    EXPECT_NE(op.ReportText().find("Purge operation was stopped."), std::string::npos);
    EXPECT_TRUE(fs::exists(folder.File("big.dat")));
    EXPECT_EQ(op.State().purgedFileCount, 0);
}

TEST_F(PauseTest, NoPassesIsNeverReportedAsAPurge) {
    folder.Write("kept.txt", "secret");
    OperationChoices choices = ChoicesFor(folder.Path(), "*.*");
    choices.numberOfPasses = 0;
    Operation op(choices, ui, control);
    op.State().purging = true;
    ProcessFiles(op);
    EXPECT_NE(op.ReportText().find("kept.txt (6 bytes): invalid number of passes.\n"),
              std::string::npos);
    EXPECT_EQ(op.State().purgedFileCount, 0);
    EXPECT_EQ(TempFolder::Read(folder.File("kept.txt")), "secret");
}

}  // namespace

TEST_F(PurgeGoldenTest, LongSingleFileNameIsShortenedInTheHeader) {
    const std::string name = std::string(66, 'n') + ".txt";  // 70 characters: shown whole
    const std::string longName = std::string(67, 'l') + ".txt";
    tree.Write(name, "12345");
    tree.Write(longName, "123");
    const std::string t = tree.Path() + "/";

    const OperationResult shown = Purge(ChoicesFor(tree.Path(), name));
    EXPECT_EQ(MaskStamps(shown.report), Crlf("<STAMP>\nPurging files $T/" + name + R"( 
using random bytes plus zeros twice.

$T/
)" + name + R"( (5 bytes) purged

Number of files: 1
<STAMP>
)",
                                             tree.Path()));

    const OperationResult cut = Purge(ChoicesFor(tree.Path(), longName));
    EXPECT_NE(cut.report.find("Purging files " + t + std::string(64, 'l') + "...txt \n"),
              std::string::npos);
    EXPECT_NE(cut.report.find("\n" + longName + " (3 bytes) purged\n"), std::string::npos);
}

}  // namespace vorlane::testing

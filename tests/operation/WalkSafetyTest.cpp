// Hostile trees: names swapped for links while the purge runs, folders it cannot read,
// other volumes, the root, hard links, names that differ only in case.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "operation/PurgeCommands.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"
#include "operation/SubfolderPurge.h"
#include "platform/FolderWalk.h"
#include "platform/Platform.h"
#include "support/Folders.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;
using platform::FileStatus;
using platform::FolderEntry;

// Refuses to read one folder.
class WalkStandIn : public platform::Platform {
  public:
    ino_t deniedFolder = 0;

    std::error_code ReadFolder(int folder, std::vector<FolderEntry>& out) const override {
        FileStatus status;
        // A folder that cannot be looked at is not the one refused: the walk reads it.
        if (!StatOpen(folder, status) && status.inode == deniedFolder) {
            out.clear();
            return platform::SystemError(EACCES);
        }
        return Platform::ReadFolder(folder, out);
    }
};

// Swaps the target folder for a link to another folder once the person said Yes.
class SwapOnConfirm : public ScriptedInterface {
  public:
    std::function<void()> swap;
    bool ConfirmPurge(const std::string& message, const std::string& yesCaption,
                      PurgeOptions& options) override {
        swap();
        return ScriptedInterface::ConfirmPurge(message, yesCaption, options);
    }
};

class WalkSafetyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        target = tree.File("target");
        MakeFolder(target + "/sub/emptydir");
        tree.WriteTree({"target/a.txt=alpha", "target/sub/b.txt=beta"});
        outside.Write("victim.txt", "outside bytes");
        ::chmod(outside.File("victim.txt").c_str(), 0444);
        MakeFolder(outside.File("emptydir"));
    }
    OperationChoices Choices(const std::string& spec = "*.*") const {
        OperationChoices choices = ChoicesFor(target, spec);
        choices.subdirectories = true;
        choices.numberOfPasses = 1;
        return choices;
    }
    OperationResult Purge(const OperationChoices& choices, OperationInterface& with) {
        platform::ScopedPlatform scoped(stand);
        return RunPurge(choices, with, control);
    }
    void ExpectOutsideUntouched() {
        EXPECT_EQ(TempFolder::Read(outside.File("victim.txt")), "outside bytes");
        EXPECT_EQ(fs::status(outside.File("victim.txt")).permissions(), fs::perms{0444});
        EXPECT_TRUE(fs::is_directory(outside.File("emptydir")));
    }

    TempFolder tree, outside;
    std::string target;
    WalkStandIn stand;
    ScriptedInterface ui;
    OperationControl control;
};

TEST_F(WalkSafetyTest, TargetSwappedForALinkAfterTheYesIsNotFollowed) {
    SwapOnConfirm swapping;
    swapping.swap = [&] {
        fs::rename(target, tree.File("held"));
        fs::create_directory_symlink(outside.Path(), target);
    };
    const OperationResult result = Purge(Choices(), swapping);
    ASSERT_TRUE(result.ran);
    ExpectOutsideUntouched();
    EXPECT_FALSE(fs::exists(tree.File("held/a.txt")));  // the folder that was confirmed
}

TEST_F(WalkSafetyTest, SubfolderSwappedForALinkDuringTheWalkLeadsNowhere) {
    // Once the walk has read the target and purges its first file.
    ui.onReport = [&](const std::string& report) {
        if (Contains(report, "a.txt") && !fs::is_symlink(target + "/sub")) {
            fs::rename(target + "/sub", tree.File("sub-moved"));
            fs::create_directory_symlink(outside.Path(), target + "/sub");
        }
    };
    const OperationResult result = Purge(Choices(), ui);
    ExpectOutsideUntouched();
    EXPECT_TRUE(fs::is_symlink(target + "/sub"));
    EXPECT_TRUE(Contains(result.report, "Folder " + target + "/sub/ cannot be read: "))
        << result.report;
    EXPECT_EQ(result.state.foldersNotPurged, 1);
}

TEST_F(WalkSafetyTest, UnreadableFolderIsReportedAndCountedAsNotPurged) {
    stand.deniedFolder = platform::Sys().StatNoFollow(target + "/sub").inode;
    const OperationResult result = Purge(Choices(), ui);
    EXPECT_TRUE(
        Contains(result.report, "Folder " + target + "/sub/ cannot be read: permission denied.\n"))
        << result.report;
    EXPECT_EQ(result.state.foldersNotPurged, 1);
    EXPECT_FALSE(fs::exists(target + "/a.txt"));
    EXPECT_EQ(TempFolder::Read(target + "/sub/b.txt"), "beta");
}

TEST_F(WalkSafetyTest, TheRootIsRefusedWhateverItsSpelling) {
    platform::ScopedPlatform scoped(stand);
    for (const std::string root : {"/", "//", "/tmp/..", "/./"}) {
        OperationChoices choices = Choices("*.vorlane-test-never-matches");
        choices.targetFolder = root;
        ui.asked.clear();
        EXPECT_FALSE(RunPurge(choices, ui, control).ran) << root;
        ASSERT_EQ(ui.asked.size(), 1u) << root;
        EXPECT_EQ(ui.asked[0].text, "The folder / holds the whole system: it is not purged.");
    }
    SubfolderPurgeState state;
    state.topFolder = "/";
    state.selectedSubfolders = {"/vorlane-test-never-there"};
    ui.asked.clear();
    VorlPurgeRecursive2(state, "/", "Purge selected subfolders", control, ui);
    EXPECT_TRUE(control.InterruptRequested());
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text,
              "The folder / holds the whole system: its subfolders are not purged.");
}

TEST_F(WalkSafetyTest, ANameWithoutWildcardsNamesOneFileExactly) {
    for (const char* name : {"Report.txt", "report.txt", "REPORT.TXT"}) {
        tree.Write(std::string("target/") + name, name);
    }
    OperationChoices choices = Choices("Report.txt");
    choices.subdirectories = false;
    Purge(choices, ui);
    EXPECT_FALSE(fs::exists(target + "/Report.txt"));
    EXPECT_EQ(TempFolder::Read(target + "/report.txt"), "report.txt");
    EXPECT_EQ(TempFolder::Read(target + "/REPORT.TXT"), "REPORT.TXT");
    OperationChoices wild = Choices("R*.TXT");
    wild.subdirectories = false;
    Purge(wild, ui);  // wildcards stay without regard to case
    EXPECT_FALSE(fs::exists(target + "/report.txt"));
    EXPECT_FALSE(fs::exists(target + "/REPORT.TXT"));
}

TEST_F(WalkSafetyTest, AHardLinkedFileIsReportedAndItsOtherNameKept) {
    fs::create_hard_link(target + "/a.txt", outside.File("a-too.txt"));
    const OperationResult result = Purge(Choices(), ui);
    EXPECT_TRUE(Contains(result.report,
                         "a.txt (5 bytes): file has other names (hard links), "
                         "not purged."))
        << result.report;
    EXPECT_EQ(TempFolder::Read(outside.File("a-too.txt")), "alpha");
    EXPECT_FALSE(fs::exists(target + "/sub/b.txt"));
}

// Another volume mounted inside the target is left whole, unless crossing is allowed;
// needs root to mount a tmpfs.
class OtherVolumeTest : public WalkSafetyTest {
  protected:
    void SetUp() override {
        WalkSafetyTest::SetUp();
        mountPoint = target + "/mnt";
        MakeFolder(mountPoint);
        if (::mount("vorlane-test", mountPoint.c_str(), "tmpfs", 0, "size=1m") != 0) {
            GTEST_SKIP() << "cannot mount a tmpfs here";
        }
        mounted = true;
        tree.Write("target/mnt/there.txt", "on another volume");
    }
    void TearDown() override {
        if (mounted) {
            ::umount2(mountPoint.c_str(), MNT_DETACH);
        }
    }
    std::string mountPoint;
    bool mounted = false;
};

TEST_F(OtherVolumeTest, IsReportedAndLeftUnlessCrossingIsAllowed) {
    const OperationResult kept = Purge(Choices(), ui);
    EXPECT_TRUE(
        Contains(kept.report, "Folder " + mountPoint + "/ is on another volume, not purged.\n"))
        << kept.report;
    EXPECT_EQ(kept.state.foldersNotPurged, 1);
    EXPECT_EQ(TempFolder::Read(mountPoint + "/there.txt"), "on another volume");

    OperationChoices crossing = Choices();
    crossing.safety.crossVolumes = true;
    crossing.options.deleteEmptyFolders = false;
    Purge(crossing, ui);
    EXPECT_FALSE(fs::exists(mountPoint + "/there.txt"));
}

}  // namespace
}  // namespace vorlane::testing

// Every rule is checked on what the kernel opened, never on a path's text: bind mounts,
// files mounted over names, /proc links, "..", a folder swapped for a link to a system
// folder, overlays and pseudo file systems. The mount cases need root and skip without.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>

#include "common/CliRun.h"
#include "engine/FilePurge.h"
#include "operation/PurgeCommands.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"
#include "platform/FolderWalk.h"
#include "platform/Platform.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

PurgeRequest KeepRequest() {
    PurgeRequest request;
    request.purgeType = 0;
    request.deleteFile = false;
    return request;
}

// System folders of the test's own, and a hook that runs once before the first open of a
// folder by path: the moment a race would swap a name.
class IdentityStandIn : public platform::Platform {
  public:
    std::vector<std::string> systemFolders;
    mutable std::function<void()> beforeFirstOpen;

    std::vector<std::string> SystemFolders() const override { return systemFolders; }
    std::error_code OpenFolderPath(const std::string& path, platform::UniqueFd& out,
                                   platform::FileStatus& status) const override {
        RunHook();
        return Platform::OpenFolderPath(path, out, status);
    }
    std::error_code OpenFolder(int at, const std::string& name, platform::UniqueFd& out,
                               platform::FileStatus& status) const override {
        if (at == AT_FDCWD) {
            RunHook();
        }
        return Platform::OpenFolder(at, name, out, status);
    }

  private:
    void RunHook() const {
        if (beforeFirstOpen) {
            std::exchange(beforeFirstOpen, nullptr)();
        }
    }
};

class IdentityTest : public ::testing::Test {
  protected:
    void SetUp() override {
        target = tree.File("target");
        tree.WriteTree(
            {"target/a.txt=alpha", "outside/secret.txt=outside bytes", "system/passwd=root:x:0:0"});
        stand.systemFolders = {tree.File("system")};
    }
    void TearDown() override {
        for (auto it = mounts.rbegin(); it != mounts.rend(); ++it) {
            ::umount2(it->c_str(), MNT_DETACH);
        }
    }
    bool Mount(const std::string& source, const std::string& where, const char* type,
               unsigned long flags, const char* data = nullptr) {
        if (::mount(source.c_str(), where.c_str(), type, flags, data) != 0) {
            return false;
        }
        mounts.push_back(where);
        return true;
    }
    OperationResult Purge(bool crossVolumes = false, bool system = false) {
        OperationChoices choices = ChoicesFor(target, "*.*");
        choices.subdirectories = true;
        choices.numberOfPasses = 1;
        choices.safety.crossVolumes = crossVolumes;
        choices.options.okToPurgeSystemFiles = system;
        platform::ScopedPlatform scoped(stand);
        return RunPurge(choices, ui, control);
    }
    FileOutcome PurgeOne(const std::string& path) {
        platform::ScopedPlatform scoped(stand);
        FilePurger purger;
        return PurgeFileAtPath(purger, path, KeepRequest()).outcome;
    }
    std::string Outside() const { return TempFolder::Read(tree.File("outside/secret.txt")); }

    TempFolder tree;
    std::string target;
    std::vector<std::string> mounts;
    IdentityStandIn stand;
    ScriptedInterface ui;
    OperationControl control;
};

TEST_F(IdentityTest, ABindMountOfTheSameFileSystemIsAnotherVolume) {
    fs::create_directory(target + "/bound");
    if (!Mount(tree.File("outside"), target + "/bound", nullptr, MS_BIND)) {
        GTEST_SKIP() << "cannot bind-mount here";
    }
    const OperationResult result = Purge();
    EXPECT_TRUE(Contains(result.report, "bound/ is on another volume, not purged."))
        << result.report;
    EXPECT_EQ(Outside(), "outside bytes");
    EXPECT_FALSE(fs::exists(target + "/a.txt"));

    // Only a folder is left whole, every file reached is purged: the command line still
    // says not everything was.
    tree.Write("target/a.txt", "alpha");
    const CliRun run = RunCli("purge --folder '" + target + "' --subfolders --yes --passes 1");
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_EQ(Outside(), "outside bytes");
}

TEST_F(IdentityTest, ABoundSystemFolderIsRefusedLikeTheFolderItself) {
    fs::create_directory(target + "/etc");
    if (!Mount(tree.File("system"), target + "/etc", nullptr, MS_BIND)) {
        GTEST_SKIP() << "cannot bind-mount here";
    }
    const OperationResult result = Purge(/*crossVolumes=*/true);
    EXPECT_TRUE(Contains(result.report, "passwd (10 bytes): file is a system file, not purged."))
        << result.report;
    EXPECT_EQ(TempFolder::Read(tree.File("system/passwd")), "root:x:0:0");
}

TEST_F(IdentityTest, AFileMountedOverANameIsNeverWritten) {
    tree.Write("target/hosts", "placeholder");
    if (!Mount(tree.File("outside/secret.txt"), target + "/hosts", nullptr, MS_BIND)) {
        GTEST_SKIP() << "cannot bind-mount here";
    }
    for (const bool crossing : {false, true}) {
        const OperationResult result = Purge(crossing);
        EXPECT_TRUE(Contains(result.report, "hosts (13 bytes): file is a mount point, not purged."))
            << result.report;
        EXPECT_EQ(Outside(), "outside bytes");
    }
}

TEST_F(IdentityTest, ProcMagicLinksAreNotFollowedNorProcFilesWritten) {
    const std::string viaProc = "/proc/self/root" + target;
    platform::WalkFolder opened;
    EXPECT_EQ(platform::OpenTargetFolder(viaProc, opened),
              std::errc::too_many_symbolic_link_levels);
    EXPECT_EQ(PurgeOne(viaProc + "/a.txt"), FileOutcome::SymbolicLink);
    EXPECT_EQ(TempFolder::Read(target + "/a.txt"), "alpha");

    const std::string before = TempFolder::Read("/proc/self/comm");
    EXPECT_EQ(PurgeOne("/proc/self/comm"), FileOutcome::PseudoFileSystem);
    EXPECT_EQ(TempFolder::Read("/proc/self/comm"), before);
}

TEST_F(IdentityTest, DotDotAfterALinkIsTheLinksParentAsTheKernelMeansIt) {
    tree.WriteTree({"deep/inner/", "deep/FILE=beside the link's target", "FILE=beside the link"});
    fs::create_directory_symlink(tree.File("deep/inner"), tree.File("link"));
    EXPECT_EQ(PurgeOne(tree.File("link/../FILE")), FileOutcome::Ok);
    EXPECT_EQ(TempFolder::Read(tree.File("FILE")), "beside the link");
    EXPECT_NE(TempFolder::Read(tree.File("deep/FILE")), "beside the link's target");
}

TEST_F(IdentityTest, AFolderSwappedForALinkToASystemFolderIsCaughtOnWhatWasOpened) {
    tree.WriteTree({"docs/passwd=ordinary"});
    stand.beforeFirstOpen = [&] {
        fs::rename(tree.File("docs"), tree.File("docs-real"));
        fs::create_directory_symlink(tree.File("system"), tree.File("docs"));
    };
    platform::ScopedPlatform scoped(stand);
    FilePurger purger;
    PurgeRequest request = KeepRequest();
    request.deleteFile = true;
    EXPECT_EQ(PurgeFileAtPath(purger, tree.File("docs/passwd"), request).outcome,
              FileOutcome::SystemNotPermitted);
    EXPECT_EQ(TempFolder::Read(tree.File("system/passwd")), "root:x:0:0");
}

TEST_F(IdentityTest, AProcfsMountedDuringTheWalkIsNeverEnteredEvenWhenCrossing) {
    fs::create_directory(target + "/proc");
    bool mounted = false;
    // Once the walk has read the target and purges its first file: no table read at the
    // start knows this mount.
    ui.onReport = [&](const std::string& report) {
        if (!mounted && Contains(report, "a.txt")) {
            mounted = Mount("proc", target + "/proc", "proc", 0);
        }
    };
    const OperationResult result = Purge(/*crossVolumes=*/true);
    if (!mounted) {
        GTEST_SKIP() << "cannot mount a procfs here";
    }
    EXPECT_TRUE(Contains(result.report, "proc/ is on another volume, not purged."))
        << result.report;
}

// Lower-layer data stays below whatever the overlay writes; only a file made in the
// upper layer can be purged through it.
TEST_F(IdentityTest, OverlayFilesWithDataBelowAreNotPurged) {
    tree.WriteTree({"lower/low.txt=lower data", "lower/copied.txt=lower copy", "upper/", "work/"});
    fs::create_directory(target + "/merged");
    const std::string options = "lowerdir=" + tree.File("lower") +
                                ",upperdir=" + tree.File("upper") + ",workdir=" + tree.File("work");
    if (!Mount("overlay", target + "/merged", "overlay", 0, options.c_str())) {
        GTEST_SKIP() << "cannot mount an overlay here";
    }
    { std::ofstream(target + "/merged/copied.txt", std::ios::app) << " changed"; }
    tree.Write("target/merged/upper.txt", "upper only");
    const OperationResult result = Purge(/*crossVolumes=*/true);
    const std::string below = "its data lies in a lower layer of an overlay file system";
    EXPECT_TRUE(Contains(result.report, "low.txt (10 bytes): " + below)) << result.report;
    EXPECT_TRUE(Contains(result.report, "copied.txt (18 bytes): " + below)) << result.report;
    EXPECT_EQ(TempFolder::Read(tree.File("lower/low.txt")), "lower data");
    EXPECT_FALSE(fs::exists(target + "/merged/upper.txt"));
    EXPECT_FALSE(fs::exists(tree.File("upper/upper.txt")));
}

// A link named as the target is not followed, as rm -r LINK removes only the link.
TEST_F(IdentityTest, ALinkNamedOnTheCommandLineIsRefusedWithStatus2) {
    fs::create_directory_symlink(tree.File("outside"), tree.File("folder-link"));
    fs::create_symlink(tree.File("outside/secret.txt"), tree.File("file-link"));
    const CliRun folder = RunCli("purge --folder '" + tree.File("folder-link") + "' --yes");
    EXPECT_EQ(folder.status, 2) << folder.err;
    const CliRun file = RunCli("purge '" + tree.File("file-link") + "'");
    EXPECT_EQ(file.status, 2) << file.out;
    EXPECT_EQ(Outside(), "outside bytes");
}

// A folder reached through a link is shown as the folder it is.
TEST_F(IdentityTest, TheConfirmationNamesTheRealFolder) {
    fs::create_directory_symlink(tree.Path(), tree.File("via"));
    OperationChoices choices = ChoicesFor(tree.File("via") + "/target", "*.*");
    ui.confirmPurge = false;
    RunPurge(choices, ui, control);
    EXPECT_TRUE(Contains(ui.confirmation, target)) << ui.confirmation;
    EXPECT_FALSE(Contains(ui.confirmation, "via")) << ui.confirmation;
}

// An entry the folder lists but nobody may look at, as a FUSE mount of another user.
class UnlookableEntry : public platform::Platform {
  public:
    std::error_code ReadFolder(int folder, std::vector<platform::FolderEntry>& out) const override {
        const std::error_code error = Platform::ReadFolder(folder, out);
        platform::FolderEntry fuse;
        fuse.name = "fuse-mount";
        fuse.statError = platform::SystemError(EACCES);
        if (out.empty() || out.front().name != "fuse-mount") {
            out.insert(out.begin(), fuse);
        }
        return error;
    }
};

TEST(UnlookableEntryTest, IsReportedAndCountedAsNotPurged) {
    TempFolder tree;
    tree.WriteTree({"a.txt=alpha"});
    OperationChoices choices = ChoicesFor(tree.Path(), "*.*");
    choices.subdirectories = true;
    UnlookableEntry stand;
    ScriptedInterface ui;
    OperationControl control;
    platform::ScopedPlatform scoped(stand);
    const OperationResult result = RunPurge(choices, ui, control);
    EXPECT_TRUE(Contains(result.report, "fuse-mount/ cannot be read: permission denied."))
        << result.report;
    EXPECT_EQ(result.state.foldersNotPurged, 1);
}

}  // namespace
}  // namespace vorlane::testing

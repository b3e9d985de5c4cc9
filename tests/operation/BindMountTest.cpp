// A bind mount of the same file system is another mount all the same: a folder or a file
// mounted inside the target is left as it is, and the command line says not everything
// was purged. Needs root to mount; skips without.

#include <gtest/gtest.h>

#include <sys/mount.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/CliRun.h"
#include "operation/PurgeCommands.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

class BindMountTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.WriteTree({"target/own.txt=target's own", "target/folder", "target/file.txt=",
                        "elsewhere/there.txt=bound folder's file", "elsewhere.txt=bound file"});
        if (!Bind(tree.File("elsewhere"), tree.File("target/folder"))) {
            GTEST_SKIP() << "cannot bind-mount here";
        }
    }
    void TearDown() override {
        for (auto mount = mounts_.rbegin(); mount != mounts_.rend(); ++mount) {
            ::umount2(mount->c_str(), MNT_DETACH);
        }
    }
    bool Bind(const std::string& from, const std::string& to) {
        if (::mount(from.c_str(), to.c_str(), nullptr, MS_BIND, nullptr) != 0) {
            return false;
        }
        mounts_.push_back(to);
        return true;
    }
    void ExpectBoundUntouched() const {
        EXPECT_EQ(TempFolder::Read(tree.File("elsewhere/there.txt")), "bound folder's file");
        EXPECT_EQ(TempFolder::Read(tree.File("elsewhere.txt")), "bound file");
    }

    TempFolder tree;

  private:
    std::vector<std::string> mounts_;
};

TEST_F(BindMountTest, ABoundFolderAndABoundFileAreLeftAlone) {
    ASSERT_TRUE(Bind(tree.File("elsewhere.txt"), tree.File("target/file.txt")));
    OperationChoices choices = ChoicesFor(tree.File("target"), "*.*");
    choices.subdirectories = true;
    ScriptedInterface ui;
    OperationControl control;
    const OperationResult result = RunPurge(choices, ui, control);
    EXPECT_NE(result.report.find("is on another volume, not purged."), std::string::npos)
        << result.report;
    EXPECT_EQ(result.state.foldersNotPurged, 1);
    EXPECT_FALSE(fs::exists(tree.File("target/own.txt")));
    ExpectBoundUntouched();
}

// Only a folder is left: every file the walk reached is purged.
TEST_F(BindMountTest, AFolderLeftUnpurgedMakesTheExitStatusOne) {
    const CliRun run =
        RunCli("purge --folder '" + tree.File("target") + "' --subfolders --yes --passes 1");
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    ExpectBoundUntouched();
}

}  // namespace
}  // namespace vorlane::testing

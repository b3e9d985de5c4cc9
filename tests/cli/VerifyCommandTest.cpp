// --verify through every way vorlane-cli purges: one file, a folder, an operation file.
// A RAM disk has no device to read back from, so there the option must refuse each file
// before its first byte is written, and say so in the status.

#include <gtest/gtest.h>
#include <linux/magic.h>
#include <sys/vfs.h>

#include <cstdlib>
#include <memory>
#include <optional>

#include "common/CliRun.h"

namespace vorlane::testing {
namespace {

constexpr const char* kRamDisk = "/dev/shm";

bool IsRamDisk(const char* path) {
    struct statfs volume {};
    return ::statfs(path, &volume) == 0 && volume.f_type == TMPFS_MAGIC;
}

// The test's own folder, made on the RAM disk.
std::unique_ptr<TempFolder> RamDiskFolder() {
    const char* previous = std::getenv("TMPDIR");
    const std::optional<std::string> kept =
        previous != nullptr ? std::optional<std::string>(previous) : std::nullopt;
    ::setenv("TMPDIR", kRamDisk, 1);
    auto folder = std::make_unique<TempFolder>();
    if (kept) {
        ::setenv("TMPDIR", kept->c_str(), 1);
    } else {
        ::unsetenv("TMPDIR");
    }
    return folder;
}

TEST(VerifyCommandTest, AFileOnARamDiskIsRefusedUntouchedByEveryKindOfPurge) {
    if (std::getenv("VORLANE_CLI") == nullptr || !IsRamDisk(kRamDisk)) {
        GTEST_SKIP() << "needs VORLANE_CLI and a tmpfs at " << kRamDisk;
    }
    const auto folder = RamDiskFolder();
    const std::string file = folder->Write("a.txt", "alpha");
    const std::string quoted = "'" + folder->Path() + "'";

    const CliRun one = RunCli("purge --verify --passes=1 '" + file + "'");
    EXPECT_EQ(one.status, 1);
    EXPECT_EQ(one.out, file +
                           ": not purged: cannot be verified: its file system keeps files in "
                           "memory only\n");

    const CliRun tree = RunCli("purge --verify --passes=1 --file-names --yes --folder " + quoted);
    EXPECT_EQ(tree.status, 1) << tree.err;
    EXPECT_NE(tree.out.find("a.txt (5 bytes): cannot be verified, its file system keeps files in "
                            "memory only, not purged.\n"),
              std::string::npos)
        << tree.out;

    // No line of an operation file holds the option: it may stand beside one.
    const std::string setup = folder->File("all.vns");
    ASSERT_EQ(
        RunCli("save-setup '" + setup + "' --passes=1 --spec '*.txt' --folder " + quoted).status,
        0);
    const CliRun fromSetup = RunCli("purge --setup '" + setup + "' --verify --yes");
    EXPECT_EQ(fromSetup.status, 1) << fromSetup.err;
    EXPECT_NE(fromSetup.out.find("cannot be verified"), std::string::npos) << fromSetup.out;

    EXPECT_EQ(TempFolder::Read(file), "alpha");
}

}  // namespace
}  // namespace vorlane::testing

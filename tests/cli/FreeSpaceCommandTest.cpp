#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "cli/CliTest.h"

namespace vorlane::testing {
namespace {

using FreeSpaceCommandTest = CliTest;

// What the command refuses before it writes a byte.
TEST_F(FreeSpaceCommandTest, RefusesBadChoices) {
    const struct {
        const char* arguments;
        const char* problem;
    } cases[] = {
        {"--passes 10", "--passes"},
        {"--type 3 --passes 5", "--passes"},
        {"--type 4", "--type"},
        {"extra", "unexpected operand 'extra'"},
    };
    for (const auto& refused : cases) {
        const CliRun run = RunCli(std::string("purge-free-space --drive '") + folder.Path() +
                                  "' --yes " + refused.arguments);
        EXPECT_EQ(run.status, 2) << refused.arguments;
        EXPECT_NE(run.err.find(refused.problem), std::string::npos) << run.err;
    }
    // Without a terminal and without --yes nobody says Yes.
    const CliRun unasked = RunCli("purge-free-space --drive '" + folder.Path() + "'");
    EXPECT_EQ(unasked.status, 2);
    EXPECT_NE(unasked.err.find("give --yes"), std::string::npos) << unasked.err;
}

// A real tmpfs of one megabyte: its free space is memory, and the kernel's word on the
// opened folder says so. Root only, for the mount.
TEST_F(FreeSpaceCommandTest, RefusesATmpfsByWhatTheKernelSays) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root";
    }
    const std::string memory = folder.File("memory");
    std::filesystem::create_directory(memory);
    if (::mount("none", memory.c_str(), "tmpfs", 0, "size=1m") != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    const CliRun run = RunCli("purge-free-space --drive '" + memory + "' --yes");
    ::umount2(memory.c_str(), MNT_DETACH);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("held in memory (tmpfs or ramfs)"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace vorlane::testing

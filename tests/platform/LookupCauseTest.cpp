#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "common/TempFolder.h"
#include "platform/PathNames.h"
#include "platform/Platform.h"
#include "platform/Terminal.h"

namespace vorlane::testing {
namespace {

using platform::FileKind;
using platform::NothingThere;
using platform::Sys;

// A look that fails keeps why: only a name that is not there reads as missing.
TEST(LookupCause, AFailedLookSaysWhyAndOnlyAbsenceIsMissing) {
    TempFolder temp;
    temp.Write("file", "x");
    std::filesystem::create_symlink("loop2", temp.File("loop1"));
    std::filesystem::create_symlink("loop1", temp.File("loop2"));
    const struct {
        std::string path;
        std::errc cause;
        bool nothingThere;
    } cases[] = {
        {temp.File("gone"), std::errc::no_such_file_or_directory, true},
        {temp.File("file/below"), std::errc::not_a_directory, true},
        {temp.File(std::string(300, 'n')), std::errc::filename_too_long, false},
        {temp.File("loop1/below"), std::errc::too_many_symbolic_link_levels, false},
        {"", std::errc::no_such_file_or_directory, true},
    };
    for (const auto& c : cases) {
        const platform::FileStatus status = Sys().StatNoFollow(c.path);
        EXPECT_EQ(status.kind, FileKind::Missing) << c.path;
        EXPECT_EQ(status.error, c.cause) << c.path;
        EXPECT_EQ(NothingThere(status), c.nothingThere) << c.path;
    }
    // A link as the last name is there, followed or not: the loop only shows when followed.
    EXPECT_EQ(Sys().StatNoFollow(temp.File("loop1")).kind, FileKind::Symlink);
    EXPECT_EQ(Sys().StatFollowing(temp.File("loop1")).error,
              std::errc::too_many_symbolic_link_levels);
    EXPECT_FALSE(Sys().StatNoFollow(temp.File("file")).error);
}

TEST(LookupCause, AFolderClosedToTheCallerIsDeniedNotMissing) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads every folder";
    }
    TempFolder temp;
    temp.Write("closed/inside", "x");
    std::filesystem::permissions(temp.File("closed"), std::filesystem::perms::none);
    const platform::FileStatus status = Sys().StatNoFollow(temp.File("closed/inside"));
    std::filesystem::permissions(temp.File("closed"), std::filesystem::perms::owner_all);
    EXPECT_EQ(status.error, std::errc::permission_denied);
    EXPECT_FALSE(NothingThere(status));
}

// The terminal and the working folder are asked through the environment in force.
class FixedEnvironment : public platform::Platform {
  public:
    std::string WorkingFolder() const override { return "/work/here"; }
    bool IsTerminal(int fd) const override { return fd == platform::kStandardError; }
    int TerminalColumns(int) const override { return 132; }
};

TEST(LookupCause, TerminalAndWorkingFolderComeFromTheEnvironmentInForce) {
    const FixedEnvironment fixed;
    platform::ScopedStandIn<platform::Environment> environment(fixed);
    EXPECT_TRUE(platform::IsTerminal(platform::kStandardError));
    EXPECT_FALSE(platform::IsTerminal(platform::kStandardOutput));
    EXPECT_EQ(platform::TerminalColumns(platform::kStandardError), 132);
    EXPECT_EQ(platform::AbsolutePath("a/../b/./c/"), "/work/here/b/c");
    EXPECT_EQ(platform::AbsolutePath("/x/../y"), "/y");
    EXPECT_EQ(platform::AbsolutePath(""), "");
}

}  // namespace
}  // namespace vorlane::testing

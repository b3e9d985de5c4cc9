#include "support/PathChecks.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <map>

#include "platform/Platform.h"

namespace vorlane::testing {
namespace {

using platform::Access;
using platform::FileKind;
using platform::FileStatus;
using platform::SystemError;

// Paths with a kind, or a failed look, and the rights the caller has on them.
class PathsStandIn : public platform::Platform {
  public:
    FileStatus StatFollowing(const std::string& path) const override { return Look(path); }
    FileStatus StatNoFollow(const std::string& path) const override { return Look(path); }
    std::error_code CheckAccess(const std::string& path, Access wanted) const override {
        const auto denied = refused.find({path, wanted});
        return denied == refused.end() ? std::error_code() : SystemError(denied->second);
    }

    std::map<std::string, FileKind> kinds;
    std::map<std::string, int> failedLooks;
    std::map<std::pair<std::string, Access>, int> refused;

  private:
    FileStatus Look(const std::string& path) const {
        FileStatus status;
        if (const auto kind = kinds.find(path); kind != kinds.end()) {
            status.kind = kind->second;
            return status;
        }
        const auto failed = failedLooks.find(path);
        status.error = SystemError(failed == failedLooks.end() ? ENOENT : failed->second);
        return status;
    }
};

class PathChecksTest : public ::testing::Test {
  protected:
    PathsStandIn paths;
    platform::ScopedStandIn<platform::FileSystem> inForce{paths};
};

TEST_F(PathChecksTest, AFolderIsCheckedForWhatTheLookAndTheRightsSay) {
    paths.kinds = {{"/box", FileKind::Directory}, {"/box/a.txt", FileKind::Regular}};
    paths.failedLooks = {{"/deep", ENAMETOOLONG}};
    paths.refused = {{{"/box", Access::ReadAndSearch}, EACCES}};
    EXPECT_EQ(FolderAccessError("/gone"), std::errc::no_such_file_or_directory);
    EXPECT_EQ(FolderAccessError("/deep"), std::errc::filename_too_long);
    EXPECT_EQ(FolderAccessError("/box/a.txt"), std::errc::not_a_directory);
    EXPECT_EQ(FolderAccessError("/box"), std::errc::permission_denied);
    paths.refused.clear();
    EXPECT_FALSE(FolderAccessError("/box"));
}

TEST_F(PathChecksTest, AReadIsRefusedByRightsBeforeAFolderIsNamed) {
    paths.kinds = {{"/box", FileKind::Directory}, {"/box/a.vns", FileKind::Regular}};
    paths.refused = {{{"/box", Access::Read}, EACCES}};
    // As an open for reading answers: a folder that cannot be read is denied first.
    EXPECT_EQ(ReadAccessError("/box"), std::errc::permission_denied);
    paths.refused.clear();
    EXPECT_EQ(ReadAccessError("/box"), std::errc::is_a_directory);
    EXPECT_FALSE(ReadAccessError("/box/a.vns"));
    EXPECT_EQ(ReadAccessError("/box/b.vns"), std::errc::no_such_file_or_directory);
}

TEST_F(PathChecksTest, ANewFileNeedsAUsableWritableFolder) {
    paths.kinds = {{"/box", FileKind::Directory}, {"/box/old.vns", FileKind::Regular}};
    paths.failedLooks = {{"/closed/new.vns", EACCES}};
    EXPECT_FALSE(CreateAccessError("/box/new.vns"));
    EXPECT_EQ(CreateAccessError("/box"), std::errc::is_a_directory);
    EXPECT_EQ(CreateAccessError("/closed/new.vns"), std::errc::permission_denied);
    EXPECT_EQ(CreateAccessError("/nowhere/new.vns"), std::errc::no_such_file_or_directory);
    paths.refused = {{{"/box", Access::Write}, EROFS}, {{"/box/old.vns", Access::Write}, EACCES}};
    EXPECT_EQ(CreateAccessError("/box/new.vns"), std::errc::read_only_file_system);
    EXPECT_EQ(CreateAccessError("/box/old.vns"), std::errc::permission_denied);
}

TEST_F(PathChecksTest, ANameThatCannotBeLookedAtSaysWhy) {
    paths.failedLooks = {{"/loop/x", ELOOP}};
    EXPECT_EQ(NameLookupError("/loop/x"), std::errc::too_many_symbolic_link_levels);
    EXPECT_EQ(NameLookupError("/gone"), std::errc::no_such_file_or_directory);
}

}  // namespace
}  // namespace vorlane::testing

#include "support/Folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "common/TempFolder.h"
#include "platform/Platform.h"

namespace vorlane {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

// root: a.txt(10) b.dat(5) noext(3) sub1/c.txt(7) sub1/deep/d.txt(1) sub2/
class FolderTree : public ::testing::Test {
  protected:
    void SetUp() override {
        temp.WriteTree({"root/a.txt=aaaaaaaaaa", "root/b.dat=bbbbb", "root/noext=nnn",
                        "root/sub1/c.txt=ccccccc", "root/sub1/deep/d.txt=d", "root/sub2"});
        root = temp.File("root");
    }
    TempFolder temp;
    std::string root;
};

// Refuses to read one folder, as the system would for a non-root user without read
// permission, however the folder is reached.
class DeniedFolder : public platform::Platform {
  public:
    explicit DeniedFolder(const std::string& denied) : denied_(StatNoFollow(denied).inode) {}
    std::error_code ReadFolder(int folder, std::vector<platform::FolderEntry>& out) const override {
        out.clear();
        platform::FileStatus status;
        return !StatOpen(folder, status) && status.inode == denied_
                   ? platform::SystemError(EACCES)
                   : Platform::ReadFolder(folder, out);
    }

  private:
    ino_t denied_;
};

TEST_F(FolderTree, WalksTheWholeTreeAndStopsAtTheLimit) {
    const TreeCount all = FolderSize(root, "*.txt", std::nullopt, true);
    EXPECT_EQ(all.count, 3);
    EXPECT_EQ(all.bytes, 18.0);
    EXPECT_FALSE(all.error);
    EXPECT_FALSE(all.limitReached);

    const TreeCount limited = FolderSize(root, "*.*", 2, false);
    EXPECT_TRUE(limited.limitReached);
    EXPECT_EQ(limited.count, 2);

    EXPECT_TRUE(AnyMatchingFileInTree(root, "d.*"));
    EXPECT_FALSE(AnyMatchingFileInTree(root, "*.zip"));
}

TEST_F(FolderTree, UnreadableFolderGivesItsErrorAndEndsTheWalk) {
    DeniedFolder stand(root + "/sub1");
    platform::ScopedPlatform scoped(stand);
    const FolderContents subfolders = LookIntoFolder(root + "/sub1/", "*.*");
    EXPECT_EQ(platform::Platform::ErrorText(subfolders.error), "permission denied");
    EXPECT_EQ(subfolders.error, std::errc::permission_denied);

    const TreeCount tree = FolderSize(root, "*.*", std::nullopt, false);
    EXPECT_EQ(tree.error, std::errc::permission_denied);
    EXPECT_EQ(tree.count, 3);  // the top folder's files, nothing below the refusal
    std::string errorText;
    EXPECT_FALSE(DeleteFolderTree(root, errorText, true));
    EXPECT_EQ(errorText, "permission denied");
}

TEST_F(FolderTree, SymbolicLinkIsNeverWalkedIntoNorDeletedThrough) {
    fs::create_directories(temp.File("outside/inner"));
    const std::string kept = temp.Write("outside/keep.txt", "keep");
    fs::create_directory_symlink(temp.File("outside"), root + "/link");

    EXPECT_EQ(LookIntoFolder(root, "*.*").subfolders, 2);
    const FolderContents link = LookIntoFolder(root, "link", true);
    EXPECT_EQ(link.files, 1);
    EXPECT_EQ(link.bytes, 0.0);
    EXPECT_FALSE(AnyMatchingFileInTree(root, "keep.txt"));
    EXPECT_FALSE(FolderIsDirectory(root + "/link"));
    EXPECT_TRUE(EntryExists(root + "/link"));

    std::string errorText;
    EXPECT_TRUE(DeleteFolderTree(root + "/link/", errorText, false)) << errorText;
    EXPECT_TRUE(fs::exists(kept));
    fs::create_directory_symlink(temp.File("outside"), root + "/sub1/link");
    EXPECT_TRUE(DeleteFolderTree(root, errorText, false)) << errorText;
    EXPECT_FALSE(fs::exists(root));
    EXPECT_TRUE(fs::exists(kept));
    EXPECT_TRUE(fs::exists(temp.File("outside/inner")));
}

// Records any attempt to change the disk and lets none through.
class NoChanges : public platform::Platform {
  public:
    mutable int attempts = 0;
    std::error_code RemoveFile(const std::string&) const override { return Refuse(); }
    std::error_code RemoveEmptyFolder(const std::string&) const override { return Refuse(); }
    std::error_code SetMode(const std::string&, mode_t) const override { return Refuse(); }
    std::error_code OpenFolder(int, const std::string&, platform::UniqueFd&,
                               platform::FileStatus&) const override {
        return Refuse();
    }

  private:
    std::error_code Refuse() const {
        ++attempts;
        return platform::SystemError(EPERM);
    }
};

TEST(DeleteFolderTreeGuard, RefusesTheRootAndAnEmptyPathWithoutTouchingAnything) {
    NoChanges stand;
    platform::ScopedPlatform scoped(stand);
    std::string errorText;
    for (const std::string path : {"/", "//", ""}) {
        EXPECT_FALSE(DeleteFolderTree(path, errorText, true)) << path;
        EXPECT_FALSE(errorText.empty());
    }
    EXPECT_EQ(stand.attempts, 0);
}

}  // namespace
}  // namespace vorlane

#include "support/Folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "common/StandIns.h"
#include "common/TempFolder.h"
#include "platform/Platform.h"

namespace vorlane {
namespace {

using testing::DeniedFolder;

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

TEST_F(FolderTree, UnreadableFolderGivesItsError) {
    DeniedFolder stand(root + "/sub1");
    platform::ScopedPlatform scoped(stand);
    const FolderContents subfolders = LookIntoFolder(root + "/sub1/", "*.*");
    EXPECT_EQ(platform::Platform::ErrorText(subfolders.error), "permission denied");
    EXPECT_EQ(subfolders.error, std::errc::permission_denied);
}

TEST_F(FolderTree, SymbolicLinkIsAnEntryNeverAFolder) {
    fs::create_directories(temp.File("outside/inner"));
    temp.Write("outside/keep.txt", "keep");
    fs::create_directory_symlink(temp.File("outside"), root + "/link");

    EXPECT_EQ(LookIntoFolder(root, "*.*").subfolders, 2);
    const FolderContents link = LookIntoFolder(root, "link", true);
    EXPECT_EQ(link.files, 1);
    EXPECT_EQ(link.bytes, 0.0);
    EXPECT_FALSE(FolderIsDirectory(root + "/link"));
    EXPECT_TRUE(EntryExists(root + "/link"));
}

}  // namespace
}  // namespace vorlane

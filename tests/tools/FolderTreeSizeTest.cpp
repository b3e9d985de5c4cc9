#include "tools/FolderTreeSize.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "common/StandIns.h"
#include "common/TempFolder.h"
#include "platform/Platform.h"

namespace vorlane {
namespace {

using testing::DeniedFolder;

using testing::TempFolder;

// root: a.txt(10) b.dat(5) noext(3) sub1/c.txt(7) sub1/deep/d.txt(1) sub2/, and a link
// to a folder outside that holds keep.txt
class TreeSizeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        temp.WriteTree({"root/a.txt=aaaaaaaaaa", "root/b.dat=bbbbb", "root/noext=nnn",
                        "root/sub1/c.txt=ccccccc", "root/sub1/deep/d.txt=d", "root/sub2",
                        "outside/keep.txt=keep"});
        root = temp.File("root");
        std::filesystem::create_directory_symlink(temp.File("outside"), root + "/link");
    }
    TempFolder temp;
    std::string root;
};

TEST_F(TreeSizeTest, WalksTheWholeTreeButNoLinkAndStopsAtTheLimit) {
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
    EXPECT_FALSE(AnyMatchingFileInTree(root, "keep.txt"));
    EXPECT_EQ(FolderSize("", "*.*", std::nullopt, false).error,
              std::errc::no_such_file_or_directory);
}

TEST_F(TreeSizeTest, UnreadableFolderGivesItsErrorAndEndsTheWalk) {
    DeniedFolder stand(root + "/sub1");
    platform::ScopedPlatform scoped(stand);
    const TreeCount tree = FolderSize(root, "*.*", std::nullopt, false);
    EXPECT_EQ(tree.error, std::errc::permission_denied);
    EXPECT_EQ(tree.count, 4);  // the top folder's files and the link, nothing below the refusal
}

}  // namespace
}  // namespace vorlane

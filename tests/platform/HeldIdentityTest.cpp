// Calls that act on something held since it was looked at: each acts only while the name
// or the descriptor still leads to the very folder or file that was looked at.

#include <fcntl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "platform/FolderWalk.h"
#include "platform/Platform.h"

namespace vorlane::platform {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

TEST(HeldIdentity, AnEmptyFolderPutInTheOldOnesPlaceIsNotRemoved) {
    TempFolder tree;
    fs::create_directory(tree.File("empty"));
    UniqueFd held;
    FileStatus heldStatus, looked;
    ASSERT_FALSE(Sys().OpenFolder(AT_FDCWD, tree.Path(), held, heldStatus));
    ASSERT_FALSE(Sys().StatAt(held.Get(), "empty", looked));
    fs::rename(tree.File("empty"), tree.File("moved"));
    fs::create_directory(tree.File("empty"));  // another folder, the same name

    EXPECT_EQ(Sys().RemoveFolderAt(held.Get(), "empty", looked), SystemError(ESTALE));
    EXPECT_TRUE(fs::exists(tree.File("empty")));
    fs::remove(tree.File("empty"));
    fs::rename(tree.File("moved"), tree.File("empty"));
    EXPECT_FALSE(Sys().RemoveFolderAt(held.Get(), "empty", looked));
    EXPECT_FALSE(fs::exists(tree.File("empty")));
}

// The descriptor opened for writing must hold the pinned inode; a file system that hands
// out another one (as a stale /proc entry could) is caught by the look at the result.
struct AnotherInodeOnWrite : Platform {
    std::error_code StatOpen(int fd, FileStatus& out) const override {
        const std::error_code error = Platform::StatOpen(fd, out);
        if ((::fcntl(fd, F_GETFL) & O_ACCMODE) == O_WRONLY) {
            ++out.inode;
        }
        return error;
    }
};

TEST(HeldIdentity, AnOpenForWritingThatYieldsAnotherInodeIsRefused) {
    TempFolder tree;
    tree.Write("file", "data");
    UniqueFd folder, handle, writable;
    FileStatus folderStatus, fileStatus;
    ASSERT_FALSE(Sys().OpenFolder(AT_FDCWD, tree.Path(), folder, folderStatus));
    ASSERT_FALSE(Sys().OpenEntry(folder.Get(), "file", handle, fileStatus));
    AnotherInodeOnWrite stand;
    ScopedPlatform scope(stand);
    EXPECT_EQ(Sys().ReopenForWriting(handle.Get(), writable), OpenResult::Moved);
    EXPECT_FALSE(writable.Valid());
}

// Records the files seen; moves folder `a` out of the tree while the walk is inside it.
class MovingVisitor : public WalkVisitor {
  public:
    explicit MovingVisitor(const TempFolder& tree) : tree_(tree) {}
    bool Folder(const WalkFolder& folder, const std::vector<FolderEntry>& entries) override {
        for (const FolderEntry& entry : entries) {
            if (entry.status.kind == FileKind::Regular) {
                seen.push_back(entry.name);
            }
        }
        if (folder.path.ends_with("/a/") && !moved) {
            moved = true;
            fs::rename(folder.path.substr(0, folder.path.size() - 1), tree_.File("outside/a"));
        }
        return true;
    }
    bool Refused(const std::string&, FolderRefusal, std::error_code error) override {
        refusals.push_back(error);
        return true;
    }
    std::vector<std::string> seen;
    std::vector<std::error_code> refusals;
    bool moved = false;

  private:
    const TempFolder& tree_;
};

// Past the held depth a folder is let go while its subfolder is walked and taken back
// through "..": a subfolder moved meanwhile leads elsewhere, and the walk must not go on
// in the folder it now lies in.
TEST(HeldIdentity, ADeepFolderMovedDuringTheWalkEndsItThere) {
    TempFolder tree;
    std::string deep = "target";
    for (int level = 0; level < 70; ++level) {
        deep += "/d";
    }
    tree.WriteTree({deep + "/a/inside.txt=x", deep + "/b/kept.txt=x", "outside/b/victim.txt=x"});

    MovingVisitor visitor(tree);
    EXPECT_FALSE(WalkTree(tree.File("target"), visitor, {}));
    EXPECT_TRUE(visitor.moved);
    EXPECT_EQ(std::count(visitor.seen.begin(), visitor.seen.end(), "victim.txt"), 0);
    ASSERT_FALSE(visitor.refusals.empty());
    EXPECT_EQ(visitor.refusals[0], SystemError(ESTALE));
}

}  // namespace
}  // namespace vorlane::platform

#include "engine/FileProc.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/TempFolder.h"

namespace vorlane {
namespace {

using platform::Platform;
using platform::ScopedPlatform;
namespace fs = std::filesystem;

struct SystemFolderStandIn : Platform {
    std::vector<std::string> folders;
    std::vector<std::string> SystemFolders() const override { return folders; }
};

TEST(FileProcTest, SystemFilesAreFoundThroughLinkedFoldersButNotBySharedPrefix) {
    testing::TempFolder folder;
    fs::create_directories(folder.File("os/bin"));
    fs::create_directories(folder.File("osx"));
    fs::create_directory_symlink(folder.File("os"), folder.File("alias"));
    SystemFolderStandIn stand;
    stand.folders = {folder.File("os")};
    ScopedPlatform scope(stand);
    EXPECT_TRUE(IsSystemFile(folder.File("os/bin/tool")));
    EXPECT_TRUE(IsSystemFile(folder.File("os")));
    EXPECT_TRUE(IsSystemFile(folder.File("alias/bin/tool")));
    EXPECT_TRUE(IsSystemFile(folder.File("osx/../os/tool")));
    EXPECT_FALSE(IsSystemFile(folder.File("osx/tool")));
    EXPECT_FALSE(IsSystemFile(folder.File("tool")));
}

}  // namespace
}  // namespace vorlane

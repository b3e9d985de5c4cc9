#include "engine/FileOperations.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/TempFolder.h"

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

struct FarFutureStandIn : Platform {
    std::tm LocalTime(std::time_t) const override {
        std::tm farFuture{};
        farFuture.tm_year = 40000 - 1900;
        farFuture.tm_mday = 1;
        return farFuture;
    }
};

TEST(FileProcTest, DateOutsideTheCalendarIsAnErrorNotAnEarlyDay) {
    testing::TempFolder folder;
    const std::string file = folder.Write("future", "x");
    FarFutureStandIn stand;
    ScopedPlatform scope(stand);
    EXPECT_EQ(FileDateJdn(file), std::nullopt);
    EXPECT_EQ(FileDateJdn(folder.File("missing")), std::nullopt);
}

}  // namespace
}  // namespace vorlane

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "common/TempFolder.h"
#include "engine/FreeSpaceFill.h"
#include "engine/FreeSpaceLeftovers.h"
#include "operation/FreeSpaceVolume.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

// The start after a kill -9 mid-fill: the fill's folder and files are still there.
class FreeSpaceLeftoversTest : public ::testing::Test {
  protected:
    FreeSpaceLeftoversTest() {
        volume.uid = ::geteuid();
        volume.tmp = folder.File("tmp");
        fs::create_directories(volume.tmp);
    }
    std::string Leftover(const std::string& where, const std::string& name) {
        const std::string path = where.empty() ? name : where + "/" + name;
        folder.WriteTree({path + "/f000001=fill", path + "/f000002="});
        return folder.File(path);
    }

    TempFolder folder;
    FreeSpaceVolume volume{folder.Path()};
    platform::ScopedPlatform inForce{volume};
};

TEST_F(FreeSpaceLeftoversTest, AKilledFillIsRemovedAtTheNextStart) {
    const std::string atRoot = Leftover("", ".vorlane-free-space-Ab3xYz");
    const std::string inTmp = Leftover("tmp", ".vorlane-free-space-000000");
    const std::vector<LeftoverFill> removed = RemoveLeftoverFills();
    ASSERT_EQ(removed.size(), 2u);
    EXPECT_FALSE(fs::exists(atRoot));
    EXPECT_FALSE(fs::exists(inTmp));
    EXPECT_EQ(LeftoverFillsText(removed),
              "Removed a free-space fill that an earlier run left: " + atRoot + "\n" +
                  "Removed a free-space fill that an earlier run left: " + inTmp + "\n");
    EXPECT_TRUE(RemoveLeftoverFills().empty());
}

// Only what a fill of this user would be is taken: not another name, not another
// user's folder, not a folder that holds something a fill never makes, and not the
// folder of a fill still going on in another run.
TEST_F(FreeSpaceLeftoversTest, WhatIsNoLeftoverOfThisUserStays) {
    const std::string longer = Leftover("", ".vorlane-free-space-Ab3xYz9");
    const std::string other = Leftover("", ".vorlane-free-space-other");
    const std::string mine = Leftover("", ".vorlane-free-space-Mine00");
    volume.uid = ::geteuid() + 1;
    EXPECT_TRUE(RemoveLeftoverFills().empty());
    EXPECT_TRUE(fs::exists(mine));
    volume.uid = ::geteuid();
    const std::string withFolder = Leftover("", ".vorlane-free-space-folder");
    fs::create_directory(withFolder + "/inner");
    const platform::UniqueFd root(::open(folder.Path().c_str(), O_DIRECTORY | O_CLOEXEC));
    FreeSpaceFill running;
    ASSERT_FALSE(running.Create(root.Get()));

    const std::vector<LeftoverFill> found = RemoveLeftoverFills();
    ASSERT_EQ(found.size(), 2u);  // this user's leftover, and the one with a folder in it
    EXPECT_FALSE(fs::exists(mine));
    EXPECT_TRUE(fs::exists(longer));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_TRUE(fs::exists(folder.File(running.Name())));
    EXPECT_TRUE(fs::exists(withFolder + "/inner"));
    EXPECT_NE(LeftoverFillsText(found).find("could not be removed: " + withFolder),
              std::string::npos);
}

}  // namespace
}  // namespace vorlane::testing

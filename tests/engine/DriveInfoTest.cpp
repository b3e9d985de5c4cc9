#include "engine/DriveInfo.h"

#include <gtest/gtest.h>

#include <optional>

namespace vorlane {
namespace {

using platform::ClusterInfo;
using platform::DriveKind;
using platform::Platform;
using platform::ScopedPlatform;
using platform::SpaceInfo;
using platform::Volume;

// One drive mounted at /mnt/data whose answers the test sets.
class DriveStandIn : public Platform {
  public:
    std::optional<ClusterInfo> clusters;
    std::optional<SpaceInfo> space;

    std::optional<ClusterInfo> QueryClusters(const std::string&) const override { return clusters; }
    std::optional<SpaceInfo> QuerySpace(const std::string& mountPoint) const override {
        return mountPoint == "/mnt/data" ? space : std::nullopt;
    }
    std::optional<Volume> VolumeOf(const std::string&) const override {
        return Volume{"/mnt/data", "ext4", "/dev/sdz1", DriveKind::Fixed};
    }
};

class DriveInfoTest : public ::testing::Test {
  protected:
    ScopedClusterSizes sizes;
    DriveStandIn stand;
    ScopedPlatform scope{stand};
};

// A test's chosen sizes must neither reach the program's table nor outlive the test.
TEST(ClusterSizeTableTest, AScopeKeepsItsSizesToItself) {
    SetDriveClusterSize("/mnt/outer", 8192);
    {
        ScopedClusterSizes inner;
        EXPECT_EQ(GetClusterSize("/mnt/outer"), kDefaultClusterSize);
        SetDriveClusterSize("/mnt/inner", 1024);
        EXPECT_EQ(GetClusterSize("/mnt/inner"), 1024);
    }
    EXPECT_EQ(GetClusterSize("/mnt/outer"), 8192);
    ClearDriveClusterSizes();
}

TEST_F(DriveInfoTest, ClusterSizeConvertsAndValidatesTheDrivesAnswer) {
    struct Case {
        std::optional<ClusterInfo> answer;
        std::optional<int> size;
        double spaceInFreeClusters;
    };
    for (const Case& c : {Case{ClusterInfo{4096, 1000, 5000}, 4096, 4096000.0},
                          Case{ClusterInfo{512, 0, 10}, 512, 0.0},
                          Case{ClusterInfo{65536, 3'000'000'000ull, 1}, 65536, 65536.0 * 3e9},
                          // exFAT: clusters up to 32 MiB are real clusters whose slack must go too
                          Case{ClusterInfo{131072, 1000, 5000}, 131072, 131072000.0},
                          Case{ClusterInfo{32 << 20, 1, 1}, 32 << 20, 32.0 * (1 << 20)},
                          Case{ClusterInfo{64 << 20, 1, 1}, std::nullopt, 12345},
                          Case{ClusterInfo{256, 1000, 5000}, std::nullopt, 12345},
                          Case{std::nullopt, std::nullopt, 12345}}) {
        stand.clusters = c.answer;
        double space = 12345;
        EXPECT_EQ(ClusterSizeOfDrive("/mnt/data", &space), c.size) << c.spaceInFreeClusters;
        EXPECT_EQ(space, c.spaceInFreeClusters);
    }
}

TEST_F(DriveInfoTest, DiskSpaceBeyondFourGibibytesIsExact) {
    stand.space = SpaceInfo{(std::uint64_t{5} << 30) + 1, (std::uint64_t{1} << 40) + 4097};
    double freeBytes = 0;
    double totalBytes = 0;
    ASSERT_TRUE(GetDiskSpace("/mnt/data/file", freeBytes, totalBytes));
    EXPECT_EQ(freeBytes, 5368709121.0);
    EXPECT_EQ(totalBytes, 1099511631873.0);

    stand.space.reset();
    EXPECT_FALSE(GetDiskSpace("/mnt/data/file", freeBytes, totalBytes));
    EXPECT_EQ(freeBytes, 5368709121.0);  // left as they were
}

}  // namespace
}  // namespace vorlane

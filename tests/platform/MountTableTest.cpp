#include "platform/MountTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "common/TempFolder.h"

namespace vorlane::platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMountInfo =
    "22 1 0:21 / / rw,relatime shared:1 - overlay overlay rw,lowerdir=/a,upperdir=/b\n"
    "25 22 0:5 / /proc rw,nosuid - proc proc rw\n"
    "26 22 0:20 / /sys rw - sysfs sysfs rw\n"
    "27 22 0:6 / /dev rw - devtmpfs udev rw,size=100k\n"
    "28 22 0:24 / /run rw - tmpfs tmpfs rw\n"
    "29 28 0:25 / /run/user/1000 rw - tmpfs tmpfs rw\n"
    "30 22 8:1 / /home rw shared:5 - ext4 /dev/sdz1 rw\n"
    "31 22 8:17 / /media/my\\040disk rw - vfat /dev/sdy1 rw\n"
    "32 22 0:30 / /tmp rw - tmpfs tmpfs rw\n"
    "33 22 8:3 / /home rw - xfs /dev/sdz3 rw\n"
    "34 22 0:40 / /mnt/share rw - nfs4 server:/export rw\n"
    "35 22 0:41 / /mnt/broken rw\n";

TEST(MountTableTest, FindsTheVolumeWithTheLongestMountPoint) {
    const std::vector<Volume> volumes{{"/", "ext4", "", DriveKind::Fixed},
                                      {"/home", "ext4", "", DriveKind::Fixed},
                                      {"/home/user/data", "xfs", "", DriveKind::Fixed}};
    const std::vector<std::pair<std::string, std::string>> cases{
        {"/home2/file", "/"},
        {"/home", "/home"},
        {"/home/user/file", "/home"},
        {"/home/user/data/f", "/home/user/data"},
        {"/home/user/database", "/home"},
        {"/etc/passwd", "/"}};
    for (const auto& [path, mountPoint] : cases) {
        const auto volume = FindVolumeOf(volumes, path);
        ASSERT_TRUE(volume.has_value()) << path;
        EXPECT_EQ(volume->mountPoint, mountPoint) << path;
    }
    EXPECT_FALSE(FindVolumeOf(volumes, "relative/path").has_value());
    EXPECT_FALSE(FindVolumeOf({{"/home", "ext4", "", DriveKind::Fixed}}, "/etc").has_value());
}

// A chroot whose root is no mount point of its own: the table lists nothing that holds it.
class NoMountsListed : public Platform {
  public:
    std::vector<Volume> ListMounts() const override { return {}; }
    std::vector<Volume> ListVolumes() const override { return {}; }
};

TEST(MountTableTest, AVolumeTheTableDoesNotListIsNamedByItsHighestFolder) {
    const testing::TempFolder folder;
    const NoMountsListed stand;
    const ScopedPlatform scoped(stand);
    const auto volume = Sys().VolumeOf(folder.File("file.txt"));
    ASSERT_TRUE(volume.has_value());
    EXPECT_EQ(folder.Path().rfind(volume->mountPoint, 0), 0u) << volume->mountPoint;
}

// Serves the kernel's tables from memory: a test of the readers needs no such files.
class TablesInMemory : public Platform {
  public:
    std::error_code ReadWholeFile(const std::string& path, std::string& out,
                                  std::size_t) const override {
        const auto found = tables.find(path);
        if (found == tables.end()) {
            return SystemError(ENOENT);
        }
        out = found->second;
        return {};
    }
    std::map<std::string, std::string> tables;
};

// The tables are read through the file system in force, whole: swap files past the
// column heads, escaped blanks undone, partitions that are no files left out; a
// missing table is an empty one.
TEST(KernelTablesTest, AreReadThroughTheFileSystemInForce) {
    TablesInMemory memory;
    memory.tables["/proc/swaps"] =
        "Filename\tType\tSize\tUsed\tPriority\n"
        "/dev/sda2 partition 100 0 -2\n"
        "/var/my\\040swap file 100 0 -3\n";
    ScopedStandIn<FileSystem> files(memory);
    EXPECT_EQ(ReadSwapFiles("/proc/swaps"), std::vector<std::string>{"/var/my swap"});
    EXPECT_TRUE(ReadSwapFiles("/proc/none").empty());
}

// Drives from a mountinfo text: pseudo file systems and the system's RAM folders left
// out, a mount point mounted twice named once (by the later mount), escapes undone, a
// device removable by its own flag or by its disk's, a line without fields skipped.
TEST(KernelTablesTest, MountsBecomeDrivesOfTheirKind) {
    TablesInMemory memory;
    memory.tables["/sys/block/sdy1/removable"] = "1\n";
    memory.tables["/sys/block/sdz3/../removable"] = "0\n";
    ScopedStandIn<FileSystem> files(memory);
    const std::vector<Volume> drives = ParseMountTable(kMountInfo, "/sys/block");
    std::vector<std::pair<std::string, DriveKind>> named;
    for (const Volume& drive : drives) {
        named.emplace_back(drive.mountPoint, drive.kind);
    }
    const std::vector<std::pair<std::string, DriveKind>> expected{
        {"/", DriveKind::Fixed},
        {"/media/my disk", DriveKind::Removable},
        {"/tmp", DriveKind::RamDisk},
        {"/home", DriveKind::Fixed},
        {"/mnt/share", DriveKind::Network}};
    EXPECT_EQ(named, expected);
    EXPECT_EQ(drives[3].fsType, "xfs");
    EXPECT_EQ(drives[3].mountId, 33u);
    memory.tables["/sys/block/sdz3/../removable"] = "1\n";
    EXPECT_EQ(ParseMountTable(kMountInfo, "/sys/block")[3].kind, DriveKind::Removable);
    EXPECT_EQ(ParseAllMounts(kMountInfo, "/sys/block").size(), 11u);
}

TEST(VolumeLabelTest, LinkNamesAreDecoded) {
    EXPECT_EQ(DecodeLabelLinkName("My\\x20Card"), "My Card");
    EXPECT_EQ(DecodeLabelLinkName("a\\x2fb"), "a/b");
    // Not an escape: kept as it is.
    EXPECT_EQ(DecodeLabelLinkName("x\\xZZ\\x2"), "x\\xZZ\\x2");
}

}  // namespace
}  // namespace vorlane::platform

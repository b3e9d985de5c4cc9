#include "tools/SpeedTest.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "common/TempFolder.h"
#include "platform/MountTable.h"
#include "support/UserLocale.h"
#include "tools/DriveSpeeds.h"
#include "tools/SettingsStore.h"

namespace vorlane {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

constexpr double kMegabyte = 1048576.0;

// One volume, mounted at a folder of the test, with a clock that ticks one second per
// reading and a mount point that may refuse new folders.
class TestVolume : public platform::Platform {
  public:
    explicit TestVolume(std::string mountPoint) : mount(std::move(mountPoint)) {}

    std::vector<platform::Volume> ListVolumes() const override {
        return {{mount, "ext4", "/dev/test", platform::DriveKind::Fixed}};
    }
    std::optional<platform::Volume> VolumeOf(const std::string& path) const override {
        return platform::FindVolumeOf(ListVolumes(), path);
    }
    std::optional<platform::SpaceInfo> QuerySpace(const std::string& mountPoint) const override {
        if (mountPoint != mount) {
            return std::nullopt;
        }
        return platform::SpaceInfo{freeBytes, totalBytes};
    }
    void SleepMilliseconds(int) const override {}
    double SecondsSinceMidnight() const override { return clock++; }
    std::error_code CreateFolder(const std::string& path) const override {
        if (mountDenied && fs::path(path).parent_path() == fs::path(mount)) {
            return platform::SystemError(EACCES);
        }
        return Platform::CreateFolder(path);
    }
    std::string EnvironmentValue(const std::string& name) const override {
        return name == "HOME" ? home : std::string();
    }

    std::string mount;
    std::string home;
    std::uint64_t freeBytes = 1ULL << 30;
    std::uint64_t totalBytes = 1ULL << 30;
    bool mountDenied = false;
    mutable double clock = 100;
};

bool HoldsDummyFolder(const std::string& folder) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(kDummyFolderStub, 0) == 0) {
            return true;
        }
    }
    return false;
}

class SpeedTest : public ::testing::Test {
  protected:
    SpeedTest() : volume(temp.Path()), scoped(volume) { SetUserLocale(std::locale::classic()); }
    TempFolder temp;
    TestVolume volume;
    platform::ScopedPlatform scoped;
    SpeedTestSettings settings{0, 1, 3, nullptr};
};

TEST(SpeedOfRun, MegabytesTimesOverwritesPerSecond) {
    EXPECT_FLOAT_EQ(SpeedOfRun(6 * kMegabyte, 3, 1.0), 18.0F);
    EXPECT_FLOAT_EQ(SpeedOfRun(kMegabyte, 1, 0.0), 1000.0F);  // under a millisecond
    EXPECT_FLOAT_EQ(SpeedOfRun(kMegabyte, 2, 0.0005), 2000.0F);
}

TEST(DriveSpeedTable, AveragesRunsUntilAFailure) {
    DriveSpeedTable table;
    EXPECT_FLOAT_EQ(table.Update("/home", 10), 10);
    EXPECT_FLOAT_EQ(table.Update("/home", 20), 15);
    EXPECT_FLOAT_EQ(table.Update("/home", 30), 20);
    EXPECT_EQ(table.Samples("/home"), 3);
    EXPECT_FLOAT_EQ(table.Speed("/"), 0);  // drives are kept apart

    // A second test of the same drive goes on averaging: six runs in all.
    for (float speed : {20.0F, 20.0F, 20.0F}) {
        table.Update("/home", speed);
    }
    EXPECT_EQ(table.Samples("/home"), 6);
    EXPECT_FLOAT_EQ(table.Speed("/home"), 20);

    table.Accept("/home", 7.5F);  // an accepted stored value is no sample
    EXPECT_EQ(table.Samples("/home"), 6);
    EXPECT_FLOAT_EQ(table.Speed("/home"), 7.5F);

    table.Clear("/home");
    EXPECT_EQ(table.Samples("/home"), 0);
    EXPECT_FLOAT_EQ(table.Update("/home", 4), 4);
}

TEST(NumberOfDummyFiles, GrowsWithTheVolume) {
    constexpr double kGigabyte = 1073741824.0;
    const struct {
        double total;
        int files;
    } cases[] = {{0, 5},
                 {5 * kGigabyte - 1, 5},
                 {5 * kGigabyte, 10},
                 {50 * kGigabyte - 1, 10},
                 {50 * kGigabyte, 20},
                 {4e12, 20}};
    for (const auto& c : cases) {
        EXPECT_EQ(NumberOfDummyFiles(c.total), c.files) << c.total;
    }
}

TEST_F(SpeedTest, MeasuresWithTheClockAndLeavesNothing) {
    const SpeedRun run = RunSpeedTest(temp.Path(), settings);
    ASSERT_EQ(run.result, SpeedRunResult::Measured) << run.message;
    EXPECT_GE(run.bytes, 5 * 51200.0);
    EXPECT_LE(run.bytes, 5 * 131072.0);
    EXPECT_DOUBLE_EQ(run.seconds, 1.0);
    EXPECT_FLOAT_EQ(run.speed, static_cast<float>(run.bytes / kMegabyte * 3));
    EXPECT_FALSE(HoldsDummyFolder(temp.Path()));
}

TEST_F(SpeedTest, StopLeavesNoDummyFolder) {
    int asked = 0;
    for (int stopAt : {1, 2, 4}) {
        asked = 0;
        settings.stopRequested = [&] { return ++asked >= stopAt; };
        EXPECT_EQ(RunSpeedTest(temp.Path(), settings).result, SpeedRunResult::Stopped) << stopAt;
        EXPECT_FALSE(HoldsDummyFolder(temp.Path())) << stopAt;
    }
}

TEST_F(SpeedTest, TooLittleFreeSpaceIsNamed) {
    volume.freeBytes = 1048575;
    SpeedRun run = RunSpeedTest(temp.Path(), settings);
    EXPECT_EQ(run.result, SpeedRunResult::NoSpace);
    EXPECT_EQ(run.message, "Drive " + temp.Path() +
                               " has only 1048575 bytes free.\nAt least 1 MB of free space is "
                               "required for this test.");
    volume.freeBytes = 0;
    run = RunSpeedTest(temp.Path(), settings);
    EXPECT_EQ(run.message, "There is no free space on the disk in Drive " + temp.Path() +
                               ".\nAt least 1 MB of free space is required for this test.");
    EXPECT_EQ(RunSpeedTest("/nowhere", settings).result, SpeedRunResult::NoDiskInfo);
    EXPECT_FALSE(HoldsDummyFolder(temp.Path()));
}

TEST_F(SpeedTest, ReadOnlyMountPointUsesHomeOnTheSameVolume) {
    volume.mountDenied = true;
    volume.home = temp.File("home");
    fs::create_directory(volume.home);
    const std::string folder = CreateDummyFolder(temp.Path());
    EXPECT_EQ(folder, volume.home + "/_vn_dummy1");
    fs::remove(folder);

    volume.home = "/";  // not on the volume under test
    const SpeedRun run = RunSpeedTest(temp.Path(), settings);
    EXPECT_EQ(run.result, SpeedRunResult::NoWritableFolder);
    EXPECT_NE(run.message.find("cannot be tested"), std::string::npos);
}

TEST_F(SpeedTest, OnlyAStoredSpeedBelow100IsOffered) {
    SetSettingsFilePath(temp.File("store.ini"));
    EXPECT_FALSE(OfferedStoredSpeed("/data"));
    const struct {
        const char* stored;
        bool offered;
    } cases[] = {{"0", false},   {"-2.5", false}, {"100", false}, {"512.75", false},
                 {"abc", false}, {"99.5", true},  {"12.5", true}};
    for (const auto& c : cases) {
        SaveSetting(SettingsBaseKey() + "\\/data", "Speed", c.stored);
        EXPECT_EQ(OfferedStoredSpeed("/data").has_value(), c.offered) << c.stored;
    }
    SetSettingsFilePath("");
}

TEST(SpeedResultText, NamesPassesOverwritesAndTimes) {
    SetUserLocale(std::locale::classic());
    const std::string text = SpeedResultText(18.0F, 3, 1);
    EXPECT_EQ(text.rfind("The purge speed is approximately 18.00 MB/sec. for a single overwrite."
                         "\n\nIt thus requires, using the type of purge currently specified (1 "
                         "pass = 3 overwrites), approximately ",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find(" to purge 10 MB, "), std::string::npos);
    EXPECT_NE(text.find("\n\nTo decrease the time required"), std::string::npos);
    EXPECT_EQ(SpeedResultText(50.0F, 1, 1).find("To decrease"), std::string::npos);
    EXPECT_EQ(StoredSpeedText(12.5F), "12.5");
    EXPECT_EQ(PurgeSpeedLabel("/home", 0), "");
    EXPECT_EQ(PurgeSpeedLabel("/home", 3.14159F), "3.14 MB/sec. (1 overwrite) for Drive /home.");
}

}  // namespace
}  // namespace vorlane

#include "tools/SpeedTest.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include "common/StandIns.h"
#include "common/TempFolder.h"
#include "support/UserLocale.h"
#include "tools/DriveSpeeds.h"
#include "tools/SettingsStore.h"

namespace vorlane {
namespace {

using testing::TempFolder;
using testing::TestVolume;
namespace fs = std::filesystem;

constexpr double kMegabyte = 1048576.0;

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

// A run faster than the clock can tell is taken as one millisecond, not a division by 0.
TEST(SpeedOfRun, RunUnderAMillisecondIsFinite) {
    EXPECT_FLOAT_EQ(SpeedOfRun(kMegabyte, 1, 0.0), 1000.0F);
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

TEST_F(SpeedTest, MeasuresWithTheClockAndLeavesNothing) {
    const SpeedRun run = RunSpeedTest(temp.Path(), settings);
    ASSERT_EQ(run.result, SpeedRunResult::Measured) << run.message;
    EXPECT_GE(run.bytes, 5 * 51200.0);
    EXPECT_LE(run.bytes, 5 * 131072.0);
    EXPECT_DOUBLE_EQ(run.seconds, 1.0);
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

// Another user may write to the folder the dummy folder goes in (a world-writable volume
// root). Each stand-in plays that user: it makes its names just after the test looked.
class OtherUserBetween : public TestVolume {
  public:
    using TestVolume::TestVolume;
    // A dummy name looks free the first time, as it did just before the other user made it.
    platform::FileStatus StatNoFollow(const std::string& path) const override {
        if (fs::path(path).filename().string().starts_with(kDummyFolderStub) &&
            looked.insert(path).second) {
            return {};
        }
        return TestVolume::StatNoFollow(path);
    }
    // A link where the first dummy file goes, planted inside the new folder itself.
    std::error_code CreateFolderAt(int folderFd, const std::string& name) const override {
        const std::error_code error = TestVolume::CreateFolderAt(folderFd, name);
        if (!error && !plantInside.empty()) {
            const auto held = fs::read_symlink("/proc/self/fd/" + std::to_string(folderFd));
            fs::create_symlink(plantInside, held / name / (std::string(kDummyFolderStub) + "1"));
        }
        return error;
    }
    std::string plantInside;
    mutable std::set<std::string> looked;
};

class SpeedTestAgainstOtherUser : public ::testing::Test {
  protected:
    SpeedTestAgainstOtherUser() : volume(temp.File("volume")), scoped(volume) {
        temp.WriteTree({"volume", "secret=root only"});
    }
    void ExpectSecretKept(const SpeedRun& run) {
        EXPECT_EQ(run.result, SpeedRunResult::Measured) << run.message;
        EXPECT_TRUE(TempFolder::Read(temp.File("secret")) == "root only") << "secret overwritten";
    }
    TempFolder temp;
    OtherUserBetween volume;
    platform::ScopedPlatform scoped;
    SpeedTestSettings settings{0, 1, 3, nullptr};
};

TEST_F(SpeedTestAgainstOtherUser, FolderMadeByAnotherIsLeftAlone) {
    temp.WriteTree({"volume/_vn_dummy1"});
    const std::string planted = temp.File("volume/_vn_dummy1/_vn_dummy1");
    fs::create_symlink(temp.File("secret"), planted);
    ExpectSecretKept(RunSpeedTest(volume.mount, settings));
    EXPECT_TRUE(fs::is_symlink(planted));
    EXPECT_EQ(std::distance(fs::directory_iterator(volume.mount), {}), 1);  // ours is gone
}

TEST_F(SpeedTestAgainstOtherUser, LinkWhereADummyFileGoesIsNotFollowed) {
    volume.plantInside = temp.File("secret");
    ExpectSecretKept(RunSpeedTest(volume.mount, settings));
}

}  // namespace
}  // namespace vorlane

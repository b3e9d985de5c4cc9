#include "operation/SpeedTestCommand.h"

#include <gtest/gtest.h>

#include "common/StandIns.h"
#include "common/TempFolder.h"
#include "operation/ScriptedInterface.h"
#include "support/UserLocale.h"
#include "tools/DriveSpeeds.h"
#include "tools/SettingsStore.h"

namespace vorlane {
namespace {

using testing::ScriptedInterface;
using testing::TempFolder;
using testing::TestVolume;

class SpeedTestCommand : public ::testing::Test {
  protected:
    SpeedTestCommand() : volume(temp.Path()), scoped(volume) {
        SetUserLocale(std::locale::classic());
        SetSettingsFilePath(temp.File("store.ini"));
    }
    ~SpeedTestCommand() override { SetSettingsFilePath(""); }

    SpeedTestOutcome Measure() {
        return MeasureDriveSpeed(temp.Path(), settings, speeds, ui, "Test purge speed");
    }
    std::string Stored() {
        return RestoreSetting(SettingsBaseKey() + "\\" + temp.Path(), "Speed").value_or("");
    }

    TempFolder temp;
    TestVolume volume;
    platform::ScopedPlatform scoped;
    SpeedTestSettings settings{0, 1, 2, nullptr};
    DriveSpeedTable speeds;
    ScriptedInterface ui;
};

TEST_F(SpeedTestCommand, FailedRunClearsTheDriveAndStoresNothing) {
    speeds.Update(temp.Path(), 40);
    volume.freeBytes = 1000;
    const SpeedTestOutcome outcome = Measure();
    EXPECT_FALSE(outcome.measured);
    EXPECT_EQ(speeds.Samples(temp.Path()), 0);
    EXPECT_EQ(outcome.label, "");
    EXPECT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(Stored(), "");
}

}  // namespace
}  // namespace vorlane

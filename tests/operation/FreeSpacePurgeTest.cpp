#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/TempFolder.h"
#include "operation/FreeSpacePurge.h"
#include "operation/FreeSpaceVolume.h"
#include "operation/ScriptedInterface.h"
#include "support/UserLocale.h"
#include "tools/SettingsStore.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kMiB = 1 << 20;

class FreeSpacePurgeTest : public ::testing::Test {
  protected:
    FreeSpacePurgeResult Run(FreeSpaceChoices choices = {}) {
        choices.drive = folder.Path();
        ui.answers = {MessageAnswer::Yes};
        return PurgeFreeSpace(choices, ui, control);
    }
    bool FillFolderLeft() const {
        for (const auto& entry : fs::directory_iterator(folder.Path())) {
            if (entry.path().filename().string().starts_with(".vorlane-free-space-")) {
                return true;
            }
        }
        return false;
    }
    static std::string Bytes(std::uint64_t bytes) {
        return GroupedNumberText(static_cast<double>(bytes), 0) + " bytes";
    }

    TempFolder folder;
    ScopedSettingsFile settings{folder.File("settings.ini")};
    FreeSpaceVolume volume{folder.Path()};
    platform::ScopedPlatform inForce{volume};
    ScriptedInterface ui;
    OperationControl control;
};

// Large writes that no longer fit end the large files; the small ones take what is left
// down to the last whole cluster, and every byte of the fill goes again.
TEST_F(FreeSpacePurgeTest, FillsToTheLastClusterThenRemovesEverything) {
    volume.freeBytes = 20 * kMiB + 3 * 4096 + 100;
    const FreeSpacePurgeResult result = Run();
    EXPECT_EQ(result.end, FreeSpaceEnd::Done);
    EXPECT_EQ(result.writtenBytes, 20 * kMiB + 3 * 4096);
    EXPECT_FALSE(FillFolderLeft());
    // Flushed while it was whole: deleting first would let cached writes be dropped.
    ASSERT_FALSE(volume.events.empty());
    EXPECT_NE(volume.events.front(), "flush volume, 0 files");
    EXPECT_NE(ui.finishedReport.find("Fill 1 of 1: " + Bytes(result.writtenBytes)),
              std::string::npos);
    EXPECT_NE(ui.finishedReport.find("Names of deleted files stay"), std::string::npos);
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_NE(ui.asked[0].text.find(Bytes(volume.freeBytes / 4096 * 4096) + " of free space"),
              std::string::npos);
    EXPECT_NE(ui.asked[0].text.find("other programs may fail to write"), std::string::npos);
    EXPECT_NE(ui.asked[0].text.find("SSD"), std::string::npos);
}

// Each overwrite of a type's pass is a fill of its own, each removed before the next.
TEST_F(FreeSpacePurgeTest, EachOverwriteOfEachPassFillsAnew) {
    volume.freeBytes = 3 * kMiB;
    const FreeSpacePurgeResult result = Run({"", 0, 2});
    EXPECT_EQ(result.end, FreeSpaceEnd::Done);
    EXPECT_EQ(result.writtenBytes, 4 * 3 * kMiB);
    EXPECT_NE(ui.finishedReport.find("Fill 4 of 4: "), std::string::npos);
    EXPECT_FALSE(FillFolderLeft());
}

// A stop halfway removes the fill at once, unflushed, and only then flushes the volume.
TEST_F(FreeSpacePurgeTest, StopHalfwayRemovesTheFillAtOnce) {
    volume.freeBytes = 64 * kMiB;
    volume.onWrite = [this](int write) {
        if (write == 3) {
            control.Close();
        }
    };
    const FreeSpacePurgeResult result = Run();
    EXPECT_EQ(result.end, FreeSpaceEnd::Stopped);
    EXPECT_FALSE(FillFolderLeft());
    EXPECT_EQ(volume.events, std::vector<std::string>{"flush volume, 0 files"});
    EXPECT_NE(ui.finishedReport.find("Stopped: the fill was removed at once"), std::string::npos);
}

// Pause holds the fill; Continue goes on to the end.
TEST_F(FreeSpacePurgeTest, PauseWaitsAndContinueFinishes) {
    volume.freeBytes = 24 * kMiB;
    std::vector<ReportPhase> phases;
    ui.onPhase = [&](ReportPhase phase) {
        phases.push_back(phase);
        if (phase == ReportPhase::Paused) {
            control.PauseContinue();
        }
    };
    volume.onWrite = [this](int write) {
        if (write == 2) {
            control.PauseContinue();
        }
    };
    EXPECT_EQ(Run().end, FreeSpaceEnd::Done);
    EXPECT_NE(std::find(phases.begin(), phases.end(), ReportPhase::Paused), phases.end());
}

// A used-up quota is the user's end of space, not a failure; fusefat answers a write past
// its last cluster with EPERM, and the volume, full, says what the error means.
TEST_F(FreeSpacePurgeTest, AWriteErrorFailsTheFillUnlessTheVolumeIsFull) {
    const struct {
        const char* name;
        int failure;
        bool failedFull;
        FreeSpaceEnd end;
    } cases[] = {{"EDQUOT", EDQUOT, false, FreeSpaceEnd::Done},
                 {"EPERM when full", EPERM, true, FreeSpaceEnd::Done},
                 {"EIO", EIO, false, FreeSpaceEnd::Failed}};
    volume.freeBytes = 64 * kMiB;
    volume.failAtWrite = 3;
    for (const auto& error : cases) {
        SCOPED_TRACE(error.name);
        volume.writes = 0;
        volume.failure = error.failure;
        volume.failedFull = error.failedFull;
        EXPECT_EQ(Run().end, error.end);
        EXPECT_FALSE(FillFolderLeft());
    }
    // The last run's, the failed one's.
    EXPECT_EQ(ui.finishedReport.find("Fill 1 of 1"), std::string::npos);
    EXPECT_NE(ui.finishedReport.find("writing failed: input/output error"), std::string::npos);
}

TEST_F(FreeSpacePurgeTest, RefusesVolumesWhoseFreeSpaceAFillCannotReach) {
    const struct {
        platform::FileSystemClass fileSystem;
        bool inMemory;
        const char* why;
    } cases[] = {
        {platform::FileSystemClass::Ordinary, true, "held in memory (tmpfs or ramfs)"},
        {platform::FileSystemClass::Pseudo, false, "pseudo file system"},
        {platform::FileSystemClass::CopyOnWrite, false, "filling it can fill its snapshots"},
        {platform::FileSystemClass::Overlay, false, "overlay (overlayfs)"},
    };
    for (const auto& refused : cases) {
        volume.fileSystem = refused.fileSystem;
        volume.inMemory = refused.inMemory;
        ui.asked.clear();
        EXPECT_EQ(Run().end, FreeSpaceEnd::Refused) << refused.why;
        ASSERT_EQ(ui.asked.size(), 1u);
        EXPECT_NE(ui.asked[0].text.find(refused.why), std::string::npos) << ui.asked[0].text;
        EXPECT_EQ(volume.writes, 0);
        EXPECT_FALSE(FillFolderLeft());
    }
}

TEST_F(FreeSpacePurgeTest, NoMeansNothingIsWritten) {
    FreeSpaceChoices choices;
    choices.drive = folder.Path();
    ui.answers = {MessageAnswer::No};
    EXPECT_EQ(PurgeFreeSpace(choices, ui, control).end, FreeSpaceEnd::Declined);
    EXPECT_EQ(volume.writes, 0);
    EXPECT_FALSE(FillFolderLeft());
}

// As a user, root's reserve stays out of reach and the report gives its size; root
// counts it as free and fills it.
TEST_F(FreeSpacePurgeTest, ReservedBlocksAreNamedForAUserOnly) {
    volume.freeBytes = 2 * kMiB;
    volume.reservedBytes = 5 * 4096;
    const std::string line =
        Bytes(5 * 4096) + " reserved for root stayed unreached; running as root reaches them.";
    ASSERT_EQ(Run().end, FreeSpaceEnd::Done);
    EXPECT_NE(ui.finishedReport.find(line), std::string::npos) << ui.finishedReport;

    volume.uid = 0;
    const FreeSpacePurgeResult root = Run();
    EXPECT_EQ(root.freeBytes, 2 * kMiB + 5 * 4096);
    EXPECT_EQ(ui.finishedReport.find("reserved for root"), std::string::npos);
}

TEST_F(FreeSpacePurgeTest, DiscardIsAskedOfTheDeviceAfterwards) {
    volume.freeBytes = kMiB;
    volume.discards = true;
    Run();
    EXPECT_NE(ui.finishedReport.find("running as root tells it which blocks are free"),
              std::string::npos);
    volume.uid = 0;
    Run();
    EXPECT_NE(ui.finishedReport.find("The device was told which blocks are free"),
              std::string::npos);
}

}  // namespace
}  // namespace vorlane::testing

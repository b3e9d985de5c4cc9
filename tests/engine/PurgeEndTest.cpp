// The end of a purge: the flushes that make the overwrites and the delete durable, the
// name scrub, and what a stop or a failing device leaves behind.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "engine/DriveInfo.h"
#include "engine/FilePurge.h"
#include "engine/NameScrub.h"
#include "engine/PurgeRuns.h"
#include "engine/PurgeStandIn.h"

namespace vorlane {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

class PurgeEndTest : public testing::PurgeFixture {
  protected:
    // Purges the named files of the folder as one batch; their outcomes in order.
    std::vector<FileOutcome> Batch(
        const std::vector<std::string>& names,
        const std::function<bool()>& goOn = [] { return true; }) {
        for (const std::string& name : names) {
            folder.Write(name, "secret " + name);
        }
        return testing::OutcomesOf(testing::PurgeInBatch(purger, folder, names, request, goOn));
    }
    FileOutcome Single(const std::string& name) {
        return PurgeFileAtPath(purger, folder.Write(name, "secret"), request, hooks).outcome;
    }

    PurgeRequest request{.purgeType = 1};  // three overwrites
};

using Outcomes = std::vector<FileOutcome>;

// The device failed while the names went: the unlink may not have reached it, and the file
// may come back after a remount. Every file the failed folder flush covered says so, and
// why.
TEST_F(PurgeEndTest, AFailedFolderFlushAfterTheUnlinkIsNeverCalledPurged) {
    stand.folderSyncError = ENOSPC;
    const FileResult alone = PurgeFileAtPath(purger, folder.Write("alone", "secret"), request);
    EXPECT_EQ(alone.outcome, FileOutcome::RemovalNotFlushed);
    EXPECT_EQ(alone.cause, std::errc::no_space_on_device);
    const FileOutcome notFlushed = FileOutcome::RemovalNotFlushed;
    EXPECT_EQ(Batch({"a", "b", "c"}), (Outcomes{notFlushed, notFlushed, notFlushed}));
    EXPECT_TRUE(fs::is_empty(folder.Path()));
}

// A shared flush that succeeds stands for every file; only a failed one sends each file's
// own flush, and then only the file whose write failed fails.
TEST_F(PurgeEndTest, FilesAreAskedForTheirOwnErrorsOnlyWhenTheSharedFlushFails) {
    EXPECT_EQ(Batch({"a", "b", "c"}), Outcomes(3, FileOutcome::Ok));
    EXPECT_EQ(stand.volumeFlushes, 3);
    EXPECT_EQ(stand.fileFlushes, 0);

    stand.volumeFlushError = EIO;
    stand.failingFlushName = "b";
    EXPECT_EQ(Batch({"a", "b", "c"}),
              (Outcomes{FileOutcome::Ok, FileOutcome::FlushFailed, FileOutcome::Ok}));
    EXPECT_EQ(stand.fileFlushes, 3 + 2 + 2);  // b drops out after the first overwrite
    EXPECT_TRUE(fs::exists(folder.File("b")));
}

// The report names what the system said, not a guess: every failure keeps its call's error,
// alone and in a batch, and the one that failed last is the one told.
TEST_F(PurgeEndTest, EveryFailureKeepsTheSystemsReason) {
    stand.removeFailures = 99;
    stand.removeErrorCode = EROFS;
    const FileResult kept = PurgeFileAtPath(purger, folder.Write("kept", "secret"), request);
    EXPECT_EQ(kept.outcome, FileOutcome::NotDeleted);
    EXPECT_EQ(kept.cause, std::errc::read_only_file_system);
    EXPECT_EQ(OutcomeText(kept, OutcomeForm::Line),
              "overwritten but not deleted (Read-only file system)");
    stand.removeFailures = 0;

    stand.volumeFlushError = EIO;
    stand.failingFlushName = "b";
    folder.Write("a", "secret");
    folder.Write("b", "secret");
    FilePurger fresh;
    const std::vector<FileResult> results =
        testing::PurgeInBatch(fresh, folder, {"a", "b"}, request);
    EXPECT_FALSE(results[0].cause);
    EXPECT_EQ(results[1].outcome, FileOutcome::FlushFailed);
    EXPECT_EQ(results[1].cause, std::errc::io_error);
}

// On a device whose flushes take long, Ctrl-C is heard between the files' own flushes.
TEST_F(PurgeEndTest, AStopIsHeardBetweenTheFilesOwnFlushes) {
    bool stop = false;
    stand.volumeFlushError = EIO;
    stand.onFileFlush = [&] { stop = true; };
    const Outcomes results = Batch({"a", "b", "c"}, [&] { return !stop; });
    EXPECT_EQ(stand.fileFlushes, 1);
    EXPECT_EQ(results, Outcomes(3, FileOutcome::PartlyOverwritten));
    EXPECT_EQ(fs::file_size(folder.File("c")), std::string("secret c").size());
}

// A stopped file's line must not let anyone trust its contents: written to, it says so;
// untouched, it is merely not purged.
TEST_F(PurgeEndTest, AStoppedFileSaysWhetherAnyOfItsBytesWasWritten) {
    int asked = 0;
    EXPECT_EQ(
        Batch({"a", "b", "c"}, [&] { return ++asked < 2; }),
        (Outcomes{FileOutcome::PartlyOverwritten, FileOutcome::Stopped, FileOutcome::Stopped}));
    EXPECT_EQ(TempFolder::Read(folder.File("b")), "secret b");

    request.passes = 2;
    hooks.betweenPasses = [](int) { return false; };
    EXPECT_EQ(Single("alone"), FileOutcome::PartlyOverwritten);
    EXPECT_EQ(fs::file_size(folder.File("alone")), 6u);
}

// A volume gone read-only, or failing, will not heal within the retries: the file fails at
// once, and later files of that volume are not retried either.
TEST_F(PurgeEndTest, AReadOnlyOrFailingVolumeIsNotRetried) {
    for (const int error : {EROFS, EIO}) {
        SCOPED_TRACE(error);
        FilePurger fresh;
        stand.removeCalls = stand.sleeps = 0;
        stand.removeFailures = 99;
        stand.removeErrorCode = error;
        const std::string first = folder.Write("first", "secret");
        EXPECT_EQ(PurgeFileAtPath(fresh, first, request).outcome, FileOutcome::NotDeleted);
        stand.removeErrorCode = EBUSY;  // would be retried on a sound volume
        const std::string second = folder.Write("second", "secret");
        EXPECT_EQ(PurgeFileAtPath(fresh, second, request).outcome, FileOutcome::NotDeleted);
        EXPECT_EQ(stand.removeCalls, 2);
        EXPECT_EQ(stand.sleeps, 0);
        EXPECT_TRUE(fs::exists(first) && fs::exists(second));
    }
}

// FUSE file systems refuse RENAME_NOREPLACE; the name is scrubbed there all the same, to a
// name of the same length that the next purge of the folder recognises as a leftover.
TEST_F(PurgeEndTest, TheNameIsScrubbedWhereNoReplaceIsRefused) {
    stand.renameError = EINVAL;
    const std::string name = "tax-2025-divorce.pdf";
    EXPECT_EQ(Single(name), FileOutcome::Ok);
    ASSERT_EQ(stand.plainRenames.size(), 1u);
    EXPECT_EQ(stand.plainRenames[0].size(), name.size());
    EXPECT_TRUE(IsScrubLeftover(stand.plainRenames[0]));
    EXPECT_TRUE(fs::is_empty(folder.Path()));

    stand.renameError = 0;
    stand.markerRefused = true;
    EXPECT_EQ(Single("refuses-the-marker"), FileOutcome::Ok);
    ASSERT_EQ(stand.renames.size(), 1u);
    EXPECT_EQ(stand.renames[0].size(), std::string("refuses-the-marker").size());
    EXPECT_NE(stand.renames[0], "refuses-the-marker");
    EXPECT_TRUE(fs::is_empty(folder.Path()));

    EXPECT_TRUE(IsScrubLeftover("\x7f"));
    const std::string marker(1, kScrubMarker);
    for (const std::string& ordinary :
         std::vector<std::string>{"", "a" + marker, marker + ".txt", marker + "ab cd", name}) {
        EXPECT_FALSE(IsScrubLeftover(ordinary)) << ordinary;
    }
}

}  // namespace
}  // namespace vorlane

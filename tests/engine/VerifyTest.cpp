// The read-back of the last overwrite: what the device returns decides whether a file
// counts as purged, alone or in a batch, whole or slack only.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "engine/DriveInfo.h"
#include "engine/FilePurge.h"
#include "engine/PurgeRuns.h"
#include "engine/PurgeStandIn.h"

namespace vorlane {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

class VerifyTest : public testing::PurgeFixture {
  protected:
    FileResult Purge(const std::string& name, bool batched) {
        return testing::PurgeAloneOrBatched(purger, folder, name, request, batched, hooks);
    }
    // The bytes the read-backs covered, when they follow each other from `begin`; else -1.
    std::int64_t ReadEnd(std::int64_t begin) const {
        for (const auto& [offset, size] : stand.reads) {
            if (offset != begin) {
                return -1;
            }
            begin += static_cast<std::int64_t>(size);
        }
        return begin;
    }

    PurgeRequest request{.purgeType = 1, .passes = 2, .verifyLastOverwrite = true};
};

TEST_F(VerifyTest, AMatchingReadBackCoversEveryClusterInWriteRunsThenDeletes) {
    // 9 MiB and a bit: two read runs of at most 8 MiB, the second ending with the slack.
    const std::int64_t size = (9 << 20) + 5;
    const std::int64_t clusters = (size + 4095) / 4096 * 4096;
    for (const bool batched : {false, true}) {
        SCOPED_TRACE(batched ? "in a batch" : "alone");
        const std::string file = folder.Write("big", std::string(size, 'D'));
        stand.reads.clear();
        const FileResult result = Purge("big", batched);
        EXPECT_EQ(result.outcome, FileOutcome::Ok);
        EXPECT_TRUE(result.verified);
        EXPECT_FALSE(fs::exists(file));
        EXPECT_EQ(ReadEnd(0), clusters);
        EXPECT_EQ(stand.reads.size(), 2u);
    }
    // Not asked for: nothing is read, and nothing is claimed.
    request.verifyLastOverwrite = false;
    folder.Write("plain", "data");
    stand.reads.clear();
    const FileResult plain = Purge("plain", false);
    EXPECT_EQ(plain.outcome, FileOutcome::Ok);
    EXPECT_FALSE(plain.verified);
    EXPECT_TRUE(stand.reads.empty());
}

TEST_F(VerifyTest, BytesTheDeviceDidNotKeepLeaveTheFileInPlaceAtItsSize) {
    struct Case {
        std::int64_t changedAt;
        int readError;
        const char* line;
    };
    const Case cases[] = {
        {100, 0, "verification failed: the device did not keep the last overwrite, not purged."},
        // In the slack behind the end of the file.
        {8191, 0, "verification failed: the device did not keep the last overwrite, not purged."},
        {-1, EIO,
         "verification failed (Input/output error): the device did not keep the last overwrite, "
         "not purged."},
    };
    for (const Case& c : cases) {
        for (const bool batched : {false, true}) {
            SCOPED_TRACE(std::to_string(c.changedAt) + (batched ? " in a batch" : " alone"));
            const std::string file = folder.Write("kept", std::string(5000, 'D'));
            stand.changedAt = c.changedAt;
            stand.readError = c.readError;
            const FileResult result = Purge("kept", batched);
            EXPECT_EQ(result.outcome, FileOutcome::VerificationFailed);
            EXPECT_FALSE(result.verified);
            EXPECT_EQ(OutcomeText(result, OutcomeForm::Line), c.line);
            EXPECT_EQ(SeriousnessOf(result.outcome), Seriousness::Damaged);
            ASSERT_TRUE(fs::exists(file));
            EXPECT_EQ(fs::file_size(file), 5000u);
            EXPECT_EQ(TempFolder::Read(file).find('D'), std::string::npos);  // overwritten
        }
    }
}

TEST_F(VerifyTest, ASlackOnlyPurgeReadsBackTheSlackAlone) {
    request.slackOnly = true;
    for (const bool batched : {false, true}) {
        SCOPED_TRACE(batched ? "in a batch" : "alone");
        const std::string data(5000, 'D');
        const std::string file = folder.Write("slack", data);
        stand.reads.clear();
        stand.changedAt = -1;
        const FileResult kept = Purge("slack", batched);
        EXPECT_EQ(kept.outcome, FileOutcome::Ok);
        EXPECT_TRUE(kept.verified);
        EXPECT_EQ(ReadEnd(5000), 8192);

        stand.changedAt = 8191;
        EXPECT_EQ(Purge("slack", batched).outcome, FileOutcome::VerificationFailed);
        EXPECT_EQ(TempFolder::Read(file), data);
    }
}

TEST_F(VerifyTest, AStopBetweenReadRunsKeepsTheWrittenFile) {
    const std::string file = folder.Write("big", std::string((9 << 20) + 5, 'D'));
    bool stop = false;
    hooks.stopRequested = [&] {
        stop = stop || !stand.reads.empty();
        return stop;
    };
    const FileResult result = Purge("big", false);
    EXPECT_EQ(result.outcome, FileOutcome::PartlyOverwritten);
    EXPECT_FALSE(result.verified);
    EXPECT_EQ(stand.reads.size(), 1u);
    EXPECT_EQ(fs::file_size(file), (9u << 20) + 5);
}

TEST_F(VerifyTest, AVolumeWithoutADeviceIsRefusedBeforeAnyWrite) {
    stand.noDevice = true;
    for (const bool batched : {false, true}) {
        SCOPED_TRACE(batched ? "in a batch" : "alone");
        const std::string file = folder.Write("memory", "data");
        const FileResult result = Purge("memory", batched);
        EXPECT_EQ(result.outcome, FileOutcome::CannotVerify);
        EXPECT_EQ(SeriousnessOf(result.outcome), Seriousness::Failed);
        EXPECT_TRUE(stand.writes.empty());
        EXPECT_EQ(TempFolder::Read(file), "data");
    }
}

}  // namespace
}  // namespace vorlane

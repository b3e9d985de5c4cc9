// A file that stays after its overwrites (kept by request, or its delete failed) looks as
// before to anyone who lists it: same size, same times to the nanosecond, read-only again.

#include <fcntl.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "engine/DriveInfo.h"
#include "engine/PurgeRuns.h"

namespace vorlane {
namespace {

using platform::FileStatus;
using platform::Platform;
using testing::TempFolder;

// Deletes fail as on a volume gone read-only.
struct ReadOnlyVolume : Platform {
    bool removeFails = false;
    std::error_code RemoveAt(int folder, const std::string& name,
                             const FileStatus& expected) const override {
        return removeFails ? platform::SystemError(EROFS)
                           : Platform::RemoveAt(folder, name, expected);
    }
};

class KeptFileTest : public ::testing::Test {
  protected:
    void SetUp() override { SetDriveClusterSize(DriveOfPath(folder.File("x")), 4096); }
    void TearDown() override { ClearDriveClusterSizes(); }

    // A read-only file of 100 bytes whose times lie years back, at odd nanoseconds.
    std::string OldFile(const std::string& name) {
        std::filesystem::remove(folder.File(name));  // the last one's mode would refuse a write
        const std::string path = folder.Write(name, std::string(100, 'x'));
        EXPECT_EQ(::chmod(path.c_str(), 0444), 0);
        const timespec times[2] = {{1000000000, 123456789}, {1100000000, 987654321}};
        EXPECT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        return path;
    }
    FileOutcome Purge(const std::string& name, bool batched) {
        return testing::PurgeAloneOrBatched(purger, folder, name, request, batched).outcome;
    }

    TempFolder folder;
    PurgeRequest request;
    FilePurger purger;
    ReadOnlyVolume stand;
    platform::ScopedPlatform scope{stand};
};

TEST_F(KeptFileTest, SizeTimesAndModeComeBackWhetherKeptOrItsDeleteFailed) {
    for (const bool batched : {false, true}) {
        for (const bool deleteFails : {false, true}) {
            SCOPED_TRACE(std::string(batched ? "batched" : "alone") +
                         (deleteFails ? ", delete failed" : ", kept"));
            request.deleteFile = deleteFails;
            stand.removeFails = deleteFails;
            const std::string path = OldFile("kept");
            EXPECT_EQ(Purge("kept", batched),
                      deleteFails ? FileOutcome::NotDeleted : FileOutcome::Ok);
            struct stat after {};
            ASSERT_EQ(::stat(path.c_str(), &after), 0);
            EXPECT_EQ(after.st_size, 100);
            EXPECT_EQ(after.st_mode & 07777, 0444u);
            EXPECT_EQ(after.st_mtim.tv_sec, 1100000000);
            EXPECT_EQ(after.st_mtim.tv_nsec, 987654321);
            EXPECT_EQ(after.st_atim.tv_sec, 1000000000);
            EXPECT_EQ(after.st_atim.tv_nsec, 123456789);
        }
    }
}

}  // namespace
}  // namespace vorlane

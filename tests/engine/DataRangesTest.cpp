// A file system may report data runs that do not begin or end on a cluster: every
// overwrite still covers the whole clusters that hold them.

#include <fcntl.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "engine/DriveInfo.h"
#include "engine/FilePurge.h"

namespace vorlane {
namespace {

using platform::ByteRange;
using platform::Platform;
using platform::UniqueFd;
using testing::TempFolder;

// Reports data runs off the cluster grid, and records where each write begins and ends.
struct OffGridRuns : Platform {
    mutable std::vector<ByteRange> writes;
    std::error_code DataRanges(int, std::int64_t, std::vector<ByteRange>& out) const override {
        out = {{5000, 5100}, {20000, 20010}};
        return {};
    }
    std::error_code WriteAt(int fd, std::int64_t offset, const void* data,
                            std::size_t size) const override {
        writes.push_back({offset, offset + static_cast<std::int64_t>(size)});
        return Platform::WriteAt(fd, offset, data, size);
    }
};

TEST(DataRanges, RunsOffTheClusterGridAreWidenedToWholeClusters) {
    TempFolder folder;
    SetDriveClusterSize(DriveOfPath(folder.File("x")), 4096);
    const std::string path = folder.File("sparse");
    {
        UniqueFd fd(::open(path.c_str(), O_CREAT | O_WRONLY, 0600));
        ASSERT_TRUE(fd.Valid());
        ASSERT_EQ(::pwrite(fd.Get(), "data", 4, 5000), 4);
        ASSERT_EQ(::pwrite(fd.Get(), "tail", 4, 20006), 4);
    }
    OffGridRuns stand;
    platform::ScopedPlatform scope(stand);
    FilePurger purger;
    PurgeRequest request;
    request.purgeType = 0;
    request.deleteFile = false;
    EXPECT_EQ(PurgeFileAtPath(purger, path, request).outcome, FileOutcome::Ok);
    ClearDriveClusterSizes();
    ASSERT_FALSE(stand.writes.empty());
    for (const ByteRange& write : stand.writes) {
        EXPECT_TRUE((write.begin == 4096 && write.end == 8192) ||
                    (write.begin == 16384 && write.end == 20480))
            << write.begin << "-" << write.end;
    }
}

}  // namespace
}  // namespace vorlane

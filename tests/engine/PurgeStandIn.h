#pragma once
// A platform that records what a purge writes, flushes, renames and deletes, and imitates
// the failures a test switches on; and a test folder purged under it.

#include <algorithm>
#include <cerrno>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/StandIns.h"
#include "common/TempFolder.h"
#include "engine/DriveInfo.h"
#include "engine/FilePurger.h"
#include "engine/NameScrub.h"
#include "platform/Platform.h"

namespace vorlane::testing {

constexpr std::size_t kHead = 64;  // bytes of each write kept to tell the blocks apart

struct PurgeStandIn : platform::Platform {
    using FileStatus = platform::FileStatus;
    using UniqueFd = platform::UniqueFd;
    using OpenResult = platform::OpenResult;

    struct Write {
        std::int64_t offset, size;
        std::string head;
    };
    bool passWrites = true, cannotWrite = false, removedUnderneath = false;
    bool markerRefused = false;  // as fusefat: letters and digits only
    int writeError = 0, flushError = 0, removeFailures = 0, renameError = 0;
    int volumeFlushError = 0, folderSyncError = 0, removeErrorCode = EBUSY;
    std::string failingFlushName;  // that file's own flush fails
    std::int64_t changedAt = -1;   // the read-back returns another byte there, when set
    int readError = 0;
    bool noDevice = false;  // no read past the cache
    mutable std::vector<std::pair<std::int64_t, std::size_t>> reads;
    mutable std::int64_t reportedSize = -1;  // the size StatOpen claims, when set; writes grow it
    std::int64_t bytesAllowed = -1;          // a small volume: writes beyond it fail, when set
    mutable std::int64_t bytesWritten = 0;
    std::vector<std::string> systemFolders;
    std::vector<platform::ByteRange> dataRuns;  // what DataRanges claims, when set
    mutable std::vector<Write> writes;
    mutable std::vector<std::string> renames, plainRenames;  // the new names
    mutable int flushes = 0, volumeFlushes = 0, fileFlushes = 0;
    mutable int removeCalls = 0, sleeps = 0, folderSyncs = 0;
    // Moments at which a test lets someone else act on the folder.
    std::function<void()> afterLook, onRemoveFailure, onFileFlush;
    std::function<void(int fd)> onFlush;  // at the first flush, on the descriptor written

    std::error_code OpenEntry(int folder, const std::string& name, UniqueFd& out,
                              FileStatus& status) const override {
        const std::error_code rc = Platform::OpenEntry(folder, name, out, status);
        if (afterLook) {
            afterLook();
        }
        return rc;
    }
    std::error_code RenameAt(int folder, const std::string& from,
                             const std::string& to) const override {
        if (markerRefused && to[0] == kScrubMarker) {
            return platform::SystemError(EPERM);
        }
        if (renameError != 0) {
            return platform::SystemError(renameError);
        }
        renames.push_back(to);
        return Platform::RenameAt(folder, from, to);
    }
    std::error_code RenameAtReplacing(int folder, const std::string& from,
                                      const std::string& to) const override {
        plainRenames.push_back(to);
        return Platform::RenameAtReplacing(folder, from, to);
    }
    std::error_code SyncFolder(int folder) const override {
        ++folderSyncs;
        return folderSyncError != 0 ? platform::SystemError(folderSyncError)
                                    : Platform::SyncFolder(folder);
    }

    std::error_code StatOpen(int fd, FileStatus& out) const override {
        const std::error_code rc = Platform::StatOpen(fd, out);
        out.size = reportedSize >= 0 ? reportedSize : out.size;
        return rc;
    }
    std::error_code DataRanges(int fd, std::int64_t length,
                               std::vector<platform::ByteRange>& out) const override {
        if (reportedSize >= 0) {  // a large file that is all data
            out = {{0, reportedSize}};
            return {};
        }
        if (!dataRuns.empty()) {
            out = dataRuns;
            return {};
        }
        return Platform::DataRanges(fd, length, out);
    }
    OpenResult ReopenForWriting(int handle, UniqueFd& out) const override {
        return cannotWrite ? OpenResult::Denied : Platform::ReopenForWriting(handle, out);
    }
    std::error_code WriteAt(int fd, std::int64_t offset, const void* data,
                            std::size_t size) const override {
        if (reportedSize >= 0) {
            reportedSize = std::max(reportedSize, offset + static_cast<std::int64_t>(size));
        }
        writes.push_back({offset, static_cast<std::int64_t>(size),
                          std::string(static_cast<const char*>(data), std::min(size, kHead))});
        if (writeError != 0 || !passWrites) {
            return platform::SystemError(writeError);
        }
        if (bytesAllowed >= 0 && bytesWritten + static_cast<std::int64_t>(size) > bytesAllowed) {
            return platform::SystemError(ENOSPC);
        }
        bytesWritten += static_cast<std::int64_t>(size);
        return Platform::WriteAt(fd, offset, data, size);
    }
    std::error_code FlushToDevice(int fd) const override { return Flush(fd, false); }
    // A batch's shared flush: with one file in the batch, that file's descriptor.
    std::error_code FlushVolume(int fd) const override { return Flush(fd, true); }
    bool VolumeFlushReportsWriteErrors() const override { return true; }
    std::error_code Flush(int fd, bool volume) const {
        if (flushes++ == 0 && onFlush) {
            onFlush(fd);
        }
        ++(volume ? volumeFlushes : fileFlushes);
        if (!volume && onFileFlush) {
            onFileFlush();
        }
        const int error = flushError != 0 ? flushError
                          : volume        ? volumeFlushError
                          : !failingFlushName.empty() && NameOfFd(fd) == failingFlushName ? EIO
                                                                                          : 0;
        return error != 0 ? platform::SystemError(error)
               : volume   ? Platform::FlushVolume(fd)
                          : Platform::FlushToDevice(fd);
    }
    // The read-back: other bytes at one offset, a failed read, or no read past the cache.
    std::error_code ReadUncached(int fd, std::int64_t offset, std::size_t size,
                                 std::string& out) const override {
        if (noDevice) {
            return platform::SystemError(ENOTSUP);
        }
        if (size > 0) {
            reads.emplace_back(offset, size);
        }
        // Our own lease still held, the reader's open would wait out the lease-break time.
        if (readError != 0 || HeldLease(fd) != platform::LeaseState::None) {
            return platform::SystemError(readError != 0 ? readError : EWOULDBLOCK);
        }
        const std::error_code error = Platform::ReadUncached(fd, offset, size, out);
        if (!error && changedAt >= offset && changedAt < offset + std::ssize(out)) {
            out[static_cast<std::size_t>(changedAt - offset)] ^= 0x01;
        }
        return error;
    }
    std::vector<std::string> SystemFolders() const override { return systemFolders; }
    std::error_code RemoveAt(int folder, const std::string& name,
                             const FileStatus& expected) const override {
        if (removeCalls++ < removeFailures) {
            if (removedUnderneath) {
                // The name goes, yet the purger is told the delete failed.
                (void)Platform::RemoveAt(folder, name, expected);
            }
            if (onRemoveFailure) {
                onRemoveFailure();
            }
            return platform::SystemError(removeErrorCode);
        }
        return Platform::RemoveAt(folder, name, expected);
    }
    void SleepMilliseconds(int) const override { ++sleeps; }

    // One overwrite per write at offset 0: its first bytes and where its writes end,
    // or -1 when they do not follow each other.
    std::vector<std::pair<std::string, std::int64_t>> Overwrites() const {
        std::vector<std::pair<std::string, std::int64_t>> out;
        for (const Write& w : writes) {
            if (w.offset == 0) {
                out.emplace_back(w.head, 0);
            }
            auto& end = out.back().second;
            end = end == w.offset ? w.offset + w.size : -1;
        }
        return out;
    }
};

// A test folder on a volume of 4,096-byte clusters, purged under the stand-in.
class PurgeFixture : public ::testing::Test {
  protected:
    void SetUp() override { UseClusterSize(4096); }
    void UseClusterSize(int size) { SetDriveClusterSize(DriveOfPath(folder.File("x")), size); }

    ScopedClusterSizes sizes;  // the sizes a test sets go with it
    TempFolder folder;
    FilePurger purger;
    PurgeHooks hooks;
    PurgeStandIn stand;
    platform::ScopedPlatform scope{stand};
};

}  // namespace vorlane::testing

#include "engine/FilePurge.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <mutex>
#include <random>

#include "engine/DriveInfo.h"
#include "engine/FileOperations.h"

namespace vorlane {
namespace {

using platform::FileKind;
using platform::FileStatus;
using platform::OpenResult;
using platform::Sys;
using platform::UniqueFd;
namespace code = purge_result;

constexpr std::array<PatternSelector, 5> kPatternBytes{0x00, 0x0A, 0x55, 0xAA, 0xF5};
constexpr std::size_t kFreshRandomBytes = 2048;
// One write call carries up to this many bytes of whole clusters: large enough that
// the device, not the system call, sets the pace.
constexpr std::size_t kRunBytes = 8u << 20;

// The state one purge keeps between its overwrites. One purge runs at a time.
struct PurgeState {
    std::mt19937 generator{std::random_device{}()};
    std::array<std::string, kPatternBytes.size()> patternBlocks;
    std::string randomBlock;
    std::string run;  // the selected block, repeated, for large writes
    PatternSelector runSelector = -1;
};

std::recursive_mutex gStateMutex;
PurgeState gState;
std::atomic<bool> gPerformingSpeedTest{false};

float NextUniform() {
    // 24 random bits give every float in [0, 1) on an even grid, never 1.
    return static_cast<float>(gState.generator() >> 8) * (1.0f / 16777216.0f);
}

int HalfRoundedToEven(std::size_t length) {
    const std::size_t half = length / 2;
    if (length % 2 == 0) {
        return static_cast<int>(half);
    }
    return static_cast<int>(half % 2 == 0 ? half : half + 1);
}

void BuildRandomBlock(std::size_t clusterSize) {
    std::string& block = gState.randomBlock;
    block.clear();
    block.reserve(std::max(clusterSize, kFreshRandomBytes) * 2);
    for (std::size_t i = 0; i < kFreshRandomBytes; ++i) {
        block += static_cast<char>(RandomInteger(0, 255, false));
    }
    while (block.size() < clusterSize) {
        const int half = HalfRoundedToEven(block.size());
        const int position = RandomInteger(1, half, false);
        const int count = RandomInteger(1, half, false);
        block.append(block, static_cast<std::size_t>(position - 1),
                     static_cast<std::size_t>(count));
    }
    block.resize(clusterSize);
}

// Fills the run with as many copies of the block as the write needs, at most kRunBytes;
// copies left from the last overwrite with the same block are kept.
const std::string& RunFor(PatternSelector selector, std::size_t wanted) {
    const std::string& block = OverwriteBlock(selector);
    std::string& run = gState.run;
    if (gState.runSelector != selector) {
        run.clear();
        gState.runSelector = selector;
    }
    const std::size_t longest = std::max<std::size_t>(1, kRunBytes / block.size()) * block.size();
    if (run.capacity() < longest) {
        run.reserve(longest);  // once per program run: the capacity survives clear()
    }
    while (run.size() < std::min(wanted, longest)) {
        run += block;
    }
    return run;
}

// One overwrite of the whole file: its clusters from offset 0 up to the cluster that
// holds its last byte (one cluster for an empty file), then a flush to the device.
PurgeResultCode OverwriteOnce(int fd, PatternSelector selector, std::int64_t length,
                              int clusterSize) {
    const std::int64_t bytes = std::max<std::int64_t>(length, 1);
    const std::int64_t clusters = (bytes + clusterSize - 1) / clusterSize;
    const std::int64_t total = clusters * clusterSize;
    const std::string& run =
        RunFor(selector, static_cast<std::size_t>(std::min<std::int64_t>(total, kRunBytes)));
    for (std::int64_t offset = 0; offset < total;) {
        const auto chunk = static_cast<std::size_t>(
            std::min<std::int64_t>(total - offset, static_cast<std::int64_t>(run.size())));
        if (Sys().WriteAt(fd, offset, run.data(), chunk) != 0) {
            return code::kWriteFailed;
        }
        offset += static_cast<std::int64_t>(chunk);
    }
    return Sys().FlushToDevice(fd) == 0 ? code::kPurged : code::kFlushFailed;
}

PurgeResultCode OpenFailure(OpenResult result) {
    switch (result) {
        case OpenResult::SymbolicLink:
            return code::kSymbolicLink;
        case OpenResult::NotRegular:
            return code::kNotRegularFile;
        case OpenResult::Missing:
        case OpenResult::Moved:
            return code::kFileChanged;
        default:
            return code::kCannotOpenForWriting;
    }
}

bool SameFile(const FileStatus& a, const FileStatus& b) {
    return a.kind == b.kind && a.device == b.device && a.inode == b.inode;
}

bool ValidClusterSize(int size) {
    return size >= 512 && size <= 65536 && size % 512 == 0;
}

struct PurgeRequest {
    const std::string& path;
    int purgeType;
    int passes;
    bool deleteFile;
    const FileStatus& checked;  // the file as examined before the purge
};

PurgeResultCode RunPasses(const PurgeRequest& request, int fd, std::int64_t length,
                          int clusterSize) {
    for (int pass = 0; pass < request.passes; ++pass) {
        PrepareOverwriteBlocks(clusterSize);
        for (PatternSelector selector : OverwriteSequence(request.purgeType)) {
            const PurgeResultCode result = OverwriteOnce(fd, selector, length, clusterSize);
            if (result != code::kPurged) {
                return result;
            }
        }
    }
    return code::kPurged;
}

// Between passes the file must look as before: same size, same times.
void RestoreSizeAndTimes(const PurgeRequest& request, int fd) {
    if (gPerformingSpeedTest) {
        return;
    }
    Sys().Resize(fd, request.checked.size);
    if (!request.deleteFile) {
        Sys().SetTimes(fd, request.checked.times);
    }
}

// Deletes the name only while it still leads to the file we overwrote. The file is closed
// first: network and FUSE file systems keep an unlinked open file under a stand-in name.
// Its read-only mark needs no clearing: a name is removed by its folder's permission.
PurgeResultCode DeleteOverwritten(const PurgeRequest& request, UniqueFd& fd,
                                  const FileStatus& overwritten) {
    if (!SameFile(Sys().StatNoFollow(request.path), overwritten)) {
        return code::kFileChanged;
    }
    fd.Reset();
    if (DeleteSameFileWithRetry(request.path, overwritten)) {
        return code::kPurged;
    }
    if (!gPerformingSpeedTest) {
        ChangeFileSize(request.path, request.checked.size);
    }
    return code::kNotDeleted;
}

PurgeResultCode OverwriteFile(const PurgeRequest& request) {
    const int clusterSize = GetClusterSize(DriveOfPath(request.path));
    if (!IsValidPurgeType(request.purgeType)) {
        return code::kInvalidPurgeType;
    }
    if (!ValidClusterSize(clusterSize)) {
        return code::kInvalidClusterSize;
    }
    if (request.passes < 1) {
        return code::kInvalidNumberOfPasses;
    }
    UniqueFd fd;
    const OpenResult opened = Sys().OpenForOverwrite(request.path, fd);
    if (opened != OpenResult::Ok) {
        return OpenFailure(opened);
    }
    FileStatus current;
    if (Sys().StatOpen(fd.Get(), current) != 0 || !SameFile(current, request.checked)) {
        return code::kFileChanged;
    }
    SeedRandomGenerator();
    const PurgeResultCode result = RunPasses(request, fd.Get(), current.size, clusterSize);
    if (result == code::kPurged && request.deleteFile) {
        return DeleteOverwritten(request, fd, current);
    }
    RestoreSizeAndTimes(request, fd.Get());
    return result;
}

PurgeResultCode CheckBeforePurge(const std::string& path, const FileStatus& status,
                                 bool okToPurgeReadOnly, bool okToPurgeSystem) {
    if (status.kind == FileKind::Symlink) {
        return code::kSymbolicLink;
    }
    if (status.kind == FileKind::Missing) {
        return code::kCannotOpen;
    }
    if (status.kind != FileKind::Regular) {
        return code::kNotRegularFile;
    }
    if (IsReadOnlyFile(status)) {
        if (!okToPurgeReadOnly) {
            return code::kReadOnlyNotPermitted;
        }
        ClearReadOnly(path);
    }
    if (!okToPurgeSystem && IsSystemFile(path)) {
        return code::kSystemNotPermitted;
    }
    return CannotOpenFile(path) ? code::kCannotOpen : code::kPurged;
}

PurgeResultCode PurgeOneFile(const std::string& path, int purgeType, int passes, bool deleteFile,
                             bool okToPurgeReadOnly, bool okToPurgeSystem) {
    if (path.empty()) {
        return code::kEmptyFileName;
    }
    const FileStatus status = Sys().StatNoFollow(path);
    const PurgeResultCode refused =
        CheckBeforePurge(path, status, okToPurgeReadOnly, okToPurgeSystem);
    if (refused != code::kPurged) {
        return refused;
    }
    FileStatus checked = Sys().StatNoFollow(path);  // mode may have gained owner write
    checked.times = status.times;
    return OverwriteFile({path, purgeType, passes, deleteFile, checked});
}

}  // namespace

bool VorlPurgeFile(const std::string& filePath, int purgeType, int numberOfPasses, bool deleteFile,
                   bool okToPurgeReadOnly, bool okToPurgeSystem, PurgeResultCode& resultCode) {
    std::lock_guard lock(gStateMutex);
    try {
        resultCode = PurgeOneFile(filePath, purgeType, numberOfPasses, deleteFile,
                                  okToPurgeReadOnly, okToPurgeSystem);
    } catch (...) {  // out of memory for the blocks: the file was not purged
        resultCode = code::kWriteFailed;
    }
    return resultCode >= 0;
}

void SetPerformingSpeedTest(bool performing) {
    gPerformingSpeedTest = performing;
}

bool PerformingSpeedTest() {
    return gPerformingSpeedTest;
}

int RandomInteger(int low, int high, bool evenOnly) {
    std::lock_guard lock(gStateMutex);
    const double span = static_cast<double>(high) - low + 1;
    int value = static_cast<int>(std::floor(span * NextUniform())) + low;
    if (evenOnly && value % 2 != 0) {
        value = low >= value ? value + 1 : value - 1;
    }
    return value;
}

void SeedRandomGenerator() {
    SeedRandomGenerator(std::random_device{}());
}

void SeedRandomGenerator(std::uint32_t seed) {
    std::lock_guard lock(gStateMutex);
    gState.generator.seed(seed);
}

void PrepareOverwriteBlocks(int clusterSize) {
    std::lock_guard lock(gStateMutex);
    const auto size = static_cast<std::size_t>(clusterSize);
    for (std::size_t i = 0; i < kPatternBytes.size(); ++i) {
        gState.patternBlocks[i].assign(size, static_cast<char>(kPatternBytes[i]));
    }
    BuildRandomBlock(size);
    gState.runSelector = -1;
}

const std::string& OverwriteBlock(PatternSelector selector) {
    std::lock_guard lock(gStateMutex);
    const auto* found = std::find(kPatternBytes.begin(), kPatternBytes.end(), selector);
    if (found == kPatternBytes.end()) {
        return gState.randomBlock;
    }
    return gState.patternBlocks[static_cast<std::size_t>(found - kPatternBytes.begin())];
}

}  // namespace vorlane

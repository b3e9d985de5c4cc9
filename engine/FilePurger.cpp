#include "engine/FilePurger.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "engine/DriveInfo.h"
#include "engine/FileOperations.h"
#include "engine/NameScrub.h"

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
// the device, not the system call, sets the pace, and small enough that a stop is
// seen within a second.
constexpr std::size_t kRunBytes = 8u << 20;
constexpr int kDeleteAttempts = 4;
constexpr int kDeleteRetryMs = 500;

int HalfRoundedToEven(std::size_t length) {
    const std::size_t half = length / 2;
    if (length % 2 == 0) {
        return static_cast<int>(half);
    }
    return static_cast<int>(half % 2 == 0 ? half : half + 1);
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

}  // namespace

// One file's purge in progress.
struct FilePurger::Job {
    const PurgeFileRef& file;
    const PurgeRequest& request;
    const PurgeHooks& hooks;
    UniqueFd handle;  // pins the inode from the first look to the delete
    UniqueFd fd;      // the same inode, open for writing, for every pass
    FileStatus checked;
    int clusterSize = 0;
    std::int64_t length = 0;   // what the overwrites cover, before rounding to clusters
    std::int64_t covered = 0;  // the end of the last overwrite
};

FilePurger::FilePurger() : generator_(std::random_device{}()) {}

FilePurger::FilePurger(std::uint32_t seed) : generator_(seed) {}

int FilePurger::ClusterSizeFor(dev_t device, const std::string& path) {
    const auto known = clusterSizes_.find(device);
    if (known != clusterSizes_.end()) {
        return known->second;
    }
    const int size = GetClusterSize(DriveOfPath(path));
    clusterSizes_[device] = size;
    return size;
}

// The refusals that come before the file is opened for writing.
PurgeResultCode FilePurger::Refusal(const Job& job) const {
    const FileStatus& status = job.checked;
    if (status.kind == FileKind::Symlink) {
        return code::kSymbolicLink;
    }
    if (status.kind != FileKind::Regular) {
        return code::kNotRegularFile;
    }
    if (status.links > 1 && !job.request.allowHardLinks) {
        return code::kHardLinks;
    }
    if (IsReadOnlyFile(status) && !job.request.okToPurgeReadOnly) {
        return code::kReadOnlyNotPermitted;
    }
    if (!job.request.okToPurgeSystem && IsSystemPath(job.file.path)) {
        return code::kSystemNotPermitted;
    }
    return code::kPurged;
}

// Opens the checked file for writing. A read-only mark is cleared only now that the
// purge will go on, and put back when the open fails anyway.
PurgeResultCode FilePurger::Open(Job& job) {
    const bool readOnly = IsReadOnlyFile(job.checked);
    const bool cleared =
        readOnly && Sys().SetModeOpen(job.handle.Get(), job.checked.mode | S_IWUSR) == 0;
    const OpenResult opened = Sys().ReopenForWriting(job.handle.Get(), job.fd);
    if (opened != OpenResult::Ok) {
        if (cleared) {
            Sys().SetModeOpen(job.handle.Get(), job.checked.mode);
        }
        return OpenFailure(opened);
    }
    if (cleared) {
        job.checked.mode |= S_IWUSR;
    }
    return code::kPurged;
}

const std::string& FilePurger::RunFor(PatternSelector selector, std::size_t wanted) {
    const std::string& block = OverwriteBlock(selector);
    if (runSelector_ != selector) {
        run_.clear();
        runSelector_ = selector;
    }
    const std::size_t longest = std::max<std::size_t>(1, kRunBytes / block.size()) * block.size();
    if (run_.capacity() < longest) {
        run_.reserve(longest);  // once per purger: the capacity survives clear()
    }
    while (run_.size() < std::min(wanted, longest)) {
        run_ += block;
    }
    return run_;
}

// One overwrite of the whole file: its clusters from offset 0 up to the cluster that
// holds its last byte (one cluster for an empty file), then a flush to the device.
PurgeResultCode FilePurger::OverwriteOnce(const Job& job, PatternSelector selector) {
    const std::int64_t cluster = job.clusterSize;
    const std::int64_t bytes = std::max<std::int64_t>(job.length, 1);
    const std::int64_t total = (bytes + cluster - 1) / cluster * cluster;
    const std::string& run =
        RunFor(selector, static_cast<std::size_t>(std::min<std::int64_t>(total, kRunBytes)));
    for (std::int64_t offset = 0; offset < total;) {
        if (offset > 0 && job.hooks.stopRequested && job.hooks.stopRequested()) {
            return code::kStopped;
        }
        const auto chunk = static_cast<std::size_t>(
            std::min<std::int64_t>(total - offset, static_cast<std::int64_t>(run.size())));
        if (Sys().WriteAt(job.fd.Get(), offset, run.data(), chunk) != 0) {
            return code::kWriteFailed;
        }
        offset += static_cast<std::int64_t>(chunk);
    }
    return Sys().FlushToDevice(job.fd.Get()) == 0 ? code::kPurged : code::kFlushFailed;
}

// After the passes a kept file must look as before: same size, same times.
void FilePurger::RestoreSizeAndTimes(const Job& job) {
    if (job.request.keepGrownSize) {
        return;
    }
    Sys().Resize(job.fd.Get(), job.checked.size);
    Sys().SetTimes(job.fd.Get(), job.checked.times);
}

PurgeResultCode FilePurger::RunPasses(Job& job) {
    const std::int64_t cluster = job.clusterSize;
    job.covered = (std::max<std::int64_t>(job.length, 1) + cluster - 1) / cluster * cluster;
    for (int pass = 1; pass <= job.request.passes; ++pass) {
        PrepareOverwriteBlocks(job.clusterSize);
        for (PatternSelector selector : OverwriteSequence(job.request.purgeType)) {
            const PurgeResultCode result = OverwriteOnce(job, selector);
            if (result != code::kPurged) {
                return result;
            }
        }
        if (pass == job.request.passes) {
            break;
        }
        // The size stays at the whole clusters until the last pass: a file system may
        // refuse writes past a size cut on the same descriptor (fusefat does).
        if (job.hooks.betweenPasses && !job.hooks.betweenPasses(pass)) {
            return code::kStopped;
        }
    }
    // Bytes appended while the overwrites ran, beyond their end, were never overwritten.
    FileStatus now;
    if (Sys().StatOpen(job.fd.Get(), now) != 0 || now.size > job.covered) {
        return code::kGrewDuringPurge;
    }
    return code::kPurged;
}

// Deletes the name only while it still leads to the file we overwrote. The file is closed
// first: network and FUSE file systems keep an unlinked open file under a stand-in name.
// Its read-only mark needs no clearing: a name is removed by its folder's permission.
PurgeResultCode FilePurger::Delete(Job& job) {
    job.fd.Reset();
    const int folder = job.file.folderFd;
    const std::string name = ScrubName(folder, job.file.name, job.checked, generator_);
    platform::FileStatus left;
    for (int failed = 0;;) {
        const int error = Sys().RemoveAt(folder, name, job.checked);
        // A name that is gone counts as deleted, whoever removed it.
        if (error == 0 || Sys().StatAt(folder, name, left) == ENOENT) {
            Sys().SyncFolder(folder);
            return code::kPurged;
        }
        if (error == ESTALE || ++failed >= kDeleteAttempts) {
            break;
        }
        Sys().SleepMilliseconds(kDeleteRetryMs);
    }
    // Kept: under its own name again, and at its own size, set through the pinned inode
    // so that no file saved under that name meanwhile is cut.
    if (name != job.file.name) {
        Sys().RenameAt(folder, name, job.file.name);
    }
    if (!job.request.keepGrownSize &&
        Sys().ReopenForWriting(job.handle.Get(), job.fd) == OpenResult::Ok) {
        Sys().Resize(job.fd.Get(), job.checked.size);
    }
    return code::kNotDeleted;
}

PurgeResultCode FilePurger::Purge(const PurgeFileRef& file, const PurgeRequest& request,
                                  const PurgeHooks& hooks) {
    if (file.name.empty()) {
        return code::kEmptyFileName;
    }
    if (!IsValidPurgeType(request.purgeType)) {
        return code::kInvalidPurgeType;
    }
    if (request.passes < 1) {
        return code::kInvalidNumberOfPasses;
    }
    try {
        Job job{file, request, hooks, {}, {}, {}, 0, 0, 0};
        const int error = Sys().OpenEntry(file.folderFd, file.name, job.handle, job.checked);
        if (error != 0) {
            return error == ENOENT ? code::kFileChanged : code::kCannotOpenForWriting;
        }
        if (const PurgeResultCode refused = Refusal(job); refused != code::kPurged) {
            return refused;
        }
        job.clusterSize = ClusterSizeFor(job.checked.device, file.path);
        if (!ValidClusterSize(job.clusterSize)) {
            return code::kInvalidClusterSize;
        }
        if (const PurgeResultCode failed = Open(job); failed != code::kPurged) {
            return failed;
        }
        job.length = job.checked.size;
        const PurgeResultCode result = RunPasses(job);
        if (result == code::kPurged && request.deleteFile) {
            return Delete(job);
        }
        if (result != code::kGrewDuringPurge) {
            RestoreSizeAndTimes(job);
        }
        return result;
    } catch (...) {  // out of memory for the blocks: the file was not purged
        return code::kWriteFailed;
    }
}

int FilePurger::RandomInteger(int low, int high, bool evenOnly) {
    // 24 random bits give every float in [0, 1) on an even grid, never 1.
    const float uniform = static_cast<float>(generator_() >> 8) * (1.0f / 16777216.0f);
    const double span = static_cast<double>(high) - low + 1;
    int value = static_cast<int>(std::floor(span * uniform)) + low;
    if (evenOnly && value % 2 != 0) {
        value = low >= value ? value + 1 : value - 1;
    }
    return value;
}

void FilePurger::PrepareOverwriteBlocks(int clusterSize) {
    const auto size = static_cast<std::size_t>(clusterSize);
    for (std::size_t i = 0; i < kPatternBytes.size(); ++i) {
        patternBlocks_[i].assign(size, static_cast<char>(kPatternBytes[i]));
    }
    std::string& block = randomBlock_;
    block.clear();
    block.reserve(std::max(size, kFreshRandomBytes) * 2);
    for (std::size_t i = 0; i < kFreshRandomBytes; ++i) {
        block += static_cast<char>(RandomInteger(0, 255, false));
    }
    while (block.size() < size) {
        const int half = HalfRoundedToEven(block.size());
        const int position = RandomInteger(1, half, false);
        const int count = RandomInteger(1, half, false);
        block.append(block, static_cast<std::size_t>(position - 1),
                     static_cast<std::size_t>(count));
    }
    block.resize(size);
    runSelector_ = -1;
}

const std::string& FilePurger::OverwriteBlock(PatternSelector selector) const {
    const auto* found = std::find(kPatternBytes.begin(), kPatternBytes.end(), selector);
    if (found == kPatternBytes.end()) {
        return randomBlock_;
    }
    return patternBlocks_[static_cast<std::size_t>(found - kPatternBytes.begin())];
}

}  // namespace vorlane

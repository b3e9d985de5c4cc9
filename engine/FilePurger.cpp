#include "engine/FilePurger.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

#include "engine/DriveInfo.h"
#include "engine/FileOperations.h"
#include "engine/NameScrub.h"

namespace vorlane {
namespace {

using platform::ByteRange;
using platform::FileKind;
using platform::FileStatus;
using platform::OpenResult;
using platform::Sys;
using platform::UniqueFd;

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

FileOutcome OpenFailure(OpenResult result) {
    switch (result) {
        case OpenResult::SymbolicLink:
            return FileOutcome::SymbolicLink;
        case OpenResult::NotRegular:
            return FileOutcome::NotRegularFile;
        case OpenResult::Missing:
        case OpenResult::Moved:
            return FileOutcome::FileChanged;
        default:
            return FileOutcome::CannotOpenForWriting;
    }
}

std::int64_t RoundDown(std::int64_t value, std::int64_t cluster) {
    return value / cluster * cluster;
}

std::int64_t RoundUp(std::int64_t value, std::int64_t cluster) {
    return (value + cluster - 1) / cluster * cluster;
}

// The clusters that hold the file's data, each data run rounded out to whole clusters.
// A hole has no old data to destroy, and writing it would allocate it: on a sparse file
// far larger than its volume, that fills the volume. A file system that cannot tell data
// from holes gets the whole length, and so does a file with blocks for its whole length
// (no hole in it needs asking about: at worst a write fills one within that allocation).
std::vector<ByteRange> DataClusters(int fd, std::int64_t length, std::int64_t cluster,
                                    bool allocated) {
    std::vector<ByteRange> data;
    if (allocated || Sys().DataRanges(fd, length, data)) {
        data = {{0, length}};
    }
    std::vector<ByteRange> clusters;
    for (const ByteRange& run : data) {
        const ByteRange rounded{RoundDown(run.begin, cluster), RoundUp(run.end, cluster)};
        if (!clusters.empty() && rounded.begin <= clusters.back().end) {
            clusters.back().end = std::max(clusters.back().end, rounded.end);
        } else if (rounded.end > rounded.begin) {
            clusters.push_back(rounded);
        }
    }
    return clusters;
}

// What each overwrite covers: the data clusters, slack included (one cluster for an
// empty file); with slackOnly, only the slack behind the end of the file, and only when
// its last cluster holds data.
std::vector<ByteRange> OverwriteRanges(int fd, const FileStatus& status, std::int64_t cluster,
                                       bool slackOnly) {
    const std::int64_t length = status.size;
    std::vector<ByteRange> ranges =
        length == 0 ? std::vector<ByteRange>{{0, cluster}}
                    : DataClusters(fd, length, cluster, status.blocks * 512 >= length);
    if (!slackOnly) {
        return ranges;
    }
    const std::int64_t end = RoundUp(length, cluster);
    if (ranges.empty() || ranges.back().end != end || end == length) {
        return {};
    }
    return {{length, end}};
}

// The refusals that need no look at the file.
FileOutcome RequestRefusal(const PurgeFileRef& file, const PurgeRequest& request) {
    if (file.name.empty()) {
        return FileOutcome::EmptyFileName;
    }
    if (!IsValidPurgeType(request.purgeType)) {
        return FileOutcome::InvalidPurgeType;
    }
    if (request.passes < 1) {
        return FileOutcome::InvalidNumberOfPasses;
    }
    return FileOutcome::Ok;
}

// Asked before anything is written: a file system that keeps files in memory alone
// (tmpfs) has no device to read back from, and a purge promised a read-back would end
// with the file's data already gone.
bool Verifiable(int handle) {
    std::string nothing;
    return Sys().ReadUncached(handle, 0, 0, nothing) != std::errc::not_supported;
}

}  // namespace

// One file's purge in progress.
struct FilePurger::Job {
    Job(const PurgeFileRef& f, const PurgeRequest& r, const PurgeHooks& h)
        : file(f), request(r), hooks(h) {}

    const PurgeFileRef& file;
    const PurgeRequest& request;
    const PurgeHooks& hooks;
    UniqueFd handle;  // pins the inode from the first look to the delete
    UniqueFd fd;      // the same inode, open for writing, for every pass
    FileStatus checked;
    FileStatus folder;         // the held folder, looked at once per file
    bool folderKnown = false;  // false: the folder could not be looked at
    int clusterSize = 0;
    std::int64_t length = 0;               // what the overwrites cover, before rounding to clusters
    std::int64_t covered = 0;              // the end of the last overwrite
    FileOutcome result = FileOutcome::Ok;  // in a batch: how far this file got
    std::error_code cause;                 // the failed call's reason, for the report
    bool deleted = false;
    bool touched = false;           // in a batch: an overwrite began on it, its data is not whole
    std::vector<ByteRange> ranges;  // what each overwrite writes, in offset order
    std::int64_t sizeAfterOverwrite = 0;  // less after an overwrite: someone cut the file
    std::int64_t blocksBefore = 0;        // fewer later: someone let go of blocks
    mutable std::int64_t sizeSeen = -1;   // by the check after the latest overwrite
    mode_t modeBefore = 0;
    bool modeCleared = false;     // the read-only mark was cleared for the open
    bool leased = false;          // a write lease tells when another program opens the file
    std::string lastClusterData;  // slack only: the data bytes of the last cluster
    bool verified = false;        // the last overwrite was read back and matched
};

FilePurger::FilePurger() : generator_(std::random_device{}()) {}

int FilePurger::ClusterSizeFor(dev_t device, const std::string& path) {
    const auto known = clusterSizes_.find(device);
    if (known != clusterSizes_.end()) {
        return known->second;
    }
    const int size = GetClusterSize(DriveOfPath(path));
    clusterSizes_[device] = size;
    return size;
}

// Where the file lies, read from the handle and its folder's descriptor: another mount
// over the name, a pseudo file system, an overlay's lower layer.
FileOutcome FilePurger::PlaceRefusal(const Job& job) const {
    if (!job.folderKnown) {
        return FileOutcome::FileChanged;
    }
    if (!platform::SameMount(job.folder, job.checked)) {
        return FileOutcome::MountPoint;
    }
    switch (Sys().FileSystemOf(job.handle.Get())) {
        case platform::FileSystemClass::Pseudo:
            return FileOutcome::PseudoFileSystem;
        case platform::FileSystemClass::Overlay:
            return Sys().DataInLowerLayer(job.handle.Get()) ? FileOutcome::LowerLayer
                                                            : FileOutcome::Ok;
        default:
            return FileOutcome::Ok;
    }
}

// The refusals that come before the file is opened for writing.
FileOutcome FilePurger::Refusal(const Job& job) {
    const FileStatus& status = job.checked;
    if (status.kind == FileKind::Symlink) {
        return FileOutcome::SymbolicLink;
    }
    if (status.kind != FileKind::Regular) {
        return FileOutcome::NotRegularFile;
    }
    if (status.links > 1 && !job.request.allowHardLinks) {
        return FileOutcome::HardLinks;
    }
    if (IsReadOnlyFile(status) && !job.request.okToPurgeReadOnly) {
        return FileOutcome::ReadOnlyNotPermitted;
    }
    if (const FileOutcome place = PlaceRefusal(job); place != FileOutcome::Ok) {
        return place;
    }
    if (!job.request.okToPurgeSystem && systemFolders_.Holds(job.file.folderFd, job.folder)) {
        return FileOutcome::SystemNotPermitted;
    }
    return FileOutcome::Ok;
}

// Everything before the first byte is written: the look at the file, the refusals, the
// cluster size and the open for writing.
FileOutcome FilePurger::Start(Job& job) {
    const std::error_code error =
        Sys().OpenEntry(job.file.folderFd, job.file.name, job.handle, job.checked);
    if (error) {
        job.cause = error;
        return error == std::errc::no_such_file_or_directory ? FileOutcome::FileChanged
                                                             : FileOutcome::CannotOpenForWriting;
    }
    job.folderKnown = !Sys().StatOpen(job.file.folderFd, job.folder);
    if (const FileOutcome refused = Refusal(job); refused != FileOutcome::Ok) {
        return refused;
    }
    job.clusterSize = ClusterSizeFor(job.checked.device, job.file.path);
    if (!ValidClusterSize(job.clusterSize)) {
        return FileOutcome::InvalidClusterSize;
    }
    if (job.request.verifyLastOverwrite && !Verifiable(job.handle.Get())) {
        return FileOutcome::CannotVerify;
    }
    if (const FileOutcome failed = Open(job); failed != FileOutcome::Ok) {
        return failed;
    }
    job.length = job.checked.size;
    const std::int64_t cluster = job.clusterSize;
    job.covered = RoundUp(std::max<std::int64_t>(job.length, 1), cluster);
    job.ranges = OverwriteRanges(job.fd.Get(), job.checked, cluster, job.request.slackOnly);
    job.sizeAfterOverwrite = std::max(job.length, job.ranges.empty() ? 0 : job.ranges.back().end);
    job.blocksBefore = job.checked.blocks;
    return FileOutcome::Ok;
}

// Opens the checked file for writing. A read-only mark is cleared only now that the
// purge will go on, and put back when the open fails anyway.
FileOutcome FilePurger::Open(Job& job) {
    const bool readOnly = IsReadOnlyFile(job.checked);
    job.modeBefore = job.checked.mode;
    job.modeCleared = readOnly && !Sys().SetModeOpen(job.handle.Get(), job.checked.mode | S_IWUSR);
    const OpenResult opened = Sys().ReopenForWriting(job.handle.Get(), job.fd);
    if (opened != OpenResult::Ok) {
        RestoreMode(job);
        return OpenFailure(opened);
    }
    if (job.request.slackOnly) {
        // Read before the lease: our own second open would break it.
        const std::int64_t start = RoundDown(job.checked.size, job.clusterSize);
        const auto size = static_cast<std::size_t>(job.checked.size - start);
        if (Sys().ReadPinned(job.handle.Get(), start, size, job.lastClusterData) ||
            job.lastClusterData.size() != size) {
            job.lastClusterData.clear();
        }
    }
    if (const FileOutcome refused = TakeLease(job); refused != FileOutcome::Ok) {
        job.fd.Reset();
        RestoreMode(job);
        return refused;
    }
    if (job.modeCleared) {
        job.checked.mode |= S_IWUSR;
    }
    return FileOutcome::Ok;
}

// Before the first byte is written. Refused: another program holds the file open, and
// whatever it writes later would land after our overwrites. Where the file system has
// no leases (EINVAL, ENOLCK, EOPNOTSUPP), the purge goes on as without them.
FileOutcome FilePurger::TakeLease(Job& job) {
    const std::error_code error = Sys().TakeWriteLease(job.fd.Get());
    if (error == std::errc::resource_unavailable_try_again) {
        return FileOutcome::InUse;
    }
    job.leased = !error;
    return FileOutcome::Ok;
}

// An open by another program breaks the lease: let it go at once, so that the opener
// waits no longer than one write run. A reader cannot bring new data to the device; a
// writer can, so the file is not called purged.
FileOutcome FilePurger::CheckedLease(Job& job) const {
    if (!job.leased) {
        return FileOutcome::Ok;
    }
    const platform::LeaseState state = Sys().HeldLease(job.fd.Get());
    if (state == platform::LeaseState::Write) {
        return FileOutcome::Ok;
    }
    Sys().ReleaseLease(job.fd.Get());
    job.leased = false;
    return state == platform::LeaseState::Read ? FileOutcome::Ok
                                               : FileOutcome::OpenedForWritingDuringPurge;
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

// The longest write run the file's ranges need, from the start of a range's first cluster.
std::size_t FilePurger::LongestRun(const Job& job) {
    std::int64_t longest = 0;
    for (const ByteRange& range : job.ranges) {
        longest = std::max(longest, range.end - RoundDown(range.begin, job.clusterSize));
    }
    return static_cast<std::size_t>(std::min<std::int64_t>(longest, kRunBytes));
}

// One overwrite of the file's ranges, written but not yet flushed. Every byte gets the
// byte of the block at its place in its cluster, also where a range starts mid-cluster.
FileOutcome FilePurger::WriteOverwrite(Job& job, PatternSelector selector) {
    const std::string& run = RunFor(selector, LongestRun(job));
    if (job.request.slackOnly && !job.ranges.empty() && !job.lastClusterData.empty()) {
        return WriteSlack(job, run);
    }
    bool first = true;
    for (const ByteRange& range : job.ranges) {
        for (std::int64_t offset = range.begin; offset < range.end; first = false) {
            if (!first && job.hooks.stopRequested && job.hooks.stopRequested()) {
                return FileOutcome::Stopped;
            }
            if (const FileOutcome lease = first ? FileOutcome::Ok : CheckedLease(job);
                lease != FileOutcome::Ok) {
                return lease;
            }
            const std::int64_t phase = offset % job.clusterSize;
            const auto chunk = static_cast<std::size_t>(std::min<std::int64_t>(
                range.end - offset, static_cast<std::int64_t>(run.size()) - phase));
            if (const std::error_code error =
                    Sys().WriteAt(job.fd.Get(), offset, run.data() + phase, chunk)) {
                job.cause = error;
                return FileOutcome::WriteFailed;
            }
            Wrote(chunk);
            offset += static_cast<std::int64_t>(chunk);
        }
    }
    return FileOutcome::Ok;
}

// The slack with the data before it in its cluster, written back as it was read: a write
// that begins at the end of a file lands at the wrong place of its cluster on fusefat,
// and one from the cluster's start does not.
FileOutcome FilePurger::WriteSlack(Job& job, const std::string& run) {
    const ByteRange& slack = job.ranges.front();
    const auto phase = static_cast<std::size_t>(slack.begin % job.clusterSize);
    slackWrite_.assign(job.lastClusterData);
    slackWrite_.append(run, phase, static_cast<std::size_t>(slack.end - slack.begin));
    const std::int64_t start = slack.begin - static_cast<std::int64_t>(job.lastClusterData.size());
    job.cause = Sys().WriteAt(job.fd.Get(), start, slackWrite_.data(), slackWrite_.size());
    if (job.cause) {
        return FileOutcome::WriteFailed;
    }
    Wrote(slackWrite_.size());
    return FileOutcome::Ok;
}

void FilePurger::Wrote(std::size_t bytes) const {
    if (progress_.wrote) {
        progress_.wrote(pass_, static_cast<std::int64_t>(bytes));
    }
}

void FilePurger::FilesEnded(std::size_t files) const {
    if (progress_.filesEnded && files > 0) {
        progress_.filesEnded(static_cast<int>(files));
    }
}

// A cut file let blocks go that the overwrites were meant to cover: whatever they held
// stays on the device. Asked of the descriptor, as size and allocated blocks.
FileOutcome FilePurger::CheckedSize(const Job& job) const {
    FileStatus now;
    if (Sys().StatOpen(job.fd.Get(), now) || now.size < job.sizeAfterOverwrite ||
        now.blocks < job.blocksBefore) {
        return FileOutcome::ShrankDuringPurge;
    }
    job.sizeSeen = now.size;
    return FileOutcome::Ok;
}

// After each flushed overwrite: nobody opened the file for writing, nobody cut it.
FileOutcome FilePurger::AfterOverwrite(Job& job) const {
    if (const FileOutcome lease = CheckedLease(job); lease != FileOutcome::Ok) {
        return lease;
    }
    return CheckedSize(job);
}

// One overwrite of a file purged alone: written, then flushed to the device.
FileOutcome FilePurger::OverwriteOnce(Job& job, PatternSelector selector) {
    if (const FileOutcome written = WriteOverwrite(job, selector); written != FileOutcome::Ok) {
        return written;
    }
    if (const std::error_code error = Sys().FlushToDevice(job.fd.Get())) {
        job.cause = error;
        return FileOutcome::FlushFailed;
    }
    return AfterOverwrite(job);
}

// Bytes appended while the overwrites ran, beyond their end, were never overwritten. The
// length is the one the check after the last overwrite saw: nothing was written since.
FileOutcome FilePurger::CheckedLength(const Job& job) const {
    std::int64_t size = job.sizeSeen;
    FileStatus now;
    if (size < 0) {
        size =
            Sys().StatOpen(job.fd.Get(), now) ? std::numeric_limits<std::int64_t>::max() : now.size;
    }
    return size > job.covered ? FileOutcome::GrewDuringPurge : FileOutcome::Ok;
}

// The last overwrite, read back past the page cache in the runs it was written in, each
// byte compared with the byte of the block at its place in its cluster: the device kept
// what it acknowledged, and no writer that mapped the file changed it since. Our own
// lease goes first: the reader's open would break it and wait for us to let go.
FileOutcome FilePurger::VerifyLastOverwrite(Job& job) {
    if (job.leased) {
        Sys().ReleaseLease(job.fd.Get());
        job.leased = false;
    }
    const std::string& run =
        RunFor(OverwriteSequence(job.request.purgeType).back(), LongestRun(job));
    bool first = true;
    for (const ByteRange& range : job.ranges) {
        for (std::int64_t offset = range.begin; offset < range.end; first = false) {
            if (!first && job.hooks.stopRequested && job.hooks.stopRequested()) {
                return FileOutcome::Stopped;
            }
            const std::int64_t phase = offset % job.clusterSize;
            const auto chunk = static_cast<std::size_t>(std::min<std::int64_t>(
                range.end - offset, static_cast<std::int64_t>(run.size()) - phase));
            job.cause = Sys().ReadUncached(job.fd.Get(), offset, chunk, readBack_);
            if (job.cause || readBack_.size() != chunk ||
                std::memcmp(readBack_.data(), run.data() + phase, chunk) != 0) {
                return FileOutcome::VerificationFailed;
            }
            offset += static_cast<std::int64_t>(chunk);
        }
    }
    job.verified = true;
    return FileOutcome::Ok;
}

// After the passes a kept file must look as before: same size, same times, same mode.
void FilePurger::RestoreSizeAndTimes(const Job& job) {
    if (!job.request.keepGrownSize) {
        // Best effort: the file's outcome already says it was kept; a size or times not
        // put back add nothing the report could say.
        (void)Sys().Resize(job.fd.Get(), job.checked.size);
        (void)Sys().SetTimes(job.fd.Get(), job.checked.times);
    }
    RestoreMode(job);
}

// The read-only mark goes back through the pinned inode, whatever its name leads to now.
void FilePurger::RestoreMode(const Job& job) {
    if (job.modeCleared) {
        // Best effort, as the size and times: the file is reported as kept either way.
        (void)Sys().SetModeOpen(job.handle.Get(), job.modeBefore);
    }
}

// A file that stays. One that changed under the purge keeps the size the other program
// gave it: setting ours back would cut or extend that program's file.
void FilePurger::Keep(const Job& job, FileOutcome result) {
    if (result == FileOutcome::GrewDuringPurge || result == FileOutcome::ShrankDuringPurge) {
        RestoreMode(job);
    } else {
        RestoreSizeAndTimes(job);
    }
}

FileOutcome FilePurger::RunPasses(Job& job) {
    for (int pass = 1; pass <= job.request.passes; ++pass) {
        pass_ = pass;
        PrepareOverwriteBlocks(job.clusterSize);
        for (PatternSelector selector : OverwriteSequence(job.request.purgeType)) {
            const FileOutcome result = OverwriteOnce(job, selector);
            if (result != FileOutcome::Ok) {
                return result;
            }
        }
        if (pass == job.request.passes) {
            break;
        }
        // The size stays at the whole clusters until the last pass: a file system may
        // refuse writes past a size cut on the same descriptor (fusefat does).
        if (job.hooks.betweenPasses && !job.hooks.betweenPasses(pass)) {
            return FileOutcome::Stopped;
        }
    }
    return CheckedLength(job);
}

// Deletes the name only while it still leads to the file we overwrote. The file is closed
// first: network and FUSE file systems keep an unlinked open file under a stand-in name.
// Its read-only mark needs no clearing: a name is removed by its folder's permission.
// flushFolder: a batch flushes each folder once, after its last delete.
FileOutcome FilePurger::Delete(Job& job, bool flushFolder) {
    job.fd.Reset();
    const int folder = job.file.folderFd;
    const std::string name = ScrubName(folder, job.file.name, job.checked, generator_);
    const std::error_code removal = RemoveName(job, name);
    if (!removal) {
        // Until the folder's flush succeeds the unlink may live in memory only: after a
        // crash or a remount the file would be back, under its old name.
        if (const std::error_code error =
                flushFolder ? Sys().SyncFolder(folder) : std::error_code{}) {
            job.cause = error;
            return FileOutcome::RemovalNotFlushed;
        }
        return FileOutcome::Ok;
    }
    job.cause = removal;
    // Kept: under its own name again, and at its own size, set through the pinned inode
    // so that no file saved under that name meanwhile is cut.
    if (name != job.file.name) {
        // The delete's own failure is what the report says; a file left under its
        // scrubbed name is still the file the report names as kept.
        (void)Sys().RenameAt(folder, name, job.file.name);
    }
    if (!job.request.keepGrownSize &&
        Sys().ReopenForWriting(job.handle.Get(), job.fd) == OpenResult::Ok) {
        (void)Sys().Resize(job.fd.Get(), job.checked.size);  // best effort, as above
        // After the cut, which sets the times; best effort too.
        (void)Sys().SetTimes(job.fd.Get(), job.checked.times);
    }
    return FileOutcome::NotDeleted;
}

// Removes the name (a busy file may let go of it soon: tried again, half a second apart).
// A read-only or failing device will not heal in two seconds: its volume gets no retries
// from then on, so that a volume gone read-only does not cost seconds per file. The last
// failure's reason when the name stays.
std::error_code FilePurger::RemoveName(const Job& job, const std::string& name) {
    const int folder = job.file.folderFd;
    const dev_t volume = job.checked.device;
    platform::FileStatus left;
    for (int failed = 0;;) {
        const std::error_code error = Sys().RemoveAt(folder, name, job.checked);
        // A name that is gone counts as deleted, whoever removed it.
        if (!error || Sys().StatAt(folder, name, left) == std::errc::no_such_file_or_directory) {
            return {};
        }
        if (error == std::errc::read_only_file_system || error == std::errc::io_error) {
            failingVolumes_.insert(volume);
        }
        if (error == platform::SystemError(ESTALE) || failingVolumes_.count(volume) != 0 ||
            ++failed >= kDeleteAttempts) {
            return error;
        }
        Sys().SleepMilliseconds(kDeleteRetryMs);
    }
}

FileResult FilePurger::Purge(const PurgeFileRef& file, const PurgeRequest& request,
                             const PurgeHooks& hooks) {
    const FileResult result = PurgeOne(file, request, hooks);
    FilesEnded(1);
    return result;
}

FileResult FilePurger::PurgeOne(const PurgeFileRef& file, const PurgeRequest& request,
                                const PurgeHooks& hooks) {
    if (const FileOutcome refused = RequestRefusal(file, request); refused != FileOutcome::Ok) {
        return {refused};
    }
    try {
        Job job(file, request, hooks);
        if (const FileOutcome failed = Start(job); failed != FileOutcome::Ok) {
            return {failed, job.cause};
        }
        FileOutcome result = RunPasses(job);
        if (result == FileOutcome::Ok && request.verifyLastOverwrite) {
            result = VerifyLastOverwrite(job);
        }
        if (result == FileOutcome::Ok && request.deleteFile && !request.slackOnly) {
            const FileOutcome deleted = Delete(job);
            if (deleted != FileOutcome::Ok) {
                RestoreMode(job);
            }
            return {deleted, job.cause, job.verified};
        }
        Keep(job, result);
        // The passes ask for a stop only after a write: its data is no longer whole.
        return {result == FileOutcome::Stopped ? FileOutcome::PartlyOverwritten : result, job.cause,
                job.verified};
    } catch (...) {  // out of memory for the blocks: the file was not purged
        return {FileOutcome::WriteFailed, std::make_error_code(std::errc::not_enough_memory)};
    }
}

// Overwrite `selector` for every file still going, then one shared flush, then each
// file's own error. False when goOn stopped the batch.
bool FilePurger::OverwriteBatch(std::vector<Job>& jobs, PatternSelector selector,
                                const std::function<bool()>& goOn) {
    int written = -1;
    for (Job& job : jobs) {
        if (job.result != FileOutcome::Ok) {
            continue;
        }
        if (!goOn()) {
            return false;
        }
        job.result = WriteOverwrite(job, selector);
        written = job.result == FileOutcome::Ok ? job.fd.Get() : written;
    }
    if (written < 0) {
        return true;
    }
    return FlushBatch(jobs, written, goOn);
}

// One flush of the volume carries every file's data to the device at once. A file's own
// flush would send a device flush of its own even for clean pages (ext4 does), so each
// file is asked only when the shared flush failed.
//
// Why a successful syncfs means no file failed (Linux 5.8 on): a writeback error sets the
// volume's error sequence (s_wb_err) as well as the file's, and syncfs reports every error
// newer than what the descriptor it is called on last saw, sampled when that descriptor was
// opened and advanced by each syncfs through it. Every file of the batch was opened before
// the batch's first write, so batchFd predates every error our writes can meet, whichever
// file of the batch it is; and an error already reported by an earlier overwrite's syncfs
// was met then, when each file was asked. Each file's fdatasync reports the errors of its
// own pages since that file was opened, so the file that failed is the one that answers.
// Older kernels ignore writeback errors in syncfs: there every file is asked.
bool FilePurger::FlushBatch(std::vector<Job>& jobs, int batchFd,
                            const std::function<bool()>& goOn) {
    const std::error_code shared = Sys().FlushVolume(batchFd);
    if (!shared && Sys().VolumeFlushReportsWriteErrors()) {
        return true;
    }
    for (Job& job : jobs) {
        if (job.result != FileOutcome::Ok) {
            continue;
        }
        // On a failing device each flush may take long: Ctrl-C must not wait for them all.
        if (!goOn()) {
            return false;
        }
        if (const std::error_code error = Sys().FlushToDevice(job.fd.Get())) {
            job.result = FileOutcome::FlushFailed;
            job.cause = error;
        }
    }
    return true;
}

// One overwrite of the batch, noting which files it began to write: goOn is asked before
// each file's write in turn, so the files it let through are the first ones still going.
bool FilePurger::RunBatchOverwrite(std::vector<Job>& jobs, PatternSelector selector,
                                   const std::function<bool()>& goOn) {
    std::vector<Job*> going;
    for (Job& job : jobs) {
        if (job.result == FileOutcome::Ok) {
            going.push_back(&job);
        }
    }
    std::size_t passed = 0;
    const bool finished = OverwriteBatch(jobs, selector, [&] {
        if (!goOn()) {
            return false;
        }
        ++passed;
        return true;
    });
    for (std::size_t i = 0; i < std::min(passed, going.size()); ++i) {
        going[i]->touched = true;
    }
    return finished;
}

// Every overwrite of every pass, each reaching the device for all files before the next
// begins; then each file's length is checked as after a purge alone.
void FilePurger::RunBatchPasses(std::vector<Job>& jobs, const std::function<bool()>& goOn) {
    if (jobs.empty()) {
        return;
    }
    const PurgeRequest& request = jobs.front().request;
    for (int pass = 1; pass <= request.passes; ++pass) {
        pass_ = pass;
        PrepareOverwriteBlocks(jobs.front().clusterSize);
        for (PatternSelector selector : OverwriteSequence(request.purgeType)) {
            if (!RunBatchOverwrite(jobs, selector, goOn)) {
                for (Job& job : jobs) {
                    if (job.result == FileOutcome::Ok) {
                        job.result =
                            job.touched ? FileOutcome::PartlyOverwritten : FileOutcome::Stopped;
                    }
                }
                return;
            }
            for (Job& job : jobs) {
                job.result = job.result == FileOutcome::Ok ? AfterOverwrite(job) : job.result;
            }
        }
    }
    for (Job& job : jobs) {
        job.result = job.result == FileOutcome::Ok ? CheckedLength(job) : job.result;
    }
}

// Each file's last overwrite, read back after the shared flush, before any name goes.
void FilePurger::VerifyBatch(std::vector<Job>& jobs, const std::function<bool()>& goOn) {
    for (Job& job : jobs) {
        if (job.result != FileOutcome::Ok) {
            continue;
        }
        // Every pass written, not deleted.
        job.result = goOn() ? VerifyLastOverwrite(job) : FileOutcome::PartlyOverwritten;
    }
}

// The names of the overwritten files go; one flush per folder makes the renames and
// unlinks durable together.
void FilePurger::DeleteBatch(std::vector<Job>& jobs, const std::function<bool()>& goOn) {
    std::vector<int> folders;
    for (Job& job : jobs) {
        if (job.result != FileOutcome::Ok) {
            continue;
        }
        if (!goOn()) {
            job.result = FileOutcome::PartlyOverwritten;  // every pass written, not deleted
            continue;
        }
        job.result = Delete(job, false);
        job.deleted = job.result == FileOutcome::Ok;
        if (job.deleted) {
            // The last reference of the unlinked inode goes now, so the file system frees
            // it in the same commit as the unlink: let go after the folder's flush, each
            // release waited for a commit of its own (about 4 ms each on ext4).
            job.handle.Reset();
        }
        if (job.deleted &&
            std::find(folders.begin(), folders.end(), job.file.folderFd) == folders.end()) {
            folders.push_back(job.file.folderFd);
        }
    }
    for (int folder : folders) {
        const std::error_code error = Sys().SyncFolder(folder);
        if (!error) {
            continue;
        }
        // Every unlink this flush was to make durable may come back after a crash.
        for (Job& job : jobs) {
            if (job.deleted && job.file.folderFd == folder) {
                job.result = FileOutcome::RemovalNotFlushed;
                job.cause = error;
            }
        }
    }
}

// A file that stays gets its size and times back, as after a purge alone.
void FilePurger::Finish(Job& job) {
    const bool restored = job.result == FileOutcome::NotDeleted;  // by Delete, through the handle
    if (!job.deleted && !restored && job.fd.Valid()) {
        Keep(job, job.result);
    } else if (!job.deleted) {
        RestoreMode(job);
    }
    job.fd.Reset();
    job.handle.Reset();
}

void FilePurger::PurgeBatch(std::vector<BatchFile>& files, const PurgeRequest& request,
                            const std::function<bool()>& goOn) {
    static const PurgeHooks kNoHooks;
    std::vector<Job> jobs;
    std::vector<BatchFile*> owners;
    try {
        jobs.reserve(files.size());
        for (BatchFile& entry : files) {
            entry.result = {RequestRefusal(entry.file, request)};
            if (!entry.result.Purged()) {
                continue;
            }
            Job job(entry.file, request, kNoHooks);
            entry.result = {Start(job), job.cause};
            if (entry.result.Purged() && !jobs.empty() &&
                job.clusterSize != jobs.front().clusterSize) {
                // Another volume's clusters (a file mounted over a name): alone.
                RestoreMode(job);
                job.fd.Reset();
                job.handle.Reset();
                entry.result = PurgeOne(entry.file, request, kNoHooks);
            } else if (entry.result.Purged()) {
                jobs.push_back(std::move(job));
                owners.push_back(&entry);
            }
        }
        RunBatchPasses(jobs, goOn);
        if (request.verifyLastOverwrite) {
            VerifyBatch(jobs, goOn);
        }
        if (request.deleteFile && !request.slackOnly) {
            DeleteBatch(jobs, goOn);
        }
    } catch (...) {  // out of memory for the blocks: nothing more is written
        for (Job& job : jobs) {
            if (job.result == FileOutcome::Ok && !job.deleted) {
                job.result = FileOutcome::WriteFailed;
                job.cause = std::make_error_code(std::errc::not_enough_memory);
            }
        }
    }
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        Finish(jobs[i]);
        owners[i]->result = {jobs[i].result, jobs[i].cause, jobs[i].verified};
    }
    FilesEnded(files.size());
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
    runSelector_.reset();
}

const std::string& FilePurger::OverwriteBlock(PatternSelector selector) const {
    const auto* found = std::find(kPatternBytes.begin(), kPatternBytes.end(), selector);
    if (found == kPatternBytes.end()) {
        return randomBlock_;
    }
    return patternBlocks_[static_cast<std::size_t>(found - kPatternBytes.begin())];
}

}  // namespace vorlane

#include "engine/FreeSpaceFill.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

namespace vorlane {
namespace {

using platform::SysFiles;

// Six digits name a million files: a petabyte of large ones.
std::string FileName(std::size_t number) {
    std::string digits = std::to_string(number);
    return "f" + std::string(digits.size() < 6 ? 6 - digits.size() : 0, '0') + digits;
}

// The pass's block in memory that direct writes accept.
class AlignedRun {
  public:
    explicit AlignedRun(std::string_view block)
        : size_(block.size()),
          data_(static_cast<char*>(std::aligned_alloc(kAlignment, RoundedUp(block.size()))),
                &std::free) {
        if (data_) {
            std::memcpy(data_.get(), block.data(), block.size());
        }
    }
    std::string_view View() const { return data_ ? std::string_view(data_.get(), size_) : ""; }

  private:
    static constexpr std::size_t kAlignment = 4096;
    static std::size_t RoundedUp(std::size_t size) {
        return (size + kAlignment - 1) / kAlignment * kAlignment;
    }
    std::size_t size_;
    std::unique_ptr<char, decltype(&std::free)> data_;
};

}  // namespace

bool IsNoSpace(std::error_code error) {
    return error == std::errc::no_space_on_device || error.value() == EDQUOT;
}

bool IsEndOfSpace(std::error_code error, int fd) {
    if (IsNoSpace(error)) {
        return true;
    }
    // Some file systems say otherwise: fusefat refuses the write after a short one with
    // EPERM. A volume that reports no block left is full, whatever the words.
    platform::VolumeSpace space;
    return !platform::SysVolumes().SpaceOfOpen(fd, space) && space.availableBlocks == 0;
}

std::error_code FreeSpaceFill::Create(int parentFd) {
    if (const std::error_code error =
            SysFiles().CreateUniqueFolderAt(parentFd, std::string(kFillFolderStem), name_)) {
        return error;
    }
    parentFd_ = parentFd;
    if (const std::error_code error = SysFiles().OpenFolder(parentFd, name_, folder_, status_)) {
        // Made a moment ago and empty: nothing of the fill is lost with it.
        (void)SysFiles().RemoveFolderAt(parentFd, name_, status_);
        name_.clear();
        return error;
    }
    // Held while the fill lasts: the start-up clean-up of another run leaves a locked
    // folder alone, since its fill is still going on. Where the file system has no
    // locks the fill goes on without.
    (void)SysFiles().TryLockExclusive(folder_.Get());
    return {};
}

std::error_code FreeSpaceFill::NewFile(platform::UniqueFd& out) {
    const std::string name = FileName(files_.size() + 1);
    bool direct = false;
    if (const std::error_code error =
            SysFiles().CreateDirectFileAt(folder_.Get(), name, out, direct)) {
        return error;
    }
    Made made{name, {}};
    // Unknown, the status matches no file: Remove() then leaves this one rather than
    // risk another's; the folder stays with it, and the next start removes both.
    (void)SysFiles().StatOpen(out.Get(), made.status);
    files_.push_back(made);
    return {};
}

FreeSpaceFill::Step FreeSpaceFill::WriteFile(std::string_view run, std::int64_t limit,
                                             const FillHooks& hooks, FillResult& result) {
    platform::UniqueFd fd;
    if (const std::error_code error = NewFile(fd)) {
        result.error = error;
        return IsNoSpace(error) ? Step::Full : Step::Failed;
    }
    ++result.files;
    std::error_code error;
    for (std::int64_t offset = 0; offset < limit; offset += static_cast<std::int64_t>(run.size())) {
        if (hooks.goOn && !hooks.goOn()) {
            return Step::Stopped;
        }
        error = SysFiles().WriteAt(fd.Get(), offset, run.data(), run.size());
        if (error) {
            // A write cut short by the end of space leaves its first bytes in the file.
            platform::FileStatus status;
            if (!SysFiles().StatOpen(fd.Get(), status) && status.size > offset) {
                result.writtenBytes += static_cast<std::uint64_t>(status.size - offset);
            }
            break;
        }
        result.writtenBytes += run.size();
        if (hooks.progress) {
            hooks.progress(result.writtenBytes);
        }
    }
    if (error && !IsEndOfSpace(error, fd.Get())) {
        result.error = error;
        return Step::Failed;
    }
    // The flush is what makes a file system give back what it held in reserve for
    // data not yet placed: the small files after it find that space.
    if (const std::error_code flushError = SysFiles().FlushToDevice(fd.Get())) {
        if (!IsEndOfSpace(flushError, fd.Get())) {
            result.error = flushError;
            return Step::Failed;
        }
        error = flushError;
    }
    return error ? Step::Full : Step::Filled;
}

FreeSpaceFill::Step FreeSpaceFill::FillSmall(std::string_view run, const FillSizes& sizes,
                                             const FillHooks& hooks, FillResult& result) {
    const auto cluster = static_cast<std::size_t>(std::max<std::int64_t>(1, sizes.clusterBytes));
    std::size_t chunk = run.size();
    for (int file = 0; file < sizes.smallFiles; ++file) {
        const std::uint64_t before = result.writtenBytes;
        const Step step = WriteFile(run.substr(0, chunk), std::numeric_limits<std::int64_t>::max(),
                                    hooks, result);
        if (step != Step::Full) {
            return step;
        }
        if (result.writtenBytes == before) {
            if (chunk <= cluster) {
                return Step::Full;
            }
            chunk = std::max(cluster, chunk / 2 / cluster * cluster);
        }
    }
    return Step::Full;
}

FillResult FreeSpaceFill::Fill(std::string_view block, const FillSizes& sizes,
                               const FillHooks& hooks) {
    // Direct writes take a buffer aligned to the device's blocks; a string's is not.
    const AlignedRun aligned(block);
    const std::string_view run = aligned.View();
    FillResult result;
    if (run.empty()) {
        result.end = FillEnd::WriteFailed;
        result.error = platform::SystemError(ENOMEM);
        return result;
    }
    Step step = Step::Filled;
    while (step == Step::Filled) {
        step = WriteFile(run, sizes.largeFileBytes, hooks, result);
    }
    if (step == Step::Full) {
        step = FillSmall(run, sizes, hooks, result);
    }
    if (step == Step::Stopped) {
        result.end = FillEnd::Stopped;
    } else if (step == Step::Failed) {
        result.end = FillEnd::WriteFailed;
    } else {
        result.end = FillEnd::Full;
        result.error.clear();
    }
    return result;
}

std::error_code FreeSpaceFill::Flush() const {
    return folder_.Valid() ? SysFiles().FlushVolume(folder_.Get()) : std::error_code();
}

std::error_code FreeSpaceFill::Remove() {
    if (!folder_.Valid()) {
        return {};
    }
    std::error_code first;
    for (Made& made : files_) {
        if (!made.gone) {
            const std::error_code error =
                SysFiles().RemoveAt(folder_.Get(), made.name, made.status);
            made.gone = !error;
            first = first ? first : error;
        }
    }
    const std::error_code folderFlush = SysFiles().SyncFolder(folder_.Get());
    first = first ? first : folderFlush;
    folder_.Reset();
    const std::error_code removal = SysFiles().RemoveFolderAt(parentFd_, name_, status_);
    first = first ? first : removal;
    const std::error_code parentFlush = SysFiles().SyncFolder(parentFd_);
    files_.clear();
    return first ? first : parentFlush;
}

}  // namespace vorlane

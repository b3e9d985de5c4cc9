#pragma once
// One fill of a volume's free space: a hidden folder of this program's own, files written
// with one block until the volume has no space left, and everything removed again.
// Every file is made and removed relative to the held folder, and a name is removed
// only while it still leads to the file this fill made.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/Platform.h"

namespace vorlane {

// The name every fill folder begins with; six random characters follow it.
inline constexpr std::string_view kFillFolderStem = ".vorlane-free-space-";

enum class FillEnd {
    Full,         // the volume reported no space: every block the user may write was written
    Stopped,      // goOn said no
    WriteFailed,  // a call failed for another reason than no space
};

struct FillResult {
    FillEnd end = FillEnd::Full;
    std::uint64_t writtenBytes = 0;
    int files = 0;
    std::error_code error;  // WriteFailed: the system's reason
};

struct FillHooks {
    // Asked before each write; false stops the fill. It may wait while paused.
    std::function<bool()> goOn;
    // The bytes written so far, after each write.
    std::function<void(std::uint64_t writtenBytes)> progress;
};

// Sizes of the fill: large files end at largeFileBytes (well below any file system's file
// size limit); the small files after the first "no space" take what the large
// writes left, down to one cluster.
struct FillSizes {
    std::int64_t largeFileBytes = std::int64_t{1} << 30;
    std::int64_t clusterBytes = 4096;
    int smallFiles = 64;  // at most, so that a volume that keeps finding space still ends
};

class FreeSpaceFill {
  public:
    FreeSpaceFill() = default;
    FreeSpaceFill(const FreeSpaceFill&) = delete;
    FreeSpaceFill& operator=(const FreeSpaceFill&) = delete;
    // Whatever happened, the fill goes: a volume is never left full.
    ~FreeSpaceFill() { (void)Remove(); }

    // Makes the hidden folder in the held folder parentFd, which the caller keeps open
    // until the fill is removed.
    std::error_code Create(int parentFd);
    // Writes `run` (a whole number of clusters) into new files until the volume is full.
    FillResult Fill(std::string_view run, const FillSizes& sizes, const FillHooks& hooks);
    // Every file's data and the volume's other writes reach the device.
    std::error_code Flush() const;
    // Removes every file and the folder, and flushes both folders; the first error.
    std::error_code Remove();

    const std::string& Name() const { return name_; }
    int FolderFd() const { return folder_.Get(); }

  private:
    struct Made {
        std::string name;
        platform::FileStatus status;
        bool gone = false;
    };
    enum class Step { Filled, Full, Stopped, Failed };

    std::error_code NewFile(platform::UniqueFd& out);
    Step WriteFile(std::string_view run, std::int64_t limit, const FillHooks& hooks,
                   FillResult& result);
    Step FillSmall(std::string_view run, const FillSizes& sizes, const FillHooks& hooks,
                   FillResult& result);

    int parentFd_ = -1;
    platform::UniqueFd folder_;
    std::string name_;
    platform::FileStatus status_;
    std::vector<Made> files_;
};

// True for "no space left" and for a user's quota that is used up: either way, no more
// of the volume can be written by this user.
bool IsNoSpace(std::error_code error);
// The same, or any other error of a write or flush on a volume that reports itself full.
bool IsEndOfSpace(std::error_code error, int fd);

}  // namespace vorlane

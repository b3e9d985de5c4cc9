// The calls the free-space purge needs of the system: the volume's blocks, a fresh
// folder of its own, and the discard that tells the device which blocks are free.

#include <fcntl.h>
#include <linux/fs.h>
#include <linux/magic.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/Platform.h"

namespace vorlane::platform {
namespace {

constexpr int kNameAttempts = 100;

// Six characters of the set mkdtemp draws from, from the kernel's entropy.
std::string RandomSuffix() {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[6] = {};
    // Without entropy the name is still unique by the EEXIST check; only guessable.
    (void)::getrandom(bytes, sizeof bytes, 0);
    std::string suffix;
    for (const unsigned char byte : bytes) {
        suffix += kLetters[byte % (sizeof kLetters - 1)];
    }
    return suffix;
}

bool DiscardMaxAbove0(const std::string& folder) {
    std::string text;
    if (Sys().ReadWholeFile(folder + "/queue/discard_max_bytes", text, 64)) {
        return false;
    }
    return std::strtoull(text.c_str(), nullptr, 10) > 0;
}

}  // namespace

std::error_code Platform::CreateUniqueFolderAt(int folderFd, const std::string& stem,
                                               std::string& name) const {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = stem + RandomSuffix();
        // 0700: nobody else may add to or read what the fill writes.
        if (::mkdirat(folderFd, name.c_str(), 0700) == 0) {
            return {};
        }
        if (errno != EEXIST) {
            const int error = errno;
            name.clear();
            return SystemError(error);
        }
    }
    name.clear();
    return SystemError(EEXIST);
}

std::error_code Platform::CreateDirectFileAt(int folderFd, const std::string& name, UniqueFd& out,
                                             bool& direct) const {
    // A fill is written once and never read: in the page cache it would only wait for
    // writeback, and the kernel holds a writer of many dirty pages to writeback's pace.
    // Direct writes go to the device at its own speed, as dd oflag=direct does.
    // O_EXCL with O_NOFOLLOW: a name someone else made is never opened.
    UniqueFd fd(::openat(folderFd, name.c_str(),
                         O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.Valid()) {
        return SystemError(errno);
    }
    // Set after the open, since an open with O_DIRECT that the file system refuses
    // has made the file already. Without it (some FUSE file systems) the writes are
    // cached ones.
    const int flags = ::fcntl(fd.Get(), F_GETFL);
    direct = flags >= 0 && ::fcntl(fd.Get(), F_SETFL, flags | O_DIRECT) == 0;
    out = std::move(fd);
    return {};
}

std::error_code Platform::TryLockExclusive(int fd) const {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? std::error_code() : SystemError(errno);
}

std::error_code Platform::SpaceOfOpen(int fd, VolumeSpace& out) const {
    struct statvfs volume {};
    if (::fstatvfs(fd, &volume) != 0) {
        return SystemError(errno);
    }
    out.blockBytes = volume.f_frsize != 0 ? volume.f_frsize : volume.f_bsize;
    out.freeBlocks = volume.f_bfree;
    out.availableBlocks = volume.f_bavail;
    return {};
}

bool Platform::DiscardSupported(int fd) const {
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        return false;
    }
    // A partition has no queue of its own: its disk's, one folder up, holds the answer.
    const std::string device = "/sys/dev/block/" + std::to_string(major(status.st_dev)) + ":" +
                               std::to_string(minor(status.st_dev));
    return DiscardMaxAbove0(device) || DiscardMaxAbove0(device + "/..");
}

bool Platform::HeldInMemory(int fd) const {
    struct statfs volume {};
    return ::fstatfs(fd, &volume) == 0 &&
           (volume.f_type == TMPFS_MAGIC || volume.f_type == RAMFS_MAGIC);
}

std::error_code Platform::TrimFreeSpace(int mountFd, std::uint64_t& trimmedBytes) const {
    fstrim_range range{};
    range.len = UINT64_MAX;
    if (::ioctl(mountFd, FITRIM, &range) != 0) {
        trimmedBytes = 0;
        return SystemError(errno);
    }
    trimmedBytes = range.len;
    return {};
}

}  // namespace vorlane::platform

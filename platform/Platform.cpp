#include "platform/Platform.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/MountTable.h"
#include "platform/PathNames.h"

namespace vorlane::platform {
namespace {

FileStatus StatusFrom(const struct statx& st) {
    FileStatus status;
    if (S_ISREG(st.stx_mode)) {
        status.kind = FileKind::Regular;
    } else if (S_ISDIR(st.stx_mode)) {
        status.kind = FileKind::Directory;
    } else if (S_ISLNK(st.stx_mode)) {
        status.kind = FileKind::Symlink;
    } else {
        status.kind = FileKind::Other;
    }
    status.size = static_cast<std::int64_t>(st.stx_size);
    status.mode = st.stx_mode;
    status.times.access = {st.stx_atime.tv_sec, st.stx_atime.tv_nsec};
    status.times.modification = {st.stx_mtime.tv_sec, st.stx_mtime.tv_nsec};
    status.device = makedev(st.stx_dev_major, st.stx_dev_minor);
    status.inode = st.stx_ino;
    status.links = st.stx_nlink;
    status.blocks = static_cast<std::int64_t>(st.stx_blocks);
    // The mount, not the device: a bind mount shares its file system's device number.
    status.mountId = (st.stx_mask & STATX_MNT_ID) != 0 ? st.stx_mnt_id : 0;
    status.owner = st.stx_uid;
    return status;
}

// One look at an entry (or, with AT_EMPTY_PATH, at what a descriptor holds).
int StatxAt(int folderFd, const char* name, int flags, FileStatus& out) {
    struct statx st {};
    if (::statx(folderFd, name, flags | AT_NO_AUTOMOUNT, STATX_BASIC_STATS | STATX_MNT_ID, &st) !=
        0) {
        return errno;
    }
    out = StatusFrom(st);
    return 0;
}

OpenResult ResultOfKind(FileKind kind) {
    switch (kind) {
        case FileKind::Missing:
            return OpenResult::Missing;
        case FileKind::Symlink:
            return OpenResult::SymbolicLink;
        case FileKind::Regular:
            return OpenResult::Ok;
        default:
            return OpenResult::NotRegular;
    }
}

OpenResult ResultOfErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return OpenResult::Missing;
        case ELOOP:
            return OpenResult::SymbolicLink;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return OpenResult::Denied;
        default:
            return OpenResult::Failed;
    }
}

// A system call's result: the errno it left when it failed.
std::error_code ErrorOf(int rc) {
    return rc == 0 ? std::error_code() : SystemError(errno);
}

// Owns a descriptor just returned by an open (errno still set when it failed) and
// reads the status of what it holds.
std::error_code TakeOpened(const Platform& sys, int rawFd, UniqueFd& out, FileStatus& status) {
    if (rawFd < 0) {
        return SystemError(errno);
    }
    UniqueFd fd(rawFd);
    if (const std::error_code error = sys.StatOpen(fd.Get(), status)) {
        return error;
    }
    out = std::move(fd);
    return {};
}

FileSystemClass ClassOfMagic(std::uint64_t magic) {
    // Magic numbers of statfs(2): the kernel's own word on what a descriptor lies on,
    // unlike a mount table read earlier.
    constexpr std::array<std::uint64_t, 19> kPseudo = {
        0x9fa0,      // proc
        0x62656572,  // sysfs
        0x74726163,  // tracefs
        0x64626720,  // debugfs
        0x73636673,  // securityfs
        0x27e0eb,    // cgroup
        0x63677270,  // cgroup2
        0x6165676c,  // pstore
        0xcafe4a11,  // bpf
        0xde5e81e4,  // efivarfs
        0x1cd1,      // devpts
        0x62656570,  // configfs
        0x65735543,  // fusectl
        0x19800202,  // mqueue
        0x958458f6,  // hugetlbfs
        0x0187,      // autofs
        0x42494e4d,  // binfmt_misc
        0x6e736673,  // nsfs
        0xf97cff8c,  // selinuxfs
    };
    constexpr std::array<std::uint64_t, 5> kCopyOnWrite = {
        0x9123683e,  // btrfs
        0x2fc12fc1,  // zfs
        0xf2f52010,  // f2fs
        0x3434,      // nilfs2
        0xca451a4e,  // bcachefs
    };
    constexpr std::uint64_t kOverlay = 0x794c7630;
    if (std::find(kPseudo.begin(), kPseudo.end(), magic) != kPseudo.end()) {
        return FileSystemClass::Pseudo;
    }
    if (std::find(kCopyOnWrite.begin(), kCopyOnWrite.end(), magic) != kCopyOnWrite.end()) {
        return FileSystemClass::CopyOnWrite;
    }
    return magic == kOverlay ? FileSystemClass::Overlay : FileSystemClass::Ordinary;
}

}  // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        Reset();
        fd_ = other.Release();
    }
    return *this;
}

int UniqueFd::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

std::error_code UniqueFd::Reset() {
    if (fd_ < 0) {
        return {};
    }
    const int rc = ::close(fd_);
    fd_ = -1;
    return ErrorOf(rc);
}

namespace {

// A look by path: the status, or a Missing one that keeps why the look failed.
FileStatus StatPath(const std::string& path, int flags) {
    FileStatus status;
    const int error = path.empty() ? ENOENT : StatxAt(AT_FDCWD, path.c_str(), flags, status);
    if (error != 0) {
        status = {};
        status.error = SystemError(error);
    }
    return status;
}

}  // namespace

FileStatus Platform::StatNoFollow(const std::string& path) const {
    return StatPath(path, AT_SYMLINK_NOFOLLOW);
}

FileStatus Platform::StatFollowing(const std::string& path) const {
    return StatPath(path, 0);
}

std::error_code Platform::StatOpen(int fd, FileStatus& out) const {
    return SystemError(StatxAt(fd, "", AT_EMPTY_PATH, out));
}

OpenResult Platform::OpenForOverwrite(const std::string& path, UniqueFd& out) const {
    const std::filesystem::path file(path);
    UniqueFd folder;
    FileStatus folderStatus;
    const std::string parent = file.has_parent_path() ? file.parent_path().string() : ".";
    if (OpenFolder(AT_FDCWD, parent, folder, folderStatus)) {
        return OpenResult::Missing;
    }
    UniqueFd handle;
    FileStatus status;
    if (const std::error_code error =
            OpenEntry(folder.Get(), file.filename().string(), handle, status)) {
        return ResultOfErrno(error.value());
    }
    if (status.kind != FileKind::Regular) {
        return ResultOfKind(status.kind);
    }
    return ReopenForWriting(handle.Get(), out);
}

std::error_code Platform::WriteAt(int fd, std::int64_t offset, const void* data,
                                  std::size_t size) const {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, bytes, size, offset);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return SystemError(errno);
        }
        if (written == 0) {
            return SystemError(ENOSPC);
        }
        bytes += written;
        offset += written;
        size -= static_cast<std::size_t>(written);
    }
    return {};
}

// fdatasync writes the data and whatever is needed to read it back (a grown size) and
// skips the time stamps, which the purge sets back anyway.
std::error_code Platform::FlushToDevice(int fd) const {
    return ErrorOf(::fdatasync(fd));
}

std::error_code Platform::FlushVolume(int fd) const {
    // One journal commit and one device cache flush for the whole batch, where a flush per
    // file would pay both for every file.
    return ErrorOf(::syncfs(fd));
}

int Platform::RaiseOpenFileLimit() const {
    // A batch holds two descriptors per file; the soft limit (often 1,024) is only a default.
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) {
        return 1024;
    }
    if (limit.rlim_cur < limit.rlim_max) {
        rlimit raised = limit;
        raised.rlim_cur = std::min<rlim_t>(limit.rlim_max, 65536);
        if (raised.rlim_cur > limit.rlim_cur && ::setrlimit(RLIMIT_NOFILE, &raised) == 0) {
            limit = raised;
        }
    }
    return static_cast<int>(std::min<rlim_t>(limit.rlim_cur, 65536));
}

std::error_code Platform::Resize(int fd, std::int64_t size) const {
    return ErrorOf(::ftruncate(fd, size));
}

std::error_code Platform::SetTimes(int fd, const FileTimes& times) const {
    const timespec both[2] = {times.access, times.modification};
    return ErrorOf(::futimens(fd, both));
}

std::error_code Platform::DataRanges(int fd, std::int64_t length,
                                     std::vector<ByteRange>& out) const {
    out.clear();
    for (off_t offset = 0; offset < length;) {
        const off_t data = ::lseek(fd, offset, SEEK_DATA);
        if (data < 0) {
            // ENXIO: no data after offset, only a hole up to the end.
            return errno == ENXIO ? std::error_code() : SystemError(errno);
        }
        if (data >= length) {
            break;
        }
        const off_t hole = ::lseek(fd, data, SEEK_HOLE);
        if (hole < 0) {
            return SystemError(errno);
        }
        out.push_back({data, std::min<std::int64_t>(hole, length)});
        offset = hole;
    }
    return {};
}

namespace {

// Breaking a lease sends its holder SIGIO, whose default action ends the process: the
// purge learns of a break by asking (HeldLease), so the signal itself is only dropped.
// A handler someone else installed is left in place.
void IgnoreLeaseBreakSignal() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction current {};
        if (::sigaction(SIGIO, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
            struct sigaction ignore {};
            ignore.sa_handler = SIG_IGN;
            ::sigemptyset(&ignore.sa_mask);
            ::sigaction(SIGIO, &ignore, nullptr);
        }
    });
}

bool IsNetworkMagic(decltype(statfs::f_type) type) {
    constexpr decltype(type) kNfs = 0x6969, kSmb2 = 0xFE534D42, kCifs = 0xFF534D42;
    return type == kNfs || type == kSmb2 || type == kCifs;
}

}  // namespace

std::error_code Platform::TakeWriteLease(int fd) const {
    IgnoreLeaseBreakSignal();
    // Granted only while no other open file (another program's descriptor or mapping)
    // holds the inode: what it writes later could reach the device after our overwrite.
    if (::fcntl(fd, F_SETLEASE, F_WRLCK) == 0) {
        return {};
    }
    const int error = errno;
    // NFSv4 and SMB grant a write lease only while the server has delegated the file to
    // this client: their refusal says nothing of other programs, so it counts as "no
    // leases here".
    struct statfs volume {};
    if (error == EAGAIN && ::fstatfs(fd, &volume) == 0 && IsNetworkMagic(volume.f_type)) {
        return SystemError(EOPNOTSUPP);
    }
    return SystemError(error);
}

LeaseState Platform::HeldLease(int fd) const {
    switch (::fcntl(fd, F_GETLEASE)) {
        case F_WRLCK:
            return LeaseState::Write;
        case F_RDLCK:
            return LeaseState::Read;
        default:
            return LeaseState::None;
    }
}

void Platform::ReleaseLease(int fd) const {
    // Nothing to do on failure: closing the descriptor lets the lease go as well.
    ::fcntl(fd, F_SETLEASE, F_UNLCK);
}

std::error_code Platform::SetMode(const std::string& path, mode_t mode) const {
    // Through a handle on the entry itself: a link's target is never changed, and a
    // link swapped in after a look cannot redirect the change.
    return SetModeAt(AT_FDCWD, path, mode);
}

std::error_code Platform::RemoveFile(const std::string& path) const {
    return ErrorOf(::unlink(path.c_str()));
}

std::error_code Platform::OpenFolderPath(const std::string& path, UniqueFd& out,
                                         FileStatus& status) const {
    // A trailing "/" would make the kernel follow a link in the last name.
    std::string plain = path;
    while (plain.size() > 1 && plain.back() == '/') {
        plain.pop_back();
    }
    if (plain.empty()) {
        return SystemError(ENOENT);
    }
    open_how how{};
    how.flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    // /proc/PID/root and /proc/self/fd/N lead into other mount namespaces and to whatever
    // a descriptor holds: text that means something else to the kernel than it reads.
    how.resolve = RESOLVE_NO_MAGICLINKS;
    int fd = static_cast<int>(::syscall(SYS_openat2, AT_FDCWD, plain.c_str(), &how, sizeof how));
    if (fd < 0 && errno == ENOSYS) {
        // Before Linux 5.6: the plain open, which still refuses a link as the last name.
        fd = ::openat(AT_FDCWD, plain.c_str(), static_cast<int>(how.flags));
    }
    return TakeOpened(*this, fd, out, status);
}

std::string Platform::PathOfOpen(int fd) const {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error);
    return error ? std::string() : path.string();
}

FileSystemClass Platform::FileSystemOf(int fd) const {
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0) {
        return FileSystemClass::Ordinary;
    }
    return ClassOfMagic(static_cast<std::uint64_t>(fs.f_type));
}

bool Platform::DataInLowerLayer(int fd) const {
    // The overlay's own file handle names the layer its data came from: a file made in
    // the upper layer is encoded as upper; one that lies below, or was copied up from
    // below (the lower copy stays), is encoded by its lower origin.
    constexpr int kHandleFid = 0x200;  // AT_HANDLE_FID: a handle for identity only (Linux 6.5)
    constexpr int kFileIdV0 = 0xfb;
    constexpr int kFileIdV1 = 0xf8;  // the same, after three bytes of padding
    constexpr unsigned char kPathUpper = 4;
    // A file_handle with room behind it for the overlay's bytes.
    alignas(file_handle) unsigned char storage[sizeof(file_handle) + 128] = {};
    auto* handle = reinterpret_cast<file_handle*>(storage);
    handle->handle_bytes = 128;
    int mount = 0;
    if (::name_to_handle_at(fd, "", handle, &mount, AT_EMPTY_PATH | kHandleFid) != 0) {
        return true;  // an older kernel cannot tell: assume the worst
    }
    const std::size_t start = handle->handle_type == kFileIdV1 ? 3 : 0;
    if ((handle->handle_type != kFileIdV0 && handle->handle_type != kFileIdV1) ||
        handle->handle_bytes < start + 4) {
        return true;
    }
    const unsigned char flags = storage[sizeof(file_handle) + start + 3];
    return (flags & kPathUpper) == 0;
}

std::string Platform::MountPointOf(int folderFd) const {
    FileStatus here;
    UniqueFd current;
    if (OpenFolder(folderFd, ".", current, here)) {
        return {};
    }
    // Up through ".." while the parent lies on the same mount; the root is its own parent.
    for (;;) {
        UniqueFd parent;
        FileStatus above;
        if (OpenFolder(current.Get(), "..", parent, above) || !SameMount(above, here) ||
            (above.device == here.device && above.inode == here.inode)) {
            return PathOfOpen(current.Get());
        }
        current = std::move(parent);
        here = above;
    }
}

std::error_code Platform::ListFolder(const std::string& path, std::vector<FolderEntry>& out) const {
    out.clear();
    UniqueFd folder;
    FileStatus status;
    if (const std::error_code error = OpenFolder(AT_FDCWD, path, folder, status)) {
        return error;
    }
    return ReadFolder(folder.Get(), out);
}

std::error_code Platform::OpenFolder(int atFd, const std::string& name, UniqueFd& out,
                                     FileStatus& status) const {
    // A trailing "/" would make the kernel follow a link in the last name.
    std::string plain = name;
    while (plain.size() > 1 && plain.back() == '/') {
        plain.pop_back();
    }
    return TakeOpened(
        *this, ::openat(atFd, plain.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC), out,
        status);
}

std::error_code Platform::ReadFolder(int folderFd, std::vector<FolderEntry>& out) const {
    out.clear();
    // readdir moves the descriptor's position: read through a copy, from the start.
    const int copy = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (copy < 0) {
        return SystemError(errno);
    }
    DIR* dir = ::fdopendir(copy);
    if (dir == nullptr) {
        const std::error_code error = SystemError(errno);
        ::close(copy);
        return error;
    }
    std::error_code error;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            error = SystemError(errno);
            break;
        }
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        FolderEntry listed{name, {}, {}};
        if (const int failed =
                StatxAt(folderFd, name.c_str(), AT_SYMLINK_NOFOLLOW, listed.status)) {
            if (failed == ENOENT) {
                continue;  // gone since it was listed: nothing left to act on
            }
            // Listed but not to be looked at (a FUSE mount of another user): the walk says so.
            listed.status = {};
            listed.statError = SystemError(failed);
        }
        out.push_back(std::move(listed));
    }
    ::closedir(dir);
    std::sort(out.begin(), out.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return error;
}

std::error_code Platform::StatAt(int folderFd, const std::string& name, FileStatus& out) const {
    if (const int failed = StatxAt(folderFd, name.c_str(), AT_SYMLINK_NOFOLLOW, out)) {
        out = {};
        return SystemError(failed);
    }
    return {};
}

std::error_code Platform::OpenEntry(int folderFd, const std::string& name, UniqueFd& out,
                                    FileStatus& status) const {
    return TakeOpened(*this, ::openat(folderFd, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC), out,
                      status);
}

OpenResult Platform::ReopenForWriting(int handleFd, UniqueFd& out) const {
    FileStatus pinned;
    if (StatOpen(handleFd, pinned) || pinned.kind != FileKind::Regular) {
        return OpenResult::NotRegular;
    }
    // The descriptor's entry in /proc opens the pinned inode itself, whatever its name
    // leads to now. O_NONBLOCK: a mandatory lock must not hang the walk.
    const std::string self = "/proc/self/fd/" + std::to_string(handleFd);
    UniqueFd fd(::open(self.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.Valid()) {
        return ResultOfErrno(errno);
    }
    FileStatus opened;
    if (StatOpen(fd.Get(), opened) || opened.device != pinned.device ||
        opened.inode != pinned.inode) {
        return OpenResult::Moved;
    }
    // The open set no other flag that F_SETFL changes, so 0 clears O_NONBLOCK alone
    // without asking for the flags first. Left non-blocking, writes still work.
    ::fcntl(fd.Get(), F_SETFL, 0);
    out = std::move(fd);
    return OpenResult::Ok;
}

std::error_code Platform::ReadPinned(int handleFd, std::int64_t offset, std::size_t size,
                                     std::string& out) const {
    out.clear();
    FileStatus pinned;
    if (const std::error_code error = StatOpen(handleFd, pinned)) {
        return error;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(handleFd);
    UniqueFd fd(::open(self.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    FileStatus opened;
    if (!fd.Valid()) {
        return SystemError(errno);
    }
    if (StatOpen(fd.Get(), opened) || opened.device != pinned.device ||
        opened.inode != pinned.inode) {
        return SystemError(ESTALE);
    }
    out.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd.Get(), out.data() + done, size - done,
                                    offset + static_cast<std::int64_t>(done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return SystemError(errno);
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    out.resize(done);
    return {};
}

std::error_code Platform::SetModeOpen(int fd, mode_t mode) const {
    if (::fchmod(fd, mode & 07777) == 0) {
        return {};
    }
    if (errno != EBADF) {
        return SystemError(errno);
    }
    // A handle (O_PATH) takes no fchmod; its /proc entry names the same inode.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ErrorOf(::chmod(self.c_str(), mode & 07777));
}

std::error_code Platform::SetModeAt(int folderFd, const std::string& name, mode_t mode) const {
    UniqueFd handle;
    FileStatus status;
    if (const std::error_code error = OpenEntry(folderFd, name, handle, status)) {
        return error;
    }
    if (status.kind != FileKind::Regular && status.kind != FileKind::Directory) {
        return SystemError(EINVAL);
    }
    return SetModeOpen(handle.Get(), mode);
}

std::error_code Platform::RemoveAt(int folderFd, const std::string& name,
                                   const FileStatus& expected) const {
    FileStatus now;
    if (const std::error_code error = StatAt(folderFd, name, now)) {
        return error;
    }
    if (now.device != expected.device || now.inode != expected.inode) {
        return SystemError(ESTALE);
    }
    return ErrorOf(::unlinkat(folderFd, name.c_str(), 0));
}

std::error_code Platform::RemoveFolderAt(int folderFd, const std::string& name,
                                         const FileStatus& expected) const {
    FileStatus now;
    if (const std::error_code error = StatAt(folderFd, name, now)) {
        return error;
    }
    if (now.kind != FileKind::Directory || now.device != expected.device ||
        now.inode != expected.inode) {
        return SystemError(ESTALE);
    }
    return ErrorOf(::unlinkat(folderFd, name.c_str(), AT_REMOVEDIR));
}

std::error_code Platform::RenameAt(int folderFd, const std::string& from,
                                   const std::string& to) const {
    return ErrorOf(::renameat2(folderFd, from.c_str(), folderFd, to.c_str(), RENAME_NOREPLACE));
}

// The folder's own flush makes a rename or an unlink durable, so the old name is not
// left for the journal to replay.
std::error_code Platform::SyncFolder(int folderFd) const {
    return ErrorOf(::fsync(folderFd));
}

std::error_code Platform::RenameAtReplacing(int folderFd, const std::string& from,
                                            const std::string& to) const {
    // FUSE file systems (fusefat, ntfs-3g, exfat-fuse) refuse renameat2's flags; a plain
    // renameat is all they take.
    return ErrorOf(::renameat(folderFd, from.c_str(), folderFd, to.c_str()));
}

bool Platform::VolumeFlushReportsWriteErrors() const {
    static const bool reports = [] {
        utsname system{};
        int major = 0;
        int minor = 0;
        return ::uname(&system) == 0 && std::sscanf(system.release, "%d.%d", &major, &minor) == 2 &&
               (major > 5 || (major == 5 && minor >= 8));
    }();
    return reports;
}

std::error_code Platform::CreateFolder(const std::string& path) const {
    return ErrorOf(::mkdir(path.c_str(), 0777));
}

std::error_code Platform::RemoveEmptyFolder(const std::string& path) const {
    return ErrorOf(::rmdir(path.c_str()));
}

std::vector<std::string> Platform::SystemFolders() const {
    return {"/bin", "/boot", "/etc", "/lib", "/lib32", "/lib64", "/libx32", "/sbin", "/usr"};
}

std::string Platform::ExecutableFolder() const {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : exe.parent_path().string();
}

std::vector<std::string> Platform::ActiveSwapFiles() const {
    return ReadSwapFiles("/proc/swaps");
}

std::string Platform::EnvironmentValue(const std::string& name) const {
    const char* value = std::getenv(name.c_str());
    return value == nullptr ? std::string() : std::string(value);
}

uid_t Platform::UserId() const {
    return ::getuid();
}

std::vector<Volume> Platform::ListVolumes() const {
    return ReadMountTable("/proc/self/mountinfo", "/sys/block");
}

std::vector<Volume> Platform::ListMounts() const {
    return ParseAllMounts(ReadMountInfo("/proc/self/mountinfo"), "/sys/block");
}

std::optional<Volume> Platform::VolumeOf(const std::string& path) const {
    // By the mount the kernel reaches, not by the text: the folder itself, or the folder
    // that holds the named file.
    UniqueFd folder;
    FileStatus status;
    if (OpenFolderPath(path + "/.", folder, status)) {
        const std::size_t slash = path.rfind('/');
        // Not opened either: folder stays invalid, which the next test answers.
        (void)OpenFolderPath(slash == std::string::npos ? "." : path.substr(0, slash) + "/.",
                             folder, status);
    }
    if (!folder.Valid()) {
        return FindVolumeOf(ListVolumes(), ResolveParent(path));
    }
    for (const Volume& mount : ListMounts()) {
        if (status.mountId != 0 && mount.mountId == status.mountId) {
            return mount.pseudo ? std::nullopt : std::optional<Volume>(mount);  // no drive
        }
    }
    // A mount the table does not show, as in a chroot whose root is no mount point of its
    // own: named by the highest folder of the same mount.
    Volume unlisted;
    unlisted.mountPoint = MountPointOf(folder.Get());
    unlisted.device = status.device;
    unlisted.mountId = status.mountId;
    unlisted.kind = DriveKind::Fixed;
    if (unlisted.mountPoint.empty()) {
        return std::nullopt;
    }
    return unlisted;
}

std::optional<ClusterInfo> Platform::QueryClusters(const std::string& mountPoint) const {
    struct statvfs vfs {};
    if (mountPoint.empty() || ::statvfs(mountPoint.c_str(), &vfs) != 0 || vfs.f_frsize == 0) {
        return std::nullopt;
    }
    struct stat st {};
    const std::int64_t blockSize = ::stat(mountPoint.c_str(), &st) == 0 ? st.st_blksize : 0;
    // Some FUSE file systems report a block smaller than their clusters in statvfs.
    const std::int64_t cluster =
        std::max<std::int64_t>({static_cast<std::int64_t>(vfs.f_frsize),
                                static_cast<std::int64_t>(vfs.f_bsize), blockSize});
    ClusterInfo info;
    info.clusterBytes = cluster;
    info.freeClusters = static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize / cluster;
    info.totalClusters = static_cast<std::uint64_t>(vfs.f_blocks) * vfs.f_frsize / cluster;
    return info;
}

std::optional<SpaceInfo> Platform::QuerySpace(const std::string& mountPoint) const {
    struct statvfs vfs {};
    if (mountPoint.empty() || ::statvfs(mountPoint.c_str(), &vfs) != 0) {
        return std::nullopt;
    }
    return SpaceInfo{static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize,
                     static_cast<std::uint64_t>(vfs.f_blocks) * vfs.f_frsize};
}

void Platform::SleepMilliseconds(int ms) const {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::tm Platform::LocalTime(std::time_t when) const {
    std::tm local{};
    ::localtime_r(&when, &local);
    return local;
}

std::time_t Platform::Now() const {
    return std::time(nullptr);
}

double Platform::SecondsSinceMidnight() const {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const std::tm local = LocalTime(now.tv_sec);
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + now.tv_nsec / 1e9;
}

std::string Platform::ErrorText(std::error_code error) {
    std::string text = error.message();
    if (!text.empty()) {
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    }
    return text;
}

namespace {
const Platform kPosix;
// Read by the GUI thread and an operation's worker alike; a test puts its stand-in in
// place before it starts a worker and takes it away after the worker has ended.
std::atomic<const Platform*> gCurrent{&kPosix};
}  // namespace

const Platform& Sys() {
    return *gCurrent.load(std::memory_order_acquire);
}

ScopedPlatform::ScopedPlatform(const Platform& stand)
    : previous_(gCurrent.exchange(&stand, std::memory_order_acq_rel)) {}

ScopedPlatform::~ScopedPlatform() {
    gCurrent.store(previous_, std::memory_order_release);
}

}  // namespace vorlane::platform

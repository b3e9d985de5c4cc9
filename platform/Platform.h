#pragma once
// The one door to the operating system. Everything above this layer asks through
// Sys(), so a test can put a stand-in in its place (see ScopedPlatform) and a port
// to another system only replaces PosixPlatform.

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace vorlane::platform {

// An errno value as an error code; errno 0 gives the empty code of success.
inline std::error_code SystemError(int errorNumber) {
    return {errorNumber, std::system_category()};
}

enum class DriveKind { Unknown, Removable, Fixed, Network, CdRom, RamDisk };

struct Volume {
    std::string mountPoint;  // the "drive": every per-drive table is keyed by it
    std::string fsType;
    std::string source;
    DriveKind kind = DriveKind::Unknown;
    dev_t device = 0;           // as stat reports it for files on this volume
    std::uint64_t mountId = 0;  // as statx reports it for files reached through this mount
    bool pseudo = false;        // proc, sysfs and the like: never a drive, never walked into
};

struct ClusterInfo {
    std::int64_t clusterBytes = 0;
    std::uint64_t freeClusters = 0;  // clusters the user may still fill
    std::uint64_t totalClusters = 0;
};

// A volume's blocks as statvfs counts them. Free blocks beyond the available ones are
// reserved for root: only root's writes reach them.
struct VolumeSpace {
    std::uint64_t blockBytes = 0;
    std::uint64_t freeBlocks = 0;
    std::uint64_t availableBlocks = 0;
};

struct SpaceInfo {
    std::uint64_t freeBytes = 0;  // available to the caller
    std::uint64_t totalBytes = 0;
};

struct FileTimes {
    timespec access{};
    timespec modification{};
};

enum class FileKind { Missing, Regular, Directory, Symlink, Other };

struct FileStatus {
    FileKind kind = FileKind::Missing;
    std::int64_t size = 0;
    mode_t mode = 0;
    FileTimes times;
    dev_t device = 0;
    ino_t inode = 0;
    nlink_t links = 0;          // names the file has; more than one can lie outside the target
    std::int64_t blocks = 0;    // 512-byte units allocated
    std::uint64_t mountId = 0;  // the mount it was reached through; 0 when the kernel cannot say
    uid_t owner = 0;            // the owner's user ID
    // Why a look by path found nothing (kind Missing): ENOENT or ENOTDIR when nothing is
    // there, anything else (EACCES, ELOOP, ENAMETOOLONG) when something may be but could
    // not be looked at. Empty whenever the look succeeded.
    std::error_code error;
};

// Nothing is there: the look failed because no such entry exists, not because it could
// not be made.
inline bool NothingThere(const FileStatus& status) {
    return status.kind == FileKind::Missing &&
           (!status.error || status.error == std::errc::no_such_file_or_directory ||
            status.error == std::errc::not_a_directory);
}

// What an open file's file system means for a purge, read from the descriptor itself.
enum class FileSystemClass {
    Ordinary,
    Pseudo,       // proc, sysfs, tracefs and the like: never walked into, never written
    CopyOnWrite,  // an overwrite in place never reaches the blocks of the old data
    Overlay,      // a union of layers; see DataInLowerLayer
};

// A run of bytes of a file, [begin, end).
struct ByteRange {
    std::int64_t begin = 0;
    std::int64_t end = 0;
};

// The lease an open file holds, as the kernel reports it. While another open breaks a
// write lease it reads as the kind the lease is being broken to: Read when the other
// open only reads, None when it writes.
enum class LeaseState { None, Read, Write };

struct FolderEntry {
    std::string name;
    FileStatus status;          // of the entry itself, links not followed
    std::error_code statError;  // the entry is listed but cannot be looked at (kind Missing)
};

// Two looks at files are on one mount: by the mount ID where the kernel gives one, as a
// bind mount shares its file system's device number; by the device otherwise.
inline bool SameMount(const FileStatus& a, const FileStatus& b) {
    if (a.mountId != 0 && b.mountId != 0) {
        return a.mountId == b.mountId;
    }
    return a.device == b.device;
}

// Moved: the file opened is not where its name says, because a folder on the way was
// replaced by a link (or the name was not written in its resolved form).
enum class OpenResult { Ok, Missing, SymbolicLink, NotRegular, Denied, Failed, Moved };

// What a caller means to do with a path (CheckAccess).
enum class Access { Read, Write, ReadAndSearch };

// Owns an open file descriptor; closes it when it goes.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Release();
    // Closes now and reports the close's own error.
    std::error_code Reset();

  private:
    int fd_ = -1;
};

// The operating system's calls, split by concern: files and folders, volumes, clock and
// the process's environment. A failure is an errno value in the system category
// (SystemError); success is the empty code. A test stands in for one concern alone
// (ScopedStandIn) or for the whole platform (ScopedPlatform).

// Files and folders, by path or relative to a held folder descriptor.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // A look at the entry a path names, a link as the last name not followed; the cause
    // of a failure is kept in the status (FileStatus::error).
    [[nodiscard]] virtual FileStatus StatNoFollow(const std::string& path) const = 0;
    // The same with every link followed, the last name's too.
    [[nodiscard]] virtual FileStatus StatFollowing(const std::string& path) const = 0;
    // Whether the caller may use a path as `wanted` says (every link followed): the
    // system's answer, as access(2) gives it.
    [[nodiscard]] virtual std::error_code CheckAccess(const std::string& path,
                                                      Access wanted) const = 0;
    // The path made absolute with every link on it resolved as far as it exists, the rest
    // kept as written ("." and ".." folded); the path itself when it cannot be resolved.
    [[nodiscard]] virtual std::string ResolvedPath(const std::string& path) const = 0;
    [[nodiscard]] virtual std::error_code StatOpen(int fd, FileStatus& out) const = 0;
    // Opens a regular file for writing without truncation; never follows a link in its
    // name and never opens a FIFO, device or socket, checked on the open descriptor.
    [[nodiscard]] virtual OpenResult OpenForOverwrite(const std::string& path,
                                                      UniqueFd& out) const = 0;
    [[nodiscard]] virtual std::error_code WriteAt(int fd, std::int64_t offset, const void* data,
                                                  std::size_t size) const = 0;
    [[nodiscard]] virtual std::error_code FlushToDevice(int fd) const = 0;
    // Flushes every file of the volume that holds fd in one go (syncfs): the shared
    // flush of a batch. It cannot say which file failed; FlushToDevice on each file
    // afterwards returns that file's own write error.
    [[nodiscard]] virtual std::error_code FlushVolume(int fd) const = 0;
    [[nodiscard]] virtual std::error_code Resize(int fd, std::int64_t size) const = 0;
    [[nodiscard]] virtual std::error_code SetTimes(int fd, const FileTimes& times) const = 0;
    // The runs of [0, length) that hold data (SEEK_DATA/SEEK_HOLE); the holes between
    // them have no blocks on the device. An error when the file system cannot tell.
    [[nodiscard]] virtual std::error_code DataRanges(int fd, std::int64_t length,
                                                     std::vector<ByteRange>& out) const = 0;
    // A write lease on a file open for writing: refused (EAGAIN) while any other open
    // file holds it; EINVAL, ENOLCK or EOPNOTSUPP where the file system has no leases.
    [[nodiscard]] virtual std::error_code TakeWriteLease(int fd) const = 0;
    [[nodiscard]] virtual LeaseState HeldLease(int fd) const = 0;
    // Lets the lease go, so that an open waiting on its break goes on at once.
    virtual void ReleaseLease(int fd) const = 0;
    [[nodiscard]] virtual std::error_code SetMode(const std::string& path, mode_t mode) const = 0;
    [[nodiscard]] virtual std::error_code RemoveFile(const std::string& path) const = 0;
    // Folders held open. Every call below acts relative to a folder descriptor, so a
    // folder swapped for a link after it was opened cannot redirect it.
    // Opens the folder `name` of `atFd` (AT_FDCWD for a path) without following a link
    // in its last name; status is the folder's own.
    [[nodiscard]] virtual std::error_code OpenFolder(int atFd, const std::string& name,
                                                     UniqueFd& out, FileStatus& status) const = 0;
    // The open folder's entries in byte order of their names, without "." and "..". An
    // entry that vanishes while the folder is read is left out.
    [[nodiscard]] virtual std::error_code ReadFolder(int folderFd,
                                                     std::vector<FolderEntry>& out) const = 0;
    [[nodiscard]] virtual std::error_code StatAt(int folderFd, const std::string& name,
                                                 FileStatus& out) const = 0;
    // A handle on the entry itself (O_PATH): never follows a link, never blocks on a
    // FIFO, and pins the inode that later checks and reopens refer to.
    [[nodiscard]] virtual std::error_code OpenEntry(int folderFd, const std::string& name,
                                                    UniqueFd& out, FileStatus& status) const = 0;
    // Opens the very inode a handle pins, for writing; a regular file only.
    [[nodiscard]] virtual OpenResult ReopenForWriting(int handleFd, UniqueFd& out) const = 0;
    // Reads up to `size` bytes at `offset` of the very inode a handle pins, through an
    // open of its own that is closed again before the call returns.
    [[nodiscard]] virtual std::error_code ReadPinned(int handleFd, std::int64_t offset,
                                                     std::size_t size, std::string& out) const = 0;
    // Changes the mode of the inode a descriptor (or handle) holds.
    [[nodiscard]] virtual std::error_code SetModeOpen(int fd, mode_t mode) const = 0;
    // Changes the mode of an entry that is not a link.
    [[nodiscard]] virtual std::error_code SetModeAt(int folderFd, const std::string& name,
                                                    mode_t mode) const = 0;
    // Remove the name only while it still leads to `expected` (ESTALE otherwise).
    [[nodiscard]] virtual std::error_code RemoveAt(int folderFd, const std::string& name,
                                                   const FileStatus& expected) const = 0;
    [[nodiscard]] virtual std::error_code RemoveFolderAt(int folderFd, const std::string& name,
                                                         const FileStatus& expected) const = 0;
    // Renames within one folder; never replaces an existing name (EEXIST).
    [[nodiscard]] virtual std::error_code RenameAt(int folderFd, const std::string& from,
                                                   const std::string& to) const = 0;
    [[nodiscard]] virtual std::error_code SyncFolder(int folderFd) const = 0;
    // Opens a folder named by a path as the kernel resolves it, once: links on the way are
    // followed as the shell follows them, ".." is the parent of what was reached, a link
    // as the last name is refused (ELOOP), and so is any /proc magic link (ELOOP).
    [[nodiscard]] virtual std::error_code OpenFolderPath(const std::string& path, UniqueFd& out,
                                                         FileStatus& status) const = 0;
    // Where an open descriptor lies now, for display only.
    [[nodiscard]] virtual std::string PathOfOpen(int fd) const = 0;
    [[nodiscard]] virtual FileSystemClass FileSystemOf(int fd) const = 0;
    // On an overlay: whether the file's data (or an older copy of it) lies in a lower layer,
    // where an overwrite through the overlay never reaches. True when it cannot be told.
    [[nodiscard]] virtual bool DataInLowerLayer(int fd) const = 0;
    // Renames within one folder and replaces `to` if it exists: only for a name just seen
    // to be free, where RenameAt is refused.
    [[nodiscard]] virtual std::error_code RenameAtReplacing(int folderFd, const std::string& from,
                                                            const std::string& to) const = 0;
    // Reads up to `size` bytes at `offset` of the file fd holds from the device, past the
    // page cache, so that writes the device acknowledged but dropped show. ENOTSUP when
    // the file system offers no way past its cache (tmpfs): nothing can be verified there.
    [[nodiscard]] virtual std::error_code ReadUncached(int fd, std::int64_t offset,
                                                       std::size_t size,
                                                       std::string& out) const = 0;
    // New entries made only by this call, relative to a held folder. EEXIST when the name
    // is taken, by anything at all: the caller must never take over what someone else made.
    [[nodiscard]] virtual std::error_code CreateFolderAt(int folderFd,
                                                         const std::string& name) const = 0;
    // A new regular file, open for writing; never follows a link in the name.
    [[nodiscard]] virtual std::error_code CreateFileAt(int folderFd, const std::string& name,
                                                       UniqueFd& out) const = 0;
    // A small regular file of a held folder, read whole; a link, FIFO or longer file
    // is refused (ELOOP, EINVAL, EFBIG).
    [[nodiscard]] virtual std::error_code ReadFileAt(int folderFd, const std::string& name,
                                                     std::string& out,
                                                     std::size_t maxBytes) const = 0;
    // A new folder of this user alone, named `stem` and six random characters (as
    // mkdtemp names it), made in a held folder; its name lands in `name`.
    [[nodiscard]] virtual std::error_code CreateUniqueFolderAt(int folderFd,
                                                               const std::string& stem,
                                                               std::string& name) const = 0;
    // A new regular file for writes that pass the page cache (O_DIRECT), where the file
    // system takes them, otherwise an ordinary one; direct: which it is. Direct writes
    // need buffers, offsets and sizes aligned to the device's blocks (4096 serves).
    [[nodiscard]] virtual std::error_code CreateDirectFileAt(int folderFd, const std::string& name,
                                                             UniqueFd& out, bool& direct) const = 0;
    // An advisory lock (flock) on what fd holds, for as long as that open lasts, so
    // that a process that dies lets it go. EWOULDBLOCK while another open holds it.
    [[nodiscard]] virtual std::error_code TryLockExclusive(int fd) const = 0;
    // Folders by path. Entries come in byte order of their names, without "." and "..".
    [[nodiscard]] virtual std::error_code ListFolder(const std::string& path,
                                                     std::vector<FolderEntry>& out) const = 0;
    [[nodiscard]] virtual std::error_code CreateFolder(const std::string& path) const = 0;
    [[nodiscard]] virtual std::error_code RemoveEmptyFolder(const std::string& path) const = 0;
    // Small whole files (setups). Reading refuses anything but a regular file and
    // anything longer than maxBytes (EFBIG); writing creates or truncates.
    [[nodiscard]] virtual std::error_code ReadWholeFile(const std::string& path, std::string& out,
                                                        std::size_t maxBytes) const = 0;
    [[nodiscard]] virtual std::error_code WriteWholeFile(const std::string& path,
                                                         const std::string& bytes) const = 0;
};

// The mounted volumes: the "drives" of every per-drive table.
class Volumes {
  public:
    virtual ~Volumes() = default;

    // The mount point of the mount that holds an open folder, for display.
    [[nodiscard]] virtual std::string MountPointOf(int folderFd) const = 0;
    // True when FlushVolume fails for any writeback error the volume met since the
    // descriptor it is given was opened (Linux 5.8 on); older kernels ignore them there.
    [[nodiscard]] virtual bool VolumeFlushReportsWriteErrors() const = 0;
    [[nodiscard]] virtual std::vector<Volume> ListVolumes() const = 0;
    // Every mount, pseudo file systems included, as the kernel lists them now.
    [[nodiscard]] virtual std::vector<Volume> ListMounts() const = 0;
    [[nodiscard]] virtual std::optional<Volume> VolumeOf(const std::string& path) const = 0;
    [[nodiscard]] virtual std::optional<ClusterInfo> QueryClusters(
        const std::string& mountPoint) const = 0;
    [[nodiscard]] virtual std::optional<SpaceInfo> QuerySpace(
        const std::string& mountPoint) const = 0;
    // The file-system label of the volume's device, as udev read it; empty when it has none.
    [[nodiscard]] virtual std::string VolumeLabel(const Volume& volume) const = 0;
    // The blocks of the volume an open descriptor lies on (fstatvfs).
    [[nodiscard]] virtual std::error_code SpaceOfOpen(int fd, VolumeSpace& out) const = 0;
    // Whether the device under the volume an open descriptor lies on takes discards.
    [[nodiscard]] virtual bool DiscardSupported(int fd) const = 0;
    // Whether an open descriptor lies on a file system held in memory (tmpfs, ramfs).
    [[nodiscard]] virtual bool HeldInMemory(int fd) const = 0;
    // Tells the device which blocks of the volume are free (FITRIM on its mount point's
    // descriptor); root only (EPERM otherwise). trimmedBytes: what the file system says
    // it passed on.
    [[nodiscard]] virtual std::error_code TrimFreeSpace(int mountFd,
                                                        std::uint64_t& trimmedBytes) const = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;

    virtual void SleepMilliseconds(int ms) const = 0;
    [[nodiscard]] virtual std::tm LocalTime(std::time_t when) const = 0;
    [[nodiscard]] virtual std::time_t Now() const = 0;
    [[nodiscard]] virtual double SecondsSinceMidnight() const = 0;
};

// What the process is given: its user, its environment variables, its limits and the
// system's own folders and swap files.
class Environment {
  public:
    virtual ~Environment() = default;

    // Operating-system folders: a file below one of them counts as a system file.
    [[nodiscard]] virtual std::vector<std::string> SystemFolders() const = 0;
    [[nodiscard]] virtual std::string ExecutableFolder() const = 0;
    [[nodiscard]] virtual std::vector<std::string> ActiveSwapFiles() const = 0;
    [[nodiscard]] virtual std::string EnvironmentValue(const std::string& name) const = 0;
    [[nodiscard]] virtual uid_t UserId() const = 0;
    // Raises the limit of open descriptors as far as allowed; the limit now in force.
    [[nodiscard]] virtual int RaiseOpenFileLimit() const = 0;
    // The folder relative paths start from; empty when it is gone or cannot be named.
    [[nodiscard]] virtual std::string WorkingFolder() const = 0;
    // Whether a descriptor of the process (standard input, output, error) is a terminal.
    [[nodiscard]] virtual bool IsTerminal(int fd) const = 0;
    // The terminal's width in columns; 0 when fd is no terminal or does not say.
    [[nodiscard]] virtual int TerminalColumns(int fd) const = 0;
};

// The real system: every concern at once.
class Platform : public FileSystem, public Volumes, public Clock, public Environment {
  public:
    // Files and folders.
    [[nodiscard]] FileStatus StatNoFollow(const std::string& path) const override;
    [[nodiscard]] FileStatus StatFollowing(const std::string& path) const override;
    [[nodiscard]] std::error_code CheckAccess(const std::string& path,
                                              Access wanted) const override;
    [[nodiscard]] std::string ResolvedPath(const std::string& path) const override;
    [[nodiscard]] std::error_code StatOpen(int fd, FileStatus& out) const override;
    [[nodiscard]] OpenResult OpenForOverwrite(const std::string& path,
                                              UniqueFd& out) const override;
    [[nodiscard]] std::error_code WriteAt(int fd, std::int64_t offset, const void* data,
                                          std::size_t size) const override;
    [[nodiscard]] std::error_code FlushToDevice(int fd) const override;
    [[nodiscard]] std::error_code FlushVolume(int fd) const override;
    [[nodiscard]] std::error_code Resize(int fd, std::int64_t size) const override;
    [[nodiscard]] std::error_code SetTimes(int fd, const FileTimes& times) const override;
    [[nodiscard]] std::error_code DataRanges(int fd, std::int64_t length,
                                             std::vector<ByteRange>& out) const override;
    [[nodiscard]] std::error_code TakeWriteLease(int fd) const override;
    [[nodiscard]] LeaseState HeldLease(int fd) const override;
    void ReleaseLease(int fd) const override;
    [[nodiscard]] std::error_code SetMode(const std::string& path, mode_t mode) const override;
    [[nodiscard]] std::error_code RemoveFile(const std::string& path) const override;
    [[nodiscard]] std::error_code OpenFolder(int atFd, const std::string& name, UniqueFd& out,
                                             FileStatus& status) const override;
    [[nodiscard]] std::error_code ReadFolder(int folderFd,
                                             std::vector<FolderEntry>& out) const override;
    [[nodiscard]] std::error_code StatAt(int folderFd, const std::string& name,
                                         FileStatus& out) const override;
    [[nodiscard]] std::error_code OpenEntry(int folderFd, const std::string& name, UniqueFd& out,
                                            FileStatus& status) const override;
    [[nodiscard]] OpenResult ReopenForWriting(int handleFd, UniqueFd& out) const override;
    [[nodiscard]] std::error_code ReadPinned(int handleFd, std::int64_t offset, std::size_t size,
                                             std::string& out) const override;
    [[nodiscard]] std::error_code SetModeOpen(int fd, mode_t mode) const override;
    [[nodiscard]] std::error_code SetModeAt(int folderFd, const std::string& name,
                                            mode_t mode) const override;
    [[nodiscard]] std::error_code RemoveAt(int folderFd, const std::string& name,
                                           const FileStatus& expected) const override;
    [[nodiscard]] std::error_code RemoveFolderAt(int folderFd, const std::string& name,
                                                 const FileStatus& expected) const override;
    [[nodiscard]] std::error_code RenameAt(int folderFd, const std::string& from,
                                           const std::string& to) const override;
    [[nodiscard]] std::error_code SyncFolder(int folderFd) const override;
    [[nodiscard]] std::error_code OpenFolderPath(const std::string& path, UniqueFd& out,
                                                 FileStatus& status) const override;
    [[nodiscard]] std::string PathOfOpen(int fd) const override;
    [[nodiscard]] FileSystemClass FileSystemOf(int fd) const override;
    [[nodiscard]] bool DataInLowerLayer(int fd) const override;
    [[nodiscard]] std::error_code RenameAtReplacing(int folderFd, const std::string& from,
                                                    const std::string& to) const override;
    [[nodiscard]] std::error_code ReadUncached(int fd, std::int64_t offset, std::size_t size,
                                               std::string& out) const override;
    [[nodiscard]] std::error_code CreateFolderAt(int folderFd,
                                                 const std::string& name) const override;
    [[nodiscard]] std::error_code CreateFileAt(int folderFd, const std::string& name,
                                               UniqueFd& out) const override;
    [[nodiscard]] std::error_code ReadFileAt(int folderFd, const std::string& name,
                                             std::string& out, std::size_t maxBytes) const override;
    [[nodiscard]] std::error_code CreateUniqueFolderAt(int folderFd, const std::string& stem,
                                                       std::string& name) const override;
    [[nodiscard]] std::error_code TryLockExclusive(int fd) const override;
    [[nodiscard]] std::error_code CreateDirectFileAt(int folderFd, const std::string& name,
                                                     UniqueFd& out, bool& direct) const override;
    [[nodiscard]] std::error_code ListFolder(const std::string& path,
                                             std::vector<FolderEntry>& out) const override;
    [[nodiscard]] std::error_code CreateFolder(const std::string& path) const override;
    [[nodiscard]] std::error_code RemoveEmptyFolder(const std::string& path) const override;
    [[nodiscard]] std::error_code ReadWholeFile(const std::string& path, std::string& out,
                                                std::size_t maxBytes) const override;
    [[nodiscard]] std::error_code WriteWholeFile(const std::string& path,
                                                 const std::string& bytes) const override;

    // Volumes.
    [[nodiscard]] std::string MountPointOf(int folderFd) const override;
    [[nodiscard]] bool VolumeFlushReportsWriteErrors() const override;
    [[nodiscard]] std::vector<Volume> ListVolumes() const override;
    [[nodiscard]] std::vector<Volume> ListMounts() const override;
    [[nodiscard]] std::optional<Volume> VolumeOf(const std::string& path) const override;
    [[nodiscard]] std::optional<ClusterInfo> QueryClusters(
        const std::string& mountPoint) const override;
    [[nodiscard]] std::optional<SpaceInfo> QuerySpace(const std::string& mountPoint) const override;
    [[nodiscard]] std::string VolumeLabel(const Volume& volume) const override;
    [[nodiscard]] std::error_code SpaceOfOpen(int fd, VolumeSpace& out) const override;
    [[nodiscard]] bool DiscardSupported(int fd) const override;
    [[nodiscard]] bool HeldInMemory(int fd) const override;
    [[nodiscard]] std::error_code TrimFreeSpace(int mountFd,
                                                std::uint64_t& trimmedBytes) const override;

    // Clock.
    void SleepMilliseconds(int ms) const override;
    [[nodiscard]] std::tm LocalTime(std::time_t when) const override;
    [[nodiscard]] std::time_t Now() const override;
    [[nodiscard]] double SecondsSinceMidnight() const override;

    // Environment.
    [[nodiscard]] std::vector<std::string> SystemFolders() const override;
    [[nodiscard]] std::string ExecutableFolder() const override;
    [[nodiscard]] std::vector<std::string> ActiveSwapFiles() const override;
    [[nodiscard]] std::string EnvironmentValue(const std::string& name) const override;
    [[nodiscard]] uid_t UserId() const override;
    [[nodiscard]] int RaiseOpenFileLimit() const override;
    [[nodiscard]] std::string WorkingFolder() const override;
    [[nodiscard]] bool IsTerminal(int fd) const override;
    [[nodiscard]] int TerminalColumns(int fd) const override;

    // The system's words for an error, starting in lower case: "no such file or directory".
    static std::string ErrorText(std::error_code error);
};

// The label udev's link name stands for: "\x20" and the like decoded.
std::string DecodeLabelLinkName(const std::string& name);

// The platform in force; the real one unless a test substituted its own.
const Platform& Sys();

// Puts a stand-in in force for its lifetime (tests only). Any thread may read Sys()
// meanwhile; swap only while no operation runs, so one operation sees one platform.
class ScopedPlatform {
  public:
    explicit ScopedPlatform(const Platform& stand);
    ~ScopedPlatform();
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

  private:
    const Platform* previous_;
};

// Puts a stand-in for one concern in force for its lifetime (tests only), over the
// platform in force: ScopedStandIn<Clock> clock(fixedClock). Calls through that
// concern's accessor below (SysClock() and the like) reach it; those through Sys() do not.
template <class Concern>
class ScopedStandIn {
  public:
    explicit ScopedStandIn(const Concern& stand)
        : previous_(slot_.exchange(&stand, std::memory_order_acq_rel)) {}
    ~ScopedStandIn() { slot_.store(previous_, std::memory_order_release); }
    ScopedStandIn(const ScopedStandIn&) = delete;
    ScopedStandIn& operator=(const ScopedStandIn&) = delete;

    static const Concern& InForce() {
        const Concern* stand = slot_.load(std::memory_order_acquire);
        return stand != nullptr ? *stand : static_cast<const Concern&>(Sys());
    }

  private:
    static inline std::atomic<const Concern*> slot_{nullptr};
    const Concern* previous_;
};

// Each concern in force: a stand-in for it alone, or else that of the platform in force.
inline const FileSystem& SysFiles() {
    return ScopedStandIn<FileSystem>::InForce();
}
inline const Volumes& SysVolumes() {
    return ScopedStandIn<Volumes>::InForce();
}
inline const Clock& SysClock() {
    return ScopedStandIn<Clock>::InForce();
}
inline const Environment& SysEnvironment() {
    return ScopedStandIn<Environment>::InForce();
}

}  // namespace vorlane::platform

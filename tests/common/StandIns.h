#pragma once
// Stand-in platforms that tests of several modules share.

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/MountTable.h"
#include "platform/Platform.h"

namespace vorlane::testing {

// One volume, mounted at a folder of the test, with a clock that ticks one second per
// reading and a mount point that may refuse new folders.
class TestVolume : public platform::Platform {
  public:
    explicit TestVolume(std::string mountPoint) : mount(std::move(mountPoint)) {}

    std::vector<platform::Volume> ListVolumes() const override {
        return {{mount, "ext4", "/dev/test", platform::DriveKind::Fixed}};
    }
    std::optional<platform::Volume> VolumeOf(const std::string& path) const override {
        return platform::FindVolumeOf(ListVolumes(), path);
    }
    std::optional<platform::SpaceInfo> QuerySpace(const std::string& mountPoint) const override {
        if (mountPoint != mount) {
            return std::nullopt;
        }
        return platform::SpaceInfo{freeBytes, totalBytes};
    }
    void SleepMilliseconds(int) const override {}
    double SecondsSinceMidnight() const override { return clock++; }
    std::error_code CreateFolder(const std::string& path) const override {
        if (mountDenied && std::filesystem::path(path).parent_path() == mount) {
            return platform::SystemError(EACCES);
        }
        return Platform::CreateFolder(path);
    }
    std::error_code CreateFolderAt(int folderFd, const std::string& name) const override {
        std::error_code ignored;
        const auto held =
            std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(folderFd), ignored);
        if (mountDenied && held == mount) {
            return platform::SystemError(EACCES);
        }
        return Platform::CreateFolderAt(folderFd, name);
    }
    std::string EnvironmentValue(const std::string& name) const override {
        return name == "HOME" ? home : std::string();
    }

    std::string mount;
    std::string home;
    std::uint64_t freeBytes = 1ULL << 30;
    std::uint64_t totalBytes = 1ULL << 30;
    bool mountDenied = false;
    mutable double clock = 100;
};

// The name of the file an open descriptor leads to.
inline std::string NameOfFd(int fd) {
    std::error_code ignored;
    const auto self = "/proc/self/fd/" + std::to_string(fd);
    return std::filesystem::read_symlink(self, ignored).filename().string();
}

// Files of one name cannot be opened for writing, whoever runs the test; the system's
// folders may be set.
class LockedFiles : public platform::Platform {
  public:
    explicit LockedFiles(std::string name) : name_(std::move(name)) {}
    platform::OpenResult ReopenForWriting(int handle, platform::UniqueFd& out) const override {
        return NameOfFd(handle) == name_ ? platform::OpenResult::Denied
                                         : Platform::ReopenForWriting(handle, out);
    }
    std::vector<std::string> SystemFolders() const override {
        return systemFolders.empty() ? Platform::SystemFolders() : systemFolders;
    }
    std::vector<std::string> systemFolders;

  private:
    std::string name_;
};

// Reading a folder whose path holds `part` fails, by name or through a descriptor, as for
// a folder without read permission.
class DeniedFolders : public platform::Platform {
  public:
    explicit DeniedFolders(std::string part) : part_(std::move(part)) {}
    std::error_code ListFolder(const std::string& path,
                               std::vector<platform::FolderEntry>& out) const override {
        out.clear();
        return path.find(part_) != std::string::npos ? platform::SystemError(EACCES)
                                                     : Platform::ListFolder(path, out);
    }
    // Read through a descriptor, the folder is known by the name the kernel gives it.
    std::error_code ReadFolder(int folderFd,
                               std::vector<platform::FolderEntry>& out) const override {
        out.clear();
        return PathOfOpen(folderFd).find(part_) != std::string::npos
                   ? platform::SystemError(EACCES)
                   : Platform::ReadFolder(folderFd, out);
    }

  private:
    std::string part_;
};

// Refuses to read one folder, as the system would for a non-root user without read
// permission, however the folder is reached.
class DeniedFolder : public platform::Platform {
  public:
    explicit DeniedFolder(const std::string& denied) : denied_(StatNoFollow(denied).inode) {}
    std::error_code ReadFolder(int folder, std::vector<platform::FolderEntry>& out) const override {
        out.clear();
        platform::FileStatus status;
        return !StatOpen(folder, status) && status.inode == denied_
                   ? platform::SystemError(EACCES)
                   : Platform::ReadFolder(folder, out);
    }

  private:
    ino_t denied_;
};

}  // namespace vorlane::testing

#pragma once
// A volume of a few megabytes for the free-space purge, played in a test's folder: its
// writes end with "no space" once its free bytes are taken, and it can fail or stop
// the operation after a number of writes.

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vorlane::testing {

class FreeSpaceVolume : public platform::Platform {
  public:
    explicit FreeSpaceVolume(std::string mountPoint) : mount(std::move(mountPoint)) {}

    // A write that does not fit fails whole, as one that needs a new extent does, so
    // that the small files after it have something left to take.
    std::error_code WriteAt(int fd, std::int64_t offset, const void* data,
                            std::size_t size) const override {
        ++writes;
        if (onWrite) {
            onWrite(writes);
        }
        if (failAtWrite != 0 && writes >= failAtWrite) {
            return platform::SystemError(failure);
        }
        if (Used() + size > freeBytes) {
            return platform::SystemError(ENOSPC);
        }
        return Platform::WriteAt(fd, offset, data, size);
    }
    std::error_code FlushVolume(int fd) const override {
        events.push_back("flush volume, " + std::to_string(Live()) + " files");
        return Platform::FlushVolume(fd);
    }
    std::string MountPointOf(int) const override { return mount; }
    std::vector<platform::Volume> ListVolumes() const override {
        return {{mount, "ext4", "/dev/test", platform::DriveKind::Fixed}};
    }
    std::error_code SpaceOfOpen(int, platform::VolumeSpace& out) const override {
        const std::uint64_t left = failedFull && writes >= failAtWrite ? 0 : freeBytes;
        out = {4096, (left + reservedBytes) / 4096, left / 4096};
        return {};
    }
    platform::FileSystemClass FileSystemOf(int) const override { return fileSystem; }
    bool HeldInMemory(int) const override { return inMemory; }
    bool DiscardSupported(int) const override { return discards; }
    std::error_code TrimFreeSpace(int, std::uint64_t& trimmed) const override {
        trimmed = freeBytes;
        return uid == 0 ? std::error_code() : platform::SystemError(EPERM);
    }
    uid_t UserId() const override { return uid; }
    std::string EnvironmentValue(const std::string& name) const override {
        return name == "TMPDIR" ? tmp : std::string();
    }

    // Fill files still there, and their bytes: what the volume has lost of its space.
    int Live() const { return static_cast<int>(FillFiles().size()); }
    std::uint64_t Used() const {
        std::uint64_t bytes = 0;
        for (const auto& file : FillFiles()) {
            bytes += std::filesystem::file_size(file);
        }
        return bytes;
    }
    std::vector<std::filesystem::path> FillFiles() const {
        std::vector<std::filesystem::path> files;
        for (const std::string& place : {mount, tmp}) {
            if (place.empty()) {
                continue;
            }
            for (const auto& folder : std::filesystem::directory_iterator(place)) {
                if (folder.path().filename().string().starts_with(".vorlane-free-space-")) {
                    for (const auto& file : std::filesystem::directory_iterator(folder)) {
                        files.push_back(file.path());
                    }
                }
            }
        }
        return files;
    }

    std::string mount;
    std::string tmp;
    std::uint64_t freeBytes = 20 << 20;
    std::uint64_t reservedBytes = 0;
    platform::FileSystemClass fileSystem = platform::FileSystemClass::Ordinary;
    bool inMemory = false;
    bool discards = false;
    uid_t uid = 1000;
    int failAtWrite = 0;
    int failure = EIO;
    bool failedFull = false;  // the volume reports no space left once a write failed
    std::function<void(int write)> onWrite;
    mutable int writes = 0;
    mutable std::vector<std::string> events;
};

}  // namespace vorlane::testing

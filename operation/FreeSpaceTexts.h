#pragma once
// What the purge of free space says: its refusals, its confirmation and its report lines.

#include <cstdint>
#include <string>
#include <system_error>

namespace vorlane {

inline constexpr const char* kFreeSpaceTitle = "Purge free space";

enum class FreeSpaceRefusal {
    CannotOpen,   // error: why
    Pseudo,       // proc, sysfs and the like
    InMemory,     // tmpfs, ramfs
    CopyOnWrite,  // btrfs, zfs, f2fs, nilfs2, bcachefs
    Overlay,
    NoSpaceInfo,  // error: why
    NoFolder,     // no folder of the user's on the volume takes a new folder; error: why
};

std::string FreeSpaceRefusalText(const std::string& volume, FreeSpaceRefusal why,
                                 std::error_code error);

// "random bytes, 1 pass" or the purge type's words.
std::string FreeSpaceFillWords(int purgeType, int passes);

// speed: MB/s for one overwrite as the speed test measured it; 0 when unknown.
std::string FreeSpaceConfirmationText(const std::string& volume, std::uint64_t freeBytes,
                                      const std::string& fillWords, float speed, int overwrites);

std::string FreeSpaceHeader(const std::string& volume, std::uint64_t freeBytes,
                            const std::string& fillWords, const std::string& fillFolder);
std::string FillLine(int overwrite, int overwrites, std::uint64_t writtenBytes, double seconds);
// "Filling: 12 of 33 MB, 15.2 MB/s, 3 seconds left" for the progress line.
std::string FillProgressText(std::uint64_t writtenBytes, std::uint64_t freeBytes, double seconds);
std::string FillStoppedLine();
std::string FillFailedLine(std::error_code error);
std::string FillNotRemovedLine(const std::string& folder, std::error_code error);
std::string ReservedBytesLine(std::uint64_t reservedBytes);
std::string TrimLine(bool supported, std::error_code error, std::uint64_t trimmedBytes);
// Names of deleted files are out of a fill's reach; the report says so every time.
std::string NamesStayLine();

}  // namespace vorlane

#pragma once
// Which files a purge must leave alone: the program's own files, active swap files,
// the desktop.ini files of Trash folders, and files with a sensitive extension that
// the user has not (yet) allowed in this operation.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorlane {

// Exclusion codes; they share one numbering with the purge result codes.
inline constexpr std::int16_t kNotExcluded = 0;
inline constexpr std::int16_t kExcludedProgramFolder = 1;
inline constexpr std::int16_t kExcludedSwapFile = 2;
inline constexpr std::int16_t kExcludedTrashDesktopIni = 5;
inline constexpr std::int16_t kSensitiveUndecided = 7;
inline constexpr std::int16_t kSensitiveRefused = 8;

// Permissions of a sensitive extension within one operation.
inline constexpr std::int16_t kExtensionUndecided = 0;
inline constexpr std::int16_t kExtensionAllowed = 1;
inline constexpr std::int16_t kExtensionRefused = -1;

// The user's answers about sensitive extensions. An operation owns one, so every answer
// lasts for that operation only.
class SensitiveExtensions {
  public:
    static constexpr int kCapacity = 20;

    SensitiveExtensions() { InitSensitiveExtensions(kExtensionUndecided); }

    // Refills the table with the standard extensions, each with this permission.
    void InitSensitiveExtensions(std::int16_t permission);
    // Gives the entry of this lower-case extension (no dot) the permission; an extension
    // not in the table changes nothing.
    void SetSensitiveExtensionPermission(const std::string& extension, std::int16_t permission);
    // The first matching entry's permission; none when the extension is not sensitive.
    std::optional<std::int16_t> PermissionOf(const std::string& extension) const;

  private:
    struct Entry {
        std::string extension;
        std::int16_t permission = kExtensionUndecided;
    };
    std::array<Entry, kCapacity> entries_{};
    int count_ = 0;
};

// Places whose files are never purged, looked up once per operation.
struct ProtectedPlaces {
    std::string programFolder;           // the executable's folder
    std::vector<std::string> swapFiles;  // active swap files
    std::vector<std::string> trashFolders;
};

// Asks the system for the program folder, the active swap files and the user's Trash
// folders (home Trash and those at each mount point).
ProtectedPlaces FindProtectedPlaces();

// The exclusion code for the file at this full path.
std::int16_t ExcludedFile(const std::string& filePath, const SensitiveExtensions& extensions,
                          const ProtectedPlaces& places);

}  // namespace vorlane

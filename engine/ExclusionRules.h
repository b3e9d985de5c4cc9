#pragma once
// Which files a purge must leave alone: the program's own files, active swap files,
// the desktop.ini files of Trash folders, and files with a sensitive extension that
// the user has not (yet) allowed in this operation.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/FileOutcome.h"

namespace vorlane {

// A sensitive extension's standing within one operation.
enum class ExtensionPermission { Undecided, Allowed, Refused };

// The user's answers about sensitive extensions. An operation owns one, so every answer
// lasts for that operation only.
class SensitiveExtensions {
  public:
    static constexpr int kCapacity = 20;

    SensitiveExtensions() { InitSensitiveExtensions(ExtensionPermission::Undecided); }

    // Refills the table with the standard extensions, each with this permission.
    void InitSensitiveExtensions(ExtensionPermission permission);
    // Gives the entry of this lower-case extension (no dot) the permission; an extension
    // not in the table changes nothing.
    void SetSensitiveExtensionPermission(const std::string& extension,
                                         ExtensionPermission permission);
    // The first matching entry's permission; none when the extension is not sensitive.
    std::optional<ExtensionPermission> PermissionOf(const std::string& extension) const;

  private:
    struct Entry {
        std::string extension;
        ExtensionPermission permission = ExtensionPermission::Undecided;
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

// Why the file at this full path is left alone: an exclusion, or Ok when none applies.
FileOutcome ExcludedFile(const std::string& filePath, const SensitiveExtensions& extensions,
                         const ProtectedPlaces& places);

}  // namespace vorlane

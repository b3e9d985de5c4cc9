#include "engine/FreeSpaceLeftovers.h"

#include <cerrno>
#include <set>
#include <utility>

#include "engine/FreeSpaceFill.h"
#include "platform/Platform.h"

namespace vorlane {
namespace {

using platform::FileKind;
using platform::FileStatus;
using platform::FolderEntry;
using platform::SysEnvironment;
using platform::SysFiles;
using platform::SysVolumes;
using platform::UniqueFd;

constexpr std::size_t kSuffixLength = 6;

std::vector<std::string> PlacesToLook() {
    std::vector<std::string> places;
    for (const platform::Volume& volume : SysVolumes().ListVolumes()) {
        // A network volume's root can hang a start while its server is away.
        if (!volume.pseudo && volume.kind != platform::DriveKind::Network &&
            volume.kind != platform::DriveKind::CdRom) {
            places.push_back(volume.mountPoint);
        }
    }
    for (const char* variable : {"HOME", "TMPDIR"}) {
        const std::string value = SysEnvironment().EnvironmentValue(variable);
        if (!value.empty()) {
            places.push_back(value);
        }
    }
    places.emplace_back("/tmp");
    return places;
}

bool IsFillFolder(const FolderEntry& entry) {
    return entry.status.kind == FileKind::Directory &&
           entry.name.size() == kFillFolderStem.size() + kSuffixLength &&
           entry.name.starts_with(kFillFolderStem) &&
           entry.status.owner == SysEnvironment().UserId();
}

std::error_code RemoveFiles(int folderFd) {
    std::vector<FolderEntry> files;
    if (const std::error_code error = SysFiles().ReadFolder(folderFd, files)) {
        return error;
    }
    std::error_code first;
    for (const FolderEntry& file : files) {
        // A fill makes regular files only; anything else was put there by someone else
        // and stays, and the folder with it.
        const std::error_code error = file.status.kind == FileKind::Regular
                                          ? SysFiles().RemoveAt(folderFd, file.name, file.status)
                                          : platform::SystemError(ENOTEMPTY);
        first = first ? first : error;
    }
    const std::error_code flush = SysFiles().SyncFolder(folderFd);
    return first ? first : flush;
}

std::error_code RemoveFill(int parentFd, const FolderEntry& entry) {
    UniqueFd folder;
    FileStatus status;
    if (const std::error_code error = SysFiles().OpenFolder(parentFd, entry.name, folder, status)) {
        return error;
    }
    if (status.inode != entry.status.inode || status.owner != entry.status.owner) {
        return platform::SystemError(ESTALE);
    }
    if (const std::error_code busy = SysFiles().TryLockExclusive(folder.Get());
        busy == std::errc::operation_would_block) {
        return busy;
    }
    if (const std::error_code error = RemoveFiles(folder.Get())) {
        return error;
    }
    folder.Reset();
    if (const std::error_code error = SysFiles().RemoveFolderAt(parentFd, entry.name, status)) {
        return error;
    }
    return SysFiles().SyncFolder(parentFd);
}

std::string Joined(const std::string& folder, const std::string& name) {
    return (folder.ends_with('/') ? folder : folder + "/") + name;
}

}  // namespace

std::vector<LeftoverFill> RemoveLeftoverFills() {
    std::vector<LeftoverFill> found;
    std::set<std::pair<dev_t, ino_t>> seen;
    for (const std::string& place : PlacesToLook()) {
        UniqueFd folder;
        FileStatus status;
        if (SysFiles().OpenFolderPath(place, folder, status) ||
            !seen.insert({status.device, status.inode}).second) {
            continue;
        }
        std::vector<FolderEntry> entries;
        if (SysFiles().ReadFolder(folder.Get(), entries)) {
            continue;
        }
        for (const FolderEntry& entry : entries) {
            if (!IsFillFolder(entry)) {
                continue;
            }
            const std::error_code error = RemoveFill(folder.Get(), entry);
            // A fill still going on in another run is no leftover.
            if (error != std::errc::operation_would_block) {
                found.push_back({Joined(SysFiles().PathOfOpen(folder.Get()), entry.name), error});
            }
        }
    }
    return found;
}

std::string LeftoverFillsText(const std::vector<LeftoverFill>& fills) {
    std::string text;
    for (const LeftoverFill& fill : fills) {
        text +=
            fill.error
                ? "A free-space fill that an earlier run left could not be removed: " + fill.path +
                      ": " + platform::Platform::ErrorText(fill.error) + "\n"
                : "Removed a free-space fill that an earlier run left: " + fill.path + "\n";
    }
    return text;
}

}  // namespace vorlane

#include "operation/TrashFolders.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/MountTable.h"

namespace vorlane {
namespace {

using platform::FileKind;
using platform::FileStatus;
using platform::Sys;
using platform::UniqueFd;

// Deeper than any real tree of deleted files; a walk up stops here.
constexpr int kMaxLevels = 4096;

bool Same(const FileStatus& a, const FileStatus& b) {
    return a.device == b.device && a.inode == b.inode;
}

std::string Joined(const std::string& folder, const std::string& name) {
    return folder == "/" ? folder + name : folder + "/" + name;
}

std::optional<OpenTrash> OpenIn(int atFd, const std::string& name, const std::string& path) {
    OpenTrash trash;
    if (Sys().OpenFolder(atFd, name, trash.fd, trash.status)) {
        return std::nullopt;
    }
    trash.path = path;
    return trash;
}

bool IsStickyFolder(const FileStatus& status) {
    return status.kind == FileKind::Directory && (status.mode & S_ISVTX) != 0;
}

// <mount>/.Trash/<uid>: the shared .Trash is opened without following a link and
// checked on what was opened.
std::optional<OpenTrash> OpenSharedTrash(int mountFd, const std::string& mountPoint,
                                         const std::string& uid) {
    UniqueFd shared;
    FileStatus status;
    if (Sys().OpenFolder(mountFd, ".Trash", shared, status) || !IsStickyFolder(status)) {
        return std::nullopt;
    }
    return OpenIn(shared.Get(), uid, Joined(mountPoint, ".Trash/" + uid));
}

void AddUnlessKnown(std::vector<OpenTrash>& found, std::optional<OpenTrash> trash) {
    if (!trash) {
        return;
    }
    for (const OpenTrash& known : found) {
        if (Same(known.status, trash->status)) {
            return;
        }
    }
    found.push_back(std::move(*trash));
}

std::vector<OpenTrash> EveryTrash() {
    std::vector<OpenTrash> found;
    AddUnlessKnown(found, OpenHomeTrash());
    for (const platform::Volume& volume : Sys().ListVolumes()) {
        if (volume.pseudo) {
            continue;
        }
        for (OpenTrash& trash : OpenTrashFoldersOn(volume.mountPoint)) {
            AddUnlessKnown(found, std::move(trash));
        }
    }
    return found;
}

FileStatus StatusIn(int folderFd, const std::string& name) {
    UniqueFd fd;
    FileStatus status;
    if (Sys().OpenFolder(folderFd, name, fd, status)) {
        return {};  // kind Missing: nothing there this caller can use
    }
    return status;
}

// The name in folderFd of the entry with this identity.
std::string NameOf(int folderFd, const FileStatus& wanted) {
    std::vector<platform::FolderEntry> entries;
    if (Sys().ReadFolder(folderFd, entries)) {
        return {};
    }
    for (const platform::FolderEntry& entry : entries) {
        if (Same(entry.status, wanted)) {
            return entry.name;
        }
    }
    return {};
}

// Walks up from the chosen folder through "..", each level checked against the Trash
// folder and its files/ and info/ folders.
std::optional<TrashPart> PartOf(const platform::WalkFolder& chosen, const OpenTrash& trash,
                                std::string& itemName) {
    const FileStatus files = StatusIn(trash.fd.Get(), "files");
    const FileStatus info = StatusIn(trash.fd.Get(), "info");
    UniqueFd level;
    FileStatus status;
    if (Sys().OpenFolder(chosen.fd.Get(), ".", level, status)) {
        return std::nullopt;
    }
    FileStatus below;  // the level walked up from
    for (int depth = 0; depth < kMaxLevels; ++depth) {
        if (Same(status, trash.status) || (info.kind != FileKind::Missing && Same(status, info))) {
            return depth == 0 || Same(status, info) ? TrashPart::WholeTrash : TrashPart::InsideItem;
        }
        if (files.kind != FileKind::Missing && Same(status, files)) {
            if (depth == 0) {
                return TrashPart::Files;
            }
            itemName = NameOf(level.Get(), below);
            return depth == 1 ? TrashPart::Item : TrashPart::InsideItem;
        }
        UniqueFd up;
        FileStatus upStatus;
        if (Sys().OpenFolder(level.Get(), "..", up, upStatus) || Same(upStatus, status)) {
            return std::nullopt;  // the top of the file system: in no Trash
        }
        below = status;
        level = std::move(up);
        status = upStatus;
    }
    return std::nullopt;
}

}  // namespace

std::optional<OpenTrash> OpenHomeTrash() {
    std::string dataHome = Sys().EnvironmentValue("XDG_DATA_HOME");
    if (dataHome.empty() || dataHome.front() != '/') {
        const std::string home = Sys().EnvironmentValue("HOME");
        if (home.empty()) {
            return std::nullopt;
        }
        dataHome = Joined(home, ".local/share");
    }
    const std::string path = Joined(dataHome, "Trash");
    return OpenIn(AT_FDCWD, path, path);
}

std::vector<OpenTrash> OpenTrashFoldersOn(const std::string& mountPoint) {
    std::vector<OpenTrash> found;
    UniqueFd mount;
    FileStatus mountStatus;
    if (Sys().OpenFolder(AT_FDCWD, mountPoint, mount, mountStatus)) {
        return found;
    }
    if (std::optional<OpenTrash> home = OpenHomeTrash();
        home && home->status.device == mountStatus.device) {
        AddUnlessKnown(found, std::move(home));
    }
    const std::string uid = std::to_string(Sys().UserId());
    AddUnlessKnown(found, OpenSharedTrash(mount.Get(), mountPoint, uid));
    AddUnlessKnown(found,
                   OpenIn(mount.Get(), ".Trash-" + uid, Joined(mountPoint, ".Trash-" + uid)));
    return found;
}

std::optional<TrashScope> FindTrashScope(const std::string& folder) {
    platform::WalkFolder chosen;
    // "/.": a chosen Trash reached through a link is the Trash it leads to.
    if (platform::OpenTargetFolder(folder + "/.", chosen)) {
        return std::nullopt;
    }
    for (OpenTrash& trash : EveryTrash()) {
        std::string itemName;
        const std::optional<TrashPart> part = PartOf(chosen, trash, itemName);
        if (part && (*part != TrashPart::Item || !itemName.empty())) {
            return TrashScope{std::move(trash), std::move(chosen), *part, itemName};
        }
    }
    return std::nullopt;
}

}  // namespace vorlane

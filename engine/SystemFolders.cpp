#include "engine/SystemFolders.h"

#include <algorithm>

#include "platform/Platform.h"

namespace vorlane {
namespace {

using platform::FileStatus;
using platform::Sys;
using platform::UniqueFd;

}  // namespace

void SystemFolders::TakeIdentities() {
    systemFolders_.emplace();
    for (const std::string& folder : Sys().SystemFolders()) {
        UniqueFd fd;
        FileStatus status;
        // "/." follows /bin when it is a link to usr/bin: the folder it leads to is the one
        // that holds the system's files.
        if (!Sys().OpenFolderPath(folder + "/.", fd, status)) {
            systemFolders_->emplace_back(status.device, status.inode);
        }
    }
}

bool SystemFolders::Holds(int folderFd, const FileStatus& folder) {
    const auto known = known_.find({folder.device, folder.inode});
    return known != known_.end() ? known->second : Holds(folderFd);
}

bool SystemFolders::Holds(int folderFd) {
    if (!systemFolders_) {
        TakeIdentities();
    }
    FileStatus status;
    if (Sys().StatOpen(folderFd, status)) {
        return true;  // a folder that cannot be looked at is not known to be safe
    }
    // Every file of a folder asks: the first answer is kept.
    if (const auto known = known_.find({status.device, status.inode}); known != known_.end()) {
        return known->second;
    }
    UniqueFd current;
    if (Sys().OpenFolder(folderFd, ".", current, status)) {
        return true;
    }
    // Up through ".." to the first folder whose answer is known, or to the root.
    std::vector<Identity> path;
    bool holds = false;
    for (;;) {
        const Identity here{status.device, status.inode};
        if (const auto known = known_.find(here); known != known_.end()) {
            holds = known->second;
            break;
        }
        path.push_back(here);
        if (std::find(systemFolders_->begin(), systemFolders_->end(), here) !=
            systemFolders_->end()) {
            holds = true;
            break;
        }
        UniqueFd parent;
        FileStatus above;
        if (Sys().OpenFolder(current.Get(), "..", parent, above) ||
            (above.device == status.device && above.inode == status.inode)) {
            break;  // the root: nothing above it
        }
        current = std::move(parent);
        status = above;
    }
    for (const Identity& folder : path) {
        known_[folder] = holds;
    }
    return holds;
}

bool IsSystemFolderPath(const std::string& path) {
    UniqueFd fd;
    FileStatus status;
    if (Sys().OpenFolderPath(path, fd, status)) {
        return false;
    }
    return SystemFolders().Holds(fd.Get());
}

}  // namespace vorlane

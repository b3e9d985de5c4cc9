#include "platform/FolderWalk.h"

#include <fcntl.h>

#include <cerrno>

namespace vorlane::platform {
namespace {

// Folders deeper than this are let go while their subfolders are walked, and taken
// back through ".." (checked to be the same folder), so a tree of any depth needs only
// this many descriptors.
constexpr int kHeldDepth = 64;

bool SameFolder(const FileStatus& a, const FileStatus& b) {
    return a.device == b.device && a.inode == b.inode;
}

class Walker {
  public:
    Walker(WalkVisitor& visitor, const WalkRules& rules, const VolumeTable& volumes,
           dev_t topDevice)
        : visitor_(visitor), rules_(rules), volumes_(volumes), topDevice_(topDevice) {}

    // False when the walk ends.
    bool Visit(WalkFolder& folder) {
        std::vector<FolderEntry> entries;
        if (const std::error_code error = Sys().ReadFolder(folder.fd.Get(), entries)) {
            return visitor_.Refused(folder.path, FolderRefusal::CannotRead, error);
        }
        if (!visitor_.Folder(folder, entries)) {
            return false;
        }
        for (const FolderEntry& entry : entries) {
            if (entry.status.kind == FileKind::Directory && visitor_.WantSubfolder(folder, entry) &&
                !Enter(folder, entry)) {
                return false;
            }
        }
        return true;
    }

  private:
    bool OnOtherVolume(const FileStatus& status) const {
        if (status.device == topDevice_) {
            return false;
        }
        return !rules_.crossVolumes || volumes_.IsPseudo(status.device);
    }

    bool Enter(WalkFolder& parent, const FolderEntry& entry) {
        WalkFolder child;
        child.path = parent.path + entry.name + "/";
        child.depth = parent.depth + 1;
        const std::error_code error =
            Sys().OpenFolder(parent.fd.Get(), entry.name, child.fd, child.status);
        if (error == std::errc::no_such_file_or_directory) {
            return true;  // gone since the folder was read: nothing left in it
        }
        if (error) {
            return visitor_.Refused(child.path, FolderRefusal::CannotRead, error);
        }
        if (OnOtherVolume(child.status)) {
            return visitor_.Refused(child.path, FolderRefusal::OtherVolume, {});
        }
        const bool letGo = child.depth > kHeldDepth;
        if (letGo) {
            parent.fd.Reset();
        }
        const bool goOn = Visit(child);
        if (letGo && !TakeBack(parent, child)) {
            visitor_.Refused(parent.path, FolderRefusal::CannotRead, SystemError(ESTALE));
            return false;  // moved away under the walk: where it is now is unknown
        }
        return goOn && visitor_.AfterSubfolder(parent, entry);
    }

    static bool TakeBack(WalkFolder& parent, const WalkFolder& child) {
        FileStatus status;
        UniqueFd fd;
        if (Sys().OpenFolder(child.fd.Get(), "..", fd, status) ||
            !SameFolder(status, parent.status)) {
            return false;
        }
        parent.fd = std::move(fd);
        return true;
    }

    WalkVisitor& visitor_;
    const WalkRules& rules_;
    const VolumeTable& volumes_;
    dev_t topDevice_;
};

}  // namespace

std::error_code OpenTargetFolder(const std::string& target, WalkFolder& out) {
    std::string path = target;
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    if (path.empty()) {
        return SystemError(ENOENT);
    }
    out.depth = 0;
    out.path = path == "/" ? path : path + "/";
    return Sys().OpenFolder(AT_FDCWD, path, out.fd, out.status);
}

std::error_code WalkTree(const WalkFolder& target, WalkVisitor& visitor, const WalkRules& rules,
                         const VolumeTable& volumes) {
    if (volumes.IsPseudo(target.status.device)) {
        return SystemError(EXDEV);
    }
    WalkFolder top;
    top.path = target.path;
    // Its own descriptor, so the walk never disturbs the holder's.
    if (const std::error_code error = Sys().OpenFolder(target.fd.Get(), ".", top.fd, top.status)) {
        return error;
    }
    Walker(visitor, rules, volumes, top.status.device).Visit(top);
    return {};
}

std::error_code WalkTree(const std::string& target, WalkVisitor& visitor, const WalkRules& rules,
                         const VolumeTable& volumes) {
    WalkFolder top;
    if (const std::error_code error = OpenTargetFolder(target, top)) {
        return error;
    }
    return WalkTree(top, visitor, rules, volumes);
}

}  // namespace vorlane::platform

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
    Walker(WalkVisitor& visitor, const WalkRules& rules, const FileStatus& top)
        : visitor_(visitor), rules_(rules), top_(top) {}

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
            if (entry.statError && !visitor_.Refused(folder.path + entry.name + "/",
                                                     FolderRefusal::CannotRead, entry.statError)) {
                return false;
            }
            if (entry.status.kind == FileKind::Directory && visitor_.WantSubfolder(folder, entry) &&
                !Enter(folder, entry)) {
                return false;
            }
        }
        return true;
    }

  private:
    // Decided on the folder just opened: a bind mount of the same file system is another
    // mount all the same, and a procfs mounted during the walk is known by what it is.
    bool OnOtherVolume(const WalkFolder& child) const {
        if (SameMount(child.status, top_)) {
            return false;
        }
        return !rules_.crossVolumes ||
               Sys().FileSystemOf(child.fd.Get()) == FileSystemClass::Pseudo;
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
        if (OnOtherVolume(child)) {
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
    FileStatus top_;
};

}  // namespace

PathParts SplitPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {path.substr(0, slash) + "/.", path.substr(slash + 1)};
}

std::string RealFolderPath(const std::string& path) {
    WalkFolder opened;
    if (path.empty() || OpenTargetFolder(path + "/.", opened)) {
        return {};
    }
    return opened.path == "/" ? opened.path : opened.path.substr(0, opened.path.size() - 1);
}

std::string RealFilePath(const std::string& path) {
    const auto [folder, name] = SplitPath(path);
    const std::string real = RealFolderPath(folder);
    if (real.empty()) {
        return path;
    }
    return (real == "/" ? real : real + "/") + name;
}

std::error_code OpenTargetFolder(const std::string& target, WalkFolder& out) {
    out.depth = 0;
    if (const std::error_code error = Sys().OpenFolderPath(target, out.fd, out.status)) {
        return error;
    }
    // What the descriptor holds, named as the kernel sees it now: the confirmation and
    // the report show the real folder, whatever links the name went through.
    std::string path = Sys().PathOfOpen(out.fd.Get());
    if (path.empty() || path[0] != '/') {
        path = target;  // no /proc to ask: the name as given
    }
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    out.path = path == "/" ? path : path + "/";
    return {};
}

std::error_code WalkTree(const WalkFolder& target, WalkVisitor& visitor, const WalkRules& rules) {
    if (Sys().FileSystemOf(target.fd.Get()) == FileSystemClass::Pseudo) {
        return SystemError(EXDEV);
    }
    WalkFolder top;
    top.path = target.path;
    // Its own descriptor, so the walk never disturbs the holder's.
    if (const std::error_code error = Sys().OpenFolder(target.fd.Get(), ".", top.fd, top.status)) {
        return error;
    }
    Walker(visitor, rules, top.status).Visit(top);
    return {};
}

std::error_code WalkTree(const std::string& target, WalkVisitor& visitor, const WalkRules& rules) {
    WalkFolder top;
    if (const std::error_code error = OpenTargetFolder(target, top)) {
        return error;
    }
    return WalkTree(top, visitor, rules);
}

}  // namespace vorlane::platform

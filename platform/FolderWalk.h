#pragma once
// The one walk of a folder tree. It holds each folder by its descriptor, opens every
// subfolder relative to it without following a link, and reads each folder once, so a
// folder or file swapped for a link while it runs cannot lead it outside the tree. It
// has no path-length limit: names are only joined for the report.

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vorlane::platform {

// A folder of the walk, open.
struct WalkFolder {
    UniqueFd fd;
    std::string path;  // for reports and rules, with a trailing separator
    FileStatus status;
    int depth = 0;  // 0 for the target
};

// Why a folder is not walked into.
enum class FolderRefusal {
    CannotRead,   // with the error that stopped the read
    OtherVolume,  // a mount point of another volume, or a pseudo file system
};

class WalkVisitor {
  public:
    virtual ~WalkVisitor() = default;
    // A folder's entries, read once; false ends the whole walk.
    virtual bool Folder(const WalkFolder& folder, const std::vector<FolderEntry>& entries) = 0;
    // Whether to walk into a subfolder at all.
    virtual bool WantSubfolder(const WalkFolder&, const FolderEntry&) { return true; }
    // After a subfolder's walk, with its parent held again; false ends the walk.
    virtual bool AfterSubfolder(const WalkFolder&, const FolderEntry&) { return true; }
    // A folder that is not walked; false ends the walk.
    virtual bool Refused(const std::string& /*path*/, FolderRefusal, std::error_code /*error*/) {
        return true;
    }
};

struct WalkRules {
    bool crossVolumes = false;  // walk into other volumes (never into pseudo file systems)
};

// Opens the target once and walks it. Returns the error of opening the target, if any
// (ELOOP for a link or a /proc magic link, ENOTDIR for a file, EXDEV for a pseudo file
// system). The folders on the way to the target may be links, followed as the shell
// follows them; the target itself and everything below it never is.
std::error_code WalkTree(const std::string& target, WalkVisitor& visitor, const WalkRules& rules);
// The same from a target opened before, e.g. before the person confirmed the purge.
std::error_code WalkTree(const WalkFolder& target, WalkVisitor& visitor, const WalkRules& rules);

// A path's folder part and its last name, as the kernel reads them: nothing is folded,
// so "DIR/LINK/../FILE" keeps "DIR/LINK/.." for the kernel to resolve. The folder part
// ends in "/." so that a link as the folder's own last name is followed, as the shell
// follows it; a bare name lies in ".".
struct PathParts {
    std::string folder;
    std::string name;
};
PathParts SplitPath(const std::string& path);

// The folder a path leads to, links followed to its end, named as the kernel opened it:
// what a window shows and keeps after a choice. Empty when it cannot be opened.
std::string RealFolderPath(const std::string& path);
// A file's path with its folder named so; the file's own name is kept as it is.
std::string RealFilePath(const std::string& path);

// Opens a target folder for a walk: resolved by the kernel once, here. Its path is the
// folder the descriptor holds, for display.
std::error_code OpenTargetFolder(const std::string& target, WalkFolder& out);

}  // namespace vorlane::platform

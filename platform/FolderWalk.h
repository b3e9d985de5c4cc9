#pragma once
// The one walk of a folder tree. It holds each folder by its descriptor, opens every
// subfolder relative to it without following a link, and reads each folder once, so a
// folder or file swapped for a link while it runs cannot lead it outside the tree. It
// has no path-length limit: names are only joined for the report.

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/VolumeTable.h"

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
// (ENOTDIR/ELOOP for a link, EXDEV for a pseudo file system). The target's own
// folders may be reached through links; from there on, none is followed.
std::error_code WalkTree(const std::string& target, WalkVisitor& visitor, const WalkRules& rules,
                         const VolumeTable& volumes);
// The same from a target opened before, e.g. before the person confirmed the purge.
std::error_code WalkTree(const WalkFolder& target, WalkVisitor& visitor, const WalkRules& rules,
                         const VolumeTable& volumes);

// Opens a target folder for a walk: resolved once, here.
std::error_code OpenTargetFolder(const std::string& target, WalkFolder& out);

}  // namespace vorlane::platform

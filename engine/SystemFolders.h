#pragma once
// The operating system's folders, known by what they are, not by how they are named: a
// folder is a system folder when it, or a folder above it, is one of them by device and
// inode. A bind mount of /usr inside a target, or a name that was swapped for a link to
// /etc after it was looked at, is caught on what was opened.

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace vorlane {

class SystemFolders {
  public:
    // Whether the open folder is, or lies in, a system folder. Each folder's answer is
    // kept, so a walk pays one look up per folder.
    bool Holds(int folderFd);
    // The same, for a folder whose status the caller has just taken from its descriptor:
    // a folder asked about before costs no system call.
    bool Holds(int folderFd, const platform::FileStatus& folder);

  private:
    using Identity = std::pair<dev_t, ino_t>;
    void TakeIdentities();

    std::optional<std::vector<Identity>> systemFolders_;  // taken at the first question
    std::map<Identity, bool> known_;
};

// The same for a folder named by a path, which the kernel opens once.
bool IsSystemFolderPath(const std::string& path);

}  // namespace vorlane

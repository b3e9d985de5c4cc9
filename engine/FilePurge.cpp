#include "engine/FilePurge.h"

#include <fcntl.h>

#include <cerrno>
#include <filesystem>

#include "platform/MountTable.h"
#include "platform/Platform.h"

namespace vorlane {

FileOutcome PurgeFileAtPath(FilePurger& purger, const std::string& path,
                            const PurgeRequest& request, const PurgeHooks& hooks) {
    if (path.empty()) {
        return FileOutcome::EmptyFileName;
    }
    // Resolved once, here: from now on the purge acts through the folder it opens.
    const std::filesystem::path file(platform::ResolveParent(path));
    const std::string name = file.filename().string();
    if (name.empty() || name == "." || name == "..") {
        return FileOutcome::NotRegularFile;
    }
    platform::UniqueFd folder;
    platform::FileStatus folderStatus;
    const std::string parent = file.has_parent_path() ? file.parent_path().string() : ".";
    const std::error_code error =
        platform::Sys().OpenFolder(AT_FDCWD, parent, folder, folderStatus);
    if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory ||
        error == std::errc::too_many_symbolic_link_levels) {
        return FileOutcome::FileChanged;  // a folder on the way is gone or became a link
    }
    if (error) {
        return FileOutcome::CannotOpenForWriting;
    }
    return purger.Purge({folder.Get(), name, file.string()}, request, hooks);
}

}  // namespace vorlane

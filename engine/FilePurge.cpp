#include "engine/FilePurge.h"

#include "platform/FolderWalk.h"
#include "platform/Platform.h"

namespace vorlane {

FileResult PurgeFileAtPath(FilePurger& purger, const std::string& path, const PurgeRequest& request,
                           const PurgeHooks& hooks) {
    if (path.empty()) {
        return {FileOutcome::EmptyFileName};
    }
    // The folder's part is the kernel's to resolve, once: "DIR/LINK/../FILE" is the FILE
    // beside the link's target, as the shell means it, never DIR/FILE.
    const auto [parent, name] = platform::SplitPath(path);
    if (name.empty() || name == "." || name == "..") {
        return {FileOutcome::NotRegularFile};
    }
    platform::UniqueFd folder;
    platform::FileStatus folderStatus;
    const std::error_code error = platform::Sys().OpenFolderPath(parent, folder, folderStatus);
    if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory) {
        return {FileOutcome::FileChanged, error};  // a folder on the way is gone
    }
    if (error == std::errc::too_many_symbolic_link_levels) {
        return {FileOutcome::SymbolicLink, error};  // a /proc magic link on the way, or a loop
    }
    if (error) {
        return {FileOutcome::CannotOpenForWriting, error};
    }
    return purger.Purge({folder.Get(), name, path}, request, hooks);
}

}  // namespace vorlane

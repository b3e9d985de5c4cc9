#include "support/PathChecks.h"

#include <cerrno>

#include "platform/Platform.h"

namespace vorlane {

using platform::Access;
using platform::FileKind;
using platform::SysFiles;
using platform::SystemError;

std::error_code FolderAccessError(const std::string& path) {
    const platform::FileStatus status = SysFiles().StatFollowing(path);
    if (status.kind == FileKind::Missing) {
        return status.error;
    }
    if (status.kind != FileKind::Directory) {
        return SystemError(ENOTDIR);
    }
    return SysFiles().CheckAccess(path, Access::ReadAndSearch);
}

std::error_code ReadAccessError(const std::string& path) {
    const platform::FileStatus status = SysFiles().StatFollowing(path);
    if (status.kind == FileKind::Missing) {
        return status.error;
    }
    if (const std::error_code denied = SysFiles().CheckAccess(path, Access::Read)) {
        return denied;
    }
    return status.kind == FileKind::Directory ? SystemError(EISDIR) : std::error_code();
}

std::error_code CreateAccessError(const std::string& path) {
    const platform::FileStatus status = SysFiles().StatFollowing(path);
    if (status.kind == FileKind::Directory) {
        return SystemError(EISDIR);
    }
    if (status.kind != FileKind::Missing) {
        return SysFiles().CheckAccess(path, Access::Write);
    }
    if (status.error != std::errc::no_such_file_or_directory) {
        return status.error;
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    if (const std::error_code unusable = FolderAccessError(folder)) {
        return unusable;
    }
    return SysFiles().CheckAccess(folder, Access::Write);
}

std::error_code NameLookupError(const std::string& path) {
    return SysFiles().StatNoFollow(path).error;
}

}  // namespace vorlane

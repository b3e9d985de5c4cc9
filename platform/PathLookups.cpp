// The real system's answers about paths as text: access, links resolved, and the folder
// relative paths start from. Only names for display and the checks before an operation
// use them; what an operation acts on is opened by descriptor.

#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/Platform.h"

namespace vorlane::platform {
namespace {

int AccessMode(Access wanted) {
    switch (wanted) {
        case Access::Read:
            return R_OK;
        case Access::Write:
            return W_OK;
        case Access::ReadAndSearch:
            return R_OK | X_OK;
    }
    return F_OK;
}

}  // namespace

std::error_code Platform::CheckAccess(const std::string& path, Access wanted) const {
    // access(2) asks with the real user's rights, which are the person's: the program
    // runs with no others.
    return ::access(path.c_str(), AccessMode(wanted)) == 0 ? std::error_code() : SystemError(errno);
}

std::string Platform::ResolvedPath(const std::string& path) const {
    std::error_code error;
    const std::filesystem::path resolved =
        std::filesystem::weakly_canonical(std::filesystem::absolute(path, error), error);
    return error ? path : resolved.string();
}

std::string Platform::WorkingFolder() const {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::string() : folder.string();
}

}  // namespace vorlane::platform

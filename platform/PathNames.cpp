#include "platform/PathNames.h"

#include <filesystem>

#include "platform/Platform.h"

namespace vorlane::platform {
namespace {

// Folding "." and ".." is text work alone: no call reaches the system.
std::filesystem::path AbsoluteAndFolded(const std::string& path) {
    const std::filesystem::path given(path);
    if (given.is_absolute()) {
        return given.lexically_normal();
    }
    return (std::filesystem::path(SysEnvironment().WorkingFolder()) / given).lexically_normal();
}

}  // namespace

std::string ResolveParent(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    const std::filesystem::path absolute = AbsoluteAndFolded(path);
    if (!absolute.has_filename()) {
        return SysFiles().ResolvedPath(absolute.string());
    }
    const std::string folder = SysFiles().ResolvedPath(absolute.parent_path().string());
    return (std::filesystem::path(folder) / absolute.filename()).string();
}

std::string ResolvePath(const std::string& path) {
    return SysFiles().ResolvedPath(path);
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    std::string text = AbsoluteAndFolded(path).string();
    if (text.size() > 1 && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

}  // namespace vorlane::platform

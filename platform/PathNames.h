#pragma once
// Paths as names for display and for naming volumes: made absolute, folded, links
// resolved. They ask through the platform in force, so a test can stand in; nothing
// that acts on a user's tree decides by them.

#include <string>

namespace vorlane::platform {

// The path with its folder's links resolved (the name itself is kept as it is).
std::string ResolveParent(const std::string& path);
// The path with every link on it resolved, the last name included.
std::string ResolvePath(const std::string& path);
// The path made absolute and lexically normal ("." and ".." folded), links untouched.
std::string AbsolutePath(const std::string& path);

}  // namespace vorlane::platform

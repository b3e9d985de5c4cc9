#pragma once
// Checks of a path named by the person before a command acts on it, each answering with
// the system's error (empty when nothing speaks against the path). The command tells the
// error in the system's words; what it then acts on is opened by descriptor.

#include <string>
#include <system_error>

namespace vorlane {

// Why a folder cannot be used as a target (links followed).
std::error_code FolderAccessError(const std::string& path);
// Why a file cannot be read.
std::error_code ReadAccessError(const std::string& path);
// Why a file cannot be made or replaced at path, as far as can be told without making it.
std::error_code CreateAccessError(const std::string& path);
// Why a name cannot be looked at (links not followed).
std::error_code NameLookupError(const std::string& path);

}  // namespace vorlane

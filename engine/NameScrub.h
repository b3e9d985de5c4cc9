#pragma once
// A file's name is data too ("tax-2025-divorce.pdf"). Before the unlink the name is
// overwritten in its folder by a rename, so the folder's blocks stop holding it. Best
// effort: a file system that refuses the rename keeps the name it has, and the delete
// goes on.

#include <random>
#include <string>

#include "platform/Platform.h"

namespace vorlane {

// Renames the file (checked to be `file`) to a random name of the same length.
// Returns the name it has now.
std::string ScrubName(int folderFd, const std::string& name, const platform::FileStatus& file,
                      std::mt19937& generator);

}  // namespace vorlane

#pragma once

#include <string>
#include <vector>

namespace vorlane::cli {

// purge-trash [--drive MOUNT] [--yes]: purges the Trash of the user's home, or with
// --drive every Trash folder of this user on the volume mounted at MOUNT.
int RunTrashPurgeCommand(const std::vector<std::string>& words);

}  // namespace vorlane::cli

#pragma once

#include <string>
#include <vector>

namespace vorlane::cli {

// purge-trash [--drive MOUNT] [--yes]: purges the Trash folders of this user on the
// volume mounted at MOUNT (by default the volume of the home Trash).
int RunTrashPurgeCommand(const std::vector<std::string>& words);

}  // namespace vorlane::cli

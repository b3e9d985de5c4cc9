#pragma once

#include <string>
#include <vector>

namespace vorlane::cli {

// purge --folder DIR [--spec SPEC] [--subfolders] [--before YYYY-MM-DD] ... [--yes]
// purge --setup FILE.vns [--yes]
int RunFolderPurgeCommand(const std::vector<std::string>& words);

// list --folder DIR [--spec SPEC] [--subfolders] [--before DATE] [--folders] [--speed MBPS]
int RunListCommand(const std::vector<std::string>& words);

// True when the purge words ask for a folder or setup purge rather than single files.
bool IsOperationPurge(const std::vector<std::string>& words);

}  // namespace vorlane::cli

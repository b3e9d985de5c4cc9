#pragma once

#include <string>
#include <vector>

namespace vorlane::cli {

// purge [--type 1|2|3] [--passes N] [--keep] [--no-read-only] [--system] FILE...
int RunFilePurgeCommand(const std::vector<std::string>& words);

}  // namespace vorlane::cli

#pragma once
// How many matching files a whole tree holds, and their bytes: the size shown beside a
// subfolder, the confirmation's "details" count, and whether a tree holds any file.
// Counted by the walk of held folders, so a link is never walked into.

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

namespace vorlane {

// The matching files of a whole tree (no date restriction).
struct TreeCount {
    std::int32_t count = 0;
    double bytes = 0.0;         // summed only when asked for
    bool limitReached = false;  // the count stopped at the limit
    std::error_code error;      // a folder that could not be read, which ended the walk
};

// Counts the matching files of a whole tree; a limit stops the walk once the count
// reaches it. A folder on another volume is left out, as a purge leaves it.
TreeCount FolderSize(const std::string& folder, const std::string& fileSpec,
                     std::optional<std::int32_t> limit, bool sumSizes);

// True when the tree holds at least one matching file; stops at the first.
bool AnyMatchingFileInTree(const std::string& folder, const std::string& fileSpec);

}  // namespace vorlane

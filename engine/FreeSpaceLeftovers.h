#pragma once
// Fill folders that a purge of free space killed mid-fill (kill -9, a crash, a power
// cut) left behind keep their volume full; every start of the program removes them.

#include <string>
#include <system_error>
#include <vector>

namespace vorlane {

struct LeftoverFill {
    std::string path;       // for display
    std::error_code error;  // empty: removed
};

// Looks at every mounted volume's root and at the user's home and temporary folders for
// fill folders of this user that no running fill holds, and removes them with their files.
std::vector<LeftoverFill> RemoveLeftoverFills();

// One line for each: "Removed a free-space fill that an earlier run left: PATH" or why
// it could not be removed; empty when there was none.
std::string LeftoverFillsText(const std::vector<LeftoverFill>& fills);

}  // namespace vorlane

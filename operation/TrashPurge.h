#pragma once
// Purging what a Trash holds: the files deleted to it, each with its .trashinfo file,
// which names where the file came from. The Trash keeps its files/ and info/ folders.

#include <cstdint>
#include <string>
#include <vector>

#include "operation/OperationChoices.h"
#include "operation/OperationControl.h"
#include "operation/OperationInterface.h"
#include "operation/TrashFolders.h"

namespace vorlane {

struct TrashPurgeResult {
    bool ran = false;  // false: unreadable, empty, or the person said No
    std::int32_t purged = 0;
    // Files the purge reached and could not purge, and folders it could not enter.
    std::int32_t failed = 0;
    bool stopped = false;
};

// The Trash folder that is, or holds, this folder; empty when it lies in none.
std::string TrashRootOf(const std::string& folder);

// Counts, asks once, purges and tells the outcome. The choices give the purge type and
// passes; the Trash purge sets its own options, so the caller's choices stay as they are.
TrashPurgeResult PurgeTrash(const OpenTrash& trash, const OperationChoices& choices,
                            OperationInterface& ui, OperationControl& control);

// The same for a folder chosen by name: a whole Trash, or a folder inside one, of which
// only that tree goes, with the entries in info/ of the deleted items it removes.
TrashPurgeResult PurgeTrash(const std::string& folder, const OperationChoices& choices,
                            OperationInterface& ui, OperationControl& control);

}  // namespace vorlane

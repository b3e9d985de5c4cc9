#pragma once
// Purging what a Trash holds: the files deleted to it, each with its .trashinfo file,
// which names where the file came from. The Trash keeps its files/ and info/ folders.

#include <cstdint>
#include <string>
#include <vector>

#include "operation/OperationChoices.h"
#include "operation/OperationControl.h"
#include "operation/OperationInterface.h"

namespace vorlane {

struct TrashPurgeResult {
    bool ran = false;  // false: unreadable, empty, or the person said No
    std::int32_t purged = 0;
    std::int32_t failed = 0;  // files the purge reached and could not purge
    bool stopped = false;
};

// The Trash folder that is, or holds, this folder; empty when it lies in none.
std::string TrashRootOf(const std::string& folder);

// The existing Trash folders of this user on the volume mounted at mountPoint: the
// home Trash when it lies on that volume, then <mount>/.Trash-<uid> and
// <mount>/.Trash/<uid>.
std::vector<std::string> TrashFoldersOn(const std::string& mountPoint);

// Counts, asks once, purges and tells the outcome. The choices give the purge type and
// passes; the Trash purge sets its own options, date restriction and subfolder walk in
// its copy of them, so the caller's choices stay as they are.
TrashPurgeResult PurgeTrash(const std::string& trashFolder, const OperationChoices& choices,
                            OperationInterface& ui, OperationControl& control);

}  // namespace vorlane

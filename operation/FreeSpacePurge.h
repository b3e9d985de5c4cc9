#pragma once
// Purging a volume's free space: the blocks no file holds, where the data of files
// deleted without a purge still lies. The volume is filled with the pass's block until
// it reports no space, the fill is flushed and removed again, pass after pass. Shared by
// the command line and the windows: it asks and reports through OperationInterface and
// reads Pause and Stop from OperationControl.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/PurgeTypes.h"
#include "operation/OperationControl.h"
#include "operation/OperationInterface.h"

namespace vorlane {

// No purge type chosen: one overwrite of random bytes per pass. Free space holds no
// file, so the bit patterns that the file types repeat buy nothing there.
inline constexpr int kFreeSpaceRandomOnly = -1;

struct FreeSpaceChoices {
    std::string drive;  // a folder of the volume, mostly its mount point
    int purgeType = kFreeSpaceRandomOnly;
    int passes = 1;
    bool keepReport = true;  // as OperationChoices::keepReport
};

enum class FreeSpaceEnd {
    Refused,   // not a volume whose free space a fill can reach; the person was told why
    Declined,  // the confirmation was not given
    Done,      // every pass filled the volume to its end and was removed
    Stopped,
    Failed,  // a write failed for another reason than no space, or the fill stayed
};

struct FreeSpacePurgeResult {
    FreeSpaceEnd end = FreeSpaceEnd::Refused;
    std::uint64_t freeBytes = 0;
    std::uint64_t writtenBytes = 0;  // in all passes
};

// The overwrites of one pass.
std::vector<PatternSelector> FreeSpaceOverwrites(int purgeType);

// Refusals, the confirmation, the passes and the report, to the end.
FreeSpacePurgeResult PurgeFreeSpace(const FreeSpaceChoices& choices, OperationInterface& ui,
                                    OperationControl& control);

}  // namespace vorlane

#pragma once
// One file's end in an operation, as a script reads it: the purge's result, or a file
// a listing found. Told to the interface once per file, whatever became of it.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/FileOutcome.h"

namespace vorlane {

struct FileRecord {
    std::string path;  // bytes as the kernel has them, never folded for display
    std::int64_t size = 0;
    // None for a file a listing found: nothing was done to it.
    std::optional<FileResult> result{};
    // A file the person declined keeps the outcome Ok without being purged.
    bool purged = false;
    // Passes whose overwrites all reached the device; none when not known (a batch
    // damaged halfway does not say how far each file got).
    std::optional<int> passes{};
};

// The passes written, as far as the outcome tells them. `seen`: the passes a caller
// watched end between passes, when it watched.
std::optional<int> PassesWritten(FileOutcome outcome, int passes, std::optional<int> seen = {});

}  // namespace vorlane

#pragma once
// The purge walk of a folder tree: files before subfolders, one report line per
// matching file, emptied subfolders removed on request.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/FileOutcome.h"
#include "operation/Operation.h"

namespace vorlane {

// Purges the matching files of dirPath (and of its subfolders when the choices say
// so). Symbolic links are reported, never followed; a file that fails is reported
// with its reason and the walk goes on.
void VorlPurgeRecursive(Operation& operation, const std::string& dirPath,
                        const std::string& fileSpec);

// The files the purge walk of the operation's target would report (links and excluded
// files among them, leftovers of killed purges not), walked by the same rules; nothing
// when the count reaches `limit`.
std::optional<std::int32_t> CountPurgeTargets(Operation& operation, std::int32_t limit);

}  // namespace vorlane

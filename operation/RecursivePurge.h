#pragma once
// The purge walk of a folder tree: files before subfolders, one report line per
// matching file, emptied subfolders removed on request.

#include <string>

#include "engine/FileOutcome.h"
#include "operation/Operation.h"

namespace vorlane {

// Purges the matching files of dirPath (and of its subfolders when the choices say
// so). Symbolic links are reported, never followed; a file that fails is reported
// with its reason and the walk goes on.
void VorlPurgeRecursive(Operation& operation, const std::string& dirPath,
                        const std::string& fileSpec);

}  // namespace vorlane

#pragma once
// Which entries of a folder an operation covers.

#include <string>
#include <vector>

#include "operation/OperationChoices.h"
#include "platform/Platform.h"

namespace vorlane {

// A file-like entry (anything but a folder; links included, never followed) whose name
// matches the file specification and whose date passes the restriction.
bool EntryIsTarget(const OperationChoices& choices, const std::string& folderPath,
                   const platform::FolderEntry& entry, const std::string& fileSpec);

// Reads the folder's entries and points `targets` at those the operation covers, in name
// order; false when the folder cannot be read.
bool ListTargets(const OperationChoices& choices, const std::string& dirPath,
                 const std::string& fileSpec, std::vector<platform::FolderEntry>& entries,
                 std::vector<const platform::FolderEntry*>& targets);

}  // namespace vorlane
